#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

#include "model/AppletParameters.h"

// Which menus are open: a top-level menu and, level by level, the visible item chosen in
// it and in each sub menu below. Indices, not pointers, so a path survives a rebuild.
struct MenuPath {
    int topMenu = -1;        // index in m_menus; -1: nothing open
    std::vector<int> items;  // visible-item index per level, top-level menu first

    bool IsEmpty() const { return topMenu < 0; }
    bool operator==(const MenuPath&) const = default;
};

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

// Where the applet shows its menus: every top-level menu that has a visible item, and the
// sub menus the open path leads through. Coordinates are the applet's own pixels.
class CMenuLayout {
public:
    struct Hit {
        int menu = -1;  // index in Menus()
        int item = -1;  // index in that menu's items; -1: its background
        bool IsItem() const { return item >= 0; }
        bool IsMenu() const { return menu >= 0; }
    };

    // Lays out the menus and returns the part of path that still leads somewhere.
    MenuPath Build(const kestrune::CAppletParameters& applet, const MenuPath& path);

    // Drawing order: top-level menus in applet order, then the open sub menus, outermost
    // first; so later menus lie on top.
    const std::vector<ShownMenu>& Menus() const { return m_menus; }
    const MenuPath& Path() const { return m_path; }
    // Index in Menus() of the menu at a level of the open path, or -1.
    int ChainMenu(int level) const;

    Hit HitTest(QPoint point) const;
    // The open path that pointing at this item gives.
    MenuPath PathTo(const Hit& hit) const;

    // The applet's rectangle joined with every menu it can ever show, opened or not.
    static QRect FullExtent(const kestrune::CAppletParameters& applet);
    // A model rectangle in Qt form, clamped to a range the painter handles.
    static QRect ToQRect(const kestrune::Rect& rect);
    static QRect ItemRect(const kestrune::CVorane& menu, int visibleIndex, QPoint origin);

private:
    void AddMenu(const kestrune::CVorane& menu, QPoint origin, int topMenu, int chainLevel);

    std::vector<ShownMenu> m_menus;
    std::vector<int> m_chain;
    MenuPath m_path;
};

// The visible items of a menu, in order.
std::vector<const kestrune::CVoraneItem*> VisibleItems(const kestrune::CVorane& menu);
