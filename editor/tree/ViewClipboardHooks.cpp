// The tree's clipboard commands and drag and drop: the events only translate into
// CTreeTransfer calls, which keep the model and the nodes in step.
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <algorithm>

#include "clipboard/ItemClipboard.h"
#include "tree/TreeTransfer.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"

void CKestruneView::OnEditCut() { CTreeTransfer(*this).Cut(); }
void CKestruneView::OnEditCopy() { CTreeTransfer(*this).Copy(); }
void CKestruneView::OnEditPaste() { CTreeTransfer(*this).Paste(); }

bool CKestruneView::ClipboardHasItem() const { return CItemClipboard(QGuiApplication::clipboard()).HoldsItem(); }

namespace {
// Only a drag this view started, carrying the private format, may land here.
bool IsOwnDrag(const CKestruneView& view, const QDropEvent* event) {
    return view.m_hDragItem && event->source() == &view && CItemClipboard::IsDragData(event->mimeData());
}

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

void CKestruneView::OnBeginDrag(Qt::DropActions) {
    CTreeTransfer transfer(*this);
    QTreeWidgetItem* node = currentItem();
    if (!transfer.BeginDrag(node)) return;
    setDropIndicatorShown(false);  // the drop target is shown by its highlight
    auto* drag = new QDrag(this);  // deleted by Qt when the drag ends
    drag->setMimeData(CItemClipboard::DragData().release());
    drag->setPixmap(node->icon(0).pixmap(iconSize()));
    const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    transfer.EndDrag(result);
}

CTreeTransfer::Place CKestruneView::DropPlaceAt(const QPoint& point, QTreeWidgetItem* node) const {
    // The outer quarters of an item's row mean "between items"; the middle means "onto it".
    if (!node || !treenodes::IsItemKind(treenodes::GetNodeKind(node))) return CTreeTransfer::Place::Onto;
    const QRect row = visualItemRect(node);
    const int edge = std::max(2, row.height() / 4);
    if (point.y() < row.top() + edge) return CTreeTransfer::Place::Above;
    if (point.y() > row.bottom() - edge) return CTreeTransfer::Place::Below;
    return CTreeTransfer::Place::Onto;
}

void CKestruneView::SetInsertionLine(QTreeWidgetItem* node, CTreeTransfer::Place place) {
    QLine line;
    if (node && place != CTreeTransfer::Place::Onto) {
        const QRect row = visualItemRect(node);
        const int y = place == CTreeTransfer::Place::Above ? row.top() : row.bottom() + 1;
        line = QLine(row.left(), y, viewport()->width() - 2, y);
    }
    if (line == m_insertionLine) return;
    m_insertionLine = line;
    viewport()->update();
}

void CKestruneView::OnDragOver(QDragMoveEvent* event) {
    if (!IsOwnDrag(*this, event)) {
        event->ignore();
        return;
    }
    // The base class scrolls the tree near its edges; the answer is ours alone.
    if (event->type() == QEvent::DragMove) QTreeWidget::dragMoveEvent(event);
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(point);
    CTreeTransfer::Place place = DropPlaceAt(point, node);
    CTreeTransfer transfer(*this);
    Qt::DropAction action = transfer.DragOver(node, CtrlHeld(event), place);
    // Between items refused (beside itself): onto the item may still do.
    if (action == Qt::IgnoreAction && place != CTreeTransfer::Place::Onto) {
        place = CTreeTransfer::Place::Onto;
        action = transfer.DragOver(node, CtrlHeld(event), place);
    }
    SetInsertionLine(action == Qt::IgnoreAction ? nullptr : node, place);
    Answer(event, action);
}

void CKestruneView::OnDragLeave() {
    stopAutoScroll();
    SetInsertionLine(nullptr, CTreeTransfer::Place::Onto);
    CTreeTransfer(*this).DragLeave();
}

void CKestruneView::OnDrop(QDropEvent* event) {
    stopAutoScroll();
    SetInsertionLine(nullptr, CTreeTransfer::Place::Onto);
    if (!IsOwnDrag(*this, event)) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(point);
    CTreeTransfer::Place place = DropPlaceAt(point, node);
    if (place != CTreeTransfer::Place::Onto &&
        !CTreeTransfer::CanDropBetween(m_hDragItem, node, place, CtrlHeld(event)))
        place = CTreeTransfer::Place::Onto;
    Answer(event, CTreeTransfer(*this).Drop(node, CtrlHeld(event), place));
}

void CKestruneView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    if (m_insertionLine.isNull()) return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(m_insertionLine);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawEllipse(m_insertionLine.p1(), 3, 3);
}
