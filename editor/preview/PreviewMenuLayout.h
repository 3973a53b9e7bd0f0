// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

#include "model/AppletParameters.h"
#include "output/MenuLayout.h"

using MenuPath = kestrune::MenuPath;

struct ShownItem {
    const kestrune::CVoraneItem* item = nullptr;
    QRect rect;
    int visibleIndex = 0;
};

struct ShownMenu {
    const kestrune::CVorane* menu = nullptr;
    QRect rect;  // the menu rectangle: background and frame
    std::vector<ShownItem> items;
    int topMenu = -1;     // index in m_menus of the top-level menu it hangs from
    int chainLevel = -1;  // its level on the open path; -1: a top-level menu not on it
};

// The core's menu layout in Qt's terms, for painting and pointer work.
class CMenuLayout {
public:
    using Hit = kestrune::LayoutHit;

    // Lays out the menus and returns the part of path that still leads somewhere.
    MenuPath Build(const kestrune::CAppletParameters& applet, const MenuPath& path);

    // Drawing order: top-level menus in applet order, then the open sub menus, outermost
    // first; so later menus lie on top.
    const std::vector<ShownMenu>& Menus() const { return m_menus; }
    const MenuPath& Path() const { return m_layout.Path(); }
    // Index in Menus() of the menu at a level of the open path, or -1.
    int ChainMenu(int level) const { return m_layout.ChainMenu(level); }

    Hit HitTest(QPoint point) const { return m_layout.HitTest(kestrune::Point{point.x(), point.y()}); }
    // The open path that pointing at this item gives.
    MenuPath PathTo(const Hit& hit) const { return m_layout.PathTo(hit); }

    // The applet's rectangle joined with every menu it can ever show, opened or not.
    static QRect FullExtent(const kestrune::CAppletParameters& applet);
    // A model rectangle in Qt form, clamped to a range the painter handles.
    static QRect ToQRect(const kestrune::Rect& rect);
    static QRect ItemRect(const kestrune::CVorane& menu, int visibleIndex, QPoint origin);

private:
    kestrune::MenuLayout m_layout;
    std::vector<ShownMenu> m_menus;
};

// The visible items of a menu, in order.
using kestrune::VisibleItems;
