// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

class CAppletParameters;

// An item label as the menu file carries it: every CR LF becomes the line-break token,
// then every tab four blanks. Decoding turns the token back into CR LF only.
std::string EncodeMenuFileLabel(const std::string& label);
std::string DecodeMenuFileLabel(std::string_view label);

// The menu file that belongs to a page file: the page's file name up to its last ".",
// then ".kst"; a name without "." gets ".kst" appended. Folder names play no part.
std::string MenuFilePathFor(const std::string& pagePath);

// How a stored media path goes into a line.
using MediaValueRule = std::function<std::string(const std::string& storedPath)>;

struct MenuSectionForm {
    std::string section;        // the header's name, without brackets
    bool withNotice = true;     // documents carry the format signature, templates not
    // What the "ApStyle" line names for the applet's image and audio; unset: the stored path.
    std::optional<std::string> appletImage;
    std::optional<std::string> appletAudio;
    MediaValueRule itemMedia;  // empty rule: the stored path unchanged
};

// The lines of one section of the current layout, each followed by CR LF. Numbers the
// menus depth first: a menu, then the sub menus of its items in item order.
std::string FormatMenuSection(const CAppletParameters& applet, const MenuSectionForm& form);

}  // namespace kestrune
