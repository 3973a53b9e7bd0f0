// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QModelIndex>
#include <QString>

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// What a node of the menu tree is and what it points at. The node's picture says its kind
// and whether its element is visible; its index names the model object it shows.
namespace treenodes {

enum Picture {
    kPictureRoot = 0,
    kPictureMenu = 1,        // top-level menu, visible; hidden is +1
    kPictureSubMenuItem = 3, // item whose sub menu holds items; hidden is +1
    kPicturePlainItem = 5,   // item without sub menu items; hidden is +1
    kPictureCount = 7,
};

enum Kind { kKindNone = -1, kKindRoot = 0, kKindMenu = 1, kKindSubMenuItem = 3, kKindPlainItem = 5 };

// The kind a picture stands for; a number outside the seven pictures is no kind.
int KindOfPicture(int picture);
bool IsItemKind(int kind);

int PictureOfMenu(const kestrune::CVorane& menu);
int PictureOfItem(const kestrune::CVoraneItem& item);
// The same picture with the visible/hidden half chosen by `visible`.
int WithVisibility(int picture, bool visible);

const QIcon& IconOfPicture(int picture);

QString TextOfApplet(const kestrune::CAppletParameters& applet);
QString TextOfMenu(const kestrune::CVorane& menu);
QString TextOfItem(const kestrune::CVoraneItem& item);

// Reading a node (an index of the menu tree model).
int GetNodePicture(const QModelIndex& node);
// Whether the picture is the hidden half of a pair (a cross on it).
bool IsHiddenPicture(int picture);
// Without a node (no selection) the kind is the root's, as the tree control reports it.
int GetNodeKind(const QModelIndex& node);
int GetNodeDepth(const QModelIndex& node);
const void* ObjectOfNode(const QModelIndex& node);
QString TextOfNode(const QModelIndex& node);
int ChildCountOfNode(const QModelIndex& node);
QModelIndex ChildOfNode(const QModelIndex& node, int row);

kestrune::CAppletParameters* AppletOfNode(const QModelIndex& node);
kestrune::CVorane* MenuOfNode(const QModelIndex& node);
kestrune::CVoraneItem* ItemOfNode(const QModelIndex& node);
// The model menu that holds an item node's item: a top-level menu or a parent item's sub menu.
kestrune::CVorane* ContainerOfNode(const QModelIndex& node);

// Whether `node` lies below `ancestor` (a node is not below itself).
bool IsDescendant(const QModelIndex& ancestor, const QModelIndex& node);

// The style a plain item's new sub menu takes (kestrune::SubMenuStyleSource for the node's place).
kestrune::CVorane* FindSubMenuStyle(const kestrune::CAppletParameters& applet, const QModelIndex& node);

}  // namespace treenodes
