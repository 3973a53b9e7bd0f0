// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Vorane.h"

#include <algorithm>
#include <utility>

#include "model/Archive.h"
#include "model/MenuRecord.h"
#include "model/VoraneItem.h"

namespace kestrune {

CVorane::CVorane(int itemCount, std::string name) {
    SetItemCount(itemCount, 0);
    m_name = std::move(name);
}

namespace {
// Appends copies of the items of source, and of everything below them, to target's items.
void CopyItemsBelow(const CVorane& source, CVorane& target);
}  // namespace

CVorane::CVorane(const CVorane& source) {
    CopyStyle(source);
    m_visible = source.m_visible;
    CopyItemsBelow(source, *this);
}

// Sub menus are taken off their items level by level, so freeing a deep tree never nests
// one destructor inside another.
CVorane::~CVorane() {
    std::vector<SubMenuSlot> detached;
    const auto detachSubMenus = [&detached](CVorane& menu) {
        for (auto& item : menu.m_items)
            if (item->m_subMenu.Existing()) detached.push_back(std::move(item->m_subMenu));
    };
    detachSubMenus(*this);
    while (!detached.empty()) {
        SubMenuSlot slot = std::move(detached.back());
        detached.pop_back();
        detachSubMenus(*slot.Existing());
    }
}

namespace {

void CopyItemsBelow(const CVorane& source, CVorane& target) {
    // An explicit stack, so a deep tree cannot exhaust the call stack.
    std::vector<std::pair<const CVorane*, CVorane*>> pending{{&source, &target}};
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->m_items.reserve(to->m_items.size() + from->m_items.size());
        for (const auto& item : from->m_items) {
            auto copy = std::make_unique<CVoraneItem>();
            copy->Fields() = item->Fields();
            if (const CVorane* sub = item->m_subMenu.Existing()) {
                auto subCopy = std::make_unique<CVorane>();
                subCopy->CopyStyle(*sub);
                subCopy->m_visible = sub->m_visible;
                pending.emplace_back(sub, subCopy.get());
                copy->m_subMenu.Replace(std::move(subCopy));
            }
            to->m_items.push_back(std::move(copy));
        }
    }
}

}  // namespace

int CVorane::CountItems(int all) const {
    if (all) return static_cast<int>(m_items.size());
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const auto& item) { return item->m_visible != 0; }));
}

CVoraneItem* CVorane::GetItem(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<std::size_t>(index)].get();
}

int CVorane::IndexOf(const CVoraneItem* item) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item) return static_cast<int>(i);
    return -1;
}

CVoraneItem* CVorane::InsertNewItem() {
    m_items.insert(m_items.begin(), std::make_unique<CVoraneItem>());
    return m_items.front().get();
}

int CVorane::AddItem(std::unique_ptr<CVoraneItem> item, int front) {
    if (!item) return 0;
    if (front)
        m_items.insert(m_items.begin(), std::move(item));
    else
        m_items.push_back(std::move(item));
    return 1;
}

CVoraneItem* CVorane::InsertCopy(const CVoraneItem* item) {
    if (!item) return nullptr;
    // The copy is complete before it is placed, so copying an item into itself is finite.
    auto copy = std::make_unique<CVoraneItem>(*item);
    CVoraneItem* result = copy.get();
    m_items.insert(m_items.begin(), std::move(copy));
    return result;
}

CVorane& CVorane::Assign(const CVorane& source) {
    if (&source == this) return *this;
    // Copy first: the source may lie inside this menu's own subtree.
    CVorane copy(source);
    CopyStyle(source);
    m_visible = source.m_visible;
    m_items = std::move(copy.m_items);
    return *this;
}

int CVorane::RemoveAllItems() {
    m_items.clear();
    return 1;
}

int CVorane::RemoveItemAt(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    m_items.erase(m_items.begin() + index);
    return 1;
}

int CVorane::RemoveItem(const CVoraneItem* item) {
    const int index = IndexOf(item);
    return index < 0 ? 0 : RemoveItemAt(index);
}

int CVorane::MoveItemUp(int index) {
    if (index < 1 || index >= static_cast<int>(m_items.size())) return 0;
    std::swap(m_items[static_cast<std::size_t>(index)], m_items[static_cast<std::size_t>(index - 1)]);
    return 1;
}

int CVorane::MoveItemUp(const CVoraneItem* item) {
    const int index = IndexOf(item);
    return index < 0 ? 0 : MoveItemUp(index);
}

int CVorane::MoveItemDown(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size()) - 1) return 0;
    std::swap(m_items[static_cast<std::size_t>(index)], m_items[static_cast<std::size_t>(index + 1)]);
    return 1;
}

int CVorane::MoveItemDown(const CVoraneItem* item) {
    const int index = IndexOf(item);
    return index < 0 ? 0 : MoveItemDown(index);
}

int CVorane::SetItemCount(int n, int keep) {
    if (!keep) m_items.clear();
    const auto target = static_cast<std::size_t>(std::max(n, 0));
    while (m_items.size() > target) m_items.pop_back();
    while (m_items.size() < target)
        m_items.push_back(std::make_unique<CVoraneItem>(kNewItemLabel + std::to_string(m_items.size() + 1)));
    return 1;
}

Rect CVorane::MenuRect(std::int32_t ox, std::int32_t oy) const {
    const std::int64_t n = CountItems(0);
    std::int64_t width = m_Width;
    std::int64_t height = m_Height;
    if (IsHorizontal())
        width = n * (std::int64_t{m_Width} + m_ItemGap) - m_ItemGap;
    else
        height = n * (std::int64_t{m_Height} + m_ItemGap) - m_ItemGap;
    if (m_BKStyle == 2) {
        ++width;
        ++height;
    }
    const std::int64_t ax = std::int64_t{ox} + m_xPos;
    const std::int64_t ay = std::int64_t{oy} + m_yPos;
    std::int64_t left = ax;
    std::int64_t top = ay;
    if (m_Corner == 1 || m_Corner == 2) left = ax - width;
    if (m_Corner == 2 || m_Corner == 3) top = ay - height;
    return Rect{ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + width),
                ClampToInt32(top + height)};
}

Point CVorane::ItemCorner(int visibleIndex, std::int32_t ox, std::int32_t oy) const {
    return ItemCorner(visibleIndex, MenuRect(ox, oy));
}

Point CVorane::ItemCorner(int visibleIndex, const Rect& rect) const {
    if (IsHorizontal())
        return Point{ClampToInt32(rect.left + std::int64_t{visibleIndex} * (std::int64_t{m_Width} + m_ItemGap)),
                     rect.top};
    return Point{rect.left,
                 ClampToInt32(rect.top + std::int64_t{visibleIndex} * (std::int64_t{m_Height} + m_ItemGap))};
}

void CVorane::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreMenuRecord(ar, *this);
    else
        LoadMenuRecord(ar, *this);
}

}  // namespace kestrune
