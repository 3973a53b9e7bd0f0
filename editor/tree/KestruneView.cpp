// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/KestruneView.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <vector>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ScreenFit.h"
#include "app/ShellTexts.h"
#include "app/TextConvert.h"
#include "app/UndoTexts.h"
#include "clipboard/ItemClipboard.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "properties/PropertyFrame.h"
#include "properties/PropertyPage.h"
#include "properties/PropertyTexts.h"
#include "tree/MenuTreeModel.h"
#include "tree/RenameDelegate.h"
#include "tree/TreeCommands.h"
#include "tree/TreeFindBar.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

CKestruneView::CKestruneView(CKestruneDoc& doc, QWidget* parent)
    : QTreeView(parent),
      m_doc(doc),
      m_model(new CMenuTreeModel(doc.Applet(), this)),
      m_transfer(std::make_unique<CTreeTransfer>(*this)) {
    setObjectName(QStringLiteral("menuTree"));
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(false);  // no lines and no expand button at the very top
    // Lines between the nodes and boxed expand buttons: a style that draws them, for the tree only.
    if (QStyle* lined = QStyleFactory::create(QStringLiteral("Windows"))) {
        lined->setParent(this);
        setStyle(lined);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the selected node renames it in place (F2 is the Rename command).
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setItemDelegate(new CRenameDelegate(
        this, [this](const QModelIndex& node, const QString& text) { return RenameNode(node, text); },
        [this](const QString& text) { return AcceptsName(text); }));
    setIconSize(QSize(16, 16));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    resize(400, 200);

    connect(&m_doc, &CKestruneDoc::modelAboutToChange, this, &CKestruneView::OnModelAboutToChange);
    connect(&m_doc, &CKestruneDoc::modelChanged, this, &CKestruneView::OnModelChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CKestruneView::OnCurrentNodeChanged);
}

CKestruneView::~CKestruneView() = default;

CKestruneApp& CKestruneView::App() const { return m_doc.App(); }
IDialogService& CKestruneView::Dialogs() const { return App().Dialogs(); }

int CKestruneView::GetNodeKind(const QModelIndex& node) { return treenodes::GetNodeKind(node); }
CVoraneItem* CKestruneView::ItemOfNode(const QModelIndex& node) { return treenodes::ItemOfNode(node); }
CVorane* CKestruneView::MenuOfNode(const QModelIndex& node) { return treenodes::MenuOfNode(node); }

QModelIndex CKestruneView::NodeOfItem(const void* modelObject) const { return m_model->IndexOfObject(modelObject); }

QModelIndex CKestruneView::RootNode() const { return m_model->RootIndex(); }
QModelIndex CKestruneView::SelectedNode() const { return currentIndex(); }

void CKestruneView::SelectNode(const QModelIndex& node) {
    if (!node.isValid()) return;
    for (QModelIndex up = node.parent(); up.isValid(); up = up.parent()) expand(up);
    setCurrentIndex(node);
    scrollTo(node);
}

void CKestruneView::RebuildTree() {
    m_doc.ClearEditingContext();
    {
        const QSignalBlocker blockSelection(selectionModel());
        m_model->Refill();
    }
    ForgetPropertySheet();
    const QModelIndex root = RootNode();
    expand(root);
    SelectNode(root);
    QMetaObject::invokeMethod(this, &CKestruneView::clearMessageRequested, Qt::QueuedConnection);
    emit commandStateChanged();
}

void CKestruneView::CollapseAll(const QModelIndex& node) {
    std::vector<QModelIndex> pending{node};
    while (!pending.empty()) {
        const QModelIndex current = pending.back();
        pending.pop_back();
        if (!current.isValid()) continue;
        // A node opened below a closed one stays open in the view's memory: every node the
        // view was given is closed, not only the shown ones.
        if (isExpanded(current)) collapse(current);
        for (const QModelIndex& child : m_model->HandedOutChildren(current)) pending.push_back(child);
    }
}

// --- Following the model --------------------------------------------------------------

void CKestruneView::OnModelAboutToChange(const ModelChange& change) {
    FollowFilledLevels(change, false);
    if (m_model->Filter()) {
        // A filtered tree is shown afresh, so no rows are removed one by one: the selection
        // leaves what goes first, as it does for removed rows.
        const void* removed = change.kind == ModelChange::ItemRemoved   ? static_cast<const void*>(change.item)
                              : change.kind == ModelChange::MenuRemoved ? static_cast<const void*>(change.menu)
                                                                        : nullptr;
        for (QModelIndex up = currentIndex(); removed && up.isValid(); up = up.parent()) {
            if (treenodes::ObjectOfNode(up) == removed) {
                setCurrentIndex(up.parent());
                break;
            }
        }
    }
    m_model->Prepare(change);
}

void CKestruneView::ShowAfreshKeepingCurrent(const std::function<void()>& showAfresh) {
    const void* current = treenodes::ObjectOfNode(currentIndex());
    QSignalBlocker quiet(selectionModel());
    showAfresh();
    if (currentIndex().isValid()) return;
    if (const QModelIndex node = current ? NodeOfItem(current) : QModelIndex(); node.isValid()) {
        setCurrentIndex(node);
        scrollTo(node);
        return;
    }
    quiet.unblock();  // the selection really moves: the property frame follows it
    SelectNode(RootNode());
}

void CKestruneView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    // The selection leaves the subtree first, so a shown property frame follows it while
    // every node it may look at still exists.
    for (QModelIndex up = currentIndex(); up.isValid(); up = up.parent()) {
        if (up.parent() == parent && up.row() >= start && up.row() <= end) {
            setCurrentIndex(parent);
            break;
        }
    }
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

// Scrolled to the end: the next batch of a long open menu there is shown.
void CKestruneView::verticalScrollbarValueChanged(int value) {
    m_model->SetFetchAllowed(true);
    QTreeView::verticalScrollbarValueChanged(value);
    m_model->SetFetchAllowed(false);
}

void CKestruneView::OnModelChanged(const ModelChange& change) {
    FollowFilledLevels(change, true);
    if (change.kind == ModelChange::Reset) {
        RebuildTree();
        return;
    }
    // A filtered tree is shown afresh after a structural change, and after a page's write
    // that changes what the filter keeps.
    if (m_model->Filter()) ShowAfreshKeepingCurrent([&] { m_model->Follow(change); });
    else m_model->Follow(change);
    switch (change.kind) {
        case ModelChange::MenuInserted:
            if (m_doc.IsReplaying()) SelectNode(NodeOfItem(change.menu));
            break;
        case ModelChange::MenuMoved:
        case ModelChange::ItemMoved: {
            const QModelIndex node = NodeOfItem(change.item ? static_cast<const void*>(change.item) : change.menu);
            // A moved node comes back collapsed, as a node made afresh would.
            CollapseAll(node);
            if (node == currentIndex() || m_doc.IsReplaying()) SelectNode(node);
            break;
        }
        case ModelChange::ItemInserted:
            if (m_doc.IsReplaying()) SelectNode(NodeOfItem(change.item));
            break;
        default:
            break;
    }
    emit commandStateChanged();
}

void CKestruneView::OnCurrentNodeChanged() {
    if (GetNodeKind(SelectedNode()) == kKindNone) m_doc.ClearEditingContext();
    if (IsPropertyFrameShown()) ShowProperties();
    emit commandStateChanged();
}

// --- Services -------------------------------------------------------------------------

CVorane* CKestruneView::FindSubMenuStyle(const QModelIndex& node) const {
    // Where no menu holds items at the level of the item's sub menu, the search ends at
    // the menu holding the item.
    if (treenodes::IsItemKind(GetNodeKind(node)) &&
        m_filledLevels.NoneAt(m_doc.Applet(), treenodes::GetNodeDepth(node) - 1))
        return ContainerOfNode(node);
    return treenodes::FindSubMenuStyle(m_doc.Applet(), node);
}

int CKestruneView::LevelOfMenu(const CVorane* menu) const {
    const QModelIndex holder = m_model->HolderOfMenu(menu);
    return holder.isValid() ? treenodes::GetNodeDepth(holder) - 1 : -1;
}

// done: the change has been made; else it is about to be (removed objects still in place).
void CKestruneView::FollowFilledLevels(const ModelChange& change, bool done) {
    switch (change.kind) {
        case ModelChange::Reset: m_filledLevels.Forget(); break;
        case ModelChange::PropertiesChanged:
            if (change.structureToo) m_filledLevels.Forget();
            break;
        case ModelChange::MenuInserted:
            if (done) m_filledLevels.TopMenuPlaced(*change.menu, 1);
            break;
        case ModelChange::MenuRemoved:
            if (!done) m_filledLevels.TopMenuPlaced(*change.menu, -1);
            break;
        case ModelChange::ItemInserted:
        case ModelChange::ItemRemoved: {
            if (done != (change.kind == ModelChange::ItemInserted)) break;
            const int level = LevelOfMenu(change.menu);
            if (level < 0) {
                m_filledLevels.Forget();
                break;
            }
            m_filledLevels.ItemPlaced(*change.item, level, change.menu->m_items.size(), done ? 1 : -1);
            break;
        }
        default:
            break;
    }
}

CVorane* CKestruneView::GetCurItemMenu() const {
    if (!m_doc.m_pCurItem) return nullptr;
    return ContainerOfNode(SelectedNode());
}

// --- Commands -------------------------------------------------------------------------

void CKestruneView::OnMenuInsert() { InsertBelow(SelectedNode().isValid() ? SelectedNode() : RootNode()); }

void CKestruneView::OnMenuInsertMenu() { InsertBelow(RootNode()); }

void CKestruneView::InsertBelow(const QModelIndex& node) {
    const bool plainItem = GetNodeKind(node) == treenodes::kKindPlainItem;
    const void* created = treecommands::InsertBelow(m_doc, node, plainItem ? FindSubMenuStyle(node) : nullptr);
    if (!created) return;
    SelectNode(NodeOfItem(created));
}

void CKestruneView::OnMenuDelete() {
    const QModelIndex node = SelectedNode();
    const int kind = GetNodeKind(node);
    if (kind == kKindRoot) {
        Dialogs().ShowMessage(window(), shelltexts::kCantDeleteRoot, IDialogService::Buttons::Ok,
                              IDialogService::Icon::Critical);
        return;
    }
    const QString question = treecommands::DeleteQuestion(kind);
    if (question.isEmpty()) return;
    if (Dialogs().ShowMessage(window(), question, IDialogService::Buttons::OkCancel,
                              IDialogService::Icon::Question) != IDialogService::Answer::Ok)
        return;
    m_doc.ClearEditingContext();
    const QPersistentModelIndex doomed = node;
    SelectNode(node.parent());
    treecommands::RemoveNodeObject(m_doc, doomed);
}

void CKestruneView::OnMenuVisible() {
    const QModelIndex node = SelectedNode();
    treecommands::ToggleVisible(m_doc, node);
}

void CKestruneView::OnMenuMoveUp() {
    const QModelIndex node = SelectedNode();
    CVoraneItem* item = treenodes::ItemOfNode(node);
    if (treecommands::MoveNodeItem(m_doc, node, -1)) SelectNode(NodeOfItem(item));
}

void CKestruneView::OnMenuMoveDown() {
    const QModelIndex node = SelectedNode();
    CVoraneItem* item = treenodes::ItemOfNode(node);
    if (treecommands::MoveNodeItem(m_doc, node, +1)) SelectNode(NodeOfItem(item));
}

void CKestruneView::OnMenuProperty() {
    ShowProperties();
    // The command puts the keyboard into the page it shows.
    if (IsPropertyFrameShown()) m_pPropertyFrame->FocusActivePage();
}

// --- Context menu ---------------------------------------------------------------------

void CKestruneView::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_pContextMenu) return;
    QPoint at;
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex hit = indexAt(event->pos());
        if (!hit.isValid()) return;
        SelectNode(hit);
        at = event->globalPos();
    } else {
        at = mapToGlobal(QPoint(5, 5));
    }
    setFocus(Qt::PopupFocusReason);
    emit commandStateChanged();
    m_pContextMenu->popup(at);
}

void CKestruneView::keyPressEvent(QKeyEvent* event) {
    // The clipboard keys belong to the Edit commands; when those are disabled the keys do
    // nothing (the item view would otherwise copy the node's text).
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_pFindBar && m_pFindBar->IsFiltering()) {
        m_pFindBar->Close();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

// --- Clipboard and drag and drop: the transfer helper does the work ----------------------

void CKestruneView::OnEditCut() { m_transfer->Cut(); }
void CKestruneView::OnEditCopy() { m_transfer->Copy(); }
void CKestruneView::OnEditPaste() { m_transfer->Paste(); }

bool CKestruneView::ClipboardHasItem() const { return CItemClipboard(QGuiApplication::clipboard()).HoldsItem(); }

void CKestruneView::startDrag(Qt::DropActions) { m_transfer->StartDrag(); }
void CKestruneView::dragEnterEvent(QDragEnterEvent* event) { m_transfer->HandleDragMove(event); }

void CKestruneView::dragMoveEvent(QDragMoveEvent* event) {
    // The base class scrolls the tree near its edges; the answer is the transfer's alone.
    if (m_transfer->DragItem().isValid()) QTreeView::dragMoveEvent(event);
    m_transfer->HandleDragMove(event);
}

void CKestruneView::dragLeaveEvent(QDragLeaveEvent*) {
    stopAutoScroll();
    m_transfer->HandleDragLeave();
}

void CKestruneView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    m_transfer->HandleDrop(event);
}

void CKestruneView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    QPainter painter(viewport());
    m_transfer->PaintInsertionLine(painter);
}

// --- The property frame ---------------------------------------------------------------

namespace {
// A quarter across and two thirds down the main window's outer rectangle, grown once more
// by the window's own frame, caption and menu bar as a client rectangle of it would be.
QPoint InitialFramePosition(const QWidget* mainWindow) {
    const QRect outer = mainWindow->frameGeometry();
    const QRect client = mainWindow->geometry();
    int menuBarHeight = 0;
    if (const auto* main = qobject_cast<const QMainWindow*>(mainWindow); main && main->menuWidget())
        menuBarHeight = main->menuWidget()->height();
    const QRect grown = outer.adjusted(-(client.left() - outer.left()), -(client.top() - outer.top() + menuBarHeight),
                                       outer.right() - client.right(), outer.bottom() - client.bottom());
    const int left = grown.left(), top = grown.top();
    const int right = grown.right() + 1, bottom = grown.bottom() + 1;
    return {left + (right - left) / 4, top + 2 * (bottom - top) / 3};
}
}  // namespace

void CKestruneView::ShowProperties() {
    if (!m_pPropertyFrame) {
        m_pPropertyFrame = new CPropertyFrame(m_doc, this);
        m_pPropertyFrame->move(InitialFramePosition(window()));
        connect(m_pPropertyFrame, &CPropertyFrame::showPropertiesRequested, this, &CKestruneView::ShowProperties);
        connect(m_pPropertyFrame, &CPropertyFrame::helpRequested, this, &CKestruneView::helpRequested);
    }
    if (!m_pPropertyFrame->isVisible()) m_pPropertyFrame->show();

    const QModelIndex node = SelectedNode();
    switch (GetNodeKind(node)) {
    case treenodes::kKindRoot:
        m_pPropertyFrame->ShowAppletSheet();
        break;
    case treenodes::kKindMenu:
        // Top-level menus have no properties of their own.
        m_pPropertyFrame->Close();
        break;
    case treenodes::kKindSubMenuItem:
    case treenodes::kKindPlainItem:
        m_pPropertyFrame->ShowItemSheet(ItemOfNode(node), treenodes::ContainerOfNode(node));
        break;
    default:
        m_doc.ClearEditingContext();
        break;
    }
    // At a large scale the frame's place may lie partly off the screen: it is moved onto it.
    if (m_pPropertyFrame->isVisible()) KeepFrameOnScreen(*m_pPropertyFrame);
}

bool CKestruneView::CommitActivePage() { return !m_pPropertyFrame || m_pPropertyFrame->CommitActivePage(); }

bool CKestruneView::CommitUserEdits() {
    return !m_pPropertyFrame || !m_pPropertyFrame->HasUserInput() || m_pPropertyFrame->CommitActivePage();
}

void CKestruneView::RefreshAppletPage() {
    if (m_pPropertyFrame) m_pPropertyFrame->RefreshAppletPage();
}

bool CKestruneView::IsPropertyFrameShown() const { return m_pPropertyFrame && m_pPropertyFrame->isVisible(); }

void CKestruneView::ForgetPropertySheet() {
    if (m_pPropertyFrame) m_pPropertyFrame->ForgetSheet();
}

// --- Rename in place --------------------------------------------------------------------

void CKestruneView::OnEditRename() {
    const QModelIndex node = SelectedNode();
    const int kind = GetNodeKind(node);
    if (!node.isValid() || (kind != treenodes::kKindRoot && !treenodes::IsItemKind(kind))) return;
    scrollTo(node);
    edit(node);
}

// The menu file cannot carry a comma in a label or title.
bool CKestruneView::AcceptsName(const QString& text) {
    if (!text.contains(QLatin1Char(','))) return true;
    Dialogs().ShowMessage(window(), QString::fromLatin1(texts::kMsgNoComma), IDialogService::Buttons::Ok,
                          IDialogService::Icon::Warning);
    return false;
}

bool CKestruneView::RenameNode(const QModelIndex& node, const QString& text) {
    if (!node.isValid() || !AcceptsName(text)) return false;
    // What the shown page holds is written first, so the rename is not undone by it later.
    if (!CommitUserEdits()) return false;
    bool renamed = false;
    if (CVoraneItem* item = treenodes::ItemOfNode(node)) {
        const std::string label = convert::LabelFromWidget(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(item->m_label, label); },
                                       treenodes::ContainerOfNode(node), item, undotexts::kRenameItem,
                                       CKestruneDoc::Reach::NamedObjects);
    } else if (CAppletParameters* applet = treenodes::AppletOfNode(node)) {
        const std::string title = convert::FromQt(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(applet->m_HTMLTitle, title); }, nullptr, nullptr,
                                       undotexts::kRenameApplet, CKestruneDoc::Reach::NamedObjects);
    }
    if (renamed && m_pPropertyFrame) m_pPropertyFrame->ReloadActivePage();
    return renamed;
}
