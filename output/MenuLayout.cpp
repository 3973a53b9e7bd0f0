// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MenuLayout.h"

#include <algorithm>
#include <cstdio>

#include "model/VoraneItem.h"

namespace kestrune {

namespace {
// Far beyond any screen, small enough that no rectangle arithmetic overflows.
constexpr std::int64_t kCoordinateLimit = 1 << 22;

std::int32_t Limited(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

Point LimitedPoint(Point point) { return Point{Limited(point.x), Limited(point.y)}; }

bool IsShown(const CVorane& menu) { return menu.m_visible != 0 && menu.HasVisibleItem(); }

bool Contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}
}  // namespace

std::vector<const CVoraneItem*> VisibleItems(const CVorane& menu) {
    std::vector<const CVoraneItem*> items;
    for (const auto& item : menu.m_items)
        if (item->m_visible) items.push_back(item.get());
    return items;
}

Rect MenuLayout::Clamped(const Rect& rect) {
    const Rect limited{Limited(rect.left), Limited(rect.top), Limited(rect.right), Limited(rect.bottom)};
    return limited.IsEmpty() ? Rect{} : limited;
}

Rect MenuLayout::ItemRect(const CVorane& menu, int visibleIndex, Point origin) {
    return ItemRect(menu, visibleIndex, menu.MenuRect(origin.x, origin.y));
}

Rect MenuLayout::ItemRect(const CVorane& menu, int visibleIndex, const Rect& menuRect) {
    const Point corner = menu.ItemCorner(visibleIndex, menuRect);
    return Clamped(Rect{corner.x, corner.y, ClampToInt32(std::int64_t{corner.x} + menu.m_Width),
                        ClampToInt32(std::int64_t{corner.y} + menu.m_Height)});
}

void MenuLayout::AddMenu(const CVorane& menu, Point origin, int topMenu, int chainLevel) {
    LaidOutMenu shown;
    shown.menu = &menu;
    const Rect menuRect = menu.MenuRect(origin.x, origin.y);
    shown.rect = Clamped(menuRect);
    shown.topMenu = topMenu;
    shown.chainLevel = chainLevel;
    const std::vector<const CVoraneItem*> visible = VisibleItems(menu);
    shown.items.reserve(visible.size());
    int index = 0;
    for (const CVoraneItem* item : visible) {
        shown.items.push_back({item, ItemRect(menu, index, menuRect), index});
        ++index;
    }
    m_menus.push_back(std::move(shown));
}

MenuPath MenuLayout::Build(const CAppletParameters& applet, const MenuPath& path) {
    m_menus.clear();
    m_chain.clear();
    m_path = {};
    int onPath = -1;
    for (std::size_t t = 0; t < applet.m_menus.size(); ++t) {
        const CVorane& menu = *applet.m_menus[t];
        if (!IsShown(menu)) continue;
        const bool isPathTop = static_cast<int>(t) == path.topMenu;
        if (isPathTop) onPath = static_cast<int>(m_menus.size());
        AddMenu(menu, Point{0, 0}, static_cast<int>(t), isPathTop ? 0 : -1);
    }
    if (onPath < 0) return m_path;

    m_path.topMenu = path.topMenu;
    m_chain.push_back(onPath);
    const CVorane* menu = m_menus[static_cast<std::size_t>(onPath)].menu;
    Point origin{0, 0};
    for (std::size_t level = 0; level < path.items.size(); ++level) {
        const auto visible = VisibleItems(*menu);
        const int index = path.items[level];
        if (index < 0 || index >= static_cast<int>(visible.size())) break;
        m_path.items.push_back(index);
        const CVorane& sub = visible[static_cast<std::size_t>(index)]->m_subMenu.Read();
        if (!sub.HasVisibleItem()) break;
        origin = LimitedPoint(menu->ItemCorner(index, origin.x, origin.y));
        m_chain.push_back(static_cast<int>(m_menus.size()));
        AddMenu(sub, origin, path.topMenu, static_cast<int>(level) + 1);
        menu = &sub;
    }
    return m_path;
}

int MenuLayout::ChainMenu(int level) const {
    return level >= 0 && level < static_cast<int>(m_chain.size()) ? m_chain[static_cast<std::size_t>(level)] : -1;
}

LayoutHit MenuLayout::HitTest(Point point) const {
    for (int m = static_cast<int>(m_menus.size()) - 1; m >= 0; --m) {
        const LaidOutMenu& shown = m_menus[static_cast<std::size_t>(m)];
        for (int i = static_cast<int>(shown.items.size()) - 1; i >= 0; --i)
            if (Contains(shown.items[static_cast<std::size_t>(i)].rect, point)) return {m, i};
        if (Contains(shown.rect, point)) return {m, -1};
    }
    return {};
}

MenuPath MenuLayout::PathTo(const LayoutHit& hit) const {
    if (!hit.IsMenu()) return {};
    const LaidOutMenu& shown = m_menus[static_cast<std::size_t>(hit.menu)];
    MenuPath path;
    path.topMenu = shown.topMenu;
    const int level = std::max(shown.chainLevel, 0);
    path.items.assign(m_path.items.begin(),
                      m_path.items.begin() + std::min<std::ptrdiff_t>(level, std::ssize(m_path.items)));
    if (hit.IsItem()) path.items.push_back(shown.items[static_cast<std::size_t>(hit.item)].visibleIndex);
    return path;
}

Rect MenuLayout::FullExtent(const CAppletParameters& applet) {
    Rect extent = Clamped(Rect{0, 0, applet.m_appWidth, applet.m_appHeight});
    for (const auto& menu : applet.m_menus) extent = UnionRect(extent, TopMenuExtent(*menu));
    return extent;
}

Rect MenuLayout::TopMenuExtent(const CVorane& top) {
    Rect extent;
    if (!IsShown(top)) return extent;
    struct Pending {
        const CVorane* menu;
        Point origin;
    };
    std::vector<Pending> pending{{&top, Point{0, 0}}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const Rect menuRect = next.menu->MenuRect(next.origin.x, next.origin.y);
        extent = UnionRect(extent, Clamped(menuRect));
        int index = 0;
        for (const CVoraneItem* item : VisibleItems(*next.menu)) {
            extent = UnionRect(extent, ItemRect(*next.menu, index, menuRect));
            if (item->m_subMenu.Read().HasVisibleItem())
                pending.push_back({&item->m_subMenu.Read(), LimitedPoint(next.menu->ItemCorner(index, menuRect))});
            ++index;
        }
    }
    return extent;
}

}  // namespace kestrune
