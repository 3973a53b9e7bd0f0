#include "tree/TreeTransfer.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <QTreeWidgetItem>

#include "app/KestruneDoc.h"
#include "clipboard/ItemClipboard.h"
#include "model/VoraneItem.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"
#include "app/UndoTexts.h"

using kestrune::CVorane;
using kestrune::CVoraneItem;

namespace {
bool IsItemNode(const QTreeWidgetItem* node) {
    return node && treenodes::IsItemKind(treenodes::GetNodeKind(node));
}
}  // namespace

CTreeTransfer::CTreeTransfer(CKestruneView& view) : m_view(view) {}

CKestruneDoc& CTreeTransfer::Doc() const { return m_view.GetDocument(); }

bool CTreeTransfer::IsDescendant(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* node) {
    return treenodes::IsDescendant(ancestor, node);
}

bool CTreeTransfer::CanDrop(const QTreeWidgetItem* source, const QTreeWidgetItem* target, bool copy) {
    if (!source || !target) return false;
    if (target == source && !copy) return false;
    if (treenodes::GetNodeKind(target) == treenodes::kKindRoot) return false;
    if (copy) return true;
    return !IsDescendant(source, target);
}

// --- Clipboard --------------------------------------------------------------------------

bool CTreeTransfer::CanCutOrCopy() const {
    QTreeWidgetItem* selected = m_view.SelectedNode();
    return selected && IsItemNode(selected);
}

bool CTreeTransfer::CanPaste() const {
    QTreeWidgetItem* selected = m_view.SelectedNode();
    if (!selected || treenodes::GetNodeKind(selected) == treenodes::kKindRoot) return false;
    return CItemClipboard(QGuiApplication::clipboard()).HoldsItem();
}

bool CTreeTransfer::Copy() {
    if (!CanCutOrCopy()) return false;
    const CVoraneItem* item = treenodes::ItemOfNode(m_view.SelectedNode());
    return item && CItemClipboard(QGuiApplication::clipboard()).PutItem(*item);
}

bool CTreeTransfer::Cut() {
    QTreeWidgetItem* selected = m_view.SelectedNode();
    if (!Copy()) return false;
    m_view.SelectNode(selected->parent());
    return RemoveNode(selected, undotexts::kCutItem);
}

bool CTreeTransfer::Paste() {
    if (!CanPaste()) return false;
    std::unique_ptr<CVoraneItem> item = CItemClipboard(QGuiApplication::clipboard()).TakeItem();
    return item && InsertCopyAt(m_view.SelectedNode(), *item);
}

QTreeWidgetItem* CTreeTransfer::InsertCopyAt(QTreeWidgetItem* target, const CVoraneItem& item, const QString& text) {
    CVoraneItem* copy = nullptr;
    switch (treenodes::GetNodeKind(target)) {
        case treenodes::kKindMenu:
            copy = Doc().InsertCopy(treenodes::MenuOfNode(target), item, nullptr, text);
            break;
        case treenodes::kKindSubMenuItem:
            copy = Doc().InsertCopy(treenodes::ItemOfNode(target)->m_subMenu.get(), item, nullptr, text);
            break;
        case treenodes::kKindPlainItem:
            copy = Doc().InsertCopy(treenodes::ItemOfNode(target)->m_subMenu.get(), item,
                                    m_view.FindSubMenuStyle(target), text);
            break;
        default:
            return nullptr;
    }
    QTreeWidgetItem* node = m_view.NodeOfItem(copy);
    if (!node) return nullptr;
    target->setExpanded(true);
    m_view.SelectNode(node);
    return node;
}

bool CTreeTransfer::RemoveNode(QTreeWidgetItem* node, const QString& text) {
    if (!IsItemNode(node)) return false;
    return Doc().RemoveItem(treenodes::ContainerOfNode(node), treenodes::ItemOfNode(node), text);
}

// --- Drag and drop ----------------------------------------------------------------------

bool CTreeTransfer::BeginDrag(QTreeWidgetItem* node) {
    if (!IsItemNode(node)) return false;
    m_view.m_hDragItem = node;
    return true;
}

void CTreeTransfer::SetDropHighlight(CKestruneView& view, QTreeWidgetItem* node) {
    if (view.m_hDropHighlight == node) return;
    if (QTreeWidgetItem* old = view.m_hDropHighlight) {
        old->setData(0, Qt::BackgroundRole, QVariant());
        treenodes::ApplyNodeLook(old);
    }
    view.m_hDropHighlight = node;
    if (node) {
        const QPalette palette = view.palette();
        node->setBackground(0, palette.brush(QPalette::Active, QPalette::Highlight));
        node->setForeground(0, palette.brush(QPalette::Active, QPalette::HighlightedText));
    }
}

bool CTreeTransfer::CanDropBetween(const QTreeWidgetItem* source, const QTreeWidgetItem* node, Place place,
                                   bool copy) {
    if (!source || !IsItemNode(node) || place == Place::Onto) return false;
    const QTreeWidgetItem* parent = node->parent();
    if (copy) return true;
    if (parent == source || IsDescendant(source, parent)) return false;
    // Right beside itself a move would change nothing.
    if (parent == source->parent()) {
        const int from = parent->indexOfChild(const_cast<QTreeWidgetItem*>(source));
        const int to = parent->indexOfChild(const_cast<QTreeWidgetItem*>(node)) + (place == Place::Below ? 1 : 0);
        if (to == from || to == from + 1) return false;
    }
    return true;
}

Qt::DropAction CTreeTransfer::DragOver(QTreeWidgetItem* node, bool ctrl, Place place) {
    if (place != Place::Onto) {
        if (!CanDropBetween(m_view.m_hDragItem, node, place, ctrl)) return Qt::IgnoreAction;
        SetDropHighlight(m_view, nullptr);
        return ctrl ? Qt::CopyAction : Qt::MoveAction;
    }
    if (!CanDrop(m_view.m_hDragItem, node, ctrl)) return Qt::IgnoreAction;
    SetDropHighlight(m_view, node);
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

void CTreeTransfer::DragLeave() { SetDropHighlight(m_view, nullptr); }

Qt::DropAction CTreeTransfer::Drop(QTreeWidgetItem* node, bool ctrl, Place place) {
    SetDropHighlight(m_view, nullptr);
    QTreeWidgetItem* source = m_view.m_hDragItem;
    if (place != Place::Onto) return DropBetween(source, node, ctrl, place);
    if (!CanDrop(source, node, ctrl)) return Qt::IgnoreAction;
    const CVoraneItem* item = treenodes::ItemOfNode(source);
    if (!item) return Qt::IgnoreAction;
    // A move is the copy placed here and the original removed when the drag ends: one step.
    if (!ctrl) {
        Doc().BeginStep(undotexts::kMoveItem);
        m_view.m_dragStepOpen = true;
    }
    if (!InsertCopyAt(node, *item, ctrl ? undotexts::kCopyItem : undotexts::kMoveItem)) {
        EndStepIfOpen();
        return Qt::IgnoreAction;
    }
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

Qt::DropAction CTreeTransfer::DropBetween(QTreeWidgetItem* source, QTreeWidgetItem* node, bool ctrl, Place place) {
    if (!CanDropBetween(source, node, place, ctrl)) return Qt::IgnoreAction;
    const CVoraneItem* item = treenodes::ItemOfNode(source);
    CVorane* container = treenodes::ContainerOfNode(node);
    if (!item || !container) return Qt::IgnoreAction;
    const int index = container->IndexOf(treenodes::ItemOfNode(node)) + (place == Place::Below ? 1 : 0);
    if (!ctrl) {
        Doc().BeginStep(undotexts::kMoveItem);
        m_view.m_dragStepOpen = true;
    }
    CVoraneItem* copy = Doc().InsertCopyAt(container, index, *item, ctrl ? undotexts::kCopyItem : undotexts::kMoveItem);
    if (!copy) {
        EndStepIfOpen();
        return Qt::IgnoreAction;
    }
    m_view.SelectNode(m_view.NodeOfItem(copy));
    return ctrl ? Qt::CopyAction : Qt::MoveAction;
}

void CTreeTransfer::EndStepIfOpen() {
    if (!m_view.m_dragStepOpen) return;
    m_view.m_dragStepOpen = false;
    Doc().EndStep();
}

void CTreeTransfer::EndDrag(Qt::DropAction result) {
    SetDropHighlight(m_view, nullptr);
    if (result == Qt::MoveAction && m_view.m_hDragItem) RemoveNode(m_view.m_hDragItem, undotexts::kMoveItem);
    EndStepIfOpen();
    m_view.m_hDragItem = nullptr;
}
