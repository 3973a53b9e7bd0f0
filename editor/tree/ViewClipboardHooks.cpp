// The tree's clipboard commands and drag and drop: the events only translate into
// CTreeTransfer calls, which keep the model and the nodes in step.
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

#include "clipboard/ItemClipboard.h"
#include "tree/TreeTransfer.h"
#include "tree/KestruneView.h"

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

void CKestruneView::OnDragOver(QDragMoveEvent* event) {
    if (!IsOwnDrag(*this, event)) {
        event->ignore();
        return;
    }
    // The base class scrolls the tree near its edges; the answer is ours alone.
    if (event->type() == QEvent::DragMove) QTreeWidget::dragMoveEvent(event);
    Answer(event, CTreeTransfer(*this).DragOver(itemAt(event->position().toPoint()), CtrlHeld(event)));
}

void CKestruneView::OnDragLeave() {
    stopAutoScroll();
    CTreeTransfer(*this).DragLeave();
}

void CKestruneView::OnDrop(QDropEvent* event) {
    stopAutoScroll();
    if (!IsOwnDrag(*this, event)) {
        event->ignore();
        return;
    }
    Answer(event, CTreeTransfer(*this).Drop(itemAt(event->position().toPoint()), CtrlHeld(event)));
}
