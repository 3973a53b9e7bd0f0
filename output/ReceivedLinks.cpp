// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ReceivedLinks.h"

#include <algorithm>

#include "model/VoraneItem.h"
#include "output/AppletParameterEncoder.h"
#include "output/CharacterReferences.h"
#include "output/HtmlPageBuilder.h"
#include "output/OutputTexts.h"

namespace kestrune::received {

using namespace paramfields;

namespace {

// The texts read anew; the received item keeps its visibility.
void TakeItemFields(CVoraneItem& target, CVoraneItem&& source) {
    const std::int32_t visible = target.m_visible;
    target.Fields() = std::move(source.Fields());
    target.m_visible = visible;
}

// The style lines read anew; the received menu keeps its name.
void TakeMenuStyle(CVorane& target, const CVorane& source) {
    std::string name = std::move(target.m_name);
    target.CopyStyle(source);
    target.m_name = std::move(name);
}

}  // namespace

MenuLink& ReceivedBuilder::AddMenuLink(const CVorane& menu, ItemLink* owner) {
    MenuLink& link = m_s.menus[&menu];
    link = MenuLink{&menu, owner, {}, nullptr};
    if (owner) owner->sub = &link;
    return link;
}

ItemLink& ReceivedBuilder::AddItemLink(MenuLink& container, const CVoraneItem& item) {
    ItemLink& link = m_s.items[&item];
    link = ItemLink{&item, &container, nullptr, nullptr, {}};
    UseMedia(link);
    return link;
}

void ReceivedBuilder::RegisterBelow(MenuLink& root) {
    std::vector<MenuLink*> pending{&root};
    while (!pending.empty()) {
        MenuLink* menu = pending.back();
        pending.pop_back();
        for (const auto& item : menu->model->m_items) {
            ItemLink& link = AddItemLink(*menu, *item);
            menu->items.push_back(&link);
            if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(&AddMenuLink(*sub, &link));
        }
    }
}

void ReceivedBuilder::InsertItemLink(MenuLink& container, const CVoraneItem& item, std::size_t position) {
    Require(!m_s.items.count(&item));
    ItemLink& link = AddItemLink(container, item);
    container.items.insert(container.items.begin() + static_cast<std::ptrdiff_t>(position), &link);
    if (const CVorane* sub = item.m_subMenu.Existing()) RegisterBelow(AddMenuLink(*sub, &link));
}

void ReceivedBuilder::Unregister(ItemLink& root) {
    std::vector<ItemLink*> pending{&root};
    while (!pending.empty()) {
        ItemLink* link = pending.back();
        pending.pop_back();
        for (const ReceivedMedia::Id id : link->media) m_s.media.Release(id);
        if (link->received) ForgetSplit(link->received);
        if (link->sub) {
            pending.insert(pending.end(), link->sub->items.begin(), link->sub->items.end());
            m_s.menus.erase(link->sub->model);
        }
        m_s.items.erase(link->model);
    }
}

void ReceivedBuilder::UnregisterMenu(MenuLink& menu) {
    for (ItemLink* item : menu.items) Unregister(*item);
    m_s.menus.erase(menu.model);
}

void ReceivedBuilder::UseAppletMedia(const CAppletParameters& model) {
    const auto before = m_s.appletMedia;
    m_s.appletMedia = {m_s.media.Use(model.m_appBKImagePath, m_search),
                       m_s.media.Use(model.m_appBKAudioPath, m_search)};
    for (const ReceivedMedia::Id id : before) m_s.media.Release(id);
}

void ReceivedBuilder::UseMedia(ItemLink& link) {
    const auto paths = MediaFieldsOf(*link.model);
    for (std::size_t i = 0; i < kMediaFieldCount; ++i) {
        const std::string& path = *paths[i];
        if (path.empty()) {
            link.media[i] = ReceivedMedia::kNone;
            continue;
        }
        const auto [known, added] = m_found.try_emplace(path, ReceivedMedia::kNone);
        if (added)
            known->second = m_s.media.Use(path, m_search);
        else
            m_s.media.UseAgain(known->second);
        link.media[i] = known->second;
    }
}

void ReceivedBuilder::Reserve(std::size_t menus, std::size_t items) {
    m_s.menus.reserve(menus);
    m_s.items.reserve(items);
}

void ReceivedBuilder::RefreshMedia(ItemLink& link) {
    const auto before = link.media;
    UseMedia(link);
    for (const ReceivedMedia::Id id : before) m_s.media.Release(id);
}

std::unique_ptr<CAppletParameters> ReceivedBuilder::ReadApplet(const CAppletParameters& model) {
    auto applet = std::make_unique<CAppletParameters>();
    applet->m_HTMLTitle = DecodeCharacterReferences(EscapeTitleText(model.m_HTMLTitle), ReferencePlace::Text);
    if (const auto align = ParagraphAlignIndex(ParagraphAlignWord(model.m_Align))) applet->m_Align = *align;
    applet->m_appWidth = model.m_appWidth;
    applet->m_appHeight = model.m_appHeight;
    m_lookups.clear();
    std::vector<std::string> warnings;
    const Parameter style{texts::kParamAppletStyle, ValueAsReceived(AppletStyleValue(model, m_search))};
    ReadAppletStyle(style, *applet, m_resolve, [&](std::string text) { warnings.push_back(std::move(text)); });
    for (const std::string& name : m_s.appletLookups)
        if (--m_s.splitLookups[name] <= 0) m_s.splitLookups.erase(name);
    m_s.appletLookups.clear();
    // A split style reads other fields as media names.
    if (!warnings.empty()) m_s.appletLookups = m_lookups;
    for (const std::string& name : m_s.appletLookups) ++m_s.splitLookups[name];
    m_s.appletWarnings = std::move(warnings);
    return applet;
}

void ReceivedBuilder::PatchAppletFields(const CAppletParameters& model) {
    const auto fresh = ReadApplet(model);
    m_s.applet->Fields() = fresh->Fields();
}

std::unique_ptr<CVorane> ReceivedBuilder::ReadMenu(MenuLink& menu, int depth, int* number) {
    if (depth > m_maxDepth)
        throw ReadError("The menus are nested more than " + std::to_string(m_maxDepth) + " levels deep.");
    const std::string suffix = number ? std::to_string((*number)++) : std::string();
    auto received = std::make_unique<CVorane>();
    ReadStyles(*menu.model, suffix, *received);
    menu.received = received.get();
    int visibleIndex = 0;
    for (ItemLink* item : menu.items)
        if (item->model->m_visible)
            received->AddItem(ReadNewItem(*item, suffix + "-" + std::to_string(visibleIndex++)), 0);
    for (ItemLink* item : menu.items)
        if (item->received && item->sub && AppletParameterEncoder::IsEmitted(item->sub->model))
            item->received->SetSubMenu(ReadMenu(*item->sub, depth + 1, number));
    return received;
}

void ReceivedBuilder::ReadStyles(const CVorane& model, const std::string& suffix, CVorane& target) {
    ReadMenuStyle({texts::kParamMenuStylePrefix + suffix, ValueAsReceived(MenuStyleValue(model))}, target, m_ignore);
    ReadItemStyles({texts::kParamItemStylePrefix + suffix, ValueAsReceived(ItemStylesValue(model))}, target,
                   m_ignore);
}

std::unique_ptr<CVoraneItem> ReceivedBuilder::ReadNewItem(ItemLink& link, const std::string& position) {
    bool split = false;
    auto item = ReadItemOf(*link.model, position, split);
    link.received = item.get();
    if (split) AddSplit(item.get());
    return item;
}

void ReceivedBuilder::PatchItem(ItemLink& link) {
    if (!link.received) return;
    bool split = false;
    auto fresh = ReadItemOf(*link.model, {}, split);
    ForgetSplit(link.received);
    if (split) AddSplit(link.received);
    TakeItemFields(*link.received, std::move(*fresh));
}

void ReceivedBuilder::PatchMenuStyle(MenuLink& menu) {
    if (!menu.received) return;
    CVorane fresh;
    ReadStyles(*menu.model, {}, fresh);
    TakeMenuStyle(*menu.received, fresh);
}

void ReceivedBuilder::Resync(MenuLink& menu) {
    if (menu.owner && !menu.owner->received) return;
    if (!AppletParameterEncoder::IsEmitted(menu.model)) {
        if (menu.received) Detach(menu);
        return;
    }
    if (!menu.received) return Attach(menu, ReadMenu(menu, DepthOf(menu), nullptr));
    ResyncItems(menu);
}

void ReceivedBuilder::ResyncItems(MenuLink& menu) {
    for (ItemLink* item : menu.items)
        if (!item->model->m_visible && item->received) DropItem(*item);
    CVorane& received = *menu.received;
    std::unordered_map<const CVoraneItem*, std::unique_ptr<CVoraneItem>> before;
    before.reserve(received.m_items.size());
    for (auto& item : received.m_items) before.emplace(item.get(), std::move(item));
    received.m_items.clear();
    const int depth = DepthOf(menu);
    for (ItemLink* item : menu.items) {
        if (!item->model->m_visible) continue;
        if (item->received) {
            const auto kept = before.find(item->received);
            received.m_items.push_back(std::move(kept->second));
            before.erase(kept);
            continue;
        }
        received.m_items.push_back(ReadNewItem(*item, {}));
        if (item->sub && AppletParameterEncoder::IsEmitted(item->sub->model))
            item->received->SetSubMenu(ReadMenu(*item->sub, depth + 1, nullptr));
    }
}

void ReceivedBuilder::ResyncTopLevel() {
    auto& menus = m_s.applet->m_menus;
    std::unordered_map<const CVorane*, std::unique_ptr<CVorane>> before;
    for (auto& menu : menus) before.emplace(menu.get(), std::move(menu));
    menus.clear();
    for (MenuLink* link : m_s.top) {
        if (!link->received) continue;
        const auto kept = before.find(link->received);
        Require(kept != before.end());
        menus.push_back(std::move(kept->second));
    }
}

void ReceivedBuilder::DropReceived(MenuLink& root) {
    std::vector<MenuLink*> pending{&root};
    while (!pending.empty()) {
        MenuLink* menu = pending.back();
        pending.pop_back();
        if (!menu->received) continue;
        menu->received = nullptr;
        for (ItemLink* item : menu->items) {
            if (!item->received) continue;
            ForgetSplit(item->received);
            item->received = nullptr;
            if (item->sub) pending.push_back(item->sub);
        }
    }
}

int ReceivedBuilder::DepthOf(const MenuLink& menu) {
    int depth = 0;
    for (const MenuLink* at = &menu; at->owner; at = at->owner->container) ++depth;
    return depth;
}

const MenuLink& ReceivedBuilder::TopOf(const MenuLink& menu) {
    const MenuLink* at = &menu;
    while (at->owner) at = at->owner->container;
    return *at;
}

std::unique_ptr<CVoraneItem> ReceivedBuilder::ReadItemOf(const CVoraneItem& model, const std::string& position,
                                                         bool& split) {
    m_lookups.clear();
    const Parameter parameter{texts::kParamItemPrefix + position, ValueAsReceived(ItemValue(model, m_search))};
    return ReadItem(parameter, m_resolve, [&](std::string) { split = true; });
}

void ReceivedBuilder::AddSplit(const CVoraneItem* received) {
    for (const std::string& name : m_lookups) ++m_s.splitLookups[name];
    m_s.splitItems[received] = m_lookups;
}

void ReceivedBuilder::ForgetSplit(const CVoraneItem* received) {
    const auto found = m_s.splitItems.find(received);
    if (found == m_s.splitItems.end()) return;
    for (const std::string& name : found->second)
        if (--m_s.splitLookups[name] <= 0) m_s.splitLookups.erase(name);
    m_s.splitItems.erase(found);
}

void ReceivedBuilder::DropItem(ItemLink& item) {
    ForgetSplit(item.received);
    item.received = nullptr;
    if (item.sub) DropReceived(*item.sub);
}

void ReceivedBuilder::Attach(MenuLink& menu, std::unique_ptr<CVorane> received) {
    if (menu.owner) return menu.owner->received->SetSubMenu(std::move(received));
    received->m_name = kTopLevelMenuName;
    std::size_t position = 0;
    for (const MenuLink* link : m_s.top) {
        if (link == &menu) break;
        if (link->received) ++position;
    }
    auto& menus = m_s.applet->m_menus;
    menus.insert(menus.begin() + static_cast<std::ptrdiff_t>(std::min(position, menus.size())),
                 std::move(received));
}

void ReceivedBuilder::Detach(MenuLink& menu) {
    const CVorane* received = menu.received;
    DropReceived(menu);
    if (menu.owner) return menu.owner->received->m_subMenu.Replace(nullptr);
    auto& menus = m_s.applet->m_menus;
    menus.erase(std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.get() == received; }));
}

}  // namespace kestrune::received
