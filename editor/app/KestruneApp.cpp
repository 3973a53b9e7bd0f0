// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KestruneApp.h"

#include <utility>

#include "app/ProgramFolders.h"
#include "app/ProgramLauncher.h"
#include "model/VoraneItem.h"

using namespace kestrune;

CKestruneApp::CKestruneApp(QString appDir, IDialogService& dialogs, ISettingsStore& settings, QObject* parent)
    : QObject(parent),
      m_strAppDir(std::move(appDir)),
      m_dialogs(dialogs),
      m_settings(settings),
      m_desktopLauncher(std::make_unique<DesktopProgramLauncher>()),
      m_launcher(m_desktopLauncher.get()) {}

CKestruneApp::~CKestruneApp() = default;

std::string CKestruneApp::PreviewBase() {
    if (m_bPrivateRunDir && m_strRunDir.isEmpty()) m_strRunDir = MakePrivateRunFolder();
    return m_strRunDir.isEmpty() ? AppDir() : m_strRunDir.toLocal8Bit().toStdString();
}

void CKestruneApp::SetLauncher(IProgramLauncher* launcher) {
    m_launcher = launcher ? launcher : m_desktopLauncher.get();
}
