// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace kestrune {

// A damaged or hand-made file may describe chains of sub menus far deeper than any editor
// could show and than the recursive walks of the model can bear. Every reader (menu files,
// pages, the script runtime) stops at the same depth, so what one admits the others show.
inline constexpr int kMaxMenuDepth = 2000;

// Whatever a file's size, no model read from a file holds more than this many menus and
// items: about 3 GB, well under the memory of the machines the program runs on, and room
// for menus several times the million items the editor is made for. A file that asks for
// more is refused with a message.
inline constexpr std::size_t kMaxModelObjects = 8'000'000;

}  // namespace kestrune
