// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/VoraneItem.h"

#include <utility>

#include "model/Archive.h"

namespace kestrune {

std::array<const std::string*, kMediaFieldCount> MediaFieldsOf(const ItemFields& item) {
    return {&item.m_normalImage, &item.m_overImage, &item.m_clickImage, &item.m_overAudio, &item.m_clickAudio};
}

std::array<std::string*, kMediaFieldCount> MediaFieldsOf(ItemFields& item) {
    return {&item.m_normalImage, &item.m_overImage, &item.m_clickImage, &item.m_overAudio, &item.m_clickAudio};
}

std::array<std::string*, 9> TextFieldsOf(ItemFields& item) {
    return {&item.m_label,     &item.m_description, &item.m_normalImage, &item.m_overImage, &item.m_clickImage,
            &item.m_overAudio, &item.m_clickAudio,  &item.m_target,      &item.m_link};
}

CVoraneItem::CVoraneItem(std::string label) { m_label = std::move(label); }

CVoraneItem::CVoraneItem(const CVoraneItem& source)
    : ItemFields(source),
      m_subMenu(source.m_subMenu.Existing() ? std::make_unique<CVorane>(*source.m_subMenu.Existing()) : nullptr) {}

CVoraneItem::~CVoraneItem() = default;

void CVoraneItem::SetSubMenu(std::unique_ptr<CVorane> menu) {
    if (menu) m_subMenu.Replace(std::move(menu));
}

void CVoraneItem::Serialize(CArchive& ar) {
    const auto texts = TextFieldsOf(*this);
    if (ar.IsStoring()) {
        for (std::string* text : texts) ar.WriteString(*text);
        ar.WriteInt(m_visible);
        ar.WriteObjectTag("CVorane");
        // Storing changes nothing; an item without a sub menu writes the empty default one.
        const_cast<CVorane&>(m_subMenu.Read()).Serialize(ar);
        return;
    }
    for (std::string* text : texts) ar.ReadString(*text);
    ar.ReadInt(m_visible);
    if (!ar.ReadObjectTag("CVorane") || !ar.EnterObject()) return;
    auto menu = std::make_unique<CVorane>(0, kSubMenuName);
    menu->Serialize(ar);
    ar.LeaveObject();
    // An empty default menu is what the slot makes on first use anyway.
    if (m_subMenu.Existing() || !IsUntouchedEmptyMenu(*menu)) SetSubMenu(std::move(menu));
}

std::vector<std::uint8_t> WriteItemRecord(const CVoraneItem& item) {
    CArchive ar = CArchive::ForWriting();
    // Serialize is shared by reading and writing; writing leaves the item as it was.
    const_cast<CVoraneItem&>(item).Serialize(ar);
    return ar.TakeBytes();
}

std::unique_ptr<CVoraneItem> ReadItemRecord(const std::uint8_t* data, std::size_t size,
                                            std::string* error) {
    CArchive ar = CArchive::ForReading(data, size);
    auto item = std::make_unique<CVoraneItem>();
    item->Serialize(ar);
    if (ar.Failed()) {
        if (error) *error = ar.Error();
        return nullptr;
    }
    return item;
}

}  // namespace kestrune
