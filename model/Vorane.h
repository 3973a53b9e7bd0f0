// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/ItemFields.h"
#include "model/MenuStyle.h"
#include "model/Rect.h"

namespace kestrune {

class CArchive;
class CVoraneItem;

inline constexpr const char* kSubMenuName = "Menu";
inline constexpr const char* kTopLevelMenuName = "top-level Menu";

// One menu: its style, the styles of its items in three states, and its items.
class CVorane : public MenuStyle {
public:
    explicit CVorane(int itemCount = 0, std::string name = kSubMenuName);
    CVorane(const CVorane& source);
    CVorane& operator=(const CVorane&) = delete;
    virtual ~CVorane();

    std::vector<std::unique_ptr<CVoraneItem>> m_items;
    std::int32_t m_visible = 1;

    int CountItems(int all) const;
    // Out-of-range indices give nullptr rather than undefined behaviour.
    CVoraneItem* GetItem(int index) const;
    int IndexOf(const CVoraneItem* item) const;

    CVoraneItem* InsertNewItem();
    int AddItem(std::unique_ptr<CVoraneItem> item, int front);
    CVoraneItem* InsertCopy(const CVoraneItem* item);
    MenuStyle& Style() { return *this; }
    const MenuStyle& Style() const { return *this; }
    void CopyStyle(const CVorane& source) { Style() = source.Style(); }
    CVorane& Assign(const CVorane& source);
    int RemoveAllItems();
    int RemoveItemAt(int index);
    int RemoveItem(const CVoraneItem* item);
    int MoveItemUp(int index);
    int MoveItemUp(const CVoraneItem* item);
    int MoveItemDown(int index);
    int MoveItemDown(const CVoraneItem* item);
    int SetItemCount(int n, int keep);

    bool IsHorizontal() const { return m_MenuAlign != 0; }
    // Whether the applet opens this menu: it has at least one visible item.
    bool HasVisibleItem() const { return CountItems(0) > 0; }

    // The extent of the menu with its anchor measured from (ox, oy).
    Rect MenuRect(std::int32_t ox, std::int32_t oy) const;
    // Top-left corner of the k-th visible item; the origin of that item's sub menu.
    Point ItemCorner(int visibleIndex, std::int32_t ox, std::int32_t oy) const;
    // The same from a rectangle MenuRect already gave, without counting the items again.
    Point ItemCorner(int visibleIndex, const Rect& menuRect) const;

    virtual void Serialize(CArchive& ar);
};

}  // namespace kestrune
