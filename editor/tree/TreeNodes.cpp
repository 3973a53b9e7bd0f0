// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeNodes.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "model/SubMenuStyle.h"
#include "tree/MenuTreeModel.h"

using namespace kestrune;

namespace treenodes {

int GetNodePicture(const QModelIndex& node) {
    if (!node.isValid()) return -1;
    bool ok = false;
    const int picture = node.data(CMenuTreeModel::PictureRole).toInt(&ok);
    return ok ? picture : -1;
}

int GetNodeKind(const QModelIndex& node) {
    if (!node.isValid()) return kKindRoot;
    return KindOfPicture(GetNodePicture(node));
}

int GetNodeDepth(const QModelIndex& node) {
    int depth = 0;
    for (QModelIndex up = node.parent(); up.isValid(); up = up.parent()) ++depth;
    return depth;
}

const void* ObjectOfNode(const QModelIndex& node) { return CMenuTreeModel::ObjectOf(node); }
QString TextOfNode(const QModelIndex& node) { return node.data(Qt::DisplayRole).toString(); }
int ChildCountOfNode(const QModelIndex& node) { return node.isValid() ? node.model()->rowCount(node) : 0; }

QModelIndex ChildOfNode(const QModelIndex& node, int row) {
    return node.isValid() ? node.model()->index(row, 0, node) : QModelIndex();
}

CAppletParameters* AppletOfNode(const QModelIndex& node) { return CMenuTreeModel::AppletOf(node); }
CVorane* MenuOfNode(const QModelIndex& node) { return CMenuTreeModel::MenuOf(node); }
CVoraneItem* ItemOfNode(const QModelIndex& node) { return CMenuTreeModel::ItemOf(node); }

CVorane* ContainerOfNode(const QModelIndex& node) {
    if (!ItemOfNode(node)) return nullptr;
    return CMenuTreeModel::ChildMenuOf(node.parent());
}

bool IsDescendant(const QModelIndex& ancestor, const QModelIndex& node) {
    if (!ancestor.isValid() || !node.isValid()) return false;
    for (QModelIndex up = node.parent(); up.isValid(); up = up.parent())
        if (up == ancestor) return true;
    return false;
}

CVorane* FindSubMenuStyle(const CAppletParameters& applet, const QModelIndex& node) {
    // A node's depth counts the root, so a top-level menu's items stand at depth 2 and
    // their sub menus at menu depth 1.
    return SubMenuStyleSource(applet, GetNodeDepth(node) - 1, ItemOfNode(node));
}

}  // namespace treenodes
