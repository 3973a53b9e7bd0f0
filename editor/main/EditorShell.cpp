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

bool CEditorShell::Start() {
    if (!m_frame) CreateFrame();
    return m_frame->Flow().LoadNewDocument();
}

void CEditorShell::Start(const QString& fileToOpen, const std::function<void(bool)>& then) {
    if (!m_frame) CreateFrame();
    if (fileToOpen.isEmpty()) return then(Start());
    m_frame->Flow().OpenStartFile(fileToOpen, [this, then](bool opened) {
        // A start load the user cancels leaves New's document, not an ended program.
        then(opened || (m_frame->Flow().LastWorkCancelled() && Start()));
    });
}

void CEditorShell::StartShown(const QString& fileToOpen, const std::function<void(bool)>& then) {
    if (!m_frame) CreateFrame();
    // A named document loads into the shown window, with its progress in view.
    if (!fileToOpen.isEmpty()) Show();
    Start(fileToOpen, [this, fileToOpen, then](bool started) {
        if (fileToOpen.isEmpty()) Show();
        then(started);
    });
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
