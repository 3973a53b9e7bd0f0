// The tree's clipboard commands and drag and drop. The clipboard code replaces these bodies.
#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

#include "tree/KestruneView.h"

void CKestruneView::OnEditCut() {}
void CKestruneView::OnEditCopy() {}
void CKestruneView::OnEditPaste() {}

bool CKestruneView::ClipboardHasItem() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QStringLiteral("application/x-qt-windows-mime;value=\"KestruneClipboardFormat\""));
}

void CKestruneView::OnBeginDrag(Qt::DropActions) {}
void CKestruneView::OnDragOver(QDragMoveEvent* event) { event->ignore(); }
void CKestruneView::OnDragLeave() {}
void CKestruneView::OnDrop(QDropEvent* event) { event->ignore(); }
