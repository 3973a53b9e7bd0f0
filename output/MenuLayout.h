// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/AppletParameters.h"
#include "model/Rect.h"

namespace kestrune {

// Which menus are open: a top-level menu and, level by level, the visible item chosen in
// it and in each sub menu below. Indices, not pointers, so a path survives a rebuild.
struct MenuPath {
    int topMenu = -1;        // index in m_menus; -1: nothing open
    std::vector<int> items;  // visible-item index per level, top-level menu first

    bool IsEmpty() const { return topMenu < 0; }
    bool operator==(const MenuPath&) const = default;
};

struct LaidOutItem {
    const CVoraneItem* item = nullptr;
    Rect rect;
    int visibleIndex = 0;
};

struct LaidOutMenu {
    const CVorane* menu = nullptr;
    Rect rect;  // the menu rectangle: background and frame
    std::vector<LaidOutItem> items;
    int topMenu = -1;     // index in m_menus of the top-level menu it hangs from
    int chainLevel = -1;  // its level on the open path; -1: a top-level menu not on it
};

struct LayoutHit {
    int menu = -1;  // index in Menus()
    int item = -1;  // index in that menu's items; -1: its background
    bool IsItem() const { return item >= 0; }
    bool IsMenu() const { return menu >= 0; }
};

// Where the applet shows its menus: every top-level menu that has a visible item, and the
// sub menus the open path leads through. Coordinates are the applet's own pixels, right
// and bottom exclusive, clamped far beyond any screen so that no later arithmetic overflows.
class MenuLayout {
public:
    // Lays out the menus and returns the part of path that still leads somewhere.
    MenuPath Build(const CAppletParameters& applet, const MenuPath& path);

    // Drawing order: top-level menus in applet order, then the open sub menus, outermost
    // first; so later menus lie on top.
    const std::vector<LaidOutMenu>& Menus() const { return m_menus; }
    const MenuPath& Path() const { return m_path; }
    // Index in Menus() of the menu at a level of the open path, or -1.
    int ChainMenu(int level) const;

    LayoutHit HitTest(Point point) const;
    // The open path that pointing at this item gives.
    MenuPath PathTo(const LayoutHit& hit) const;

    // The applet's rectangle joined with every menu it can ever show, opened or not.
    static Rect FullExtent(const CAppletParameters& applet);
    // What one top-level menu adds to that: itself and every menu it can open; empty
    // when it is not shown.
    static Rect TopMenuExtent(const CVorane& menu);
    static Rect ItemRect(const CVorane& menu, int visibleIndex, Point origin);
    // The same from the menu's rectangle (MenuRect, before clamping): a loop over a menu's
    // items counts them once, not once per item.
    static Rect ItemRect(const CVorane& menu, int visibleIndex, const Rect& menuRect);
    // The rectangle within the coordinate limit; an empty one becomes (0, 0, 0, 0).
    static Rect Clamped(const Rect& rect);

private:
    void AddMenu(const CVorane& menu, Point origin, int topMenu, int chainLevel);

    std::vector<LaidOutMenu> m_menus;
    std::vector<int> m_chain;
    MenuPath m_path;
};

// The visible items of a menu, in order.
std::vector<const CVoraneItem*> VisibleItems(const CVorane& menu);

}  // namespace kestrune
