// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/MediaFileSearch.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/ParameterRecords.h"
#include "output/ReceivedMedia.h"

// The received applet's bookkeeping: which received object every model menu and item
// became, and the reads and patches that keep the two in line. ReceivedApplet drives it.
namespace kestrune::received {


struct MenuLink;

// A model item and what the applet receives of it.
struct ItemLink {
    const CVoraneItem* model = nullptr;
    MenuLink* container = nullptr;
    MenuLink* sub = nullptr;  // its sub menu, when the model has made one
    CVoraneItem* received = nullptr;
    std::array<ReceivedMedia::Id, kMediaFieldCount> media{};
};

// A model menu, its items in the model's order, and the menu the applet receives.
struct MenuLink {
    const CVorane* model = nullptr;
    ItemLink* owner = nullptr;  // null: a top-level menu
    std::vector<ItemLink*> items;
    CVorane* received = nullptr;
};

struct ReceivedState {
    std::unique_ptr<CAppletParameters> applet;
    std::unordered_map<const CVorane*, MenuLink> menus;
    std::unordered_map<const CVoraneItem*, ItemLink> items;
    std::vector<MenuLink*> top;
    ReceivedMedia media;
    std::string documentFolder;
    std::vector<std::string> appletWarnings;
    std::array<ReceivedMedia::Id, 2> appletMedia{};  // background image and sound
    std::vector<std::string> appletLookups;          // of a split "ApStyle"; counted in splitLookups
    // Received items whose value splits at a comma in its texts, with the names their
    // media fields asked for (which may be anyone's), and those names counted.
    std::unordered_map<const CVoraneItem*, std::vector<std::string>> splitItems;
    std::unordered_map<std::string, int> splitLookups;
};

// An edit the links cannot follow locally: the whole model is read again.
struct NeedsWholeRead {};
inline void Require(bool condition) {
    if (!condition) throw NeedsWholeRead{};
}

// The work on one state: registering model objects, reading received ones through the
// page's own encoder and reader functions.
class ReceivedBuilder {
public:
    ReceivedBuilder(ReceivedState& state, int maxDepth)
        : m_s(state), m_search(state.documentFolder), m_maxDepth(maxDepth) {}

    // ---- the model side
    MenuLink& AddMenuLink(const CVorane& menu, ItemLink* owner);
    ItemLink& AddItemLink(MenuLink& container, const CVoraneItem& item);
    // The items below root, in the order the media names of a page are collected.
    void RegisterBelow(MenuLink& root);
    void InsertItemLink(MenuLink& container, const CVoraneItem& item, std::size_t position);
    // Forgets the item and everything below it; the link is gone afterwards.
    void Unregister(ItemLink& root);
    void UnregisterMenu(MenuLink& menu);
    // Room for the links of a model of this many menus and items.
    void Reserve(std::size_t menus, std::size_t items);
    // The applet's background media, counted anew.
    void UseAppletMedia(const CAppletParameters& model);
    void UseMedia(ItemLink& link);
    void RefreshMedia(ItemLink& link);

    // ---- the received side
    // The applet's own fields as received (no menus).
    std::unique_ptr<CAppletParameters> ReadApplet(const CAppletParameters& model);
    void PatchAppletFields(const CAppletParameters& model);
    // The menu with its visible items and the emitted menus below them; number counts
    // the menus in page order on a whole read (it names them in error texts).
    std::unique_ptr<CVorane> ReadMenu(MenuLink& menu, int depth, int* number);
    void ReadStyles(const CVorane& model, const std::string& suffix, CVorane& target);
    std::unique_ptr<CVoraneItem> ReadNewItem(ItemLink& link, const std::string& position);
    void PatchItem(ItemLink& link);
    void PatchMenuStyle(MenuLink& menu);
    // Brings what the applet receives of one menu in line with the model: whether it is
    // received at all, and which of its items are, reading only those it did not have.
    void Resync(MenuLink& menu);
    void ResyncItems(MenuLink& menu);
    // The top-level menus received, in the model's order.
    void ResyncTopLevel();
    // Forgets every received object at and below the menu (their owner destroys them).
    void DropReceived(MenuLink& root);

    // Nesting level (top-level menus 0) and the top-level menu it hangs from.
    static int DepthOf(const MenuLink& menu);
    static const MenuLink& TopOf(const MenuLink& menu);

private:
    std::unique_ptr<CVoraneItem> ReadItemOf(const CVoraneItem& model, const std::string& position, bool& split);
    void AddSplit(const CVoraneItem* received);
    void ForgetSplit(const CVoraneItem* received);
    void DropItem(ItemLink& item);
    void Attach(MenuLink& menu, std::unique_ptr<CVorane> received);
    void Detach(MenuLink& menu);

    ReceivedState& m_s;
    MediaFileSearch m_search;
    int m_maxDepth;
    std::vector<std::string> m_lookups;  // the media names the last read asked for
    // What each stored path found in this builder's run: a model names few files many times.
    std::unordered_map<std::string, ReceivedMedia::Id> m_found;
    const MediaNameResolver m_resolve = [this](const std::string& name) {
        m_lookups.push_back(name);
        return m_s.media.Resolve(name);
    };
    const paramfields::WarningSink m_ignore = [](std::string) {};
};

}  // namespace kestrune::received
