// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts of the menu preview, written once.
namespace previewtexts {

inline constexpr const char* kWindowTitle = "Menu Preview";
inline constexpr const char* kWindowTitleOfPage = "Menu Preview - %1";
inline constexpr const char* kCommandText = "Menu Pre&view";
inline constexpr const char* kHelpTopic = "menupreview";
inline constexpr const char* kCommandPrompt = "Show the menu as visitors will see it, and follow every change";
inline constexpr const char* kCommandTooltip = "Menu Preview";
inline constexpr const char* kSoundsAction = "&Sounds";
inline constexpr const char* kSoundsTooltip = "Play the sounds of the applet and its items";

inline constexpr const char* kStatusLink = "Link: %1    Target: %2";
inline constexpr const char* kStatusNoLink = "No link    Target: %1";
inline constexpr const char* kStatusDescription = "    (%1)";
inline constexpr const char* kStatusClicked = "Clicked - the preview does not open links. %1";
inline constexpr const char* kAppletSize = "Applet %1 x %2";
inline constexpr const char* kMenusCut = "Menus cut off";
inline constexpr const char* kFitAppletSize = "&Fit Applet Size";
inline constexpr const char* kFitAppletSizeTip = "Give the applet the size Check Parameters recommends (can be undone)";
inline constexpr const char* kWarningCount = "%n warning(s)";
inline constexpr const char* kReadFailed = "The applet could not be read: %1";
inline constexpr const char* kCannotOpenPage = "Cannot read the page \"%1\".";

// The built-in choice of the Web Browser dialog that shows Preview in this viewer.
inline constexpr const char* kBrowserChoiceName = "Kestrune Menu Preview";

// Command line.
inline constexpr const char* kViewOption = "--view";
inline constexpr const char* kAppDirOption = "--app-dir";
inline constexpr const char* kViewUsage = "usage: kestrune [--app-dir DIR] --view PAGE";

}  // namespace previewtexts
