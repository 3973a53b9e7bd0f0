// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

class CVorane;
class CVoraneItem;

// What one edit did to the model. Pointers of removed objects are keys only: by the
// time listeners hear of the removal the objects are gone.
struct ModelChange {
    enum Kind {
        Reset,             // the whole model was refilled (New, Open, template)
        MenuInserted,      // menu = new top-level menu, index = its position
        MenuRemoved,       // menu = removed top-level menu (dangling), index = old position
        MenuMoved,         // menu, index = new position
        ItemInserted,      // menu = container, item = new item, index = position
        ItemRemoved,       // menu = container, item = removed item (dangling), index = old position
        ItemMoved,         // menu = container, item, index = new position
        VisibilityChanged, // menu (top-level) or item
        PropertiesChanged, // menu and/or item whose fields a page wrote; both null: the applet
    };
    Kind kind = Reset;
    CVorane* menu = nullptr;
    CVoraneItem* item = nullptr;
    int index = -1;
    // PropertiesChanged only: the write also added or removed menus or items somewhere.
    bool structureToo = false;
    // PropertiesChanged with menu and item null: only the applet's own fields changed.
    bool appletOnly = false;
    // ItemInserted: the item whose sub menu menu is, when the edit knew it (a sub menu may
    // have been made for this very item, and nothing else leads from it to its owner).
    const CVoraneItem* owner = nullptr;
};

}  // namespace kestrune
