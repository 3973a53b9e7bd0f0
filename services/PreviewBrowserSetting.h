// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "services/PreviewLaunch.h"

namespace kestrune {

class ISettingsStore;

inline constexpr const char* kWebBrowserSection = "Web Browser";
inline constexpr const char* kUseDefaultKey = "Use Default";
inline constexpr const char* kSpecifyBrowserKey = "Specify Browser";
inline constexpr const char* kKnownBrowserKey = "Known Browser";

// Reads the three entries with their defaults (1, "", 0).
BrowserChoice LoadBrowserChoice(const ISettingsStore& settings);
// Writes all three, in the order "Use Default", "Specify Browser", "Known Browser".
void StoreBrowserChoice(ISettingsStore& settings, const BrowserChoice& choice);

}  // namespace kestrune
