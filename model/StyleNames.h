// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// The entries of every style value list, in index order: the index is the stored value.
namespace kestrune::names {

inline constexpr std::array<const char*, 4> kBackgroundStyles = {
    "Transparent and without Border", "Transparent and with Border",
    "Fullfilled Color and without Border", "Fullfilled Color and with Border"};
inline constexpr std::array<const char*, 2> kMenuAligns = {"Vertical", "Horizontal"};
inline constexpr std::array<const char*, 3> kBorderStyles = {"Plain", "Raised", "Sunken"};
inline constexpr std::array<const char*, 10> kFillStyles = {
    "Transparent ",
    "Fullfilled with Color",
    "Horizontal Gradient from Black to Color",
    "Horizontal Gradient from White to Color",
    "Horizontal Gradient from Color to Black",
    "Horizontal Gradient from Color to White",
    "Vertical Gradient from Black to Color",
    "Vertical Gradient from White to Color",
    "Vertical Gradient from Color to Black",
    "Vertical Gradient from Color to White"};
inline constexpr std::array<const char*, 2> kGradientDirections = {"Single Direction",
                                                                   "Bi-direction"};
inline constexpr std::array<const char*, 5> kFontEffects = {"Normal", "Outline", "Sunken",
                                                            "Bulge", "With Shadow"};
inline constexpr std::array<const char*, 3> kFontNames = {"TimesRoman", "Helvetica", "Courier"};
inline constexpr std::array<const char*, 3> kFontStyles = {"Plain", "Bold", "Italic"};
inline constexpr std::array<const char*, 3> kAlignments = {"Left", "Center", "Right"};
inline constexpr std::array<const char*, 3> kParagraphAligns = {"Center", "Left", "Right"};
inline constexpr std::array<const char*, 2> kImageModes = {"Specify", "Tile"};

}  // namespace kestrune::names
