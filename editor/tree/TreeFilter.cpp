// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeFilter.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using kestrune::CVorane;
using kestrune::CVoraneItem;

void WalkMenuItems(const CVorane& menu, const std::function<void(const CVoraneItem&)>& visit,
                   const std::function<void(const CVoraneItem&)>& done) {
    struct Frame {
        const CVorane* menu;
        std::size_t next;
        const CVoraneItem* owner;
    };
    std::vector<Frame> frames{{&menu, 0, nullptr}};
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next == frame.menu->m_items.size()) {
            const CVoraneItem* owner = frame.owner;
            frames.pop_back();
            if (owner) done(*owner);
            continue;
        }
        const CVoraneItem* item = frame.menu->m_items[frame.next++].get();
        visit(*item);
        if (item->m_subMenu.HasItems()) frames.push_back({item->m_subMenu.Existing(), 0, item});
        else done(*item);
    }
}

CTreeFilter CTreeFilter::Build(const kestrune::CAppletParameters& applet, const Match& match) {
    CTreeFilter filter;
    filter.m_children.reserve(applet.m_menus.size() * 16);
    std::vector<const void*> shownMenus;
    // Per open level: the shown children found so far.
    std::vector<std::vector<const void*>> levels;
    for (const auto& menu : applet.m_menus) {
        levels.assign(1, {});
        WalkMenuItems(
            *menu,
            [&](const CVoraneItem&) {
                levels.emplace_back();
                ++filter.m_items;
            },
            [&](const CVoraneItem& item) {
                std::vector<const void*> children = std::move(levels.back());
                levels.pop_back();
                const bool matched = match(item);
                filter.m_found += matched ? 1 : 0;
                if (!matched && children.empty()) return;
                if (!children.empty()) filter.m_children.emplace(&item, std::move(children));
                levels.back().push_back(&item);
                ++filter.m_shown;
            });
        if (levels.back().empty()) continue;
        filter.m_children.emplace(menu.get(), std::move(levels.back()));
        shownMenus.push_back(menu.get());
    }
    filter.m_children.emplace(&applet, std::move(shownMenus));
    return filter;
}

CTreeFilter CTreeFilter::Narrow(const CTreeFilter& wider, const kestrune::CAppletParameters& applet,
                                const Match& match) {
    CTreeFilter filter;
    filter.m_items = wider.m_items;
    filter.m_children.reserve(wider.m_children.size());
    std::vector<const void*> shownMenus;
    for (const void* menu : wider.ChildrenOf(&applet))
        if (filter.NarrowBelow(wider, menu, match)) shownMenus.push_back(menu);
    filter.m_children.emplace(&applet, std::move(shownMenus));
    return filter;
}

// Whether anything below node is still shown; its shown children are kept. The depth is
// the menu tree's, which the readers bound.
bool CTreeFilter::NarrowBelow(const CTreeFilter& wider, const void* node, const Match& match) {
    std::vector<const void*> children;
    for (const void* child : wider.ChildrenOf(node)) {
        const auto& item = *static_cast<const CVoraneItem*>(child);
        const bool matched = match(item);
        m_found += matched ? 1 : 0;
        if (NarrowBelow(wider, child, match) || matched) children.push_back(child);
    }
    m_shown += children.size();
    if (children.empty()) return false;
    m_children.emplace(node, std::move(children));
    return true;
}

const std::vector<const void*>& CTreeFilter::ChildrenOf(const void* node) const {
    static const std::vector<const void*> kNone;
    const auto found = m_children.find(node);
    return found == m_children.end() ? kNone : found->second;
}
