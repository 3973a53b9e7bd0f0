// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts that every written form of the model shares: the menu and template files as well
// as the applet's parameters carry labels and media folders the same way.
namespace kestrune::texts {

inline constexpr const char* kCrLf = "\r\n";
// A label's line break as the applet and the menu files carry it.
inline constexpr const char* kLabelBreakToken = "|_#`";

// Folders of the template layout below the template folder.
inline constexpr const char* kSampleFolder = "Sample";
inline constexpr const char* kSampleImageFolder = "Sample/Image";
inline constexpr const char* kSampleAudioFolder = "Sample/Audio";

}  // namespace kestrune::texts
