// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubMenuSlot.h"

#include "model/VoraneItem.h"

namespace kestrune {

namespace {

const CVorane& DefaultEmptyMenu() {
    static const CVorane empty(0, kSubMenuName);
    return empty;
}

}  // namespace

CVorane* SubMenuSlot::get() const {
    if (!m_menu) m_menu = std::make_unique<CVorane>(0, kSubMenuName);
    return m_menu.get();
}

const CVorane& SubMenuSlot::Read() const { return m_menu ? *m_menu : DefaultEmptyMenu(); }

bool IsUntouchedEmptyMenu(const CVorane& menu) {
    const CVorane& empty = DefaultEmptyMenu();
    return menu.m_items.empty() && menu.m_name == empty.m_name && menu.m_BKColor == empty.m_BKColor &&
           menu.m_BKStyle == empty.m_BKStyle && menu.m_MenuAlign == empty.m_MenuAlign &&
           menu.m_Corner == empty.m_Corner && menu.m_xPos == empty.m_xPos && menu.m_yPos == empty.m_yPos &&
           menu.m_Width == empty.m_Width && menu.m_Height == empty.m_Height && menu.m_ItemGap == empty.m_ItemGap &&
           menu.m_BorderThick == empty.m_BorderThick && menu.m_itemStyle == empty.m_itemStyle &&
           menu.m_visible == empty.m_visible;
}

}  // namespace kestrune
