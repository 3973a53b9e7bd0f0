// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/Color.h"
#include "model/ItemStyle.h"

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// Copies of the fields a property edit may change, one record per model object. The
// structure (which items a menu holds) is not part of them: structural edits have
// commands of their own. Working values of a build or a save are left out too.
struct AppletValues {
    std::string title;
    std::int32_t align = 0, width = 0, height = 0;
    kestrune::Color bkColor = 0;
    std::string bkImagePath;
    std::int32_t bkImageMode = 0, bkImageX = 0, bkImageY = 0;
    std::string bkAudioPath;
    bool operator==(const AppletValues&) const = default;
};

struct MenuValues {
    std::string name;
    kestrune::Color bkColor = 0;
    std::int32_t bkStyle = 0, align = 0, corner = 0, xPos = 0, yPos = 0, width = 0, height = 0, itemGap = 0,
                 borderThick = 0, visible = 1;
    std::array<kestrune::ItemStyle, kestrune::kStateCount> itemStyle{};
    bool operator==(const MenuValues&) const = default;
};

struct ItemValues {
    std::string label, description, normalImage, overImage, clickImage, overAudio, clickAudio, target, link;
    std::int32_t visible = 1;
    bool operator==(const ItemValues&) const = default;
};

AppletValues ReadValues(const kestrune::CAppletParameters& applet);
MenuValues ReadValues(const kestrune::CVorane& menu);
ItemValues ReadValues(const kestrune::CVoraneItem& item);
void WriteValues(kestrune::CAppletParameters& applet, const AppletValues& values);
void WriteValues(kestrune::CVorane& menu, const MenuValues& values);
void WriteValues(kestrune::CVoraneItem& item, const ItemValues& values);

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
