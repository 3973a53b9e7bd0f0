// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/DocumentFlow.h"

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>
#include <utility>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "main/MovedMedia.h"
#include "main/RecentFileList.h"
#include "main/WriteFailure.h"
#include "app/TextConvert.h"
#include "base/SettingsStore.h"
#include "cli/HeadlessTexts.h"
#include "persist/MenuFileText.h"
#include "services/DocumentFile.h"
#include "services/ParameterCheck.h"
#include "services/TemplateStore.h"
#include "templates/DlgNew.h"

namespace {

// A report of every missing file of a big document runs to millions of lines: a message
// box of that size takes minutes to lay out and cannot be read. Its head is shown.
constexpr int kMaxMessageLines = 40;

QString ShortenedForDialog(const std::string& text) {
    std::size_t end = 0;  // just past the last line kept
    for (int kept = 0; kept < kMaxMessageLines; ++kept) {
        const std::size_t lineEnd = text.find('\n', end);
        if (lineEnd == std::string::npos) return QString::fromLocal8Bit(text);
        end = lineEnd + 1;
    }
    if (end >= text.size()) return QString::fromLocal8Bit(text);
    const std::string_view rest = std::string_view(text).substr(end);
    const auto more = std::count(rest.begin(), rest.end(), '\n') + (rest.back() == '\n' ? 0 : 1);
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(end)) + shelltexts::kMoreMessageLines.arg(more);
}

void Tell(const CDocumentFlow::Then& then, bool outcome) {
    if (then) then(outcome);
}

// A model of a million items takes a while to free: the one an Open replaced goes on a worker.
void DisposeInBackground(std::unique_ptr<kestrune::CAppletParameters> applet) {
    if (applet) static_cast<void>(QtConcurrent::run([old = std::move(applet)]() mutable { old.reset(); }));
}

}  // namespace

CDocumentFlow::CDocumentFlow(CKestruneDoc& doc, kestrune::CTemplateStore& templates, CRecentFileList& recentFiles,
                             QWidget* dialogParent)
    : m_doc(doc),
      m_app(doc.App()),
      m_templates(templates),
      m_recentFiles(recentFiles),
      m_dialogParent(dialogParent),
      m_work(dialogParent) {}

void CDocumentFlow::CommitPendingEdits() {
    m_doc.CommitPendingPage();
}

void CDocumentFlow::ReportMessage(const std::string& text) {
    QString message = ShortenedForDialog(text);
    // A failed save says which file could not be written and why.
    if (!m_savingPath.isEmpty()) {
        const QString page = m_savingPath;
        const QString menu = QString::fromLocal8Bit(kestrune::MenuFilePathFor(page.toLocal8Bit().toStdString()));
        const QString reason = DescribeWriteFailure({page, menu});
        message += QStringLiteral("\n\n") +
                   (reason.isEmpty() ? shelltexts::kSaveFailedFiles.arg(QDir::toNativeSeparators(page),
                                                                       QDir::toNativeSeparators(menu))
                                     : shelltexts::kSaveFailedBecause.arg(reason));
    }
    m_app.Dialogs().ShowMessage(m_dialogParent, message, IDialogService::Buttons::Ok, IDialogService::Icon::Warning);
}

void CDocumentFlow::SetModified(bool modified) { m_doc.SetModifiedFlag(modified); }

CDocumentFlow::Answer CDocumentFlow::AskToSave(Then afterSave) {
    // An edit still shown in the property frame counts: it is written, and so asked about.
    CommitPendingEdits();
    if (!m_doc.IsModified()) return Answer::GoOn;
    const auto answer = m_app.Dialogs().ShowMessage(m_dialogParent, shelltexts::kSaveChangesTo.arg(m_doc.Title()),
                                                    IDialogService::Buttons::YesNoCancel,
                                                    IDialogService::Icon::Warning);
    if (answer == IDialogService::Answer::Yes) {
        Save(false, std::move(afterSave));
        return Answer::Saving;
    }
    return answer == IDialogService::Answer::No ? Answer::GoOn : Answer::Stop;
}

void CDocumentFlow::SaveModified(Then then) {
    const Answer answer = AskToSave(then);
    if (answer != Answer::Saving) Tell(then, answer == Answer::GoOn);
}

void CDocumentFlow::NewDocument(Then then) {
    SaveModified([this, then](bool goOn) {
        int position = 0;
        if (goOn && !m_app.m_bFirstNew) {
            // Cancel leaves the open document as it was: its name, its content and its mark.
            CDlgNew dialog(m_templates.ListTemplateNames(), m_app.Dialogs(), m_dialogParent,
                           [this](int at, kestrune::CAppletParameters& applet) {
                               return m_templates.LoadTemplate(applet, at);
                           });
            goOn = m_app.Dialogs().ExecDialog(&dialog) == QDialog::Accepted;
            position = dialog.ChosenPosition();
        }
        Tell(then, goOn && LoadNewDocument(position));
    });
}

bool CDocumentFlow::LoadNewDocument(int position) {
    m_app.m_bFirstNew = 0;
    m_damagedFiles.clear();
    std::string error;
    m_doc.ReplaceModel([&](kestrune::CAppletParameters& applet) {
        m_templates.LoadTemplate(applet, position, &error);
        return true;
    });
    // Named afresh once the model is replaced: until then it is the document shown so far.
    m_doc.SetPathName(QString());
    // A damaged template file still gives a document to work on, but not in silence.
    std::error_code missing;
    if (!error.empty() && std::filesystem::exists(m_templates.TemplateFilePath(), missing)) ReportMessage(error);
    if (const std::string problem = m_templates.UserFolderProblem(); !problem.empty()) ReportMessage(problem);
    m_doc.SetModifiedFlag(false);
    return true;
}

void CDocumentFlow::ReadAndReplace(const QString& path, const QString& documentPath, Then then) {
    auto read = std::make_shared<kestrune::DocumentRead>();
    const std::string bytes = path.toLocal8Bit().toStdString();
    // The worker fills a model of its own; the open document stays live meanwhile, and what
    // is changed in it then is not replaced without the save question.
    auto editedMeanwhile = std::make_shared<bool>(false);
    const QMetaObject::Connection watch =
        connect(&m_doc, &CKestruneDoc::modelChanged, this, [editedMeanwhile] { *editedMeanwhile = true; });
    const bool started = m_work.Start(
        shelltexts::kOpeningFile.arg(QFileInfo(path).fileName()),
        [read, bytes](kestrune::TaskProgress& progress) {
            *read = kestrune::ReadDocumentFile(bytes, &progress, kestrune::FolderRepair::CompleteInterruptedSave);
        },
        [this, read, documentPath, then, watch, editedMeanwhile] {
            disconnect(watch);
            m_lastCancelled = read->cancelled;
            if (!*editedMeanwhile || !read->applet) return TakeRead(*read, documentPath, then);
            SaveModified([this, read, documentPath, then](bool goOn) {
                if (goOn) return TakeRead(*read, documentPath, then);
                DisposeInBackground(std::move(read->applet));
                Tell(then, false);
                emit workEnded();
            });
        });
    if (!started) {
        disconnect(watch);
        Tell(then, false);
    }
}

void CDocumentFlow::TakeRead(kestrune::DocumentRead& read, const QString& documentPath, const Then& then) {
    const bool opened = m_doc.ReplaceModel(
        [&](kestrune::CAppletParameters& applet) { return kestrune::AcceptDocumentRead(applet, read, *this); });
    DisposeInBackground(std::move(read.applet));  // after a swap: the old model
    // A damaged read comes up modified, so that closing it asks to save.
    if (opened) {
        m_damagedFiles = std::move(read.damagedFiles);
        m_doc.SetModifiedFlag(!m_damagedFiles.empty());
    }
    if (opened && documentPath.isEmpty()) m_doc.SetPathName(QString());
    if (opened && !documentPath.isEmpty()) Remember(documentPath);
    Tell(then, opened);
    emit workEnded();
}

void CDocumentFlow::OpenDocumentFile(const QString& path, Then then) { ReadAndReplace(path, path, std::move(then)); }

namespace {
QString PageBesideMenuFile(const QFileInfo& menuFile) {
    for (const char* extension : {".htm", ".html", ".HTM", ".HTML"}) {
        const QFileInfo page(menuFile.dir(), menuFile.completeBaseName() + QLatin1String(extension));
        if (page.isFile()) return page.filePath();
    }
    return {};
}
}  // namespace

void CDocumentFlow::OpenStartFile(const QString& path, Then then) {
    const QFileInfo file(path);
    if (file.suffix().compare(QLatin1String("kst"), Qt::CaseInsensitive) != 0) return OpenDocumentFile(path, then);
    if (const QString page = PageBesideMenuFile(file); !page.isEmpty()) return OpenDocumentFile(page, then);
    ReadAndReplace(path, QString(), std::move(then));
}

void CDocumentFlow::OpenWithQuestion(const QString& path, Then then) {
    SaveModified([this, path, then](bool goOn) {
        if (goOn) return OpenStartFile(path, then);
        Tell(then, false);
    });
}

void CDocumentFlow::OpenRecentFile(const QString& path) {
    SaveModified([this, path](bool goOn) {
        if (!goOn) return;
        OpenDocumentFile(path, [this, path](bool opened) {
            if (opened || m_lastCancelled) return;
            m_recentFiles.Remove(m_recentFiles.Files().indexOf(path));
            m_recentFiles.Save(m_app.Settings());
            emit recentFilesChanged();
        });
    });
}

QString CDocumentFlow::AskSavePath() const {
    const QString proposed =
        m_doc.PathName().isEmpty() ? DialogFolder() + QLatin1Char('/') + shelltexts::kAppTitle : m_doc.PathName();
    QString path = m_app.Dialogs().GetSaveFileName(m_dialogParent, shelltexts::kSaveAsCaption, proposed,
                                                   shelltexts::kSaveFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += shelltexts::kPageExtension;
    return path;
}

// A folder typed into the file name ("site/menu.htm") is made, as the command line does.
bool CDocumentFlow::MakeFolderOf(const QString& path) const {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir().mkpath(folder)) return true;
    m_app.Dialogs().ShowMessage(m_dialogParent,
                                QString::fromLatin1(headlesstexts::kCannotCreateFolder).arg(QDir::toNativeSeparators(folder)),
                                IDialogService::Buttons::Ok, IDialogService::Icon::Warning);
    return false;
}

void CDocumentFlow::Save(bool saveAs, Then then, bool withRuntime) {
    if (IsWorking()) return Tell(then, false);
    const QString path = saveAs || m_doc.PathName().isEmpty() ? AskSavePath() : m_doc.PathName();
    if (path.isEmpty() || !MakeFolderOf(path)) return Tell(then, false);
    m_savingPath = QFileInfo(path).absoluteFilePath();
    CommitPendingEdits();
    if (beforeSave) beforeSave();
    WriteInBackground(path, true, withRuntime || m_doc.m_bScriptRuntime != 0, then);
}

// What a save's worker gives: the texts shown afterwards are made there too, as those of a big
// document run to millions of lines.
struct CDocumentFlow::SaveOutcome {
    std::vector<MovedMedia> moved;
    kestrune::DocumentWrite write;
    QString warnings;  // media refused or copied from outside, as the message box shows them
    QString missing;   // media not found, as the message pane shows them
    QString menusCut;  // the applet's size against what its menus need, when they are cut
};

namespace {
QString MenusCutNote(const kestrune::CAppletParameters& applet) {
    const kestrune::AppletSize need = kestrune::SizeMenusNeed(applet);
    if (need.width <= applet.m_appWidth && need.height <= applet.m_appHeight) return {};
    return shelltexts::kSavedMenusCut.arg(applet.m_appWidth).arg(applet.m_appHeight).arg(need.width).arg(need.height);
}
}  // namespace

void CDocumentFlow::WriteInBackground(const QString& path, bool mayRelink, bool withRuntime, Then then) {
    auto outcome = std::make_shared<SaveOutcome>();
    kestrune::CAppletParameters& applet = m_doc.Applet();
    const std::string page = path.toLocal8Bit().toStdString();
    const std::string folder = kestrune::convert::PathFromQt(QFileInfo(path).absolutePath());
    const std::string appDir = m_app.AppDir();
    const std::string language = m_doc.m_pageLanguage;
    auto damagedFiles = std::make_shared<const std::vector<std::string>>(m_damagedFiles);
    // The worker reads the model in place: no edit may change it until the worker is done.
    // Nothing else runs here: Save checked, and a relink starts after the first run ended.
    m_doc.HoldEdits(true);
    m_work.Start(
        shelltexts::kSavingFile.arg(QFileInfo(path).fileName()),
        [outcome, &applet, mayRelink, page, folder, appDir, withRuntime, language,
         damagedFiles](kestrune::TaskProgress& progress) {
            if (mayRelink) outcome->moved = FindMovedMedia(applet, folder);
            if (!outcome->moved.empty()) return;
            outcome->write =
                kestrune::WriteDocumentFiles(applet, page, appDir, withRuntime, &progress, language, damagedFiles.get());
            outcome->warnings = ShortenedForDialog(std::exchange(outcome->write.warnings, {}));
            // Never silently: every media file the save could not find is listed afterwards.
            const std::string missing = outcome->write.saved ? MissingMediaLines(applet) : std::string();
            if (!missing.empty()) outcome->missing = shelltexts::kSaveMissingMedia + kestrune::convert::LabelToWidget(missing);
            if (outcome->write.saved) outcome->menusCut = MenusCutNote(applet);
        },
        [this, outcome, path, withRuntime, then] {
            m_doc.HoldEdits(false);
            // Media moved away since the last save are found again through the copies it
            // made; taking them is an edit, made before the files are written (rarely needed).
            if (!outcome->moved.empty() && !m_work.LastCancelled()) {
                RelinkMovedMedia(m_doc, outcome->moved);
                CommitPendingEdits();
                return WriteInBackground(path, false, withRuntime, then);
            }
            outcome->write.cancelled = outcome->write.cancelled || !outcome->moved.empty();
            FinishSave(path, *outcome, then);
        });
}

void CDocumentFlow::FinishSave(const QString& path, const SaveOutcome& outcome, const Then& then) {
    m_lastCancelled = outcome.write.cancelled;
    if (!m_lastCancelled && !outcome.warnings.isEmpty())
        m_app.Dialogs().ShowMessage(m_dialogParent, outcome.warnings, IDialogService::Buttons::Ok,
                                    IDialogService::Icon::Warning);
    const bool saved =
        kestrune::AcceptDocumentWrite(m_doc.Applet(), path.toLocal8Bit().toStdString(), outcome.write, *this);
    m_savingPath.clear();
    if (saved) {
        QStringList report;
        if (!outcome.missing.isEmpty()) report << outcome.missing;
        if (!outcome.menusCut.isEmpty()) report << outcome.menusCut;
        if (!m_doc.m_bScriptRuntime && !m_runtimeHintGiven) report << shelltexts::kSavedWithoutRuntime;
        const bool shown = !report.isEmpty() && m_doc.ShowMessage(report.join(QLatin1Char('\n')));
        if (shown && !m_doc.m_bScriptRuntime) m_runtimeHintGiven = true;
        if (shown && !outcome.menusCut.isEmpty()) emit savedMenusCut();
        m_doc.SetModifiedFlag(false);
        kestrune::ForgetSavedOver(m_damagedFiles, path.toLocal8Bit().toStdString());
        Remember(path);
    }
    Tell(then, saved);
    emit workEnded();
}

QString CDocumentFlow::DialogFolder() const {
    if (!m_doc.PathName().isEmpty()) return QFileInfo(m_doc.PathName()).absolutePath();
    return QDir::homePath();
}

void CDocumentFlow::Remember(const QString& path) {
    // A name given relative to the folder the program started in stays valid after it.
    m_doc.SetPathName(QFileInfo(path).absoluteFilePath());
    m_recentFiles.Add(path);
    m_recentFiles.Save(m_app.Settings());
    emit recentFilesChanged();
}
