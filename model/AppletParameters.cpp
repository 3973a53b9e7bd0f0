// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AppletParameters.h"

#include <utility>

#include "model/Archive.h"
#include "model/VoraneItem.h"

namespace kestrune {

CAppletParameters::CAppletParameters() = default;
CAppletParameters::~CAppletParameters() = default;

int CAppletParameters::Reset() {
    m_menus.clear();
    Fields() = AppletFields{};
    m_documentFolder.clear();
    return 1;
}

CVorane* CAppletParameters::NewTopLevelMenu() {
    auto menu = std::make_unique<CVorane>(0, kTopLevelMenuName);
    if (const CVorane* model = MenuAtDepth(0)) menu->CopyStyle(*model);
    const Rect bounds = TopLevelBounds();
    if (menu->IsHorizontal()) {
        menu->m_xPos = 0;
        menu->m_yPos = bounds.bottom;
    } else {
        menu->m_xPos = bounds.right;
        menu->m_yPos = 0;
    }
    m_menus.insert(m_menus.begin(), std::move(menu));
    return m_menus.front().get();
}

int CAppletParameters::AddTopLevelMenu(std::unique_ptr<CVorane> menu, int front) {
    if (!menu) return 0;
    menu->m_name = kTopLevelMenuName;
    if (front)
        m_menus.insert(m_menus.begin(), std::move(menu));
    else
        m_menus.push_back(std::move(menu));
    return 1;
}

int CAppletParameters::IndexOfTopLevelMenu(const CVorane* menu) const {
    for (std::size_t i = 0; i < m_menus.size(); ++i)
        if (m_menus[i].get() == menu) return static_cast<int>(i);
    return -1;
}

int CAppletParameters::RemoveTopLevelMenu(const CVorane* menu) {
    const int index = IndexOfTopLevelMenu(menu);
    if (index < 0) return 0;
    m_menus.erase(m_menus.begin() + index);
    return 1;
}

CVorane* CAppletParameters::FindParentMenu(CVorane* root, const CVoraneItem* item) {
    if (!root || !item) return nullptr;
    // Depth-first, items first to last; an explicit stack keeps deep trees off the call stack.
    std::vector<CVorane*> pending{root};
    while (!pending.empty()) {
        CVorane* menu = pending.back();
        pending.pop_back();
        if (!menu) continue;
        for (const auto& child : menu->m_items)
            if (child.get() == item) return menu;
        for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
            pending.push_back((*it)->m_subMenu.Existing());
    }
    return nullptr;
}

CVorane* CAppletParameters::FindParentMenu(const CVoraneItem* item) const {
    for (const auto& menu : m_menus)
        if (CVorane* found = FindParentMenu(menu.get(), item)) return found;
    return nullptr;
}

namespace {
CVorane* MenuAtDepthFrom(CVorane* menu, int level, int depth) {
    if (!menu || menu->m_items.empty()) return nullptr;
    if (level == depth) return menu;
    for (const auto& item : menu->m_items)
        if (CVorane* found = MenuAtDepthFrom(item->m_subMenu.Existing(), level + 1, depth)) return found;
    return nullptr;
}

template <typename Apply>
void ForEachItem(CVorane* menu, int recursive, const Apply& apply) {
    if (!menu) return;
    std::vector<CVorane*> pending{menu};
    while (!pending.empty()) {
        CVorane* current = pending.back();
        pending.pop_back();
        if (!current) continue;
        for (const auto& item : current->m_items) {
            apply(*item);
            if (recursive) pending.push_back(item->m_subMenu.Existing());
        }
    }
}
}  // namespace

CVorane* CAppletParameters::MenuAtDepth(int depth) const {
    if (depth < 0) return nullptr;
    for (const auto& menu : m_menus)
        if (CVorane* found = MenuAtDepthFrom(menu.get(), 0, depth)) return found;
    return nullptr;
}

void CAppletParameters::SetItemImages(const std::string& normal, const std::string& over,
                                      const std::string& click, CVorane* menu, int recursive) {
    ForEachItem(menu, recursive, [&](CVoraneItem& item) {
        const auto media = MediaFieldsOf(item);
        *media[kNormalImage] = normal;
        *media[kOverImage] = over;
        *media[kClickImage] = click;
    });
}

void CAppletParameters::SetItemAudio(const std::string& over, const std::string& click, CVorane* menu,
                                     int recursive) {
    ForEachItem(menu, recursive, [&](CVoraneItem& item) {
        const auto media = MediaFieldsOf(item);
        *media[kOverAudio] = over;
        *media[kClickAudio] = click;
    });
}

Rect CAppletParameters::TopLevelBounds() const {
    Rect bounds;
    for (const auto& menu : m_menus) bounds = UnionRect(bounds, menu->MenuRect(0, 0));
    return bounds;
}

void CAppletParameters::Serialize(CArchive&) {}

}  // namespace kestrune
