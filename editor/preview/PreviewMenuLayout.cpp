// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewMenuLayout.h"

using namespace kestrune;

QRect CMenuLayout::ToQRect(const Rect& rect) {
    const Rect clamped = MenuLayout::Clamped(rect);
    if (clamped.IsEmpty()) return {};
    return QRect(QPoint(clamped.left, clamped.top), QPoint(clamped.right - 1, clamped.bottom - 1));
}

QRect CMenuLayout::ItemRect(const CVorane& menu, int visibleIndex, QPoint origin) {
    return ToQRect(MenuLayout::ItemRect(menu, visibleIndex, Point{origin.x(), origin.y()}));
}

QRect CMenuLayout::FullExtent(const CAppletParameters& applet) { return ToQRect(MenuLayout::FullExtent(applet)); }

MenuPath CMenuLayout::Build(const CAppletParameters& applet, const MenuPath& path) {
    const MenuPath held = m_layout.Build(applet, path);
    m_menus.clear();
    for (const LaidOutMenu& laidOut : m_layout.Menus()) {
        ShownMenu shown{laidOut.menu, ToQRect(laidOut.rect), {}, laidOut.topMenu, laidOut.chainLevel};
        shown.items.reserve(laidOut.items.size());
        for (const LaidOutItem& item : laidOut.items)
            shown.items.push_back({item.item, ToQRect(item.rect), item.visibleIndex});
        m_menus.push_back(std::move(shown));
    }
    return held;
}
