// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

// Copies of the fields a property edit may change, one record per model object. The
// structure (which items a menu holds) is not part of them: structural edits have
// commands of their own. Working values of a build or a save are left out too.
using AppletValues = kestrune::AppletFields;
using ItemValues = kestrune::ItemFields;
// A menu's style and whether it shows.
struct MenuValues {
    kestrune::MenuStyle style;
    std::int32_t visible = 1;
    bool operator==(const MenuValues&) const = default;
};

inline AppletValues ReadValues(const kestrune::CAppletParameters& applet) { return applet.Fields(); }
inline MenuValues ReadValues(const kestrune::CVorane& menu) { return {menu.Style(), menu.m_visible}; }
inline ItemValues ReadValues(const kestrune::CVoraneItem& item) { return item.Fields(); }
inline void WriteValues(kestrune::CAppletParameters& applet, const AppletValues& values) { applet.Fields() = values; }
inline void WriteValues(kestrune::CVorane& menu, const MenuValues& values) {
    menu.Style() = values.style;
    menu.m_visible = values.visible;
}
inline void WriteValues(kestrune::CVoraneItem& item, const ItemValues& values) { item.Fields() = values; }

// One object's values before and after an edit.
template <typename Object, typename Values>
struct ValueChange {
    Object* object;
    Values before;
    Values after;
};

// What one property edit changed, found by comparing the values of every object of the
// model before and after it.
struct PropertyDiff {
    std::vector<ValueChange<kestrune::CAppletParameters, AppletValues>> applet;
    std::vector<ValueChange<kestrune::CVorane, MenuValues>> menus;
    std::vector<ValueChange<kestrune::CVoraneItem, ItemValues>> items;
    bool Empty() const { return applet.empty() && menus.empty() && items.empty(); }
};

// The values of every object in the model, in tree order.
class CPropertySnapshot {
public:
    // Every menu and item of the document: for writes that may reach any of them.
    explicit CPropertySnapshot(kestrune::CAppletParameters& applet);
    // The applet and the named menu and item only (either may be null): for a write that
    // touches nothing else and changes no structure, so an edit of a big document costs
    // what it touches.
    CPropertySnapshot(kestrune::CAppletParameters& applet, kestrune::CVorane* menu, kestrune::CVoraneItem* item);
    // The changes from this snapshot to the model as it is now; the structure must not
    // have changed in between.
    PropertyDiff ChangesSince() const;
    // Whether menus or items were added, removed or reordered since the snapshot.
    bool StructureChanged() const;

private:
    kestrune::CAppletParameters& m_applet;
    AppletValues m_appletValues;
    std::vector<std::pair<kestrune::CVorane*, MenuValues>> m_menus;
    std::vector<std::pair<kestrune::CVoraneItem*, ItemValues>> m_items;
    bool m_whole = true;
};

// Every menu and item below the applet, depth first with an explicit stack.
void ForEachObject(kestrune::CAppletParameters& applet, const std::function<void(kestrune::CVorane&)>& onMenu,
                   const std::function<void(kestrune::CVoraneItem&)>& onItem);
