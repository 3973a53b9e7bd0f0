// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/TreeTransfer.h"

#include <QBrush>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <algorithm>
#include <QGuiApplication>
#include <QPalette>
#include <QTreeView>
#include "tree/MenuTreeModel.h"

#include "app/KestruneDoc.h"
#include "clipboard/ItemClipboard.h"
#include "model/VoraneItem.h"
#include "tree/TreePane.h"
#include "tree/TreeNodes.h"
#include "app/UndoTexts.h"

using kestrune::CVorane;
using kestrune::CVoraneItem;

namespace {
bool IsItemNode(const QModelIndex& node) {
    return node.isValid() && treenodes::IsItemKind(treenodes::GetNodeKind(node));
}
}  // namespace

CTreeTransfer::CTreeTransfer(ITreePane& pane) : m_pane(pane) {}

CKestruneDoc& CTreeTransfer::Doc() const { return m_pane.GetDocument(); }

bool CTreeTransfer::IsDescendant(const QModelIndex& ancestor, const QModelIndex& node) {
    return treenodes::IsDescendant(ancestor, node);
}

bool CTreeTransfer::CanDrop(const QModelIndex& source, const QModelIndex& target, bool copy) {
    if (!source.isValid() || !target.isValid()) return false;
    if (target == source && !copy) return false;
    if (treenodes::GetNodeKind(target) == treenodes::kKindRoot) return false;
    if (copy) return true;
    return !IsDescendant(source, target);
}

// --- Clipboard --------------------------------------------------------------------------

bool CTreeTransfer::CanCutOrCopy() const {
    return IsItemNode(m_pane.SelectedNode());
}

bool CTreeTransfer::CanPaste() const {
    const QModelIndex selected = m_pane.SelectedNode();
    if (!selected.isValid() || treenodes::GetNodeKind(selected) == treenodes::kKindRoot) return false;
    return CItemClipboard(QGuiApplication::clipboard()).HoldsItem();
}

bool CTreeTransfer::Copy() {
    if (!CanCutOrCopy()) return false;
    const CVoraneItem* item = treenodes::ItemOfNode(m_pane.SelectedNode());
    return item && CItemClipboard(QGuiApplication::clipboard()).PutItem(*item);
}

bool CTreeTransfer::Cut() {
    const QPersistentModelIndex selected = m_pane.SelectedNode();
    if (!Copy()) return false;
    m_pane.SelectNode(selected.parent());
    return RemoveNode(selected, undotexts::kCutItem);
}

bool CTreeTransfer::Paste() {
    if (!CanPaste()) return false;
    std::unique_ptr<CVoraneItem> item = CItemClipboard(QGuiApplication::clipboard()).TakeItem();
    return item && InsertCopyAt(m_pane.SelectedNode(), *item).isValid();
}

QModelIndex CTreeTransfer::InsertCopyAt(const QModelIndex& target, const CVoraneItem& item, const QString& text) {
    CVoraneItem* copy = nullptr;
    switch (treenodes::GetNodeKind(target)) {
        case treenodes::kKindMenu:
            copy = Doc().InsertCopy(treenodes::MenuOfNode(target), item, nullptr, text);
            break;
        case treenodes::kKindSubMenuItem:
            copy = Doc().InsertCopy(treenodes::ItemOfNode(target)->m_subMenu.get(), item, nullptr, text,
                                    treenodes::ItemOfNode(target));
            break;
        case treenodes::kKindPlainItem:
            copy = Doc().InsertCopy(treenodes::ItemOfNode(target)->m_subMenu.get(), item,
                                    m_pane.FindSubMenuStyle(target), text, treenodes::ItemOfNode(target));
            break;
        default:
            return {};
    }
    const QModelIndex node = m_pane.NodeOfItem(copy);
    if (!node.isValid()) return {};
    m_pane.SelectNode(node);
    return node;
}

bool CTreeTransfer::RemoveNode(const QModelIndex& node, const QString& text) {
    if (!IsItemNode(node)) return false;
    return Doc().RemoveItem(treenodes::ContainerOfNode(node), treenodes::ItemOfNode(node), text);
}

// --- Drag and drop ----------------------------------------------------------------------

bool CTreeTransfer::BeginDrag(const QModelIndex& node) {
    if (!IsItemNode(node)) return false;
    m_dragItem = node;
    m_dragObject = treenodes::ItemOfNode(node);
    return true;
}

void CTreeTransfer::SetDropHighlight(const QModelIndex& node) { m_pane.TreeModel().SetHighlighted(node); }

QModelIndex CTreeTransfer::DropHighlight() const { return m_pane.TreeModel().Highlighted(); }

bool CTreeTransfer::CanDropBetween(const QModelIndex& source, const QModelIndex& node, Place place, bool copy) {
    if (!source.isValid() || !IsItemNode(node) || place == Place::Onto) return false;
    const QModelIndex parent = node.parent();
    if (copy) return true;
    if (parent == source || IsDescendant(source, parent)) return false;
    // Right beside itself a move would change nothing.
    if (parent == source.parent()) {
        // Places in the menu, not rows: a filtered tree shows only some of its items.
        const CVorane* container = treenodes::ContainerOfNode(node);
        const int from = container->IndexOf(treenodes::ItemOfNode(source));
        const int to = container->IndexOf(treenodes::ItemOfNode(node)) + (place == Place::Below ? 1 : 0);
        if (to == from || to == from + 1) return false;
    }
    return true;
}

Qt::DropAction CTreeTransfer::DragOver(const QModelIndex& node, bool ctrl, Place place) {
    if (place != Place::Onto) {
        if (!CanDropBetween(m_dragItem, node, place, ctrl)) return Qt::IgnoreAction;
        SetDropHighlight({});
        return ctrl ? Qt::CopyAction : Qt::MoveAction;
    }
    if (!CanDrop(m_dragItem, node, ctrl)) return Qt::IgnoreAction;
    SetDropHighlight(node);
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

void CTreeTransfer::DragLeave() { SetDropHighlight({}); }

Qt::DropAction CTreeTransfer::Drop(const QModelIndex& node, bool ctrl, Place place) {
    SetDropHighlight({});
    const QModelIndex source = m_dragItem;
    if (place != Place::Onto) return DropBetween(source, node, ctrl, place);
    if (!CanDrop(source, node, ctrl)) return Qt::IgnoreAction;
    const CVoraneItem* item = treenodes::ItemOfNode(source);
    if (!item) return Qt::IgnoreAction;
    // A move is the copy placed here and the original removed when the drag ends: one step.
    if (!ctrl) {
        Doc().BeginStep(undotexts::kMoveItem);
        m_dragStepOpen = true;
    }
    if (!InsertCopyAt(node, *item, ctrl ? undotexts::kCopyItem : undotexts::kMoveItem).isValid()) {
        EndStepIfOpen();
        return Qt::IgnoreAction;
    }
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

Qt::DropAction CTreeTransfer::DropBetween(const QModelIndex& source, const QModelIndex& node, bool ctrl, Place place) {
    if (!CanDropBetween(source, node, place, ctrl)) return Qt::IgnoreAction;
    const CVoraneItem* item = treenodes::ItemOfNode(source);
    CVorane* container = treenodes::ContainerOfNode(node);
    if (!item || !container) return Qt::IgnoreAction;
    const int index = container->IndexOf(treenodes::ItemOfNode(node)) + (place == Place::Below ? 1 : 0);
    if (!ctrl) {
        Doc().BeginStep(undotexts::kMoveItem);
        m_dragStepOpen = true;
    }
    CVoraneItem* copy = Doc().InsertCopyAt(container, index, *item, ctrl ? undotexts::kCopyItem : undotexts::kMoveItem);
    if (!copy) {
        EndStepIfOpen();
        return Qt::IgnoreAction;
    }
    m_pane.SelectNode(m_pane.NodeOfItem(copy));
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

void CTreeTransfer::EndStepIfOpen() {
    if (!m_dragStepOpen) return;
    m_dragStepOpen = false;
    Doc().EndStep();
}

void CTreeTransfer::EndDrag(Qt::DropAction result) {
    SetDropHighlight({});
    if (result == Qt::MoveAction) {
        const QModelIndex source = m_dragItem.isValid() ? QModelIndex(m_dragItem) : m_pane.NodeOfItem(m_dragObject);
        if (source.isValid()) RemoveNode(source, undotexts::kMoveItem);
    }
    EndStepIfOpen();
    m_dragItem = QPersistentModelIndex();
    m_dragObject = nullptr;
}

// --- The view's drag events -------------------------------------------------------------

namespace {
bool CtrlHeld(const QDropEvent* event) { return event->modifiers() & Qt::ControlModifier; }

void Answer(QDropEvent* event, Qt::DropAction action) {
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}
}  // namespace

// Only a drag this view started, carrying the private format, may land here.
bool CTreeTransfer::IsOwnDrag(const QDropEvent* event) const {
    return m_dragItem.isValid() && event->source() == &m_pane.Widget() && CItemClipboard::IsDragData(event->mimeData());
}

void CTreeTransfer::StartDrag() {
    const QModelIndex node = m_pane.Widget().currentIndex();
    if (!BeginDrag(node)) return;
    m_pane.Widget().setDropIndicatorShown(false);  // the drop target is shown by its highlight
    auto* drag = new QDrag(&m_pane.Widget());      // deleted by Qt when the drag ends
    drag->setMimeData(CItemClipboard::DragData().release());
    drag->setPixmap(node.data(Qt::DecorationRole).value<QIcon>().pixmap(m_pane.Widget().iconSize()));
    const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    EndDrag(result);
}

CTreeTransfer::Place CTreeTransfer::DropPlaceAt(const QPoint& point, const QModelIndex& node) const {
    // The outer quarters of an item's row mean "between items"; the middle means "onto it".
    if (!IsItemNode(node)) return Place::Onto;
    const QRect row = m_pane.Widget().visualRect(node);
    const int edge = std::max(2, row.height() / 4);
    if (point.y() < row.top() + edge) return Place::Above;
    if (point.y() > row.bottom() - edge) return Place::Below;
    return Place::Onto;
}

void CTreeTransfer::SetInsertionLine(const QModelIndex& node, Place place) {
    QLine line;
    if (node.isValid() && place != Place::Onto) {
        const QRect row = m_pane.Widget().visualRect(node);
        const int y = place == Place::Above ? row.top() : row.bottom() + 1;
        line = QLine(row.left(), y, m_pane.Widget().viewport()->width() - 2, y);
    }
    if (line == m_insertionLine) return;
    m_insertionLine = line;
    m_pane.Widget().viewport()->update();
}

// The node under the drop point of an own drag; null (and the event ignored) otherwise.
bool CTreeTransfer::DropSpotOf(QDropEvent* event, QModelIndex& node, Place& place) {
    if (!IsOwnDrag(event)) {
        event->ignore();
        return false;
    }
    const QPoint point = event->position().toPoint();
    node = m_pane.Widget().indexAt(point);
    place = DropPlaceAt(point, node);
    return true;
}

void CTreeTransfer::HandleDragMove(QDragMoveEvent* event) {
    QModelIndex node;
    Place place = Place::Onto;
    if (!DropSpotOf(event, node, place)) return;
    Qt::DropAction action = DragOver(node, CtrlHeld(event), place);
    // Between items refused (beside itself): onto the item may still do.
    if (action == Qt::IgnoreAction && place != Place::Onto) {
        place = Place::Onto;
        action = DragOver(node, CtrlHeld(event), place);
    }
    SetInsertionLine(action == Qt::IgnoreAction ? QModelIndex() : node, place);
    Answer(event, action);
}

void CTreeTransfer::HandleDragLeave() {
    SetInsertionLine({}, Place::Onto);
    DragLeave();
}

void CTreeTransfer::HandleDrop(QDropEvent* event) {
    SetInsertionLine({}, Place::Onto);
    QModelIndex node;
    Place place = Place::Onto;
    if (!DropSpotOf(event, node, place)) return;
    if (place != Place::Onto && !CanDropBetween(m_dragItem, node, place, CtrlHeld(event))) place = Place::Onto;
    Answer(event, Drop(node, CtrlHeld(event), place));
}

void CTreeTransfer::PaintInsertionLine(QPainter& painter) const {
    if (m_insertionLine.isNull()) return;
    painter.setPen(QPen(m_pane.Widget().palette().color(QPalette::Highlight), 2));
    painter.drawLine(m_insertionLine);
    painter.setBrush(m_pane.Widget().palette().color(QPalette::Highlight));
    painter.drawEllipse(m_insertionLine.p1(), 3, 3);
}
