// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "main/BackgroundWork.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"

class CKestruneApp;
class CKestruneDoc;
class CRecentFileList;
class QWidget;
namespace kestrune {
class CTemplateStore;
}

// New, Open, Save and Save As with the save question: nothing the user has not saved is
// lost without being asked, and a failed save counts as a refusal to go on. Open reads
// into a model of its own on a worker thread and takes its place when it has succeeded
// (after the save question again when the document was edited meanwhile);
// Save writes on a worker while the document refuses every edit. Each step tells its
// outcome to what follows it (then), on this thread, once it has ended. A cancelled Open
// keeps the open document as it was, a cancelled Save keeps the files on disk and the
// modified mark. An Open or Save asked for while another runs is refused without a word.
class CDocumentFlow : public QObject, public kestrune::IDocumentHost {
    Q_OBJECT
public:
    // What follows a step: whether it went through.
    using Then = std::function<void(bool)>;
    // Where the save question left things: go on, stop, or wait for the save the user chose.
    enum class Answer { GoOn, Stop, Saving };

    CDocumentFlow(CKestruneDoc& doc, kestrune::CTemplateStore& templates, CRecentFileList& recentFiles,
                  QWidget* dialogParent);

    // "Save changes to %1?" when the document is modified. With Saving, afterSave(saved)
    // follows the save.
    Answer AskToSave(Then afterSave);
    // The question as one step: then(false) means the caller must stop.
    void SaveModified(Then then);
    // New after the question: the first New of the run loads the first template without
    // asking; later ones let the user choose.
    void NewDocument(Then then = {});
    // New without the question or the chooser: the template at position (the start of the
    // program, when nothing can be lost, or what the chooser gave).
    bool LoadNewDocument(int position = 0);
    // Opens the page file's document. No save question here (see OpenWithQuestion).
    void OpenDocumentFile(const QString& path, Then then = {});
    // The file named on the command line: a page opens as above; a menu file (".kst")
    // opens the page of the same base name beside it, or, when there is none, the menu
    // alone as an untitled document.
    void OpenStartFile(const QString& path, Then then = {});
    // File > Open: the file as on the command line, after the save question.
    void OpenWithQuestion(const QString& path, Then then = {});
    // An entry of the recent file list, after the question; one that no longer opens
    // leaves the list.
    void OpenRecentFile(const QString& path);
    // Save to the document's path, or ask for one when it has none (or saveAs is set).
    // withRuntime writes the script runtime whatever the option says (publishing to a site).
    void Save(bool saveAs, Then then = {}, bool withRuntime = false);
    // Where the file choosers start: the document's folder, or the home folder for a new one.
    QString DialogFolder() const;

    // Whether an Open or Save is reading or writing right now, and its Cancel.
    bool IsWorking() const { return m_work.IsRunning(); }
    // Whether a Save is running: the document refuses edits meanwhile.
    bool IsSaving() const { return !m_savingPath.isEmpty(); }
    void CancelWork() { m_work.Cancel(); }
    // Whether the last Open or Save ended by a Cancel.
    bool LastWorkCancelled() const { return m_lastCancelled; }
    CBackgroundWork& Work() { return m_work; }

    // Runs once pending edits are written and before a save writes the files (the window
    // applies Auto-Change Menu Size there, as before Build HTML).
    std::function<void()> beforeSave;

    // IDocumentHost
    void CommitPendingEdits() override;
    void ReportMessage(const std::string& text) override;
    void SetModified(bool modified) override;

signals:
    void recentFilesChanged();
    // An Open or Save has ended, however it ended, and what followed it has run.
    void workEnded();
    // A save wrote a page whose applet cuts its menus off, and said so in the message pane.
    void savedMenusCut();

private:
    QString AskSavePath() const;
    bool MakeFolderOf(const QString& path) const;
    void Remember(const QString& path);
    // Reads the document on the worker; on success it replaces the open one in one step and
    // is named documentPath (empty: untitled).
    void ReadAndReplace(const QString& path, const QString& documentPath, Then then);
    // Puts what the worker read in place of the open document (when it holds a document).
    void TakeRead(kestrune::DocumentRead& read, const QString& documentPath, const Then& then);
    // Writes the document's files on the worker, first looking for moved media when
    // mayRelink is set.
    void WriteInBackground(const QString& path, bool mayRelink, bool withRuntime, Then then);
    struct SaveOutcome;
    void FinishSave(const QString& path, const SaveOutcome& outcome, const Then& then);

    CKestruneDoc& m_doc;
    CKestruneApp& m_app;
    kestrune::CTemplateStore& m_templates;
    CRecentFileList& m_recentFiles;
    QWidget* m_dialogParent;
    QString m_savingPath;  // the page file a save is writing, while it runs
    // The page and menu file the document was read damaged from: a save over them keeps them.
    std::vector<std::string> m_damagedFiles;
    CBackgroundWork m_work;
    bool m_lastCancelled = false;
    bool m_runtimeHintGiven = false;  // once per run: a page saved without the script runtime
};
