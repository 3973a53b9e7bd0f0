// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/ItemStyle.h"

namespace kestrune {

// How one menu looks: its own box and its items' styles in the three states. The name
// travels with the style, as every style copy has carried it; visibility and items do not.
struct MenuStyle {
    std::string m_name;
    Color m_BKColor = 0;
    std::int32_t m_BKStyle = 0;
    std::int32_t m_MenuAlign = 0;
    std::int32_t m_Corner = 0;
    std::int32_t m_xPos = 40;
    std::int32_t m_yPos = 15;
    std::int32_t m_Width = 80;
    std::int32_t m_Height = 20;
    std::int32_t m_ItemGap = 5;
    std::int32_t m_BorderThick = 0;
    std::array<ItemStyle, kStateCount> m_itemStyle{};

    bool operator==(const MenuStyle&) const = default;
};

}  // namespace kestrune
