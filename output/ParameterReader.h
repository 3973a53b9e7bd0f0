// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileAccess.h"
#include "model/AppletParameters.h"
#include "model/ModelLimits.h"
#include "output/TagScanner.h"

namespace kestrune {

// Maps a media file name, as the parameters carry it, to the path the model stores.
using MediaNameResolver = std::function<std::string(const std::string& name)>;

// Media names taken as files in one folder (the folder of the page that named them);
// a name that leads outside it (absolute, "..", a link) gives no file.
MediaNameResolver MediaInFolder(const std::filesystem::path& folder);

// The largest page read: a page written for the largest menu file this program reads.
inline constexpr std::size_t kMaxPageBytes = kMaxMenuFileBytes;

// The shortest parameter this program writes is an item with empty texts
// ("\t<param name=\"I0-0\" value=\",,,,,,,,\">" and its line end: 40 bytes), so a page of n
// bytes that it wrote carries fewer than n / kMinParameterBytes of them. Each costs a few
// hundred bytes once read, so the bound keeps the reader's memory proportional to the
// page, and kMaxModelObjects caps it whatever the page's size.
inline constexpr std::size_t kMinParameterBytes = 32;
inline constexpr std::size_t ParameterBudgetFor(std::size_t textSize) {
    const std::size_t bySize = textSize / kMinParameterBytes + 256;
    return bySize < kMaxModelObjects ? bySize : kMaxModelObjects;
}

struct ParameterReadOptions {
    MediaNameResolver resolveMedia;  // empty: the model keeps the bare names
    std::size_t maxTextSize = kMaxPageBytes;
    int maxDepth = kMaxMenuDepth;  // deeper nesting is refused, as the menu files cut it
    // Parameters beyond this many are ignored (with a warning): each may become an item
    // that costs far more memory than its line. 0: as many as the text's size can
    // honestly carry (ParameterBudgetFor), which admits every page this program writes.
    std::size_t maxParameters = 0;
    // Browser: what the script runtime receives; the default also reads old pages whose
    // values hold unescaped quotes as their writer meant them.
    TagRules tagRules = TagRules::OldWriterValues;
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
// where it has them. Reading what BuildAppletParameters wrote gives an applet that
// writes the same block again. Any text is safe: damage gives an error, never a crash,
// and the work is bounded by the text's size.
AppletReadResult ReadAppletParameters(std::string_view text,
                                      const ParameterReadOptions& options = {});

}  // namespace kestrune
