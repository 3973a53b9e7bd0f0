// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/SubMenuSlot.h"
#include "model/Vorane.h"

namespace kestrune {

// One menu item; it always answers for a sub menu, empty when it opens none.
class CVoraneItem {
public:
    explicit CVoraneItem(std::string label = kNewItemLabel);
    CVoraneItem(const CVoraneItem& source);
    CVoraneItem& operator=(const CVoraneItem&) = delete;
    virtual ~CVoraneItem();

    std::string m_label;  // line breaks are CR LF
    std::string m_description;
    std::string m_normalImage;
    std::string m_overImage;
    std::string m_clickImage;
    std::string m_overAudio;
    std::string m_clickAudio;
    std::string m_target;
    std::string m_link;
    SubMenuSlot m_subMenu;
    std::int32_t m_visible = 1;

    // Takes menu as the sub menu; nullptr keeps the present one.
    void SetSubMenu(std::unique_ptr<CVorane> menu);
    CVorane& SubMenu() const { return *m_subMenu; }

    virtual void Serialize(CArchive& ar);
};

// An item's media paths in the order the files write them: the normal, mouse-over and
// clicked images, then the mouse-over and clicked sounds.
inline constexpr std::size_t kMediaFieldCount = 5;
std::array<const std::string*, kMediaFieldCount> MediaFieldsOf(const CVoraneItem& item);
std::array<std::string*, kMediaFieldCount> MediaFieldsOf(CVoraneItem& item);

// The clipboard record of one item with everything below it.
std::vector<std::uint8_t> WriteItemRecord(const CVoraneItem& item);
// A new item read from a record, or nullptr with the reason in *error.
std::unique_ptr<CVoraneItem> ReadItemRecord(const std::uint8_t* data, std::size_t size,
                                            std::string* error = nullptr);

}  // namespace kestrune
