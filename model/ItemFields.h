// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrune {

inline constexpr const char* kNewItemLabel = "item";

// One item's own fields, without its sub menu: what its property pages edit and its
// page parameter carries.
struct ItemFields {
    std::string m_label = kNewItemLabel;  // line breaks are CR LF
    std::string m_description;
    std::string m_normalImage;
    std::string m_overImage;
    std::string m_clickImage;
    std::string m_overAudio;
    std::string m_clickAudio;
    std::string m_target;
    std::string m_link;
    std::int32_t m_visible = 1;

    bool operator==(const ItemFields&) const = default;
};

// An item's media paths in the order the files write them: the normal, mouse-over and
// clicked images, then the mouse-over and clicked sounds.
enum MediaField : std::size_t { kNormalImage, kOverImage, kClickImage, kOverAudio, kClickAudio, kMediaFieldCount };
std::array<const std::string*, kMediaFieldCount> MediaFieldsOf(const ItemFields& item);
std::array<std::string*, kMediaFieldCount> MediaFieldsOf(ItemFields& item);
// Every text of the item in the order its record stores them.
std::array<std::string*, 9> TextFieldsOf(ItemFields& item);

}  // namespace kestrune
