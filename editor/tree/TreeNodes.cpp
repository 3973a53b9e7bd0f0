#include "tree/TreeNodes.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTreeWidgetItem>
#include <array>

#include "properties/IconResources.h"
#include "app/TextConvert.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "model/SubMenuStyle.h"

using namespace kestrune;

namespace treenodes {
namespace {
constexpr int kObjectRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kSubMenuRole = Qt::UserRole + 2;

quintptr Key(const void* object) { return reinterpret_cast<quintptr>(object); }
}  // namespace

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
    const bool hasSubItems = item.m_subMenu && item.m_subMenu->CountItems(1) > 0;
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

QTreeWidgetItem* MakeNode(int picture, const QString& text, const void* object, const CVorane* ownedSubMenu) {
    auto* node = new QTreeWidgetItem;  // owned by the tree once inserted
    node->setText(0, text);
    node->setData(0, kObjectRole, QVariant::fromValue(Key(object)));
    SetNodePicture(node, picture);
    // The applet's title and item labels can be renamed in place; top-level menus have no name to edit.
    if (picture == kPictureRoot || IsItemKind(KindOfPicture(picture))) node->setFlags(node->flags() | Qt::ItemIsEditable);
    if (ownedSubMenu) node->setData(0, kSubMenuRole, QVariant::fromValue(Key(ownedSubMenu)));
    return node;
}

bool IsHiddenPicture(int picture) { return picture > kPictureRoot && picture < kPictureCount && picture % 2 == 0; }

void ApplyNodeLook(QTreeWidgetItem* node) {
    if (!node) return;
    // A hidden menu or item shows its text greyed, besides the cross in its picture.
    if (IsHiddenPicture(GetNodePicture(node)))
        node->setForeground(0, QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text));
    else
        node->setData(0, Qt::ForegroundRole, QVariant());
}

int GetNodePicture(const QTreeWidgetItem* node) {
    if (!node) return -1;
    bool ok = false;
    const int picture = node->data(0, kPictureRole).toInt(&ok);
    return ok ? picture : -1;
}

void SetNodePicture(QTreeWidgetItem* node, int picture) {
    if (!node) return;
    node->setData(0, kPictureRole, picture);
    node->setIcon(0, IconOfPicture(picture));
    ApplyNodeLook(node);
}

int GetNodeKind(const QTreeWidgetItem* node) {
    if (!node) return kKindRoot;
    return KindOfPicture(GetNodePicture(node));
}

int GetNodeDepth(const QTreeWidgetItem* node) {
    int depth = 0;
    for (const QTreeWidgetItem* up = node ? node->parent() : nullptr; up; up = up->parent()) ++depth;
    return depth;
}

const void* ObjectOfNode(const QTreeWidgetItem* node) {
    if (!node) return nullptr;
    return reinterpret_cast<const void*>(node->data(0, kObjectRole).value<quintptr>());
}

const CVorane* SubMenuKeyOfNode(const QTreeWidgetItem* node) {
    if (!node) return nullptr;
    return reinterpret_cast<const CVorane*>(node->data(0, kSubMenuRole).value<quintptr>());
}

// The node data is written only by MakeNode with the object matching the picture, so the
// kind test makes these casts safe.
CAppletParameters* AppletOfNode(const QTreeWidgetItem* node) {
    if (!node || GetNodeKind(node) != kKindRoot) return nullptr;
    return const_cast<CAppletParameters*>(static_cast<const CAppletParameters*>(ObjectOfNode(node)));
}

CVorane* MenuOfNode(const QTreeWidgetItem* node) {
    if (GetNodeKind(node) != kKindMenu) return nullptr;
    return const_cast<CVorane*>(static_cast<const CVorane*>(ObjectOfNode(node)));
}

CVoraneItem* ItemOfNode(const QTreeWidgetItem* node) {
    if (!node || !IsItemKind(GetNodeKind(node))) return nullptr;
    return const_cast<CVoraneItem*>(static_cast<const CVoraneItem*>(ObjectOfNode(node)));
}

CVorane* ContainerOfNode(const QTreeWidgetItem* node) {
    if (!ItemOfNode(node)) return nullptr;
    const QTreeWidgetItem* parent = node->parent();
    if (CVorane* menu = MenuOfNode(parent)) return menu;
    if (CVoraneItem* owner = ItemOfNode(parent)) return owner->m_subMenu.get();
    return nullptr;
}

bool IsDescendant(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* node) {
    if (!ancestor || !node) return false;
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        if (up == ancestor) return true;
    return false;
}

CVorane* FindSubMenuStyle(const CAppletParameters& applet, const QTreeWidgetItem* node) {
    // A node's depth counts the root, so a top-level menu's items stand at depth 2 and
    // their sub menus at menu depth 1.
    return SubMenuStyleSource(applet, GetNodeDepth(node) - 1, ItemOfNode(node));
}

}  // namespace treenodes
