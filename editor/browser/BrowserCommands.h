// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "services/KnownBrowsers.h"
#include "services/PreviewLaunch.h"

class CKestruneApp;
class QString;
namespace kestrune {
class CAppletParameters;
}
class QWidget;

// The browser choice as the application object holds it, and the commands that use it.
namespace browsercommands {

kestrune::BrowserChoice ChoiceOfApp(const CKestruneApp& app);
void SetChoiceOfApp(CKestruneApp& app, const kestrune::BrowserChoice& choice);
// Start-up: the three entries of "Web Browser" into the application object.
void LoadBrowserSettings(CKestruneApp& app);

// Built afresh at every use: the registry probes (none here) and the browsers on PATH.
kestrune::KnownBrowserList CurrentKnownBrowsers();

// "Web Browser...": the dialog, and on OK the new choice held and written to the settings.
// Returns whether the choice was stored.
bool RunWebBrowserCommand(CKestruneApp& app, QWidget* parent);

// Hands the preview page, or the sample page, to the chosen browser.
// A browser that does not start is described in *failure (program and reason).
bool LaunchPreviewPage(CKestruneApp& app, QString* failure = nullptr);
bool LaunchSamplePage(CKestruneApp& app);

// Preview: writes the preview page and its files and starts the chosen browser. A write
// that fails is reported and the browser still shows what is there; a browser that does
// not start is reported with the offer of the built-in Menu Preview. Returns whether the
// user took that offer.
bool PreviewInBrowser(CKestruneApp& app, kestrune::CAppletParameters& applet, const std::string& pageLanguage,
                      QWidget* parent);
// A browser that ended with an error soon after it started, reported as one that did not
// start; true when the user then asks for the built-in preview.
bool ReportEarlyFailure(CKestruneApp& app, QWidget* parent, const QString& program, const QString& errorOutput);

}  // namespace browsercommands
