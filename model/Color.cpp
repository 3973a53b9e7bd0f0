// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Color.h"

#include <cstdio>

namespace kestrune {

std::string ColorText(Color color) {
    const auto value = static_cast<std::uint32_t>(color);
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", value & 0xFFu, (value >> 8) & 0xFFu,
                  (value >> 16) & 0xFFu);
    return text;
}

}  // namespace kestrune
