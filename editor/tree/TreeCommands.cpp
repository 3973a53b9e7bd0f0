// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeCommands.h"

#include "app/KestruneDoc.h"
#include "app/ShellTexts.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

namespace treecommands {

const void* InsertBelow(CKestruneDoc& doc, const QModelIndex& node, const CVorane* styleSource) {
    switch (GetNodeKind(node)) {
        case kKindRoot: return doc.InsertTopLevelMenu();
        case kKindMenu: return doc.InsertItem(MenuOfNode(node));
        case kKindSubMenuItem: return doc.InsertItem(ItemOfNode(node)->m_subMenu.get(), nullptr, ItemOfNode(node));
        case kKindPlainItem:
            return doc.InsertItem(ItemOfNode(node)->m_subMenu.get(),
                                  styleSource ? styleSource : FindSubMenuStyle(doc.Applet(), node), ItemOfNode(node));
        default: return nullptr;
    }
}

const void* InsertAfter(CKestruneDoc& doc, const QModelIndex& node) {
    if (CVorane* menu = MenuOfNode(node)) return doc.InsertTopLevelMenu(doc.Applet().IndexOfTopLevelMenu(menu) + 1);
    CVoraneItem* item = ItemOfNode(node);
    CVorane* container = ContainerOfNode(node);
    if (!item || !container) return nullptr;
    return doc.InsertItem(container, nullptr, ItemOfNode(node.parent()), container->IndexOf(item) + 1);
}

bool ApplyStyleToSubMenus(CKestruneDoc& doc, const QModelIndex& node) {
    CVorane* menu = IsItemKind(GetNodeKind(node)) ? ContainerOfNode(node) : MenuOfNode(node);
    return doc.ApplyStyleToSubMenus(menu);
}

QString DeleteQuestion(int kind) {
    switch (kind) {
        case kKindMenu: return shelltexts::kDeleteMenuQuestion;
        case kKindSubMenuItem: return shelltexts::kDeleteSubMenuItemQuestion;
        case kKindPlainItem: return shelltexts::kDeleteItemQuestion;
        default: return {};
    }
}

bool RemoveNodeObject(CKestruneDoc& doc, const QModelIndex& node) {
    if (CVorane* menu = MenuOfNode(node)) return doc.RemoveTopLevelMenu(menu);
    if (CVoraneItem* item = ItemOfNode(node)) return doc.RemoveItem(ContainerOfNode(node), item);
    return false;
}

bool ToggleVisible(CKestruneDoc& doc, const QModelIndex& node) {
    if (CVorane* menu = MenuOfNode(node)) return doc.SetVisible(menu, menu->m_visible == 0);
    if (CVoraneItem* item = ItemOfNode(node)) return doc.SetVisible(item, item->m_visible == 0);
    return false;
}

bool IsNodeVisible(const QModelIndex& node) {
    if (const CVorane* menu = MenuOfNode(node)) return menu->m_visible != 0;
    if (const CVoraneItem* item = ItemOfNode(node)) return item->m_visible != 0;
    return false;
}

bool MoveNodeItem(CKestruneDoc& doc, const QModelIndex& node, int delta) {
    CVoraneItem* item = ItemOfNode(node);
    if (!item) return false;
    return doc.MoveItem(ContainerOfNode(node), item, delta);
}

}  // namespace treecommands
