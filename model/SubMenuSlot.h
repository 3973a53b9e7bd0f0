// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "model/Vorane.h"

namespace kestrune {

// The sub menu of an item. Most items open none, and an empty menu weighs more than the
// item itself, so the menu is made on first use: every pointer or reference handed out
// is a real menu that stays where it is, while walks over the whole tree read through
// Existing() or Read() and make nothing.
class SubMenuSlot {
public:
    SubMenuSlot() = default;
    explicit SubMenuSlot(std::unique_ptr<CVorane> menu) : m_menu(std::move(menu)) {}

    // The sub menu, made empty if the item had none yet.
    CVorane* get() const;
    CVorane& operator*() const { return *get(); }
    CVorane* operator->() const { return get(); }
    // An item always answers for its sub menu.
    explicit operator bool() const { return true; }

    // The menu if it was ever made; nullptr stands for an empty menu of default style.
    CVorane* Existing() const { return m_menu.get(); }
    // The menu, or a shared empty menu of default style in its place.
    const CVorane& Read() const;
    bool HasItems() const { return m_menu && !m_menu->m_items.empty(); }

    void Replace(std::unique_ptr<CVorane> menu) { m_menu = std::move(menu); }

private:
    mutable std::unique_ptr<CVorane> m_menu;
};

// Whether a menu is indistinguishable from the one an item makes on first use.
bool IsUntouchedEmptyMenu(const CVorane& menu);

}  // namespace kestrune
