// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/FilledLevels.h"

#include <utility>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

using namespace kestrune;

bool CFilledLevels::NoneAt(const CAppletParameters& applet, int level) {
    if (!m_counts) {
        m_counts.emplace();
        for (const auto& menu : applet.m_menus) Count(menu.get(), 0, 1);
    }
    return level < 0 || static_cast<std::size_t>(level) >= m_counts->size() ||
           (*m_counts)[static_cast<std::size_t>(level)] <= 0;
}

void CFilledLevels::ItemPlaced(const CVoraneItem& item, int level, std::size_t itemsInMenu, int delta) {
    if (!m_counts || level < 0) return;
    // The menu holds items from its first one on, until its last one leaves.
    if (itemsInMenu == 1) {
        if (m_counts->size() <= static_cast<std::size_t>(level)) m_counts->resize(static_cast<std::size_t>(level) + 1);
        (*m_counts)[static_cast<std::size_t>(level)] += delta;
    }
    Count(item.m_subMenu.Existing(), level + 1, delta);
}

void CFilledLevels::TopMenuPlaced(const CVorane& menu, int delta) {
    if (m_counts) Count(&menu, 0, delta);
}

void CFilledLevels::Count(const CVorane* menu, int level, int delta) {
    std::vector<std::pair<const CVorane*, int>> pending{{menu, level}};
    while (!pending.empty()) {
        const auto [current, at] = pending.back();
        pending.pop_back();
        if (!current || current->m_items.empty()) continue;
        if (m_counts->size() <= static_cast<std::size_t>(at)) m_counts->resize(static_cast<std::size_t>(at) + 1);
        (*m_counts)[static_cast<std::size_t>(at)] += delta;
        for (const auto& item : current->m_items) pending.emplace_back(item->m_subMenu.Existing(), at + 1);
    }
}
