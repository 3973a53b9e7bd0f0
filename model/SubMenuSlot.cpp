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
    return menu.m_items.empty() && menu.Style() == empty.Style() && menu.m_visible == empty.m_visible;
}

}  // namespace kestrune
