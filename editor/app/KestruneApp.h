// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"

class IDialogService;
class IProgramLauncher;
namespace kestrune {
class ISettingsStore;
}  // namespace kestrune

// Lives for the whole run and owns the one menu model, which New, Open and the template
// commands refill in place.
class CKestruneApp : public QObject {
    Q_OBJECT
public:
    CKestruneApp(QString appDir, IDialogService& dialogs, kestrune::ISettingsStore& settings,
                 QObject* parent = nullptr);
    ~CKestruneApp() override;

    kestrune::CAppletParameters m_applet;
    int m_bItemSheet = 1;
    QString m_strAppDir;  // no trailing separator; shipped data is read from it
    // With m_bPrivateRunDir on, the preview folder lies in a private folder of this run,
    // m_strRunDir, made at the first preview; off, it lies in the program folder.
    bool m_bPrivateRunDir = false;
    QString m_strRunDir;
    int m_bFirstNew = 1;
    int m_nBrowserMode = 1;
    QString m_strBrowserPath;
    int m_nKnownBrowser = 0;
    // The preview files this run wrote: the clean-up at the end deletes only these.
    kestrune::PreviewWrites m_previewWrites;

    IDialogService& Dialogs() const { return m_dialogs; }
    kestrune::ISettingsStore& Settings() const { return m_settings; }
    std::string AppDir() const { return m_strAppDir.toLocal8Bit().toStdString(); }
    // The program's sample folder, where media choosers start without a better place.
    QString SampleFolder() const { return m_strAppDir + QStringLiteral("/Sample"); }
    // The folder inside which the preview folder is made (the run's private folder is
    // made here the first time; should that fail, the program folder serves).
    std::string PreviewBase();
    // The desktop shell's "open" (Preview, View Sample); tests put a fake in its place.
    IProgramLauncher& Launcher() const { return *m_launcher; }
    void SetLauncher(IProgramLauncher* launcher);  // non-owning; null restores the desktop's

private:
    IDialogService& m_dialogs;
    kestrune::ISettingsStore& m_settings;
    std::unique_ptr<IProgramLauncher> m_desktopLauncher;
    IProgramLauncher* m_launcher;
};
