// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/ItemFields.h"

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;

// The "Apply to" choice of the Image and Audio dialogs.
enum class ApplyScope { None = -1, ThisItem = 0, SameMenu = 1, AllItems = 2 };

// The media fields one dialog edits with their new values, and the model operation that
// sets them on every item of a menu.
struct MediaFieldValues {
    std::vector<std::pair<MediaField, std::string>> fields;
    std::function<void(CVorane* menu, int recursive)> setForMenu;
};

MediaFieldValues ImageFieldValues(std::string normal, std::string over, std::string click);
MediaFieldValues AudioFieldValues(std::string over, std::string click);

// What a scope reaches: the item alone; every item of the menu that holds it (not their
// sub menus); or every item of the applet at every depth, hidden ones included.
struct ScopeTarget {
    CVoraneItem* item = nullptr;  // ThisItem
    std::vector<CVorane*> menus;  // SameMenu, AllItems
    bool recursive = false;
    CVorane* changedMenu = nullptr;  // the one menu whose items change; null: the whole applet may
    bool IsEmpty() const { return !item && menus.empty(); }
};
ScopeTarget TargetOfScope(const CAppletParameters& applet, CVoraneItem* item, ApplyScope scope);

// Whether storing the values would change anything the target reaches, and storing them.
bool MediaDiffers(const ScopeTarget& target, const MediaFieldValues& values);
void StoreMedia(const ScopeTarget& target, const MediaFieldValues& values);

}  // namespace kestrune
