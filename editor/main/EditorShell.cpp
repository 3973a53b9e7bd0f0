// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/EditorShell.h"

#include <QApplication>
#include <QDir>

#include "main/DocumentFlow.h"
#include "properties/IconResources.h"
#include "main/MainFrame.h"
#include "services/PreviewBrowserSetting.h"
#include "services/PreviewFolder.h"

CEditorShell::CEditorShell(const QString& appDir, IDialogService& dialogs, kestrune::ISettingsStore& settings)
    : m_app(appDir, dialogs, settings), m_templates(settings, appDir.toLocal8Bit().toStdString()), m_doc(m_app) {
    EnsureIconResources();
}

CEditorShell::CEditorShell(const ProgramFolders& folders, IDialogService& dialogs, kestrune::ISettingsStore& settings)
    : m_app(folders.appDir, dialogs, settings),
      m_templates(settings, folders.appDir.toLocal8Bit().toStdString(), folders.userDir.toLocal8Bit().toStdString()),
      m_doc(m_app) {
    m_app.m_bPrivateRunDir = true;
    EnsureIconResources();
}

CEditorShell::~CEditorShell() = default;

void CEditorShell::CreateFrame() {
    const kestrune::BrowserChoice choice = kestrune::LoadBrowserChoice(m_app.Settings());
    m_app.m_nBrowserMode = choice.mode;
    m_app.m_strBrowserPath = QString::fromLocal8Bit(choice.path);
    m_app.m_nKnownBrowser = choice.knownIndex;
    m_templates.SeedTemplateList();

    m_frame = std::make_unique<CMainFrame>(m_doc, m_templates);
}

bool CEditorShell::OpenFirstDocument(const QString& fileToOpen) {
    CDocumentFlow& flow = m_frame->Flow();
    if (fileToOpen.isEmpty()) return flow.NewDocument();
    if (flow.OpenStartFile(fileToOpen)) return true;
    return flow.LastWorkCancelled() && flow.NewDocument();
}

bool CEditorShell::Start(const QString& fileToOpen) {
    if (!m_frame) CreateFrame();
    return OpenFirstDocument(fileToOpen);
}

bool CEditorShell::StartShown(const QString& fileToOpen) {
    if (!m_frame) CreateFrame();
    if (fileToOpen.isEmpty()) {
        const bool started = OpenFirstDocument(fileToOpen);
        Show();
        return started;
    }
    Show();
    return OpenFirstDocument(fileToOpen);
}

void CEditorShell::Show() {
    m_frame->ShowWithSavedPlacement();
    m_frame->repaint();
}

void CEditorShell::CleanUp() {
    const QString& runDir = m_app.m_strRunDir;
    kestrune::CleanPreviewFolder(runDir.isEmpty() ? m_app.AppDir() : runDir.toLocal8Bit().toStdString(),
                                 m_app.m_previewWrites);
    if (!runDir.isEmpty()) QDir().rmdir(runDir);  // only when empty
}
