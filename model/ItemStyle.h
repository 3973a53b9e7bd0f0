// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "model/Color.h"

namespace kestrune {

// How the items of one menu look in one state (Normal, Mouse Over or Clicked).
struct ItemStyle {
    Color BKColor = 0;
    Color FRColor = 0x00FFFFFF;
    std::int32_t ItemBorderStyle = 0;    // 0 Plain, 1 Raised, 2 Sunken
    std::int32_t ItemFillStyle = 1;      // see kFillStyleNames
    std::int32_t GradientDirection = 1;  // 0 Single Direction, 1 Bi-direction
    std::int32_t FontEffect = 0;         // 0 Normal .. 4 With Shadow
    std::int32_t FontName = 0;           // 0 TimesRoman, 1 Helvetica, 2 Courier
    std::int32_t FontSize = 14;
    std::int32_t FontStyle = 0;          // 0 Plain, 1 Bold, 2 Italic
    std::int32_t TextAlign = 0;          // 0 Left, 1 Center, 2 Right
    std::int32_t TextOffset = 0;
    std::int32_t ImageAlign = 0;         // 0 Left, 1 Center, 2 Right
    std::int32_t ImageOffset = 0;
    std::string Spare;  // carried by copies and the clipboard record only

    bool operator==(const ItemStyle&) const = default;
};

enum ItemState { kStateNormal = 0, kStateMouseOver = 1, kStateClicked = 2, kStateCount = 3 };

}  // namespace kestrune
