// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeView>
#include <functional>
#include <memory>

#include "model/ModelChange.h"
#include "tree/FilledLevels.h"
#include "tree/TreePane.h"
#include "tree/TreeTransfer.h"

class CKestruneApp;
class CKestruneDoc;
class CMenuTreeModel;
class CPropertyFrame;
class CTreeFindBar;
class IDialogService;
class QMenu;
namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The menu tree: a view of the model in m_applet through a CMenuTreeModel. Every node (an
// index) names its model object (root: the applet, then top-level menus, then items); rows
// are read from the model when shown, so a big document costs what is on screen. Commands
// change the model through the document; the tree follows the document's announcements, so
// any caller of the edit layer (clipboard, drag and drop, undo) gets its nodes for free:
// after e.g. doc.InsertCopy(...) NodeOfItem(copy) finds the new node.
class CKestruneView : public QTreeView, public ITreePane {
    Q_OBJECT
public:
    explicit CKestruneView(CKestruneDoc& doc, QWidget* parent = nullptr);
    ~CKestruneView() override;

    CKestruneDoc& GetDocument() const override { return m_doc; }
    QTreeView& Widget() override { return *this; }
    CKestruneApp& App() const;
    IDialogService& Dialogs() const;

    // The tree shown afresh from m_applet, everything collapsed; the root is expanded and
    // selected, and a Clear Message is posted to run after the current command.
    void RebuildTree();

    CMenuTreeModel& TreeModel() const override { return *m_model; }
    QModelIndex RootNode() const override;
    QModelIndex SelectedNode() const override;
    // Selects the node, expanding what lies above it and scrolling it into sight.
    void SelectNode(const QModelIndex& node) override;

    // Node <-> model. The picture of a node gives its kind (treenodes::Kind).
    static int GetNodeKind(const QModelIndex& node);
    static kestrune::CVoraneItem* ItemOfNode(const QModelIndex& node);
    static kestrune::CVorane* MenuOfNode(const QModelIndex& node);
    // The node showing a model object (the applet, a top-level menu or an item), found even
    // when it was never shown; invalid if the model holds no such object.
    QModelIndex NodeOfItem(const void* modelObject) const override;

    kestrune::CVorane* FindSubMenuStyle(const QModelIndex& node) const override;
    // The menu holding the edited item (m_pCurItem); null without a current item.
    kestrune::CVorane* GetCurItemMenu() const;

    // Commands, reached through the command table.
    void OnMenuInsert();
    // A top-level menu, as Insert on the applet node inserts, wherever the selection is.
    void OnMenuInsertMenu();
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
    bool RenameNode(const QModelIndex& node, const QString& text);
    // Whether a typed name can be kept; says why not.
    bool AcceptsName(const QString& text);
    void SetFindBar(CTreeFindBar* bar) { m_pFindBar = bar; }
    // Runs showAfresh (a filter set or cleared on the model): the same object stays
    // selected without a word when it is still shown; otherwise the root is selected.
    void ShowAfreshKeepingCurrent(const std::function<void()>& showAfresh) override;
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
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void verticalScrollbarValueChanged(int value) override;

    // RebuildTree's step for the frame: a shown sheet is hidden and forgotten.
    void ForgetPropertySheet();

private:
    void InsertBelow(const QModelIndex& node);
    void OnModelAboutToChange(const kestrune::ModelChange& change);
    void OnModelChanged(const kestrune::ModelChange& change);
    void OnCurrentNodeChanged();
    // The node and everything below it shown collapsed, as a node made afresh would be.
    void CollapseAll(const QModelIndex& node);

    // The level of the menu's items (top-level menus 0); -1 when no node holds them.
    int LevelOfMenu(const kestrune::CVorane* menu) const;
    void FollowFilledLevels(const kestrune::ModelChange& change, bool done);
    mutable CFilledLevels m_filledLevels;

    CKestruneDoc& m_doc;
    CMenuTreeModel* m_model;  // a child of the view
    QMenu* m_pContextMenu = nullptr;
    CTreeFindBar* m_pFindBar = nullptr;
    std::unique_ptr<CTreeTransfer> m_transfer;
};
