// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrune {

// Where a page carries its menu: between one "<!-- kestrune-menu -->" and the
// "<!-- /kestrune-menu -->" after it.
struct MenuMarkers {
    enum class State { Found, None, Unbalanced, Nested, Repeated };
    State state = State::None;
    std::size_t innerBegin = 0;  // right after the opening marker
    std::size_t innerEnd = 0;    // at the closing marker
};
MenuMarkers FindMenuMarkers(std::string_view page);

// The line end the page uses ("\n" when its first line ends so, else "\r\n").
std::string_view LineEndOf(std::string_view page);

// The page with the block between its markers (found), every other byte kept.
std::string WithBlockBetween(std::string_view page, const MenuMarkers& markers, std::string_view block);

// The position right after the page's <body ...> tag; npos when it has none.
std::size_t BodyContentStart(std::string_view page);

// The page with both markers and the block right after its <body ...> tag (at bodyEnd).
std::string WithBlockAdded(std::string_view page, std::size_t bodyEnd, std::string_view block);

// The block a CR LF block becomes in the page: its line ends turned into the page's.
std::string BlockForPage(std::string_view page, std::string_view block);

}  // namespace kestrune
