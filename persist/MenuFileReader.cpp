#include "persist/MenuFileReader.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "base/TaskProgress.h"
#include "persist/KeyTable.h"
#include "persist/LegacyLayoutReader.h"
#include "persist/MenuFileText.h"
#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace {

struct MediaPrefixes {
    std::string image;  // empty outside template mode
    std::string audio;
    // The shipped sample folders when the user's own differ: a file missing from the
    // user's folder and present there is named there.
    std::string fallbackImage;
    std::string fallbackAudio;

    void Image(std::string& value) const { Apply(value, image, fallbackImage); }
    void Audio(std::string& value) const { Apply(value, audio, fallbackAudio); }
    static void Apply(std::string& value, const std::string& prefix, const std::string& fallback) {
        if (value.empty()) return;
        if (!fallback.empty() && !IsRegularFile(prefix + value) && IsRegularFile(fallback + value))
            value = fallback + value;
        else
            value = prefix + value;
    }
    static bool IsRegularFile(const std::string& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(path, error);
    }
};

MediaPrefixes PrefixesFor(bool templateMode, const std::string& appDir, const std::string& shippedDir = {}) {
    if (!templateMode) return {};
    MediaPrefixes prefixes{JoinPath(appDir, texts::kSampleImageFolder) + "/",
                           JoinPath(appDir, texts::kSampleAudioFolder) + "/", {}, {}};
    if (!shippedDir.empty() && shippedDir != appDir) {
        prefixes.fallbackImage = JoinPath(shippedDir, texts::kSampleImageFolder) + "/";
        prefixes.fallbackAudio = JoinPath(shippedDir, texts::kSampleAudioFolder) + "/";
    }
    return prefixes;
}

void ReadAppletStyle(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                     const MediaPrefixes& prefixes) {
    const auto f = GetKeyFieldViews(section, texts::kKeyApStyle, texts::kDefaultApStyle, table, 11);
    applet.m_HTMLTitle = std::string(f[0]);
    applet.m_Align = ParseNumber(f[1]);
    applet.m_appWidth = ParseNumber(f[2]);
    applet.m_appHeight = ParseNumber(f[3]);
    applet.m_appBKColor = ParseNumber(f[4]);
    applet.m_appBKImagePath = std::string(f[6]);
    applet.m_appBKImageMode = ParseNumber(f[7]);
    applet.m_appBKImageX = ParseNumber(f[8]);
    applet.m_appBKImageY = ParseNumber(f[9]);
    applet.m_appBKAudioPath = std::string(f[10]);
    prefixes.Image(applet.m_appBKImagePath);
    prefixes.Audio(applet.m_appBKAudioPath);
}

std::string NumberedKey(const char* prefix, int number) {
    std::string key(prefix);
    AppendNumber(key, number);
    return key;
}

void ReadMenuStyle(CVorane& menu, std::string_view value) {
    std::vector<std::string_view> f = SplitFields(value, ',', 12);
    f.resize(12);
    std::int32_t* fields[] = {&menu.m_BKColor, &menu.m_BKStyle, &menu.m_MenuAlign, &menu.m_Corner,
                              &menu.m_xPos,    &menu.m_yPos,    &menu.m_Width,     &menu.m_Height,
                              &menu.m_ItemGap, &menu.m_BorderThick};
    for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ParseNumber(f[i]);
    menu.m_name = std::string(f[10]);
    menu.m_visible = ParseNumber(f[11]);
}

void ReadItemStyles(CVorane& menu, std::string_view value) {
    std::vector<std::string_view> f = SplitFields(value, ',', 45);
    f.resize(45);
    for (std::size_t g = 0; g < 3; ++g) {
        ItemStyle& s = menu.m_itemStyle[g];
        std::int32_t* fields[] = {&s.BKColor,   &s.FRColor,   &s.ItemFillStyle, &s.FontEffect,  &s.FontName,
                                  &s.FontSize,  &s.FontStyle, &s.ImageAlign,    &s.TextAlign,   &s.ImageOffset,
                                  &s.TextOffset, &s.GradientDirection, &s.ItemBorderStyle};
        for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ParseNumber(f[15 * g + i]);
    }
}

void ReadItem(CVoraneItem& item, const CKeyTable& table, const std::string& section, int number, int position,
              const MediaPrefixes& prefixes) {
    std::string key = NumberedKey(texts::kKeyItemPrefix, number);
    key.push_back('-');
    AppendNumber(key, position);
    const auto f = GetKeyFieldViews(section, key, "", table, 10);
    item.m_label = DecodeMenuFileLabel(std::string(f[0]));
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

// The menus and items a "Misc" value describes, before they are linked. An empty menu of
// default style is not made: the item it belongs to makes one when it is first asked.
struct ReadMenus {
    std::vector<std::unique_ptr<CVorane>> menus;
    std::vector<CVorane*> menuAt;        // stays valid once a menu is handed on; nullptr when not made
    std::vector<CVoraneItem*> items;     // in the order their lines were read
    std::vector<std::size_t> firstItem;  // per menu: index of its first item in items
};

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

// Links the read menus: every menu gets at most one owner (the first entry naming it),
// every item at most one sub menu, and only what hangs below a top-level menu is
// attached, so no menu is owned twice and no cycle is ever built.
// Returns how many sub menus lay too deep to be attached.
std::size_t LinkMenus(CAppletParameters& applet, ReadMenus& read, const std::vector<std::string_view>& misc,
                      std::size_t claimedMenus) {
    std::size_t tooDeep = 0;
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
        if (isTop) {
            owner[menu] = kTopLevel;
            topLevel.push_back(static_cast<std::size_t>(menu));
        } else if (item >= 0 && static_cast<std::size_t>(item) < read.items.size() && subMenuOf[item] < 0) {
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
            const std::size_t end = read.firstItem[menu] + read.menuAt[menu]->m_items.size();
            for (std::size_t i = read.firstItem[menu]; i < end; ++i) {
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
    return tooDeep;
}

// How often the menu loop reports and looks for a Cancel: often enough for a smooth bar,
// rarely enough to cost nothing.
constexpr std::size_t kProgressStride = 1024;

// False only when progress says the user cancelled; the model is then incomplete.
bool ReadCurrentLayout(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                       const MediaPrefixes& prefixes, std::vector<std::string>* warnings,
                       TaskProgress* progress = nullptr) {
    ReadAppletStyle(applet, table, section, prefixes);
    const std::string_view miscValue = GetKeyValue(section, texts::kKeyMisc, "", table);
    if (miscValue.empty()) return true;
    // Each menu has its item count and each item its relation in "Misc", so menus and
    // items beyond its fields are damage: they are not made, and entries naming them
    // are passed over. Menus and items together also stay within what the file's size
    // can describe, and "Misc" is split no further than those menus need, so the work
    // and the memory are bounded by the file's size.
    const auto claimedMenus =
        static_cast<std::size_t>(std::max<std::int32_t>(ParseNumber(ExtractField(miscValue, 0, ',')), 0));
    std::size_t objectBudget = table.ModelObjectBudget();
    const std::size_t usefulFields = 2 + 2 * std::min(claimedMenus, objectBudget);
    const std::vector<std::string_view> misc = SplitFields(miscValue, ',', usefulFields);
    const std::size_t menuCount = std::min({claimedMenus, misc.size() - 1, objectBudget});
    objectBudget -= menuCount;
    std::size_t itemBudget = std::min(misc.size(), objectBudget);

    ReadMenus read;
    read.menus.reserve(menuCount);
    read.menuAt.reserve(menuCount);
    read.firstItem.reserve(menuCount);
    CVorane style(0, kSubMenuName);  // every field is read again for each menu
    // Most menus of a large file are empty ones written alike: a style line equal to the
    // one before gives the fields style holds already.
    std::string_view menuLine;
    std::string_view itemsLine;
    if (progress) progress->SetTotal(menuCount);
    for (std::size_t k = 0; k < menuCount; ++k) {
        if (progress && k % kProgressStride == 0) {
            if (progress->Cancelled()) return false;
            progress->SetDone(k);
        }
        const int number = static_cast<int>(k);
        const std::string_view nextMenuLine = GetKeyValue(section, NumberedKey(texts::kKeyMStylePrefix, number), "", table);
        const std::string_view nextItemsLine = GetKeyValue(section, NumberedKey(texts::kKeyIStylePrefix, number), "", table);
        if (k == 0 || nextMenuLine != menuLine) ReadMenuStyle(style, nextMenuLine);
        if (k == 0 || nextItemsLine != itemsLine) ReadItemStyles(style, nextItemsLine);
        menuLine = nextMenuLine;
        itemsLine = nextItemsLine;
        const std::int64_t wanted = k + 1 < misc.size() ? ParseNumber(misc[k + 1]) : 0;
        const auto count = static_cast<std::size_t>(std::clamp<std::int64_t>(wanted, 0, itemBudget));
        itemBudget -= count;
        read.firstItem.push_back(read.items.size());
        if (count == 0 && IsUntouchedEmptyMenu(style)) {
            read.menuAt.push_back(nullptr);
            read.menus.push_back(nullptr);
            continue;
        }
        auto menu = std::make_unique<CVorane>(style);
        menu->m_items.reserve(count);
        for (std::size_t j = 1; j <= count; ++j) {
            auto item = std::make_unique<CVoraneItem>();
            ReadItem(*item, table, section, number, static_cast<int>(j), prefixes);
            read.items.push_back(item.get());
            menu->AddItem(std::move(item), 0);
        }
        read.menuAt.push_back(menu.get());
        read.menus.push_back(std::move(menu));
    }
    const std::size_t tooDeep = LinkMenus(applet, read, misc, claimedMenus);
    if (tooDeep > 0 && warnings)
        warnings->push_back(FormatMessage(texts::kMenusTooDeep, std::to_string(kMaxMenuDepth)));
    if (progress) progress->SetDone(menuCount);
    return true;
}

bool HasNotice(const CKeyTable& table, const std::string& section) {
    return !ExtractField(GetKeyValue(section, texts::kKeyNotice, "", table), 0, ',').empty();
}

}  // namespace

namespace {
bool FillFromTable(CAppletParameters& applet, const CKeyTable& table, const std::string& section, bool templateMode,
                   const std::string& appDir, std::vector<std::string>* warnings, TaskProgress* progress) {
    applet.Reset();
    if (!templateMode && !HasNotice(table, section)) {
        LoadLegacyLayout(applet, table);
        return true;
    }
    return ReadCurrentLayout(applet, table, section, PrefixesFor(templateMode, appDir), warnings, progress);
}
}  // namespace

void LoadMenuTable(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                   bool templateMode, const std::string& appDir, std::vector<std::string>* warnings) {
    FillFromTable(applet, table, section, templateMode, appDir, warnings, nullptr);
}

namespace {
bool HoldsNoMenuData(const CKeyTable& table, const std::string& section) {
    if (table.HasSection(section)) return false;
    for (const char* legacy : {"General", "Menu Relation", "Item", "Main Menu Style"})
        if (table.HasSection(legacy)) return false;
    return true;
}
}  // namespace

bool LoadMenuFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                  bool templateMode, const std::string& appDir, std::string* error,
                  std::vector<std::string>* warnings, TaskProgress* progress) {
    CKeyTable table;
    std::string reason;
    if (!ReadKeyTable(path, table, &reason)) {
        if (error) *error = FormatMessage(texts::kCannotReadMenuFile, path) + "\n" + reason;
        if (!templateMode) return false;
        applet.Reset();
        return false;
    }
    // A file with text but no section this program reads would open as an empty
    // document, and saving that would destroy the file.
    if (!templateMode && table.TextSize() > 0 && HoldsNoMenuData(table, section)) {
        if (error) *error = FormatMessage(texts::kNoMenuInFile, path);
        return false;
    }
    if (!FillFromTable(applet, table, section, templateMode, appDir, warnings, progress)) {
        if (error) *error = texts::kLoadCancelled;
        return false;
    }
    // A template the file lacks gives the defaults, but is no template.
    if (templateMode && !table.HasSection(section)) {
        if (error) *error = FormatMessage(texts::kTemplateMissing, section);
        return false;
    }
    return true;
}

bool LoadTemplateFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                      const std::string& userDir, const std::string& shippedDir, std::string* error) {
    applet.Reset();
    CKeyTable table;
    std::string reason;
    if (!ReadKeyTable(path, table, &reason)) {
        if (error) *error = FormatMessage(texts::kCannotReadMenuFile, path) + "\n" + reason;
        return false;
    }
    ReadCurrentLayout(applet, table, section, PrefixesFor(true, userDir, shippedDir), nullptr);
    // A template the file lacks gives the defaults, but is no template.
    if (!table.HasSection(section)) {
        if (error) *error = FormatMessage(texts::kTemplateMissing, section);
        return false;
    }
    return true;
}

}  // namespace kestrune
