// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserCommands.h"

#include <QStringList>
#include <QtGlobal>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "browser/BrowserTexts.h"
#include "browser/DlgWebBrowser.h"
#include "app/ProgramLauncher.h"
#include "services/PreviewBrowserSetting.h"
#include "preview/MenuViewerChoice.h"
#include "services/PreviewWriter.h"

using namespace kestrune;

namespace browsercommands {

BrowserChoice ChoiceOfApp(const CKestruneApp& app) {
    return {app.m_nBrowserMode, app.m_strBrowserPath.toLocal8Bit().toStdString(), app.m_nKnownBrowser};
}

void SetChoiceOfApp(CKestruneApp& app, const BrowserChoice& choice) {
    app.m_nBrowserMode = choice.mode;
    app.m_strBrowserPath = QString::fromLocal8Bit(choice.path.data(), static_cast<qsizetype>(choice.path.size()));
    app.m_nKnownBrowser = choice.knownIndex;
}

void LoadBrowserSettings(CKestruneApp& app) { SetChoiceOfApp(app, LoadBrowserChoice(app.Settings())); }

// Kestrune's own viewer comes last, so the stored positions of the others do not move.
KnownBrowserList CurrentKnownBrowsers() {
    KnownBrowserList browsers = BuildKnownBrowserList(NoRegistry(), qgetenv("PATH").toStdString());
    browsers.push_back(menuviewer::BrowserEntry());
    return browsers;
}

bool RunWebBrowserCommand(CKestruneApp& app, QWidget* parent) {
    QStringList names;
    for (const KnownBrowser& browser : CurrentKnownBrowsers())
        names << QString::fromLocal8Bit(browser.name.data(), static_cast<qsizetype>(browser.name.size()));
    const BrowserChoice current = ChoiceOfApp(app);
    CDlgWebBrowser dialog(app.Dialogs(), names, current, parent);
    if (app.Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return false;
    const BrowserChoice chosen = dialog.ApplyTo(current);
    SetChoiceOfApp(app, chosen);
    StoreBrowserChoice(app.Settings(), chosen);
    return true;
}

bool LaunchPreviewPage(CKestruneApp& app, QString* failure) {
    const LaunchRequest request = PlanPreviewLaunch(ChoiceOfApp(app), CurrentKnownBrowsers(), app.PreviewBase());
    if (menuviewer::Launch(app.Launcher(), request)) return true;
    if (failure) {
        const bool program = request.kind == LaunchRequest::StartProgram;
        const QString who = program ? QString::fromLocal8Bit(request.target.data(), static_cast<qsizetype>(request.target.size()))
                                    : browsertexts::kDefaultBrowserName;
        const QString why = app.Launcher().LastError();
        *failure = browsertexts::kBrowserDidNotStart.arg(who, why.isEmpty() ? browsertexts::kNoReasonGiven : why);
    }
    return false;
}

bool LaunchSamplePage(CKestruneApp& app) {
    return menuviewer::Launch(app.Launcher(),
                              PlanSampleLaunch(ChoiceOfApp(app), CurrentKnownBrowsers(), app.AppDir()));
}

bool PreviewInBrowser(CKestruneApp& app, kestrune::CAppletParameters& applet, const std::string& pageLanguage,
                      QWidget* parent) {
    std::string error;
    if (!kestrune::WritePreviewFiles(applet, app.AppDir(), app.PreviewBase(), &error, &app.m_previewWrites,
                                     pageLanguage))
        app.Dialogs().ShowMessage(parent, QString::fromLocal8Bit(error));
    QString failure;
    if (LaunchPreviewPage(app, &failure)) return false;
    return app.Dialogs().ShowMessage(parent, failure, IDialogService::Buttons::YesNo, IDialogService::Icon::Warning) ==
           IDialogService::Answer::Yes;
}

bool ReportEarlyFailure(CKestruneApp& app, QWidget* parent, const QString& program, const QString& errorOutput) {
    const QString name = program.isEmpty() ? browsertexts::kDefaultBrowserName : program;
    return app.Dialogs().ShowMessage(parent, browsertexts::kBrowserDidNotStart.arg(name, errorOutput),
                                     IDialogService::Buttons::YesNo,
                                     IDialogService::Icon::Warning) == IDialogService::Answer::Yes;
}

}  // namespace browsercommands
