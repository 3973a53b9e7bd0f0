// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PropertyValues.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using namespace kestrune;

AppletValues ReadValues(const CAppletParameters& a) {
    return {a.m_HTMLTitle,      a.m_Align,          a.m_appWidth,    a.m_appHeight,   a.m_appBKColor,
            a.m_appBKImagePath, a.m_appBKImageMode, a.m_appBKImageX, a.m_appBKImageY, a.m_appBKAudioPath};
}

void WriteValues(CAppletParameters& a, const AppletValues& v) {
    a.m_HTMLTitle = v.title;
    a.m_Align = v.align;
    a.m_appWidth = v.width;
    a.m_appHeight = v.height;
    a.m_appBKColor = v.bkColor;
    a.m_appBKImagePath = v.bkImagePath;
    a.m_appBKImageMode = v.bkImageMode;
    a.m_appBKImageX = v.bkImageX;
    a.m_appBKImageY = v.bkImageY;
    a.m_appBKAudioPath = v.bkAudioPath;
}

MenuValues ReadValues(const CVorane& m) {
    return {m.m_name,   m.m_BKColor, m.m_BKStyle, m.m_MenuAlign,   m.m_Corner,      m.m_xPos,    m.m_yPos,
            m.m_Width,  m.m_Height,  m.m_ItemGap, m.m_BorderThick, m.m_visible,     m.m_itemStyle};
}

void WriteValues(CVorane& m, const MenuValues& v) {
    m.m_name = v.name;
    m.m_BKColor = v.bkColor;
    m.m_BKStyle = v.bkStyle;
    m.m_MenuAlign = v.align;
    m.m_Corner = v.corner;
    m.m_xPos = v.xPos;
    m.m_yPos = v.yPos;
    m.m_Width = v.width;
    m.m_Height = v.height;
    m.m_ItemGap = v.itemGap;
    m.m_BorderThick = v.borderThick;
    m.m_visible = v.visible;
    m.m_itemStyle = v.itemStyle;
}

ItemValues ReadValues(const CVoraneItem& i) {
    return {i.m_label,    i.m_description, i.m_normalImage, i.m_overImage, i.m_clickImage,
            i.m_overAudio, i.m_clickAudio, i.m_target,      i.m_link,      i.m_visible};
}

void WriteValues(CVoraneItem& i, const ItemValues& v) {
    i.m_label = v.label;
    i.m_description = v.description;
    i.m_normalImage = v.normalImage;
    i.m_overImage = v.overImage;
    i.m_clickImage = v.clickImage;
    i.m_overAudio = v.overAudio;
    i.m_clickAudio = v.clickAudio;
    i.m_target = v.target;
    i.m_link = v.link;
    i.m_visible = v.visible;
}

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
