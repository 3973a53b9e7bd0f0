// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/MenuFileParts.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/TextRoutines.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "persist/PersistTexts.h"

namespace kestrune {

namespace {

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

void MediaPrefixes::Apply(std::string& value, const std::string& prefix, const std::string& fallback) {
    if (value.empty() || (prefix.empty() && fallback.empty())) return;
    if (!fallback.empty() && !IsRegularFile(prefix + value) && IsRegularFile(fallback + value))
        value = fallback + value;
    else
        value.insert(0, prefix);
}

MediaPrefixes PrefixesFor(bool templateMode, const std::string& appDir, const std::string& shippedDir) {
    if (!templateMode) return {};
    MediaPrefixes prefixes{JoinPath(appDir, texts::kSampleImageFolder) + "/",
                           JoinPath(appDir, texts::kSampleAudioFolder) + "/", {}, {}};
    if (!shippedDir.empty() && shippedDir != appDir) {
        prefixes.fallbackImage = JoinPath(shippedDir, texts::kSampleImageFolder) + "/";
        prefixes.fallbackAudio = JoinPath(shippedDir, texts::kSampleAudioFolder) + "/";
    }
    return prefixes;
}

void SplitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t equals = line.find('=');
    key = equals == std::string_view::npos ? line : TrimView(line.substr(0, equals));
    value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

void ReadAppletStyle(CAppletParameters& applet, std::string_view value, const MediaPrefixes& prefixes) {
    const auto f = SplitFixedFields<11>(value);
    applet.m_HTMLTitle = f[0];
    applet.m_Align = ParseNumber(f[1]);
    applet.m_appWidth = ParseNumber(f[2]);
    applet.m_appHeight = ParseNumber(f[3]);
    applet.m_appBKColor = ParseNumber(f[4]);
    applet.m_appBKImagePath = f[6];
    applet.m_appBKImageMode = ParseNumber(f[7]);
    applet.m_appBKImageX = ParseNumber(f[8]);
    applet.m_appBKImageY = ParseNumber(f[9]);
    applet.m_appBKAudioPath = f[10];
    prefixes.Image(applet.m_appBKImagePath);
    prefixes.Audio(applet.m_appBKAudioPath);
}

void ReadMenuStyle(CVorane& menu, std::string_view value) {
    const auto f = SplitFixedFields<12>(value);
    std::int32_t* fields[] = {&menu.m_BKColor, &menu.m_BKStyle, &menu.m_MenuAlign, &menu.m_Corner,
                              &menu.m_xPos,    &menu.m_yPos,    &menu.m_Width,     &menu.m_Height,
                              &menu.m_ItemGap, &menu.m_BorderThick};
    for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ParseNumber(f[i]);
    menu.m_name = f[10];
    menu.m_visible = ParseNumber(f[11]);
}

void ReadItemStyles(CVorane& menu, std::string_view value) {
    const auto f = SplitFixedFields<45>(value);
    for (std::size_t g = 0; g < 3; ++g) {
        ItemStyle& s = menu.m_itemStyle[g];
        std::int32_t* fields[] = {&s.BKColor,   &s.FRColor,   &s.ItemFillStyle, &s.FontEffect,  &s.FontName,
                                  &s.FontSize,  &s.FontStyle, &s.ImageAlign,    &s.TextAlign,   &s.ImageOffset,
                                  &s.TextOffset, &s.GradientDirection, &s.ItemBorderStyle};
        for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ParseNumber(f[15 * g + i]);
    }
}

void ReadItem(CVoraneItem& item, std::string_view value, const MediaPrefixes& prefixes) {
    const auto f = SplitFixedFields<10>(value);
    item.m_label = DecodeMenuFileLabel(f[0]);
    item.m_description = f[1];
    item.m_link = f[2];
    item.m_target = f[3];
    item.m_normalImage = f[4];
    item.m_overImage = f[5];
    item.m_clickImage = f[6];
    item.m_overAudio = f[7];
    item.m_clickAudio = f[8];
    item.m_visible = ParseNumber(f[9]);
    for (std::string* image : {&item.m_normalImage, &item.m_overImage, &item.m_clickImage})
        prefixes.Image(*image);
    for (std::string* audio : {&item.m_overAudio, &item.m_clickAudio}) prefixes.Audio(*audio);
}

MenuPlan::MenuPlan(std::string_view miscValue, std::size_t textSize) {
    m_claimedMenus =
        static_cast<std::size_t>(std::max<std::int32_t>(ParseNumber(ExtractField(miscValue, 0, ',')), 0));
    std::size_t objectBudget = CKeyTable::ModelObjectBudgetFor(textSize);
    const std::size_t usefulFields = 2 + 2 * std::min(m_claimedMenus, objectBudget);
    m_misc = SplitFields(miscValue, ',', usefulFields);
    // Every honest menu has its two style lines (at least 150 bytes; a hand-made file may
    // leave them out but still names the menu in "Misc" and gives it an item line), and a
    // menu in memory costs a few hundred bytes: menus take from a budget of their own.
    const std::size_t menuBudget = textSize / kBytesPerMenu + CKeyTable::kModelObjectSlack;
    m_menuCount = std::min({m_claimedMenus, m_misc.size() - 1, objectBudget, menuBudget});
    m_itemBudget = objectBudget - m_menuCount;
    if (textSize / CKeyTable::kBytesPerModelObject + CKeyTable::kModelObjectSlack > CKeyTable::kMaxModelObjects) {
        std::size_t asked = m_claimedMenus;
        for (std::size_t k = 0; k < m_menuCount && asked <= CKeyTable::kMaxModelObjects; ++k)
            asked += static_cast<std::size_t>(std::max<std::int32_t>(ParseNumber(m_misc[k + 1]), 0));
        m_overCeiling = asked > CKeyTable::kMaxModelObjects;
    }
}

bool AsksForMoreThanAModelHolds(const CKeyTable& table, const std::string& section) {
    const std::string_view misc = GetKeyValue(section, texts::kKeyMisc, "", table);
    return !misc.empty() && MenuPlan(misc, table.TextSize()).OverCeiling();
}

std::size_t MenuPlan::TakeItemCount(std::size_t k) {
    const std::int64_t wanted = std::max<std::int64_t>(k + 1 < m_misc.size() ? ParseNumber(m_misc[k + 1]) : 0, 0);
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(wanted, m_itemBudget));
    m_itemBudget -= count;
    m_refusedItems += static_cast<std::size_t>(wanted) - count;
    return count;
}

std::string MiscInFileOrder(const std::vector<std::size_t>& itemCounts) {
    const std::size_t menus = itemCounts.size();
    std::string misc;
    AppendNumber(misc, static_cast<std::int64_t>(menus));
    misc.push_back(',');
    std::vector<std::size_t> firstItem;
    firstItem.reserve(menus);
    std::size_t items = 0;
    for (const std::size_t count : itemCounts) {
        firstItem.push_back(items);
        items += count;
        AppendNumber(misc, static_cast<std::int64_t>(count));
        misc.push_back(',');
    }
    std::string relations;
    std::vector<std::pair<std::size_t, std::size_t>> open;  // menu, items given their sub menu
    std::size_t next = 0;
    while (next < menus) {
        misc.push_back('-');
        AppendNumber(misc, static_cast<std::int64_t>(next));
        misc.push_back(',');
        open.emplace_back(next++, 0);
        while (!open.empty()) {
            auto& [menu, done] = open.back();
            if (done == itemCounts[menu] || next == menus) {
                open.pop_back();
                continue;
            }
            AppendNumber(relations, static_cast<std::int64_t>(firstItem[menu] + done++));
            relations.push_back('-');
            AppendNumber(relations, static_cast<std::int64_t>(next));
            relations.push_back(',');
            open.emplace_back(next++, 0);
        }
    }
    return misc + relations;
}

void ReadMenus::Add(std::unique_ptr<CVorane> menu) {
    menuAt.push_back(menu.get());
    menus.push_back(std::move(menu));
}

void ReadMenus::LeaveOut() {
    leftOut.resize(menus.size() + 1);
    leftOut.back() = true;
    ++menusLeftOut;
    Add(nullptr);
}

namespace {

constexpr int kUnowned = -2;
constexpr int kTopLevel = -1;

// Entry "item-menu" or "-menu". Entries without "-" claim nothing.
bool ParseRelation(std::string_view entry, bool& topLevel, std::int64_t& item, std::int64_t& menu) {
    const std::size_t dash = entry.find('-');
    if (dash == std::string_view::npos) return false;
    topLevel = dash == 0;
    item = topLevel ? -1 : ParseNumber(entry.substr(0, dash));
    menu = ParseNumber(entry.substr(dash + 1));
    return true;
}

}  // namespace

LinkOutcome LinkMenus(CAppletParameters& applet, ReadMenus& read, const MenuPlan& plan) {
    const std::vector<std::string_view>& misc = plan.Misc();
    const std::size_t claimedMenus = plan.ClaimedMenus();
    LinkOutcome outcome;
    std::size_t& tooDeep = outcome.tooDeep;
    const std::size_t menuCount = read.menus.size();
    std::vector<int> owner(menuCount, kUnowned);
    std::vector<std::int64_t> subMenuOf(read.items.size(), -1);
    std::vector<std::size_t> topLevel;
    for (std::size_t r = 0; r < claimedMenus; ++r) {
        const std::size_t index = claimedMenus + 1 + r;
        if (index >= misc.size()) break;
        bool isTop = false;
        std::int64_t item = 0;
        std::int64_t menu = 0;
        if (!ParseRelation(misc[index], isTop, item, menu)) continue;
        if (menu < 0 || static_cast<std::size_t>(menu) >= menuCount || owner[menu] != kUnowned) continue;
        if (read.IsLeftOut(static_cast<std::size_t>(menu))) continue;
        if (isTop) {
            owner[menu] = kTopLevel;
            topLevel.push_back(static_cast<std::size_t>(menu));
        } else if (item >= 0 && static_cast<std::size_t>(item) < read.items.size() && read.items[item] &&
                   subMenuOf[item] < 0) {
            owner[menu] = static_cast<int>(item);
            subMenuOf[item] = menu;
        }
    }

    std::vector<std::pair<std::size_t, int>> pending;  // menu, depth
    for (std::size_t top : topLevel) {
        pending.emplace_back(top, 0);
        while (!pending.empty()) {
            const auto [menu, depth] = pending.back();
            pending.pop_back();
            if (!read.menuAt[menu]) continue;
            for (std::size_t i = read.firstItem[menu], end = read.ItemEnd(menu); i < end; ++i) {
                if (subMenuOf[i] < 0) continue;
                const auto child = static_cast<std::size_t>(subMenuOf[i]);
                if (depth >= kMaxMenuDepth) {
                    ++tooDeep;
                    continue;
                }
                read.items[i]->SetSubMenu(std::move(read.menus[child]));
                pending.emplace_back(child, depth + 1);
            }
        }
        std::unique_ptr<CVorane>& menu = read.menus[top];
        applet.AddTopLevelMenu(menu ? std::move(menu) : std::make_unique<CVorane>(0, kSubMenuName), 0);
    }
    // A menu that no relation names is attached to nothing: its items are lost to the
    // model. (Menus too deep have their own warning.)
    outcome.droppedItems = plan.RefusedItems() + read.itemsLeftOut;
    outcome.droppedMenus = read.menusLeftOut;
    for (std::size_t k = 0; k < menuCount; ++k)
        if (read.menus[k] && owner[k] == kUnowned) outcome.droppedItems += read.menus[k]->m_items.size();
    return outcome;
}

void WarnAboutLinkOutcome(const LinkOutcome& outcome, std::vector<std::string>* warnings) {
    if (!warnings) return;
    if (outcome.tooDeep > 0) warnings->push_back(FormatMessage(texts::kMenusTooDeep, std::to_string(kMaxMenuDepth)));
    if (outcome.droppedItems > 0)
        warnings->push_back(FormatMessage(texts::kItemsLeftOut, std::to_string(outcome.droppedItems)));
    if (outcome.droppedMenus > 0)
        warnings->push_back(FormatMessage(texts::kMenusLeftOut, std::to_string(outcome.droppedMenus)));
}

}  // namespace kestrune
