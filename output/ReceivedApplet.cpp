// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ReceivedApplet.h"

#include <algorithm>
#include <new>

#include "model/VoraneItem.h"
#include "output/AppletParameterEncoder.h"
#include "output/OutputTexts.h"
#include "output/ParameterRecords.h"
#include "output/ReceivedLinks.h"

namespace kestrune {

using namespace paramfields;
using namespace received;

namespace {

template <typename T>
void MoveWithin(std::vector<T>& list, std::size_t from, std::size_t to) {
    if (from < to)
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(from),
                    list.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                    list.begin() + static_cast<std::ptrdiff_t>(to) + 1);
    else if (to < from)
        std::rotate(list.begin() + static_cast<std::ptrdiff_t>(to), list.begin() + static_cast<std::ptrdiff_t>(from),
                    list.begin() + static_cast<std::ptrdiff_t>(from) + 1);
}

// The menus and items of a model, so the links are placed without growing their tables.
std::pair<std::size_t, std::size_t> CountMenusAndItems(const CAppletParameters& model) {
    std::size_t menus = 0, items = 0;
    std::vector<const CVorane*> pending;
    for (const auto& menu : model.m_menus) pending.push_back(menu.get());
    while (!pending.empty()) {
        const CVorane* menu = pending.back();
        pending.pop_back();
        ++menus;
        items += menu->m_items.size();
        for (const auto& item : menu->m_items)
            if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(sub);
    }
    return {menus, items};
}

}  // namespace

ReceivedApplet::ReceivedApplet(int maxDepth) : m_maxDepth(maxDepth) {}
ReceivedApplet::~ReceivedApplet() = default;

const CAppletParameters* ReceivedApplet::Applet() const { return m_state ? m_state->applet.get() : nullptr; }

ReceivedApplet::Update ReceivedApplet::Rebuild(const CAppletParameters& model) {
    auto state = std::make_unique<ReceivedState>();
    state->documentFolder = model.m_documentFolder;
    try {
        ReceivedBuilder builder(*state, m_maxDepth);
        // The media names first, all of them, in the order a page collects them.
        builder.UseAppletMedia(model);
        const auto [menus, items] = CountMenusAndItems(model);
        builder.Reserve(menus, items);
        for (const auto& menu : model.m_menus) {
            MenuLink& link = builder.AddMenuLink(*menu, nullptr);
            state->top.push_back(&link);
            builder.RegisterBelow(link);
        }
        state->applet = builder.ReadApplet(model);
        int number = 0;
        for (MenuLink* link : state->top)
            if (AppletParameterEncoder::IsEmitted(link->model))
                state->applet->AddTopLevelMenu(builder.ReadMenu(*link, 0, &number), 0);
    } catch (const ReadError& error) {
        m_error = error.what();
        m_inStep = false;
        return {};
    } catch (const std::bad_alloc&) {
        m_error = kTooLargeText;
        m_inStep = false;
        return {};
    }
    m_state = std::move(state);
    m_inStep = true;
    m_error.clear();
    Update update;
    update.outcome = Outcome::Rebuilt;
    for (const auto& menu : m_state->applet->m_menus) update.changedTopMenus.push_back(menu.get());
    return update;
}

ReceivedApplet::Update ReceivedApplet::Apply(const CAppletParameters& model, const ModelChange& change) {
    const bool anything = change.structureToo || (change.kind == ModelChange::PropertiesChanged && !change.menu &&
                                                  !change.item && !change.appletOnly);
    if (!m_inStep || change.kind == ModelChange::Reset || anything ||
        model.m_documentFolder != m_state->documentFolder)
        return Rebuild(model);
    try {
        return Patch(model, change);
    } catch (const NeedsWholeRead&) {
    } catch (const ReadError&) {
    } catch (const std::bad_alloc&) {
    }
    return Rebuild(model);
}

ReceivedApplet::Update ReceivedApplet::Patch(const CAppletParameters& model, const ModelChange& edit) {
    ReceivedState& s = *m_state;
    ReceivedBuilder builder(s, m_maxDepth);
    const auto menuLink = [&](const CVorane* menu) -> MenuLink* {
        const auto found = s.menus.find(menu);
        return found == s.menus.end() ? nullptr : &found->second;
    };
    const auto itemLink = [&](const CVoraneItem* item) -> ItemLink* {
        const auto found = s.items.find(item);
        return found == s.items.end() ? nullptr : &found->second;
    };
    const auto positionIn = [](const auto& list, const auto* element) {
        const auto found = std::find(list.begin(), list.end(), element);
        Require(found != list.end());
        return static_cast<std::size_t>(found - list.begin());
    };
    // The links must mirror the model where the edit happened.
    const auto requireMirrored = [&](const MenuLink* menu) {
        if (!menu) {
            Require(s.top.size() == model.m_menus.size());
            for (std::size_t i = 0; i < s.top.size(); ++i) Require(s.top[i]->model == model.m_menus[i].get());
            return;
        }
        Require(menu->items.size() == menu->model->m_items.size());
        for (std::size_t i = 0; i < menu->items.size(); ++i)
            Require(menu->items[i]->model == menu->model->m_items[i].get());
    };
    const auto mediaStayLocal = [&] { Require(s.media.EndEdit(s.splitLookups)); };

    Update update;
    update.outcome = Outcome::Patched;
    std::vector<const MenuLink*> touched;
    s.media.BeginEdit();
    switch (edit.kind) {
    case ModelChange::MenuInserted: {
        Require(edit.menu && !menuLink(edit.menu));
        MenuLink& menu = builder.AddMenuLink(*edit.menu, nullptr);
        s.top.insert(s.top.begin() + std::clamp<std::ptrdiff_t>(edit.index, 0, std::ssize(s.top)), &menu);
        builder.RegisterBelow(menu);
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.Resync(menu);
        touched.push_back(&menu);
        break;
    }
    case ModelChange::MenuRemoved: {
        MenuLink* menu = menuLink(edit.menu);
        Require(menu && !menu->owner);
        if (menu->received) builder.DropReceived(*menu);
        s.top.erase(s.top.begin() + static_cast<std::ptrdiff_t>(positionIn(s.top, menu)));
        builder.UnregisterMenu(*menu);
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.ResyncTopLevel();
        break;
    }
    case ModelChange::MenuMoved: {
        // The order of the media names decides which file a shared name leads to.
        Require(!s.media.HasNameWithTwoFiles());
        MenuLink* menu = menuLink(edit.menu);
        Require(menu && !menu->owner && edit.index >= 0 && edit.index < std::ssize(s.top));
        MoveWithin(s.top, positionIn(s.top, menu), static_cast<std::size_t>(edit.index));
        requireMirrored(nullptr);
        mediaStayLocal();
        builder.ResyncTopLevel();
        break;
    }
    case ModelChange::ItemInserted: {
        Require(edit.menu && edit.item);
        MenuLink* container = menuLink(edit.menu);
        if (!container) {
            // A sub menu made since the last whole read: it holds just this item.
            ItemLink* owner = edit.owner ? itemLink(edit.owner) : nullptr;
            Require(owner && !owner->sub && edit.owner->m_subMenu.Existing() == edit.menu);
            container = &builder.AddMenuLink(*edit.menu, owner);
            builder.RegisterBelow(*container);
        } else {
            const std::size_t position = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
                edit.index, 0, std::ssize(container->items)));
            builder.InsertItemLink(*container, *edit.item, position);
        }
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case ModelChange::ItemRemoved: {
        MenuLink* container = menuLink(edit.menu);
        ItemLink* item = itemLink(edit.item);
        Require(container && item && item->container == container);
        container->items.erase(container->items.begin() +
                               static_cast<std::ptrdiff_t>(positionIn(container->items, item)));
        builder.Unregister(*item);
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case ModelChange::ItemMoved: {
        Require(!s.media.HasNameWithTwoFiles());
        MenuLink* container = menuLink(edit.menu);
        ItemLink* item = itemLink(edit.item);
        Require(container && item && item->container == container && edit.index >= 0 &&
                edit.index < std::ssize(container->items));
        MoveWithin(container->items, positionIn(container->items, item), static_cast<std::size_t>(edit.index));
        requireMirrored(container);
        mediaStayLocal();
        builder.Resync(*container);
        touched.push_back(container);
        break;
    }
    case ModelChange::VisibilityChanged: {
        mediaStayLocal();
        MenuLink* menu = edit.item ? nullptr : menuLink(edit.menu);
        if (edit.item) {
            ItemLink* item = itemLink(edit.item);
            Require(item != nullptr);
            menu = item->container;
        }
        Require(menu != nullptr);
        builder.Resync(*menu);
        touched.push_back(menu);
        break;
    }
    case ModelChange::PropertiesChanged: {
        if (edit.appletOnly) {
            builder.UseAppletMedia(model);
            mediaStayLocal();
            builder.PatchAppletFields(model);
            update.appletFieldsChanged = true;
            break;
        }
        ItemLink* item = edit.item ? itemLink(edit.item) : nullptr;
        Require(item || !edit.item);
        MenuLink* menu = edit.menu ? menuLink(edit.menu) : nullptr;
        // A menu made since the last whole read and still empty is not received.
        Require(menu || !edit.menu || edit.menu->m_items.empty());
        if (item) builder.RefreshMedia(*item);
        if (menu && !item)
            for (ItemLink* each : menu->items) builder.RefreshMedia(*each);
        mediaStayLocal();
        if (item) {
            builder.PatchItem(*item);
            MenuLink& container = *item->container;
            // A visible field written here may make the item, and with it its menu, come or go.
            const bool itemComesOrGoes = (item->model->m_visible && container.received) != (item->received != nullptr);
            const bool menuComesOrGoes =
                AppletParameterEncoder::IsEmitted(container.model) != (container.received != nullptr);
            if (itemComesOrGoes || menuComesOrGoes) builder.Resync(container);
            touched.push_back(&container);
        }
        if (menu) {
            builder.PatchMenuStyle(*menu);
            if (!item)
                for (ItemLink* each : menu->items) builder.PatchItem(*each);
            if (AppletParameterEncoder::IsEmitted(menu->model) != (menu->received != nullptr)) builder.Resync(*menu);
            touched.push_back(menu);
        }
        break;
    }
    case ModelChange::Reset:
        throw NeedsWholeRead{};
    }
    for (const MenuLink* menu : touched) {
        const CVorane* top = ReceivedBuilder::TopOf(*menu).received;
        auto& changed = update.changedTopMenus;
        if (top && std::find(changed.begin(), changed.end(), top) == changed.end()) changed.push_back(top);
    }
    return update;
}

const CVorane* ReceivedApplet::ReceivedMenu(const CVorane* model) const {
    if (!m_state) return nullptr;
    const auto found = m_state->menus.find(model);
    return found == m_state->menus.end() ? nullptr : found->second.received;
}

const CVoraneItem* ReceivedApplet::ReceivedItem(const CVoraneItem* model) const {
    if (!m_state) return nullptr;
    const auto found = m_state->items.find(model);
    return found == m_state->items.end() ? nullptr : found->second.received;
}

std::size_t ReceivedApplet::WarningCount() const {
    if (!m_state) return 0;
    const std::size_t total = m_state->appletWarnings.size() + m_state->splitItems.size();
    return total > kMaxReadWarnings ? kMaxReadWarnings + 1 : total;
}

std::vector<std::string> ReceivedApplet::Warnings() const {
    if (!m_state) return {};
    std::vector<std::string> warnings;
    std::size_t dropped = 0;
    const auto warn = [&](std::string text) {
        if (warnings.size() < kMaxReadWarnings)
            warnings.push_back(std::move(text));
        else
            ++dropped;
    };
    for (const std::string& text : m_state->appletWarnings) warn(text);
    if (!m_state->splitItems.empty()) {
        // Menus are numbered in page order: each menu, then the menus below its items.
        int number = 0;
        std::vector<const CVorane*> pending;
        for (auto it = m_state->applet->m_menus.rbegin(); it != m_state->applet->m_menus.rend(); ++it)
            pending.push_back(it->get());
        while (!pending.empty()) {
            const CVorane* menu = pending.back();
            pending.pop_back();
            const std::string prefix = texts::kParamItemPrefix + std::to_string(number++) + "-";
            for (std::size_t j = 0; j < menu->m_items.size(); ++j)
                if (m_state->splitItems.count(menu->m_items[j].get()))
                    warn(ItemSplitWarning(prefix + std::to_string(j)));
            for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
                if (const CVorane* sub = (*it)->m_subMenu.Existing()) pending.push_back(sub);
        }
    }
    if (dropped > 0) warnings.push_back(MoreWarningsText(dropped));
    return warnings;
}

}  // namespace kestrune
