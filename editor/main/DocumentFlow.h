// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <string>

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
// lost without being asked, and a failed save counts as a refusal to go on. Open and Save
// read and write on a worker thread with a progress dialog and Cancel; each call still
// returns when its work has ended. A cancelled Open keeps the open document as it was, a
// cancelled Save keeps the files on disk and the modified mark.
class CDocumentFlow : public QObject, public kestrune::IDocumentHost {
    Q_OBJECT
public:
    CDocumentFlow(CKestruneDoc& doc, kestrune::CTemplateStore& templates, CRecentFileList& recentFiles,
                  QWidget* dialogParent);

    // "Save changes to %1?" when the document is modified. False: the caller must stop.
    bool SaveModified();
    // New: the first New of the run loads the first template without asking; later ones let
    // the user choose. False when the user stopped it.
    bool NewDocument();
    // Opens the page file's document. No save question here (see OpenWithQuestion).
    bool OpenDocumentFile(const QString& path);
    // The file named on the command line: a page opens as above; a menu file (".kst")
    // opens the page of the same base name beside it, or, when there is none, the menu
    // alone as an untitled document.
    bool OpenStartFile(const QString& path);
    bool OpenWithQuestion(const QString& path);
    // Save to the document's path, or ask for one when it has none (or saveAs is set).
    bool Save(bool saveAs);
    // Where the file choosers start: the document's folder, or the home folder for a new one.
    QString DialogFolder() const;

    // Whether an Open or Save is reading or writing right now, and its Cancel.
    bool IsWorking() const { return m_work.IsRunning(); }
    void CancelWork() { m_work.Cancel(); }
    // Whether the last Open or Save ended by a Cancel.
    bool LastWorkCancelled() const { return m_lastCancelled; }
    CBackgroundWork& Work() { return m_work; }

    // IDocumentHost
    void CommitPendingEdits() override;
    void ReportMessage(const std::string& text) override;
    void SetModified(bool modified) override;

signals:
    void recentFilesChanged();
    // An Open or Save has ended, however it ended.
    void workEnded();

private:
    QString AskSavePath() const;
    bool MakeFolderOf(const QString& path) const;
    void Remember(const QString& path);
    // Reads the document on the worker; on success it replaces the open one in one step.
    bool ReadAndReplace(const QString& path);
    // Writes the document's files on the worker; missing gets the media not found.
    kestrune::DocumentWrite WriteInBackground(const QString& path, std::string& missing);

    CKestruneDoc& m_doc;
    CKestruneApp& m_app;
    kestrune::CTemplateStore& m_templates;
    CRecentFileList& m_recentFiles;
    QWidget* m_dialogParent;
    QString m_savingPath;  // the page file a save is writing, while it runs
    CBackgroundWork m_work;
    bool m_lastCancelled = false;
    bool m_runtimeHintGiven = false;  // once per run: a page saved without the script runtime
};
