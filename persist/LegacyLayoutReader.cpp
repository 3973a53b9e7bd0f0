// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/LegacyLayoutReader.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "model/LayoutEstimate.h"
#include "persist/KeyTable.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace {

// The older layout stored font sizes as positions in this list.
// Older files may lack a few item lines; beyond this slack a count is damage.
constexpr std::size_t kLegacyItemSlack = 256;
constexpr std::size_t kLegacyBytesPerItem = 24;

constexpr std::array<std::int32_t, 13> kLegacyFontSizes = {9, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

std::string OneField(const CKeyTable& table, const char* section, const std::string& key,
                     const char* defaultValue = "0") {
    return ExtractField(GetKeyValue(section, key, defaultValue, table), 0, ',');
}

std::int32_t OneNumber(const CKeyTable& table, const char* section, const std::string& key,
                       const char* defaultValue = "0") {
    return ParseNumber(OneField(table, section, key, defaultValue));
}

std::int32_t LegacyFontSize(std::int32_t index) {
    return index >= 0 && index < static_cast<std::int32_t>(kLegacyFontSizes.size())
               ? kLegacyFontSizes[static_cast<std::size_t>(index)]
               : 0;
}

// tag is "mm" or "sm".
void ReadMenuStyle(CVorane& menu, const CKeyTable& table, const char* section, const std::string& tag) {
    const std::string p = "m_" + tag;
    menu.m_BKColor = OneNumber(table, section, p + "BKColor");
    menu.m_BKStyle = OneNumber(table, section, p + "BKStyle");
    menu.m_MenuAlign = OneNumber(table, section, p + "MenuAlign");
    menu.m_Width = OneNumber(table, section, p + "Width");
    menu.m_Height = OneNumber(table, section, p + "Height");
    menu.m_ItemGap = OneNumber(table, section, p + "ItemGap");
    menu.m_BorderThick = OneNumber(table, section, p + "BorderThick");
}

// sectionStem is "Main Item Style" or "Sub Item Style", tag "mi" or "si".
void ReadItemStyles(CVorane& menu, const CKeyTable& table, const std::string& sectionStem, const std::string& tag) {
    for (int state = 1; state <= 3; ++state) {
        const std::string section = sectionStem + std::to_string(state);
        const std::string p = "m_" + tag;
        const std::string n = std::to_string(state);
        const char* s = section.c_str();
        ItemStyle& style = menu.m_itemStyle[static_cast<std::size_t>(state - 1)];
        style.BKColor = OneNumber(table, s, p + "BKColor" + n);
        style.FRColor = OneNumber(table, s, p + "FRColor" + n);
        style.ItemBorderStyle = OneNumber(table, s, p + "ItemBorderStyle" + n);
        style.ItemFillStyle = OneNumber(table, s, p + "ItemFillStyle" + n);
        style.FontName = OneNumber(table, s, p + "FontName" + n);
        style.FontSize = LegacyFontSize(OneNumber(table, s, p + "FontSize" + n, "14"));
        style.FontStyle = OneNumber(table, s, p + "FontStyle" + n);
        const std::int32_t align = OneNumber(table, s, p + "Align" + n);
        style.TextAlign = align % 3;
        style.ImageAlign = align / 3;
    }
}

void ReadItemTexts(CVoraneItem& item, const CKeyTable& table, const std::string& key) {
    const auto f = GetKeyFields("Item", key, "", table, 4);
    item.m_label = f[0];
    item.m_normalImage = item.m_overImage = item.m_clickImage = f[1];
    item.m_target = f[2];
    item.m_link = item.m_description = f[3];
}

struct LegacyRelation {
    std::int64_t mainItem = 0;
    std::int64_t subMenu = 0;
};

LegacyRelation ParseLegacyRelation(std::string_view entry) {
    const std::size_t dash = entry.find('-');
    const std::string_view before = entry.substr(0, dash);
    const std::string_view after = dash == std::string_view::npos ? std::string_view() : entry.substr(dash + 1);
    return {ParseNumber(before), ParseNumber(after.substr(0, after.find('-')))};
}

// Of count items of the menu numbered menuNumber in the item lines, how many are made: a
// file that names items without giving their lines is cut where the lines without items
// run out of allowance, so the made-up ones cost no memory.
std::size_t ItemsWithLines(const CKeyTable& table, std::int64_t menuNumber, std::size_t count,
                           std::size_t& linelessLeft) {
    std::string key = "I" + std::to_string(menuNumber) + "-";
    const std::size_t stem = key.size();
    for (std::size_t j = 0; j < count; ++j) {
        key.resize(stem);
        AppendNumber(key, static_cast<std::int64_t>(j));
        if (table.Find("Item", key)) continue;
        if (linelessLeft == 0) return j;
        --linelessLeft;
    }
    return count;
}

// Gives main items their sub menus. For sub menu b the relation entries are scanned from
// the first one on; the scan stops at an entry naming no main item or a sub menu of 0 or
// less, and at the first entry for b. One pass finds, for every b, that first entry
// before the stop, so a long relation costs linear rather than quadratic time.
// Returns, per main item whose sub menu was granted items, the number its item lines
// are written under.
std::map<std::int64_t, std::int64_t> AttachSubMenus(CVorane& mainMenu, const CVorane& scratch,
                                                    const std::vector<std::string_view>& relation,
                                                    std::int64_t menuCount, std::size_t& itemBudget,
                                                    const CKeyTable& table, std::size_t& linelessLeft) {
    const auto itemCount = static_cast<std::int64_t>(mainMenu.m_items.size());
    const std::int64_t firstEntry = menuCount + 1;
    const std::int64_t lastEntry =
        std::min<std::int64_t>(firstEntry + menuCount - 1, static_cast<std::int64_t>(relation.size()));
    std::map<std::int64_t, std::int64_t> firstMainItemFor;  // sub menu -> main item
    for (std::int64_t e = firstEntry; e < lastEntry; ++e) {
        const LegacyRelation r = ParseLegacyRelation(relation[static_cast<std::size_t>(e)]);
        if (r.mainItem < 0 || r.mainItem >= itemCount || r.subMenu <= 0) break;
        firstMainItemFor.emplace(r.subMenu, r.mainItem);
    }
    // The items each main item's sub menu is granted; a later sub menu for the same main
    // item replaces the earlier one.
    std::map<std::int64_t, std::size_t> grantedFor;
    for (std::int64_t k = 0; k + 2 <= menuCount; ++k) {
        const std::size_t countField = static_cast<std::size_t>(k + 2);
        if (countField >= relation.size()) break;
        const std::int64_t count = ParseNumber(relation[countField]);
        if (count <= 0) break;
        const auto found = firstMainItemFor.find(k + 1);
        if (found == firstMainItemFor.end()) continue;
        const auto granted = static_cast<std::size_t>(std::min<std::int64_t>(count, itemBudget));
        itemBudget -= granted;
        grantedFor[found->second] = granted;
    }
    // Item lines number the sub menus that have items in the order of their main items.
    std::map<std::int64_t, std::int64_t> numberOf;
    for (const auto& [mainItem, granted] : grantedFor) {
        std::size_t made = 0;
        if (granted > 0) {
            const std::int64_t number = static_cast<std::int64_t>(numberOf.size()) + 1;
            numberOf.emplace(mainItem, number);
            made = ItemsWithLines(table, number, granted, linelessLeft);
        }
        CVorane& subMenu = mainMenu.GetItem(static_cast<int>(mainItem))->SubMenu();
        subMenu.Assign(scratch);
        subMenu.SetItemCount(static_cast<int>(made), 1);
    }
    return numberOf;
}
}  // namespace

void LoadLegacyLayout(CAppletParameters& applet, const CKeyTable& table) {
    auto owned = std::make_unique<CVorane>(0, kTopLevelMenuName);
    CVorane& mainMenu = *owned;
    applet.AddTopLevelMenu(std::move(owned), 0);

    applet.m_HTMLTitle = OneField(table, "General", "m_HTMLTitle", "Untitled");
    applet.m_Align = OneNumber(table, "General", "m_Align");
    applet.m_appBKColor = OneNumber(table, "General", "m_appBKColor");
    applet.m_appBKImagePath = OneField(table, "General", "m_appBKImagePath", "");
    mainMenu.m_xPos = OneNumber(table, "General", "m_xPos");
    mainMenu.m_yPos = OneNumber(table, "General", "m_yPos");
    ReadMenuStyle(mainMenu, table, "Main Menu Style", "mm");
    ReadItemStyles(mainMenu, table, "Main Item Style", "mi");

    CVorane scratch(0, "SubMenu");
    ReadMenuStyle(scratch, table, "Sub Menu Style", "sm");
    ReadItemStyles(scratch, table, "Sub Item Style", "si");
    scratch.m_xPos = mainMenu.m_Width / 2;
    scratch.m_yPos = static_cast<std::int32_t>(std::int64_t{mainMenu.m_Height} * 3 / 4);

    const std::vector<std::string_view> relation =
        SplitFields(GetKeyValue("Menu Relation", "Relation", "", table), ',');
    const std::int64_t menuCount = relation.empty() ? 0 : ParseNumber(relation[0]);
    const std::int64_t mainCount = relation.size() > 1 ? ParseNumber(relation[1]) : 0;
    if (mainCount <= 0) return;
    // Every item of a real file has its own line, so a count beyond the file's lines is
    // damage; the budget keeps the work bounded by the file's size.
    // An item of the older layout also costs its text a line of key, label, image, target
    // and link, so it is weighed at more bytes than one of the current layout.
    std::size_t itemBudget =
        std::min(table.EntryCount(), table.TextSize() / kLegacyBytesPerItem) + kLegacyItemSlack;
    const auto mainGranted = static_cast<std::size_t>(std::min<std::int64_t>(mainCount, itemBudget));
    itemBudget -= mainGranted;
    std::size_t linelessLeft = kLegacyItemSlack;
    mainMenu.SetItemCount(static_cast<int>(ItemsWithLines(table, 0, mainGranted, linelessLeft)), 0);
    const std::map<std::int64_t, std::int64_t> numberOf =
        AttachSubMenus(mainMenu, scratch, relation, menuCount, itemBudget, table, linelessLeft);

    for (int i = 0; i < mainMenu.CountItems(1); ++i) {
        CVoraneItem& item = *mainMenu.GetItem(i);
        ReadItemTexts(item, table, "I0-" + std::to_string(i));
        const auto number = numberOf.find(i);
        if (number == numberOf.end()) continue;
        CVorane& subMenu = item.SubMenu();
        for (int j = 0; j < subMenu.CountItems(1); ++j)
            ReadItemTexts(*subMenu.GetItem(j), table, "I" + std::to_string(number->second) + "-" + std::to_string(j));
    }

    const Rect estimate = LayoutEstimate(&mainMenu);
    applet.m_appWidth = ClampToInt32(std::int64_t{estimate.right} - estimate.left);
    applet.m_appHeight = ClampToInt32(std::int64_t{estimate.bottom} - estimate.top);
}

}  // namespace kestrune
