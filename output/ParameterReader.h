// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/AppletParameters.h"

namespace kestrune {

// Maps a media file name, as the parameters carry it, to the path the model stores.
using MediaNameResolver = std::function<std::string(const std::string& name)>;

// Media names taken as files in one folder (the folder of the page that named them);
// a name that leads outside it (absolute, "..", a link) gives no file.
MediaNameResolver MediaInFolder(const std::filesystem::path& folder);

struct ParameterReadOptions {
    MediaNameResolver resolveMedia;  // empty: the model keeps the bare names
    std::size_t maxTextSize = std::size_t{64} << 20;
    int maxDepth = 256;  // deeper nesting is refused rather than risk the stack
    // Parameters beyond this many are ignored (with a warning): each may become an item
    // that costs far more memory than its line, and no real menu has so many.
    std::size_t maxParameters = std::size_t{1} << 16;
};

// The applet that the <param> lines of a page describe, or why there is none.
struct AppletReadResult {
    std::unique_ptr<CAppletParameters> applet;  // null when the text could not be read
    std::string error;                          // set when applet is null
    std::vector<std::string> warnings;          // what was read around or left out
    bool Ok() const { return applet != nullptr; }
};

// Reads the first <applet> element of a page (or, without one, the <param> lines of the
// whole text) into menus, items and styles, with the menu numbering and the "Misc"
// relations resolved. Width, height, title and paragraph alignment come from the page
// where it has them. Reading what BuildAppletParameters() wrote gives an applet that
// writes the same block again. Any text is safe: damage gives an error, never a crash,
// and the work is bounded by the text's size.
AppletReadResult ReadAppletParameters(std::string_view text,
                                      const ParameterReadOptions& options = {});

}  // namespace kestrune
