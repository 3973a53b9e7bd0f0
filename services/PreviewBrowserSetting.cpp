// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/PreviewBrowserSetting.h"

#include "base/SettingsStore.h"

namespace kestrune {

BrowserChoice LoadBrowserChoice(const ISettingsStore& settings) {
    BrowserChoice choice;
    choice.mode = settings.GetInt(kWebBrowserSection, kUseDefaultKey, BrowserChoice::kDefault);
    choice.path = settings.GetString(kWebBrowserSection, kSpecifyBrowserKey, "");
    choice.knownIndex = settings.GetInt(kWebBrowserSection, kKnownBrowserKey, 0);
    return choice;
}

void StoreBrowserChoice(ISettingsStore& settings, const BrowserChoice& choice) {
    settings.SetInt(kWebBrowserSection, kUseDefaultKey, choice.mode);
    settings.SetString(kWebBrowserSection, kSpecifyBrowserKey, choice.path);
    settings.SetInt(kWebBrowserSection, kKnownBrowserKey, choice.knownIndex);
}

}  // namespace kestrune
