// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QModelIndex>
#include <QString>

#include "tree/NodePictures.h"

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// What a node of the menu tree is and what it points at: its index names the model object
// it shows, its picture (see NodePictures.h) says its kind.
namespace treenodes {

// Reading a node (an index of the menu tree model).
int GetNodePicture(const QModelIndex& node);
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
