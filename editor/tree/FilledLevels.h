// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// How many menus hold items at each nesting level (top-level menus 0), kept through the
// edits. The style of a plain item's first sub menu is searched for as the first menu with
// items at its level, which walks the whole document when no menu has any there: these
// counts answer that case at once. Unknown until first asked, and again after a change
// they cannot follow.
class CFilledLevels {
public:
    // Whether no menu holds items at level.
    bool NoneAt(const kestrune::CAppletParameters& applet, int level);
    void Forget() { m_counts.reset(); }

    // An item, with everything below it, has come into a menu at level (delta 1), or is
    // about to leave it (delta -1); itemsInMenu counts the menu's items with it.
    void ItemPlaced(const kestrune::CVoraneItem& item, int level, std::size_t itemsInMenu, int delta);
    // A top-level menu has come (1) or is about to go (-1).
    void TopMenuPlaced(const kestrune::CVorane& menu, int delta);

private:
    void Count(const kestrune::CVorane* menu, int level, int delta);
    std::optional<std::vector<long>> m_counts;
};
