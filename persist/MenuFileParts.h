// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;
class CKeyTable;

// The pieces both menu-file readers share: how one line's value fills the model, how many
// menus and items "Misc" lets a file make, and how the read menus are linked.

struct MediaPrefixes {
    std::string image;  // empty outside template mode
    std::string audio;
    // The shipped sample folders when the user's own differ: a file missing from the
    // user's folder and present there is named there.
    std::string fallbackImage;
    std::string fallbackAudio;

    void Image(std::string& value) const { Apply(value, image, fallbackImage); }
    void Audio(std::string& value) const { Apply(value, audio, fallbackAudio); }

private:
    static void Apply(std::string& value, const std::string& prefix, const std::string& fallback);
};

MediaPrefixes PrefixesFor(bool templateMode, const std::string& appDir, const std::string& shippedDir = {});

// Field i of a comma-separated value, or empty when the value has fewer fields; what lies
// beyond the last wanted field is ignored.
template <std::size_t N>
std::array<std::string_view, N> SplitFixedFields(std::string_view value) {
    std::array<std::string_view, N> fields{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < N && start < value.size(); ++i) {
        const std::size_t next = value.find(',', start);
        if (next == std::string_view::npos) {
            fields[i] = value.substr(start);
            break;
        }
        fields[i] = value.substr(start, next - start);
        start = next + 1;
    }
    return fields;
}

// A line's key and value: the key is trimmed, the value is everything after the first "=".
void SplitEntry(std::string_view line, std::string_view& key, std::string_view& value);

void ReadAppletStyle(CAppletParameters& applet, std::string_view value, const MediaPrefixes& prefixes);
void ReadMenuStyle(CVorane& menu, std::string_view value);
void ReadItemStyles(CVorane& menu, std::string_view value);
void ReadItem(CVoraneItem& item, std::string_view value, const MediaPrefixes& prefixes);

// How many menus, and items per menu, a "Misc" value lets a file of textSize bytes make.
// Each menu has its item count and its relation in "Misc", so menus beyond its fields are
// damage. Menus and items together stay within what the file's size can describe (every
// honest menu and item has a line of its own), and "Misc" is split no further than those
// menus need, so the work and the memory are bounded by the file's size.
class MenuPlan {
public:
    static constexpr std::size_t kBytesPerMenu = 32;
    MenuPlan(std::string_view miscValue, std::size_t textSize);
    std::size_t MenuCount() const { return m_menuCount; }
    std::size_t ClaimedMenus() const { return m_claimedMenus; }
    // The items of menu k; asked once per menu, in order, as each takes from the budget.
    std::size_t TakeItemCount(std::size_t k);
    const std::vector<std::string_view>& Misc() const { return m_misc; }
    // Items that "Misc" asks for and the budget did not give.
    std::size_t RefusedItems() const { return m_refusedItems; }
    // The file's size would admit more menus and items than any model may hold, and
    // "Misc" asks for them: the file is refused rather than cut.
    bool OverCeiling() const { return m_overCeiling; }

private:
    std::size_t m_claimedMenus = 0;
    std::size_t m_menuCount = 0;
    std::size_t m_itemBudget = 0;
    std::size_t m_refusedItems = 0;
    bool m_overCeiling = false;
    std::vector<std::string_view> m_misc;
};

// Whether the section's "Misc" asks for more menus and items than any model may hold.
bool AsksForMoreThanAModelHolds(const CKeyTable& table, const std::string& section);

// The "Misc" value the writer gives menus holding these item counts, numbered as it numbers
// them: depth first, each item owning the next menu as its sub menu, each menu left when
// all its items have theirs becoming the next top-level menu's place. Items whose sub menu
// lies beyond the counts (a file cut short) get none.
std::string MiscInFileOrder(const std::vector<std::size_t>& itemCounts);

// Menus and items that "Misc" names but that have no line of their own in the file: a
// damaged or made-up file. The first few menus and the first few items are made, as the
// file asks; beyond them each would cost memory out of all proportion to the few bytes
// that name it, so they are left out (and said to be).
inline constexpr std::size_t kLinelessObjectAllowance = 256;

// The menus and items a "Misc" value describes, before they are linked. An empty menu of
// default style is not made: the item it belongs to makes one when it is first asked.
struct ReadMenus {
    std::vector<std::unique_ptr<CVorane>> menus;
    std::vector<CVorane*> menuAt;        // stays valid once a menu is handed on; nullptr when not made
    std::vector<CVoraneItem*> items;     // in the order their lines were read; nullptr when left out
    std::vector<std::size_t> firstItem;  // per menu: index of its first item in items
    std::vector<bool> leftOut;           // per menu, as far as any was left out
    std::size_t itemsLeftOut = 0;
    std::size_t menusLeftOut = 0;

    // Adds the next menu, whose items were added to items since firstItem.back().
    void Add(std::unique_ptr<CVorane> menu);
    // Adds the next menu as one left out: nothing links to it, not even as a top-level menu.
    void LeaveOut();
    bool IsLeftOut(std::size_t menu) const { return menu < leftOut.size() && leftOut[menu]; }
    // One past the index in items of the menu's last item.
    std::size_t ItemEnd(std::size_t menu) const {
        return menu + 1 < firstItem.size() ? firstItem[menu + 1] : items.size();
    }
};

// What linking left out.
struct LinkOutcome {
    std::size_t tooDeep = 0;       // sub menus too deep to be attached
    std::size_t droppedItems = 0;  // items of menus that nothing attached, or that the budget refused
    std::size_t droppedMenus = 0;  // menus without a line of their own beyond the allowance
};

// Links the read menus: every menu gets at most one owner (the first entry naming it),
// every item at most one sub menu, and only what hangs below a top-level menu is
// attached, so no menu is owned twice and no cycle is ever built.
LinkOutcome LinkMenus(CAppletParameters& applet, ReadMenus& read, const MenuPlan& plan);

// The warnings a read's outcome gives, added to *warnings when given.
void WarnAboutLinkOutcome(const LinkOutcome& outcome, std::vector<std::string>* warnings);

}  // namespace kestrune
