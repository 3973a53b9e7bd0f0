// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kestrune {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// Empty rectangles take no part; the union of none is (0, 0, 0, 0).
Rect UnionRect(const Rect& a, const Rect& b);

// Geometry is computed wide and clamped, so absurd field values cannot overflow.
std::int32_t ClampToInt32(std::int64_t value);

}  // namespace kestrune
