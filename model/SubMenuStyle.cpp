// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubMenuStyle.h"

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

namespace kestrune {

CVorane* SubMenuStyleSource(const CAppletParameters& applet, int subMenuDepth, const CVoraneItem* item) {
    if (CVorane* atLevel = applet.MenuAtDepth(subMenuDepth)) return atLevel;
    return item ? applet.FindParentMenu(item) : nullptr;
}

namespace {
MenuStyle LookOf(const CVorane& source, const CVorane& target) {
    MenuStyle result = source.Style();
    result.m_name = target.m_name;
    result.m_xPos = target.m_xPos;
    result.m_yPos = target.m_yPos;
    result.m_Corner = target.m_Corner;
    result.m_MenuAlign = target.m_MenuAlign;
    return result;
}
}  // namespace

int ApplyStyleToSubMenus(const CVorane& source) {
    int changed = 0;
    std::vector<const CVorane*> pending{&source};
    while (!pending.empty()) {
        const CVorane* menu = pending.back();
        pending.pop_back();
        for (const auto& item : menu->m_items) {
            if (!item->m_subMenu.HasItems()) continue;
            CVorane& sub = *item->m_subMenu.Existing();
            const MenuStyle look = LookOf(source, sub);
            if (!(sub.Style() == look)) {
                sub.Style() = look;
                ++changed;
            }
            pending.push_back(&sub);
        }
    }
    return changed;
}

}  // namespace kestrune
