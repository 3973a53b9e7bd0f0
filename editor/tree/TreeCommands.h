// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class CKestruneDoc;
class QModelIndex;
namespace kestrune {
class CVorane;
}

// The structural commands of the menu tree, as model edits through the document's edit
// layer. They decide what to change from the selected node; the view keeps its nodes in
// step with the model by listening to the document.
namespace treecommands {

// Insert below the node: a top-level menu under the root, else a first item in the menu or
// sub menu the node stands for. Returns the new model object, null when nothing was inserted.
// styleSource, when given, styles the sub menu a plain item gets (else it is searched for).
const void* InsertBelow(CKestruneDoc& doc, const QModelIndex& node, const kestrune::CVorane* styleSource = nullptr);

// Insert after the node: a sibling right after an item, a top-level menu right after a
// top-level menu. Returns the new model object, null for other nodes.
const void* InsertAfter(CKestruneDoc& doc, const QModelIndex& node);

// The look of the node's menu (a top-level menu, or the menu holding an item, whose style
// the menu sheet edits) given to every sub menu below it, as one step.
bool ApplyStyleToSubMenus(CKestruneDoc& doc, const QModelIndex& node);

// The confirmation asked before deleting a node of this kind; empty for kinds that are not
// deleted after a question (the root, no kind).
QString DeleteQuestion(int kind);
// Removes the node's menu or item with everything below it.
bool RemoveNodeObject(CKestruneDoc& doc, const QModelIndex& node);

// Flips the visibility of the node's menu or item; false for the root and unknown nodes.
bool ToggleVisible(CKestruneDoc& doc, const QModelIndex& node);
// Whether the node's menu or item is visible (the check mark of "&Visible").
bool IsNodeVisible(const QModelIndex& node);

// Moves the node's item one place up (delta -1) or down (+1) in its menu; false at the ends.
bool MoveNodeItem(CKestruneDoc& doc, const QModelIndex& node, int delta);

}  // namespace treecommands
