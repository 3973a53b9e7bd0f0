// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/ItemFields.h"
#include "model/SubMenuSlot.h"
#include "model/Vorane.h"

namespace kestrune {

// One menu item; it always answers for a sub menu, empty when it opens none.
class CVoraneItem : public ItemFields {
public:
    explicit CVoraneItem(std::string label = kNewItemLabel);
    CVoraneItem(const CVoraneItem& source);
    CVoraneItem& operator=(const CVoraneItem&) = delete;
    virtual ~CVoraneItem();

    SubMenuSlot m_subMenu;

    ItemFields& Fields() { return *this; }
    const ItemFields& Fields() const { return *this; }

    // Takes menu as the sub menu; nullptr keeps the present one.
    void SetSubMenu(std::unique_ptr<CVorane> menu);
    CVorane& SubMenu() const { return *m_subMenu; }

    virtual void Serialize(CArchive& ar);
};

// The clipboard record of one item with everything below it.
std::vector<std::uint8_t> WriteItemRecord(const CVoraneItem& item);
// A new item read from a record, or nullptr with the reason in *error.
std::unique_ptr<CVoraneItem> ReadItemRecord(const std::uint8_t* data, std::size_t size,
                                            std::string* error = nullptr);

}  // namespace kestrune
