#include "tree/KestruneView.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
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
#include "tree/RenameDelegate.h"
#include "tree/TreeCommands.h"
#include "tree/TreeFindBar.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

CKestruneView::CKestruneView(CKestruneDoc& doc, QWidget* parent)
    : QTreeWidget(parent), m_doc(doc), m_transfer(std::make_unique<CTreeTransfer>(*this)) {
    setObjectName(QStringLiteral("menuTree"));
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(false);  // no lines and no expand button at the very top
    // Lines between the nodes and boxed expand buttons: a style that draws them, for the tree only.
    if (QStyle* lined = QStyleFactory::create(QStringLiteral("Windows"))) {
        lined->setParent(this);
        setStyle(lined);
    }
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the selected node renames it in place (F2 is the Rename command).
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setItemDelegate(new CRenameDelegate(*this));
    setIconSize(QSize(16, 16));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    resize(400, 200);

    connect(&m_doc, &CKestruneDoc::modelChanged, this, &CKestruneView::OnModelChanged);
    connect(this, &QTreeWidget::currentItemChanged, this, &CKestruneView::OnCurrentNodeChanged);
}

CKestruneView::~CKestruneView() = default;

CKestruneApp& CKestruneView::App() const { return m_doc.App(); }
IDialogService& CKestruneView::Dialogs() const { return App().Dialogs(); }

int CKestruneView::GetNodeKind(const QTreeWidgetItem* node) { return treenodes::GetNodeKind(node); }
CVoraneItem* CKestruneView::ItemOfNode(const QTreeWidgetItem* node) { return treenodes::ItemOfNode(node); }
CVorane* CKestruneView::MenuOfNode(const QTreeWidgetItem* node) { return treenodes::MenuOfNode(node); }

QTreeWidgetItem* CKestruneView::NodeOfItem(const void* modelObject) const {
    if (!modelObject) return nullptr;
    QTreeWidgetItem* node = m_nodeOf.value(modelObject, nullptr);
    // A sub menu maps to its item's node too; only the node's own object counts here.
    return node && ObjectOfNode(node) == modelObject ? node : nullptr;
}

QTreeWidgetItem* CKestruneView::RootNode() const { return topLevelItem(0); }
QTreeWidgetItem* CKestruneView::SelectedNode() const { return currentItem(); }

void CKestruneView::SelectNode(QTreeWidgetItem* node) {
    if (!node) return;
    setCurrentItem(node);
    scrollToItem(node);
}

// --- Building nodes -------------------------------------------------------------------

QTreeWidgetItem* CKestruneView::BuildItemNode(CVoraneItem& item) {
    QTreeWidgetItem* node = MakeNode(PictureOfItem(item), TextOfItem(item), &item, item.m_subMenu.get());
    m_nodeOf.insert(&item, node);
    m_nodeOf.insert(item.m_subMenu.get(), node);
    AddChildNodes(node, *item.m_subMenu);
    return node;
}

QTreeWidgetItem* CKestruneView::BuildMenuNode(CVorane& menu) {
    QTreeWidgetItem* node = MakeNode(PictureOfMenu(menu), TextOfMenu(menu), &menu);
    m_nodeOf.insert(&menu, node);
    AddChildNodes(node, menu);
    return node;
}

void CKestruneView::AddChildNodes(QTreeWidgetItem* parentNode, CVorane& menu) {
    // Depth-first with an explicit stack: menu files may nest deeper than the call stack likes.
    std::vector<std::pair<QTreeWidgetItem*, CVorane*>> pending{{parentNode, &menu}};
    while (!pending.empty()) {
        auto [parent, current] = pending.back();
        pending.pop_back();
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(current->m_items.size()));
        for (const auto& item : current->m_items) {
            QTreeWidgetItem* node = MakeNode(PictureOfItem(*item), TextOfItem(*item), item.get(), item->m_subMenu.get());
            m_nodeOf.insert(item.get(), node);
            m_nodeOf.insert(item->m_subMenu.get(), node);
            children.append(node);
            if (!item->m_subMenu->m_items.empty()) pending.emplace_back(node, item->m_subMenu.get());
        }
        parent->addChildren(children);
    }
}

void CKestruneView::RebuildTree() {
    App().ClearEditingContext();
    setUpdatesEnabled(false);
    {
        const QSignalBlocker blockSelection(this);
        clear();
        m_nodeOf.clear();
    }
    CAppletParameters& applet = m_doc.Applet();
    QTreeWidgetItem* root = MakeNode(kPictureRoot, TextOfApplet(applet), &applet);
    m_nodeOf.insert(&applet, root);
    QList<QTreeWidgetItem*> menus;
    for (const auto& menu : applet.m_menus) menus.append(BuildMenuNode(*menu));
    root->addChildren(menus);
    addTopLevelItem(root);
    setUpdatesEnabled(true);

    ForgetPropertySheet();
    root->setExpanded(true);
    SelectNode(root);
    QMetaObject::invokeMethod(this, &CKestruneView::clearMessageRequested, Qt::QueuedConnection);
    emit commandStateChanged();
}

void CKestruneView::PlaceNode(QTreeWidgetItem* parent, QTreeWidgetItem* node, int index) {
    if (!parent) return;
    index = std::clamp(index, 0, parent->childCount());
    parent->insertChild(index, node);
}

QTreeWidgetItem* CKestruneView::InsertNode(QTreeWidgetItem* parent, CVoraneItem* item, QTreeWidgetItem* after) {
    if (!parent || !item) return nullptr;
    QTreeWidgetItem* node = BuildItemNode(*item);
    PlaceNode(parent, node, after ? parent->indexOfChild(after) + 1 : 0);
    return node;
}

QTreeWidgetItem* CKestruneView::InsertNodeLast(QTreeWidgetItem* parent, CVoraneItem* item) {
    if (!parent || !item) return nullptr;
    QTreeWidgetItem* node = BuildItemNode(*item);
    PlaceNode(parent, node, parent->childCount());
    return node;
}

void CKestruneView::ForgetNodes(QTreeWidgetItem* node) {
    std::vector<QTreeWidgetItem*> pending{node};
    while (!pending.empty()) {
        QTreeWidgetItem* current = pending.back();
        pending.pop_back();
        m_nodeOf.remove(ObjectOfNode(current));
        m_transfer->ForgetNode(current);
        if (const CVorane* subMenu = SubMenuKeyOfNode(current)) m_nodeOf.remove(subMenu);
        for (int i = 0; i < current->childCount(); ++i) pending.push_back(current->child(i));
    }
}

void CKestruneView::RefreshItemPicture(QTreeWidgetItem* node) {
    if (const CVoraneItem* item = treenodes::ItemOfNode(node)) SetNodePicture(node, PictureOfItem(*item));
}

// --- Following the model --------------------------------------------------------------

namespace {
// The menu or item a change is about: the item when there is one, else the menu.
const void* SubjectOf(const ModelChange& change) {
    return change.item ? static_cast<const void*>(change.item) : static_cast<const void*>(change.menu);
}
}  // namespace

void CKestruneView::OnModelChanged(const ModelChange& change) {
    switch (change.kind) {
        case ModelChange::Reset:
            RebuildTree();
            return;
        case ModelChange::MenuInserted:
            if (change.menu) {
                QTreeWidgetItem* node = BuildMenuNode(*change.menu);
                PlaceNode(RootNode(), node, change.index);
                if (m_doc.IsReplaying()) SelectNode(node);
            }
            break;
        case ModelChange::MenuRemoved:
        case ModelChange::ItemRemoved: {
            QTreeWidgetItem* node = NodeOfItem(SubjectOf(change));
            if (!node) break;
            QTreeWidgetItem* parent = node->parent();
            // The selection leaves the subtree first, so a shown property frame follows it
            // while every node it may look at still exists.
            if (QTreeWidgetItem* current = currentItem(); current == node || IsDescendant(node, current))
                SelectNode(parent);
            ForgetNodes(node);
            delete node;
            RefreshItemPicture(parent);
            break;
        }
        case ModelChange::MenuMoved:
        case ModelChange::ItemMoved: {
            QTreeWidgetItem* node = NodeOfItem(SubjectOf(change));
            if (!node || !node->parent()) break;
            QTreeWidgetItem* parent = node->parent();
            const bool wasCurrent = node == currentItem();
            {
                const QSignalBlocker quiet(this);
                parent->removeChild(node);
                PlaceNode(parent, node, change.index);
            }
            // A moved node comes back collapsed, as a node made afresh would.
            std::vector<QTreeWidgetItem*> pending{node};
            while (!pending.empty()) {
                QTreeWidgetItem* current = pending.back();
                pending.pop_back();
                current->setExpanded(false);
                for (int i = 0; i < current->childCount(); ++i) pending.push_back(current->child(i));
            }
            if (wasCurrent || m_doc.IsReplaying()) SelectNode(node);
            break;
        }
        case ModelChange::ItemInserted: {
            QTreeWidgetItem* containerNode = m_nodeOf.value(change.menu, nullptr);
            if (!containerNode || !change.item) break;
            QTreeWidgetItem* node = BuildItemNode(*change.item);
            PlaceNode(containerNode, node, change.index);
            RefreshItemPicture(containerNode);
            if (m_doc.IsReplaying()) {
                containerNode->setExpanded(true);
                SelectNode(node);
            }
            break;
        }
        case ModelChange::VisibilityChanged:
            if (QTreeWidgetItem* node = NodeOfItem(change.item)) RefreshItemPicture(node);
            else if (QTreeWidgetItem* menuNode = NodeOfItem(change.menu))
                SetNodePicture(menuNode, PictureOfMenu(*change.menu));
            break;
        case ModelChange::PropertiesChanged:
            if (change.item) {
                if (QTreeWidgetItem* node = NodeOfItem(change.item)) node->setText(0, TextOfItem(*change.item));
            } else if (change.menu) {
                if (QTreeWidgetItem* node = NodeOfItem(change.menu)) node->setText(0, TextOfMenu(*change.menu));
            } else if (QTreeWidgetItem* root = RootNode()) {
                root->setText(0, TextOfApplet(m_doc.Applet()));
            }
            break;
    }
    emit commandStateChanged();
}

void CKestruneView::OnCurrentNodeChanged() {
    if (GetNodeKind(SelectedNode()) == kKindNone) App().ClearEditingContext();
    if (IsPropertyFrameShown()) ShowProperties();
    emit commandStateChanged();
}

// --- Services -------------------------------------------------------------------------

CVorane* CKestruneView::FindSubMenuStyle(const QTreeWidgetItem* node) const {
    return treenodes::FindSubMenuStyle(m_doc.Applet(), node);
}

CVorane* CKestruneView::GetCurItemMenu() const {
    if (!App().m_pCurItem) return nullptr;
    return ContainerOfNode(SelectedNode());
}

void CKestruneView::SetSelectedNodeText(const QString& text) {
    if (QTreeWidgetItem* node = SelectedNode()) node->setText(0, text);
}

// --- Commands -------------------------------------------------------------------------

void CKestruneView::OnMenuInsert() {
    QTreeWidgetItem* selected = SelectedNode() ? SelectedNode() : RootNode();
    const void* created = treecommands::InsertBelow(m_doc, selected);
    if (!created) return;
    QTreeWidgetItem* node = NodeOfItem(created);
    SelectNode(node);
    if (node && node->parent()) node->parent()->setExpanded(true);
}

void CKestruneView::OnMenuDelete() {
    QTreeWidgetItem* node = SelectedNode();
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
    App().ClearEditingContext();
    SelectNode(node->parent());
    treecommands::RemoveNodeObject(m_doc, node);
}

void CKestruneView::OnMenuVisible() {
    QTreeWidgetItem* node = SelectedNode();
    if (!treecommands::ToggleVisible(m_doc, node) && GetNodeKind(node) == kKindNone) m_doc.SetModifiedFlag(true);
}

void CKestruneView::OnMenuMoveUp() {
    QTreeWidgetItem* node = SelectedNode();
    CVoraneItem* item = treenodes::ItemOfNode(node);
    if (treecommands::MoveNodeItem(m_doc, node, -1)) SelectNode(NodeOfItem(item));
}

void CKestruneView::OnMenuMoveDown() {
    QTreeWidgetItem* node = SelectedNode();
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
        QTreeWidgetItem* hit = itemAt(event->pos());
        if (!hit) return;
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
    QTreeWidget::keyPressEvent(event);
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
    if (m_transfer->DragItem()) QTreeWidget::dragMoveEvent(event);
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
    QTreeWidget::paintEvent(event);
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

    QTreeWidgetItem* node = SelectedNode();
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
        App().ClearEditingContext();
        break;
    }
    // At a large scale the frame's place may lie partly off the screen: it is moved onto it.
    if (m_pPropertyFrame->isVisible())
        if (const QScreen* screen = m_pPropertyFrame->screen()) {
            const QRect kept = KeptOnScreen(m_pPropertyFrame->frameGeometry(), screen->availableGeometry());
            if (kept.topLeft() != m_pPropertyFrame->frameGeometry().topLeft()) m_pPropertyFrame->move(kept.topLeft());
        }
    // Showing the frame, or letting it follow the selection, counts as a change.
    m_doc.SetModifiedFlag(true);
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
    QTreeWidgetItem* node = SelectedNode();
    const int kind = GetNodeKind(node);
    if (!node || (kind != treenodes::kKindRoot && !treenodes::IsItemKind(kind))) return;
    scrollToItem(node);
    editItem(node);
}

bool CKestruneView::RenameNode(QTreeWidgetItem* node, const QString& text) {
    if (!node) return false;
    if (text.contains(QLatin1Char(','))) {
        Dialogs().ShowMessage(window(), QString::fromLatin1(texts::kMsgNoComma), IDialogService::Buttons::Ok,
                              IDialogService::Icon::Warning);
        return false;
    }
    // What the shown page holds is written first, so the rename is not undone by it later.
    if (!CommitUserEdits()) return false;
    bool renamed = false;
    if (CVoraneItem* item = treenodes::ItemOfNode(node)) {
        const std::string label = convert::LabelFromWidget(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(item->m_label, label); },
                                       treenodes::ContainerOfNode(node), item, undotexts::kRenameItem);
    } else if (CAppletParameters* applet = treenodes::AppletOfNode(node)) {
        const std::string title = convert::FromQt(text);
        renamed = m_doc.EditProperties([&] { return AssignChanged(applet->m_HTMLTitle, title); }, nullptr, nullptr,
                                       undotexts::kRenameApplet);
    }
    if (renamed && m_pPropertyFrame) m_pPropertyFrame->ReloadActivePage();
    return renamed;
}
