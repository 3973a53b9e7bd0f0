// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/MenuFileReader.h"

#include <memory>
#include <string>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "base/TaskProgress.h"
#include "persist/InOrderMenuReader.h"
#include "persist/KeyTable.h"
#include "persist/LegacyLayoutReader.h"
#include "persist/MenuFileParts.h"
#include "persist/MenuFileText.h"
#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace {

std::string NumberedKey(const char* prefix, int number) {
    std::string key(prefix);
    AppendNumber(key, number);
    return key;
}

// How often the menu loop reports and looks for a Cancel: often enough for a smooth bar,
// rarely enough to cost nothing.
constexpr std::size_t kProgressStride = 1024;

// Whether one more menu or item without a line of its own may be made.
bool TakeLineless(std::size_t& left) {
    if (left == 0) return false;
    --left;
    return true;
}

// False only when progress says the user cancelled; the model is then incomplete.
bool ReadLayoutWithMisc(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                        std::string_view miscValue, const MediaPrefixes& prefixes,
                        std::vector<std::string>* warnings, TaskProgress* progress) {
    ReadAppletStyle(applet, GetKeyValue(section, texts::kKeyApStyle, texts::kDefaultApStyle, table), prefixes);
    if (miscValue.empty()) return true;
    MenuPlan plan(miscValue, table.TextSize());
    const std::size_t menuCount = plan.MenuCount();

    ReadMenus read;
    read.menus.reserve(menuCount);
    read.menuAt.reserve(menuCount);
    read.firstItem.reserve(menuCount);
    CVorane style(0, kSubMenuName);  // every field is read again for each menu
    // Most menus of a large file are empty ones written alike: a style line equal to the
    // one before gives the fields style holds already.
    std::string_view menuLine;
    std::string_view itemsLine;
    std::string key;
    std::size_t linelessItemsLeft = kLinelessObjectAllowance;
    std::size_t linelessMenusLeft = kLinelessObjectAllowance;
    if (progress) progress->SetTotal(menuCount);
    for (std::size_t k = 0; k < menuCount; ++k) {
        if (progress && k % kProgressStride == 0) {
            if (progress->Cancelled()) return false;
            progress->SetDone(k);
        }
        const int number = static_cast<int>(k);
        const auto nextMenuLine = table.Find(section, NumberedKey(texts::kKeyMStylePrefix, number));
        const auto nextItemsLine = table.Find(section, NumberedKey(texts::kKeyIStylePrefix, number));
        if (k == 0 || nextMenuLine.value_or("") != menuLine) ReadMenuStyle(style, nextMenuLine.value_or(""));
        if (k == 0 || nextItemsLine.value_or("") != itemsLine) ReadItemStyles(style, nextItemsLine.value_or(""));
        menuLine = nextMenuLine.value_or("");
        itemsLine = nextItemsLine.value_or("");
        const std::size_t count = plan.TakeItemCount(k);
        read.firstItem.push_back(read.items.size());
        std::unique_ptr<CVorane> menu;
        for (std::size_t j = 1; j <= count; ++j) {
            if (progress && j % kProgressStride == 0 && progress->Cancelled()) return false;
            key = NumberedKey(texts::kKeyItemPrefix, number);
            key.push_back('-');
            AppendNumber(key, static_cast<std::int64_t>(j));
            const auto line = table.Find(section, key);
            if (!line && !TakeLineless(linelessItemsLeft)) {
                read.items.push_back(nullptr);
                ++read.itemsLeftOut;
                continue;
            }
            if (!menu) {
                menu = std::make_unique<CVorane>(style);
                menu->m_items.reserve(count);
            }
            auto item = std::make_unique<CVoraneItem>();
            ReadItem(*item, line.value_or(""), prefixes);
            read.items.push_back(item.get());
            menu->AddItem(std::move(item), 0);
        }
        if (menu || (count == 0 && IsUntouchedEmptyMenu(style))) {
            read.Add(std::move(menu));
        } else if (nextMenuLine || nextItemsLine || TakeLineless(linelessMenusLeft)) {
            read.Add(std::make_unique<CVorane>(style));
        } else {
            read.LeaveOut();
        }
    }
    WarnAboutLinkOutcome(LinkMenus(applet, read, plan), warnings);
    if (progress) progress->SetDone(menuCount);
    return true;
}

std::string ItemKey(std::size_t menu, std::size_t position) {
    std::string key = NumberedKey(texts::kKeyItemPrefix, static_cast<int>(menu));
    key.push_back('-');
    AppendNumber(key, static_cast<std::int64_t>(position));
    return key;
}

bool HoldsMenuLines(const CKeyTable& table, const std::string& section, std::size_t k) {
    const int number = static_cast<int>(k);
    return table.Find(section, NumberedKey(texts::kKeyMStylePrefix, number)) ||
           table.Find(section, NumberedKey(texts::kKeyIStylePrefix, number)) || table.Find(section, ItemKey(k, 1));
}

// The item lines of each menu the file holds lines for, from menu 0 up to the first one
// without any: what a file cut anywhere still gives. Every count stands for lines found,
// so the work is bounded by the file's lines.
std::vector<std::size_t> ItemLinesPerMenu(const CKeyTable& table, const std::string& section) {
    std::vector<std::size_t> counts;
    for (std::size_t k = 0; k < kMaxModelObjects && HoldsMenuLines(table, section, k); ++k) {
        std::size_t items = 0;
        while (items < kMaxModelObjects && table.Find(section, ItemKey(k, items + 1))) ++items;
        counts.push_back(items);
    }
    return counts;
}

// Whether "Misc" reaches every menu and item line: it names every menu, relates each,
// and counts at least the item lines of each.
bool MiscReachesEveryLine(std::string_view miscValue, std::size_t textSize, const std::vector<std::size_t>& lines) {
    if (lines.empty()) return true;
    MenuPlan plan(miscValue, textSize);
    if (plan.MenuCount() < lines.size() || plan.Misc().size() < 1 + 2 * plan.MenuCount()) return false;
    for (std::size_t k = 0; k < lines.size(); ++k)
        if (plan.TakeItemCount(k) < lines[k]) return false;
    return true;
}

// Reads the current layout; a file whose "Misc" does not reach all its lines is read in
// the order the writer numbers its menus instead, and *damage says what it held.
bool ReadCurrentLayout(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                       const MediaPrefixes& prefixes, std::vector<std::string>* warnings,
                       TaskProgress* progress = nullptr, MenuFileDamage* damage = nullptr) {
    const std::string_view miscValue = GetKeyValue(section, texts::kKeyMisc, "", table);
    const std::vector<std::size_t> lines = ItemLinesPerMenu(table, section);
    if (MiscReachesEveryLine(miscValue, table.TextSize(), lines))
        return ReadLayoutWithMisc(applet, table, section, miscValue, prefixes, warnings, progress);
    if (damage) {
        damage->damaged = true;
        damage->items = 0;
        for (const std::size_t items : lines) damage->items += items;
    }
    return ReadLayoutWithMisc(applet, table, section, MiscInFileOrder(lines), prefixes, warnings, progress);
}

bool HasNotice(const CKeyTable& table, const std::string& section) {
    return !ExtractField(GetKeyValue(section, texts::kKeyNotice, "", table), 0, ',').empty();
}

}  // namespace

namespace {
bool FillFromTable(CAppletParameters& applet, const CKeyTable& table, const std::string& section, bool templateMode,
                   const std::string& appDir, std::vector<std::string>* warnings, TaskProgress* progress,
                   MenuFileDamage* damage = nullptr) {
    applet.Reset();
    if (!templateMode && !HasNotice(table, section)) {
        LoadLegacyLayout(applet, table);
        return true;
    }
    return ReadCurrentLayout(applet, table, section, PrefixesFor(templateMode, appDir), warnings, progress, damage);
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
                  std::vector<std::string>* warnings, TaskProgress* progress, MenuFileDamage* damage) {
    if (damage) *damage = MenuFileDamage{};
    // A document as this program writes it is read front to back; any other file is read
    // through the table of its lines, which gives the same model and says what is wrong.
    if (!templateMode) {
        switch (ReadMenuFileInOrder(applet, path, section, warnings, progress)) {
            case InOrderRead::Done:
                return true;
            case InOrderRead::Cancelled:
                if (error) *error = texts::kLoadCancelled;
                return false;
            case InOrderRead::NotInOrder:
                break;
        }
    }
    CKeyTable table;
    std::string reason;
    if (!ReadKeyTable(path, table, &reason, progress)) {
        if (table.Cancelled()) {
            if (error) *error = texts::kLoadCancelled;
            return false;
        }
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
    if (AsksForMoreThanAModelHolds(table, section)) {
        if (error) *error = FormatMessage(texts::kTooManyMenuObjects, path);
        if (templateMode) applet.Reset();
        return false;
    }
    if (!FillFromTable(applet, table, section, templateMode, appDir, warnings, progress, damage)) {
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
    if (AsksForMoreThanAModelHolds(table, section)) {
        if (error) *error = FormatMessage(texts::kTooManyMenuObjects, path);
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
