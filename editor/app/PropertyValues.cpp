// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PropertyValues.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using namespace kestrune;

void ForEachObject(CAppletParameters& applet, const std::function<void(CVorane&)>& onMenu,
                   const std::function<void(CVoraneItem&)>& onItem) {
    std::vector<CVorane*> pending;
    for (auto it = applet.m_menus.rbegin(); it != applet.m_menus.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        CVorane* menu = pending.back();
        pending.pop_back();
        onMenu(*menu);
        // A sub menu never made holds no values yet; reading it must not make it.
        for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
            if (CVorane* subMenu = (*it)->m_subMenu.Existing()) pending.push_back(subMenu);
        for (const auto& item : menu->m_items) onItem(*item);
    }
}

CPropertySnapshot::CPropertySnapshot(CAppletParameters& applet)
    : m_applet(applet), m_appletValues(ReadValues(applet)) {
    ForEachObject(
        applet, [this](CVorane& menu) { m_menus.emplace_back(&menu, ReadValues(menu)); },
        [this](CVoraneItem& item) { m_items.emplace_back(&item, ReadValues(item)); });
}

CPropertySnapshot::CPropertySnapshot(CAppletParameters& applet, CVorane* menu, CVoraneItem* item)
    : m_applet(applet), m_appletValues(ReadValues(applet)), m_whole(false) {
    if (menu) m_menus.emplace_back(menu, ReadValues(*menu));
    if (item) m_items.emplace_back(item, ReadValues(*item));
}

bool CPropertySnapshot::StructureChanged() const {
    if (!m_whole) return false;  // the writer vouches for the structure
    std::size_t menus = 0, items = 0;
    bool changed = false;
    ForEachObject(
        m_applet,
        [&](CVorane& menu) {
            changed = changed || menus >= m_menus.size() || m_menus[menus].first != &menu;
            ++menus;
        },
        [&](CVoraneItem& item) {
            changed = changed || items >= m_items.size() || m_items[items].first != &item;
            ++items;
        });
    return changed || menus != m_menus.size() || items != m_items.size();
}

PropertyDiff CPropertySnapshot::ChangesSince() const {
    PropertyDiff diff;
    if (AppletValues now = ReadValues(m_applet); !(now == m_appletValues))
        diff.applet.push_back({&m_applet, m_appletValues, std::move(now)});
    for (const auto& [menu, before] : m_menus)
        if (MenuValues now = ReadValues(*menu); !(now == before)) diff.menus.push_back({menu, before, std::move(now)});
    for (const auto& [item, before] : m_items)
        if (ItemValues now = ReadValues(*item); !(now == before)) diff.items.push_back({item, before, std::move(now)});
    return diff;
}
