// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/MenuLinks.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/LinkScheme.h"
#include "output/SiteLinks.h"

namespace kestrune {

void ForEachMenuItem(const CAppletParameters& applet,
                     const std::function<void(const CVoraneItem&, const std::vector<const CVoraneItem*>&)>& visit) {
    struct Open {
        const CVorane* menu;
        std::size_t next;
    };
    std::vector<Open> open;
    std::vector<const CVoraneItem*> openers;
    for (const auto& top : applet.m_menus) {
        open.push_back({top.get(), 0});
        while (!open.empty()) {
            Open& current = open.back();
            if (current.next == current.menu->m_items.size()) {
                open.pop_back();
                if (!openers.empty()) openers.pop_back();
                continue;
            }
            const CVoraneItem& item = *current.menu->m_items[current.next++];
            visit(item, openers);
            if (const CVorane* sub = item.m_subMenu.Existing()) {
                openers.push_back(&item);
                open.push_back({sub, 0});
            }
        }
    }
}

std::vector<std::string> PagesNamedBy(const std::string& sitePath) {
    const bool folder = sitePath.empty() || sitePath.back() == '/';
    if (folder) return {sitePath + "index.html", sitePath + "index.htm"};
    const std::size_t nameAt = sitePath.rfind('/') + 1;
    if (sitePath.find('.', nameAt) == std::string::npos)
        return {sitePath, sitePath + "/index.html", sitePath + "/index.htm"};
    return {sitePath};
}

MenuLinkIndex::MenuLinkIndex(const CAppletParameters& applet) {
    ForEachMenuItem(applet, [this](const CVoraneItem& item, const std::vector<const CVoraneItem*>& openers) {
        if (IsScriptLink(item.m_link)) return;
        const std::optional<std::string> target = SitePathOfLink(item.m_link);
        if (!target) return;
        for (const std::string& page : PagesNamedBy(*target)) {
            Marks& marks = m_pages[page];
            marks.current.insert(&item);
            marks.path.insert(openers.begin(), openers.end());
        }
    });
}

const MenuLinkIndex::Marks* MenuLinkIndex::For(const std::string& page) const {
    const auto found = m_pages.find(page);
    return found == m_pages.end() ? nullptr : &found->second;
}

}  // namespace kestrune
