// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MenuRecord.h"

#include <memory>
#include <vector>

#include "model/Archive.h"
#include "model/VoraneItem.h"

namespace kestrune {

namespace {

// Every item record needs at least nine length bytes, its visibility and a menu tag.
constexpr std::size_t kMinItemRecordBytes = 9 + 4 + 2;

void TransferInt(CArchive& ar, std::int32_t& value) {
    if (ar.IsStoring())
        ar.WriteInt(value);
    else
        ar.ReadInt(value);
}

void TransferString(CArchive& ar, std::string& text) {
    if (ar.IsStoring())
        ar.WriteString(text);
    else
        ar.ReadString(text);
}

void TransferItemStyle(CArchive& ar, ItemStyle& style) {
    std::int32_t* fields[] = {&style.BKColor,         &style.FRColor,           &style.ItemBorderStyle,
                              &style.ItemFillStyle,   &style.GradientDirection, &style.FontEffect,
                              &style.FontName,        &style.FontSize,          &style.FontStyle,
                              &style.TextAlign,       &style.TextOffset,        &style.ImageAlign,
                              &style.ImageOffset};
    for (std::int32_t* field : fields) TransferInt(ar, *field);
    TransferString(ar, style.Spare);
}

// A menu's own fields, without its item count; storing leaves the menu as it was.
void TransferMenuFields(CArchive& ar, CVorane& menu) {
    TransferString(ar, menu.m_name);
    std::int32_t* styleFields[] = {&menu.m_BKColor, &menu.m_BKStyle, &menu.m_MenuAlign, &menu.m_Corner,
                                   &menu.m_xPos,    &menu.m_yPos,    &menu.m_Width,     &menu.m_Height,
                                   &menu.m_ItemGap, &menu.m_BorderThick};
    for (std::int32_t* field : styleFields) TransferInt(ar, *field);
    for (ItemStyle& style : menu.m_itemStyle) TransferItemStyle(ar, style);
    TransferInt(ar, menu.m_visible);
}

// An item's own fields, then the tag of the menu record that follows.
void TransferItemFields(CArchive& ar, CVoraneItem& item) {
    for (std::string* text : TextFieldsOf(item)) TransferString(ar, *text);
    TransferInt(ar, item.m_visible);
}

void StoreMenuHead(CArchive& ar, const CVorane& menu) {
    TransferMenuFields(ar, const_cast<CVorane&>(menu));
    ar.WriteInt(static_cast<std::int32_t>(menu.m_items.size()));
}

void StoreItemHead(CArchive& ar, const CVoraneItem& item) {
    TransferItemFields(ar, const_cast<CVoraneItem&>(item));
    ar.WriteObjectTag("CVorane");
}

// Writes the items of a menu whose head is written, and everything below them.
void StoreItemsBelow(CArchive& ar, const CVorane& top) {
    struct Open {
        const CVorane* menu;
        std::size_t next;
    };
    std::vector<Open> open{{&top, 0}};
    while (!open.empty()) {
        Open& current = open.back();
        if (current.next == current.menu->m_items.size()) {
            open.pop_back();
            continue;
        }
        const CVoraneItem& item = *current.menu->m_items[current.next++];
        ar.WriteObjectTag("CVoraneItem");
        StoreItemHead(ar, item);
        // An item without a sub menu writes the empty default one.
        const CVorane& sub = item.m_subMenu.Read();
        StoreMenuHead(ar, sub);
        open.push_back({&sub, 0});
    }
}

// Reads a menu's fields and item count; false when the record is damaged.
bool LoadMenuHead(CArchive& ar, CVorane& menu, std::int32_t& count) {
    TransferMenuFields(ar, menu);
    if (!ar.ReadInt(count)) return false;
    if (count < 0 || static_cast<std::size_t>(count) > ar.BytesLeft() / kMinItemRecordBytes) {
        ar.Fail("The clipboard record claims more items than it holds.");
        return false;
    }
    menu.m_items.clear();
    return true;
}

// A menu being read: its items still to come, and, for a sub menu, the item it is kept for.
struct OpenMenu {
    CVorane* menu;
    std::int32_t itemsLeft;
    std::unique_ptr<CVorane> owned;  // a sub menu until its item takes it
    CVoraneItem* opener = nullptr;
    bool openerHadMenu = false;
    bool insideItemObject = false;  // the opener's own object was entered by the walk
};

// Reads an item's fields and opens its sub menu's record; false when the record is damaged.
bool OpenItem(CArchive& ar, CVoraneItem& item, bool insideItemObject, std::vector<OpenMenu>& open) {
    TransferItemFields(ar, item);
    if (!ar.ReadObjectTag("CVorane") || !ar.EnterObject()) return false;
    auto menu = std::make_unique<CVorane>(0, kSubMenuName);
    std::int32_t count = 0;
    if (!LoadMenuHead(ar, *menu, count)) return false;
    CVorane* raw = menu.get();
    open.push_back({raw, count, std::move(menu), &item, item.m_subMenu.Existing() != nullptr, insideItemObject});
    return true;
}

void CloseMenu(CArchive& ar, OpenMenu& done) {
    if (!done.opener) return;
    ar.LeaveObject();
    // An empty default menu is what the slot makes on first use anyway.
    if (done.openerHadMenu || !IsUntouchedEmptyMenu(*done.menu)) done.opener->SetSubMenu(std::move(done.owned));
    if (done.insideItemObject) ar.LeaveObject();
}

void LoadOpenMenus(CArchive& ar, std::vector<OpenMenu>& open) {
    while (!open.empty() && !ar.Failed()) {
        OpenMenu& current = open.back();
        if (current.itemsLeft == 0) {
            CloseMenu(ar, current);
            open.pop_back();
            continue;
        }
        --current.itemsLeft;
        if (!ar.ReadObjectTag("CVoraneItem") || !ar.EnterObject()) return;
        CVoraneItem* item = current.menu->m_items.emplace_back(std::make_unique<CVoraneItem>()).get();
        if (!OpenItem(ar, *item, true, open)) return;
    }
}

}  // namespace

void StoreMenuRecord(CArchive& ar, const CVorane& menu) {
    StoreMenuHead(ar, menu);
    StoreItemsBelow(ar, menu);
}

void LoadMenuRecord(CArchive& ar, CVorane& menu) {
    std::int32_t count = 0;
    if (!LoadMenuHead(ar, menu, count)) return;
    std::vector<OpenMenu> open;
    open.push_back({&menu, count, nullptr});
    LoadOpenMenus(ar, open);
}

void StoreItemRecord(CArchive& ar, const CVoraneItem& item) {
    StoreItemHead(ar, item);
    const CVorane& sub = item.m_subMenu.Read();
    StoreMenuHead(ar, sub);
    StoreItemsBelow(ar, sub);
}

void LoadItemRecord(CArchive& ar, CVoraneItem& item) {
    std::vector<OpenMenu> open;
    if (OpenItem(ar, item, false, open)) LoadOpenMenus(ar, open);
}

}  // namespace kestrune
