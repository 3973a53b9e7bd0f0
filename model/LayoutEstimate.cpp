// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/LayoutEstimate.h"

#include "model/VoraneItem.h"

namespace kestrune {

namespace {

// Length of n items of the given size with gaps between them; n may be 0.
std::int64_t RowLength(std::int64_t count, std::int32_t size, std::int32_t gap) {
    return count * size + (count - 1) * gap;
}

Rect RectTo(std::int64_t right, std::int64_t bottom) {
    return Rect{0, 0, ClampToInt32(right), ClampToInt32(bottom)};
}

}  // namespace

Rect LayoutEstimate(const CVorane* menu) {
    if (!menu) return Rect{};
    const std::int64_t n = menu->CountItems(1);
    const bool horizontal = menu->IsHorizontal();
    const std::int64_t width = horizontal ? RowLength(n, menu->m_Width, menu->m_ItemGap) : menu->m_Width;
    const std::int64_t height = horizontal ? menu->m_Height : RowLength(n, menu->m_Height, menu->m_ItemGap);
    Rect estimate = RectTo(width + menu->m_xPos, height + menu->m_yPos);

    const std::int64_t halfWidth = menu->m_Width / 2;
    const std::int64_t threeQuartersHeight = (std::int64_t{3} * menu->m_Height) / 4;
    std::int64_t i = 0;
    for (const auto& item : menu->m_items) {
        const CVorane& sub = item->m_subMenu.Read();
        const std::int64_t e = sub.CountItems(1);
        std::int64_t right = 0;
        std::int64_t bottom = 0;
        if (sub.IsHorizontal()) {
            const std::int64_t subWidth = RowLength(e, sub.m_Width, sub.m_ItemGap);
            right = subWidth + i * (std::int64_t{menu->m_Width} + menu->m_ItemGap) + halfWidth + menu->m_xPos + 2;
            bottom = threeQuartersHeight + sub.m_Height + menu->m_yPos + 2;
        } else {
            const std::int64_t subHeight = RowLength(e, sub.m_Height, sub.m_ItemGap);
            right = sub.m_Width + halfWidth + menu->m_xPos + 2;
            bottom = threeQuartersHeight + subHeight + i * (std::int64_t{menu->m_Height} + menu->m_ItemGap) +
                     menu->m_yPos + 2;
        }
        estimate = UnionRect(estimate, RectTo(right, bottom));
        ++i;
    }
    return estimate;
}

}  // namespace kestrune
