// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLine>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>
#include <Qt>

class CKestruneDoc;
class ITreePane;
class QDragMoveEvent;
class QDropEvent;
class QPainter;
namespace kestrune {
class CVoraneItem;
}

// Cut, Copy, Paste and drag and drop of whole items in the menu tree. Every change of
// the model goes through the document; the view's nodes follow its announcements, so
// tree and model stay in step. The view owns one of these for its life and forwards its
// clipboard commands and drag events here; the state of a drag lives here too.
class CTreeTransfer {
public:
    // Where a drop lands: into the node's menu (onto it), or between items, above or below it.
    enum class Place { Onto, Above, Below };

    explicit CTreeTransfer(ITreePane& pane);

    // Drop rules. A node is not its own descendant.
    static bool IsDescendant(const QModelIndex& ancestor, const QModelIndex& node);
    static bool CanDrop(const QModelIndex& source, const QModelIndex& target, bool copy);

    // Command enabling.
    bool CanCutOrCopy() const;
    bool CanPaste() const;

    bool Copy();
    bool Cut();
    // False, with the model and the tree untouched, when the clipboard has no valid record.
    bool Paste();

    // Places a deep copy of item first in the menu the target node stands for; a plain
    // item target gets a sub menu (styled like its level) for it. The target is expanded
    // and the copy's node selected and returned; null when the target takes no items.
    // text names the undoable step (empty: "Paste Item").
    QModelIndex InsertCopyAt(const QModelIndex& target, const kestrune::CVoraneItem& item,
                                  const QString& text = {});
    // Removes the item node with everything below it from the model and the tree.
    bool RemoveNode(const QModelIndex& node, const QString& text = {});

    // The view's drag events. StartDrag runs the drag to its end (a nested event loop).
    void StartDrag();
    void HandleDragMove(QDragMoveEvent* event);
    void HandleDragLeave();
    void HandleDrop(QDropEvent* event);
    void PaintInsertionLine(QPainter& painter) const;

    // The node being dragged, the node shown as drop target, the line between items. A
    // node that leaves the tree is forgotten by the drag.
    QModelIndex DragItem() const { return m_dragItem; }
    QModelIndex DropHighlight() const;
    QLine InsertionLine() const { return m_insertionLine; }

    // Drag and drop steps; the dragged node is DragItem() for the whole drag.
    bool BeginDrag(const QModelIndex& node);
    // The action to answer while over node (the drop highlight follows an accepted node
    // and stays where it was on a refusal): copy with Ctrl, else move; IgnoreAction when refused.
    Qt::DropAction DragOver(const QModelIndex& node, bool ctrl, Place place = Place::Onto);
    void DragLeave();
    Qt::DropAction Drop(const QModelIndex& node, bool ctrl, Place place = Place::Onto);
    // Whether the dragged node may land above or below the item node.
    static bool CanDropBetween(const QModelIndex& source, const QModelIndex& node, Place place, bool copy);
    // After the drag: a move removes the dragged node, since the drop placed a copy.
    void EndDrag(Qt::DropAction result);

    void SetDropHighlight(const QModelIndex& node);

private:
    CKestruneDoc& Doc() const;
    void EndStepIfOpen();
    Qt::DropAction DropBetween(const QModelIndex& source, const QModelIndex& node, bool ctrl, Place place);
    bool IsOwnDrag(const QDropEvent* event) const;
    bool DropSpotOf(QDropEvent* event, QModelIndex& node, Place& place);
    Place DropPlaceAt(const QPoint& point, const QModelIndex& node) const;
    void SetInsertionLine(const QModelIndex& node, Place place);

    ITreePane& m_pane;
    QPersistentModelIndex m_dragItem;
    // The dragged item itself: a filtered tree shown afresh by the drop forgets its node.
    const kestrune::CVoraneItem* m_dragObject = nullptr;
    bool m_dragStepOpen = false;  // a drag-move's undoable step is open until the drag ends
    QLine m_insertionLine;
};
