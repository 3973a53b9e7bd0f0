// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "model/Color.h"
#include "model/Rect.h"

namespace kestrune {

inline constexpr const char* kDefaultHTMLTitle = "Vorane Applet Properties";

// The applet's own fields, without its menus: what its property page edits and what the
// page's first parameters carry. Copies, swaps and comparisons take them as one value.
struct AppletFields {
    std::string m_HTMLTitle = kDefaultHTMLTitle;
    std::int32_t m_Align = 0;  // 0 Center, 1 Left, 2 Right
    std::int32_t m_appWidth = 400;
    std::int32_t m_appHeight = 200;
    Color m_appBKColor = 0;
    std::string m_appBKImagePath;
    std::int32_t m_appBKImageMode = 0;  // 0 Specify, 1 Tile
    std::int32_t m_appBKImageX = 0;
    std::int32_t m_appBKImageY = 0;
    std::string m_appBKAudioPath;

    // Where a background image that is not tiled is drawn.
    Point BackgroundImageCorner() const { return {m_appBKImageX, m_appBKImageY}; }

    bool operator==(const AppletFields&) const = default;
};

}  // namespace kestrune
