#pragma once

#include <QHash>
#include <memory>
#include <QTreeWidget>

#include "app/ModelChange.h"
#include "tree/TreeTransfer.h"

class CKestruneApp;
class CKestruneDoc;
class CPropertyFrame;
class CTreeFindBar;
class IDialogService;
class QMenu;
namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The menu tree: a picture of the model in m_applet. Every node carries its model object
// (root: the applet, then top-level menus, then items). Commands change the model through
// the document; the nodes follow the document's modelChanged announcements, so any caller
// of the edit layer (clipboard, drag and drop, undo) gets its nodes for free: after e.g.
// doc.InsertCopy(...) the new node exists and NodeOfItem(copy) finds it.
class CKestruneView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CKestruneView(CKestruneDoc& doc, QWidget* parent = nullptr);
    ~CKestruneView() override;

    CKestruneDoc& GetDocument() const { return m_doc; }
    CKestruneApp& App() const;
    IDialogService& Dialogs() const;

    // All nodes built again from m_applet; the root is expanded and selected, and a Clear
    // Message is posted to run after the current command.
    void RebuildTree();

    QTreeWidgetItem* RootNode() const;
    QTreeWidgetItem* SelectedNode() const;
    void SelectNode(QTreeWidgetItem* node);

    // Node <-> model. The picture of a node gives its kind (treenodes::Kind).
    static int GetNodeKind(const QTreeWidgetItem* node);
    static kestrune::CVoraneItem* ItemOfNode(const QTreeWidgetItem* node);
    static kestrune::CVorane* MenuOfNode(const QTreeWidgetItem* node);
    // The node showing a model object (the applet, a top-level menu or an item); null if none.
    QTreeWidgetItem* NodeOfItem(const void* modelObject) const;

    // One node for the item with nodes for everything below it, collapsed. `after` null
    // means first among the parent's children.
    QTreeWidgetItem* InsertNode(QTreeWidgetItem* parent, kestrune::CVoraneItem* item, QTreeWidgetItem* after);
    QTreeWidgetItem* InsertNodeLast(QTreeWidgetItem* parent, kestrune::CVoraneItem* item);

    kestrune::CVorane* FindSubMenuStyle(const QTreeWidgetItem* node) const;
    // The menu holding the edited item (m_pCurItem); null without a current item.
    kestrune::CVorane* GetCurItemMenu() const;
    // The property pages rename the selected node through this.
    void SetSelectedNodeText(const QString& text);

    // Commands, reached through the command table.
    void OnMenuInsert();
    void OnMenuDelete();
    void OnMenuVisible();
    void OnMenuMoveUp();
    void OnMenuMoveDown();
    void OnMenuProperty();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    // Rename in place: the selected node's label (or the applet's title) is edited in the tree.
    void OnEditRename();
    // What the in-place editor hands back, written through the document as one step.
    bool RenameNode(QTreeWidgetItem* node, const QString& text);
    bool RenameNodeAt(const QModelIndex& index, const QString& text) { return RenameNode(itemFromIndex(index), text); }
    void SetFindBar(CTreeFindBar* bar) { m_pFindBar = bar; }
    // The line drawn between items while a drop there is possible; null: none.
    QLine InsertionLine() const { return m_transfer->InsertionLine(); }
    // Clipboard and drag and drop of items; lives as long as the view.
    CTreeTransfer& Transfer() const { return *m_transfer; }
    // Whether the clipboard holds an item in the program's private format (Paste's rule).
    bool ClipboardHasItem() const;

    // The property frame. ShowProperties is the single place that shows it for the selection;
    // CommitActivePage writes the active page into the model and reports whether that worked
    // (true when there is nothing to commit).
    void ShowProperties();
    bool CommitActivePage();
    // Commits the shown page only when the user has edited in it since it showed the model
    // (a page may show a value differently from how the model holds it).
    bool CommitUserEdits();
    void RefreshAppletPage();
    bool IsPropertyFrameShown() const;

    // The pop-up of the pane; its actions are the main window's, so enabling applies.
    void SetContextMenu(QMenu* menu) { m_pContextMenu = menu; }
    QMenu* ContextMenu() const { return m_pContextMenu; }

    CPropertyFrame* m_pPropertyFrame = nullptr;  // owned as a child window once created

signals:
    // The selection or the tree changed: command enabling must be evaluated again.
    void commandStateChanged();
    void clearMessageRequested();
    // A page of the property frame asked for its help topic.
    void helpRequested(const QString& topic);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // RebuildTree's step for the frame: a shown sheet is hidden and forgotten.
    void ForgetPropertySheet();

private:
    void OnModelChanged(const ModelChange& change);
    void OnCurrentNodeChanged();
    QTreeWidgetItem* BuildMenuNode(kestrune::CVorane& menu);
    QTreeWidgetItem* BuildItemNode(kestrune::CVoraneItem& item);
    void AddChildNodes(QTreeWidgetItem* parentNode, kestrune::CVorane& menu);
    void ForgetNodes(QTreeWidgetItem* node);
    void RefreshItemPicture(QTreeWidgetItem* node);
    void PlaceNode(QTreeWidgetItem* parent, QTreeWidgetItem* node, int index);

    CKestruneDoc& m_doc;
    QMenu* m_pContextMenu = nullptr;
    CTreeFindBar* m_pFindBar = nullptr;
    std::unique_ptr<CTreeTransfer> m_transfer;
    // Model object (and each item's sub menu) -> node, kept in step with the nodes.
    QHash<const void*, QTreeWidgetItem*> m_nodeOf;
};
