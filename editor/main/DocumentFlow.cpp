// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/DocumentFlow.h"

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <QFileInfo>
#include <QScopeGuard>

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

bool CDocumentFlow::SaveModified() {
    // An edit still shown in the property frame counts: it is written, and so asked about.
    CommitPendingEdits();
    if (!m_doc.IsModified()) return true;
    const auto answer = m_app.Dialogs().ShowMessage(m_dialogParent, shelltexts::kSaveChangesTo.arg(m_doc.Title()),
                                                    IDialogService::Buttons::YesNoCancel,
                                                    IDialogService::Icon::Warning);
    if (answer == IDialogService::Answer::Yes) return Save(false);
    return answer == IDialogService::Answer::No;
}

bool CDocumentFlow::NewDocument() {
    if (!SaveModified()) return false;
    int position = 0;
    if (!m_app.m_bFirstNew) {
        // Cancel leaves the open document as it was: its name, its content and its mark.
        CDlgNew dialog(m_templates.ListTemplateNames(), m_app.Dialogs(), m_dialogParent);
        if (m_app.Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return false;
        position = dialog.ChosenPosition();
    }
    m_app.m_bFirstNew = 0;
    m_doc.SetPathName(QString());
    std::string error;
    m_doc.ReplaceModel([&](kestrune::CAppletParameters& applet) {
        m_templates.LoadTemplate(applet, position, &error);
        return true;
    });
    // A damaged template file still gives a document to work on, but not in silence.
    std::error_code missing;
    if (!error.empty() && std::filesystem::exists(m_templates.TemplateFilePath(), missing)) ReportMessage(error);
    if (const std::string problem = m_templates.UserFolderProblem(); !problem.empty()) ReportMessage(problem);
    m_doc.SetModifiedFlag(false);
    return true;
}

bool CDocumentFlow::ReadAndReplace(const QString& path) {
    const std::string bytes = path.toLocal8Bit().toStdString();
    kestrune::DocumentRead read;
    // The worker fills a model of its own; the open document stays live meanwhile.
    if (!m_work.Run(shelltexts::kOpeningFile.arg(QFileInfo(path).fileName()),
                    [&](kestrune::TaskProgress& progress) {
                        read = kestrune::ReadDocumentFile(bytes, &progress,
                                                          kestrune::FolderRepair::CompleteInterruptedSave);
                    }))
        read.cancelled = true;  // another Open or Save is running
    m_lastCancelled = read.cancelled;
    const bool opened = m_doc.ReplaceModel(
        [&](kestrune::CAppletParameters& applet) { return kestrune::AcceptDocumentRead(applet, read, *this); });
    emit workEnded();
    return opened;
}

bool CDocumentFlow::OpenDocumentFile(const QString& path) {
    if (!ReadAndReplace(path)) return false;
    m_doc.SetModifiedFlag(false);
    Remember(path);
    return true;
}

namespace {
QString PageBesideMenuFile(const QFileInfo& menuFile) {
    for (const char* extension : {".htm", ".html", ".HTM", ".HTML"}) {
        const QFileInfo page(menuFile.dir(), menuFile.completeBaseName() + QLatin1String(extension));
        if (page.isFile()) return page.filePath();
    }
    return {};
}
}  // namespace

bool CDocumentFlow::OpenStartFile(const QString& path) {
    const QFileInfo file(path);
    if (file.suffix().compare(QLatin1String("kst"), Qt::CaseInsensitive) != 0) return OpenDocumentFile(path);
    if (const QString page = PageBesideMenuFile(file); !page.isEmpty()) return OpenDocumentFile(page);
    if (!ReadAndReplace(path)) return false;
    m_doc.SetPathName(QString());
    m_doc.SetModifiedFlag(false);
    return true;
}

bool CDocumentFlow::OpenWithQuestion(const QString& path) {
    if (!SaveModified()) return false;
    return OpenDocumentFile(path);
}

QString CDocumentFlow::AskSavePath() const {
    const QString proposed =
        m_doc.PathName().isEmpty() ? DialogFolder() + QLatin1Char('/') + shelltexts::kAppTitle : m_doc.PathName();
    QString path = m_app.Dialogs().GetSaveFileName(m_dialogParent, shelltexts::kSaveAsCaption, proposed,
                                                   shelltexts::kSaveFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += shelltexts::kPageExtension;
    return path;
}

kestrune::DocumentWrite CDocumentFlow::WriteInBackground(const QString& path, std::string& missing) {
    const std::string page = path.toLocal8Bit().toStdString();
    const std::string folder = kestrune::convert::PathFromQt(QFileInfo(path).absolutePath());
    const std::string appDir = m_app.AppDir();
    const bool withRuntime = m_doc.m_bScriptRuntime != 0;
    const std::string language = m_doc.m_pageLanguage;
    const QString label = shelltexts::kSavingFile.arg(QFileInfo(path).fileName());
    kestrune::CAppletParameters& applet = m_doc.Applet();
    kestrune::DocumentWrite write;
    const auto writeFiles = [&](kestrune::TaskProgress& progress) {
        write = kestrune::WriteDocumentFiles(applet, page, appDir, withRuntime, &progress, language);
        // Never silently: every media file the save could not find is listed afterwards.
        if (write.saved) missing = MissingMediaLines(applet);
    };
    // The worker reads the model: no edit may change it meanwhile. Media moved away since
    // the last save are found again through the copies it made; taking them is an edit,
    // made here between two runs of the worker (rarely needed).
    std::vector<MovedMedia> moved;
    const auto runHeld = [&](const std::function<void(kestrune::TaskProgress&)>& work) {
        m_doc.HoldEdits(true);
        const QScopeGuard release([&] { m_doc.HoldEdits(false); });
        return m_work.Run(label, work);
    };
    const bool ran = runHeld([&](kestrune::TaskProgress& progress) {
        moved = FindMovedMedia(applet, folder);
        if (moved.empty()) writeFiles(progress);
    });
    if (!ran) write.cancelled = true;  // another Open or Save is running
    if (moved.empty()) return write;
    if (m_work.LastCancelled()) {
        write.cancelled = true;
        return write;
    }
    RelinkMovedMedia(m_doc, moved);
    CommitPendingEdits();
    if (!runHeld(writeFiles)) write.cancelled = true;
    return write;
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

bool CDocumentFlow::Save(bool saveAs) {
    const QString path = saveAs || m_doc.PathName().isEmpty() ? AskSavePath() : m_doc.PathName();
    if (path.isEmpty() || !MakeFolderOf(path)) return false;
    m_savingPath = QFileInfo(path).absoluteFilePath();
    CommitPendingEdits();
    std::string missing;
    const kestrune::DocumentWrite write = WriteInBackground(path, missing);
    m_lastCancelled = write.cancelled;
    const bool saved = kestrune::AcceptDocumentWrite(m_doc.Applet(), path.toLocal8Bit().toStdString(), write, *this);
    m_savingPath.clear();
    emit workEnded();
    if (!saved) return false;
    QStringList report;
    if (!missing.empty()) report << shelltexts::kSaveMissingMedia + kestrune::convert::LabelToWidget(missing);
    if (!m_doc.m_bScriptRuntime && !m_runtimeHintGiven) report << shelltexts::kSavedWithoutRuntime;
    if (!report.isEmpty() && m_doc.ShowMessage(report.join(QLatin1Char('\n'))) && !m_doc.m_bScriptRuntime)
        m_runtimeHintGiven = true;
    m_doc.SetModifiedFlag(false);
    Remember(path);
    return true;
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
