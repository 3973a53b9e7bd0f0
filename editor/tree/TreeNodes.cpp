// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeNodes.h"

#include <array>

#include "properties/IconResources.h"
#include "app/TextConvert.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "model/SubMenuStyle.h"
#include "tree/MenuTreeModel.h"

using namespace kestrune;

namespace treenodes {
int KindOfPicture(int picture) {
    switch (picture) {
        case 0: return kKindRoot;
        case 1:
        case 2: return kKindMenu;
        case 3:
        case 4: return kKindSubMenuItem;
        case 5:
        case 6: return kKindPlainItem;
        default: return kKindNone;
    }
}

bool IsItemKind(int kind) { return kind == kKindSubMenuItem || kind == kKindPlainItem; }

int WithVisibility(int picture, bool visible) {
    if (picture <= kPictureRoot || picture >= kPictureCount) return picture;
    const int shown = picture - ((picture - 1) % 2);
    return visible ? shown : shown + 1;
}

int PictureOfMenu(const CVorane& menu) { return WithVisibility(kPictureMenu, menu.m_visible != 0); }

int PictureOfItem(const CVoraneItem& item) {
    const bool hasSubItems = item.m_subMenu.HasItems();
    return WithVisibility(hasSubItems ? kPictureSubMenuItem : kPicturePlainItem, item.m_visible != 0);
}

const QIcon& IconOfPicture(int picture) {
    static const std::array<QIcon, kPictureCount> icons = [] {
        EnsureIconResources();
        std::array<QIcon, kPictureCount> loaded;
        for (int i = 0; i < kPictureCount; ++i)
            loaded[static_cast<std::size_t>(i)] = QIcon(QStringLiteral(":/icons/node%1.png").arg(i));
        return loaded;
    }();
    static const QIcon none;
    if (picture < 0 || picture >= kPictureCount) return none;
    return icons[static_cast<std::size_t>(picture)];
}

QString TextOfApplet(const CAppletParameters& applet) { return convert::LabelToWidget(applet.m_HTMLTitle); }
QString TextOfMenu(const CVorane& menu) { return convert::LabelToWidget(menu.m_name); }
QString TextOfItem(const CVoraneItem& item) { return convert::LabelToWidget(item.m_label); }

bool IsHiddenPicture(int picture) { return picture > kPictureRoot && picture < kPictureCount && picture % 2 == 0; }

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
