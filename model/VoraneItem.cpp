// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/VoraneItem.h"

#include <utility>

#include "model/Archive.h"
#include "model/MenuRecord.h"

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

CVoraneItem::CVoraneItem(const CVoraneItem& source) : ItemFields(source) {
    if (const CVorane* sub = source.m_subMenu.Existing()) m_subMenu.Replace(std::make_unique<CVorane>(*sub));
}

CVoraneItem::~CVoraneItem() = default;

void CVoraneItem::SetSubMenu(std::unique_ptr<CVorane> menu) {
    if (menu) m_subMenu.Replace(std::move(menu));
}

void CVoraneItem::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreItemRecord(ar, *this);
    else
        LoadItemRecord(ar, *this);
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
