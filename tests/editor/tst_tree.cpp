// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/SettingsStore.h"
#include "properties/PropertyTexts.h"
#include "support/FakeDialogService.h"
#include "support/TreeModelAgreement.h"
#include "tree/KestruneView.h"
#include "tree/MenuTreeModel.h"
#include "tree/TreeCommands.h"
#include "tree/FindMatcher.h"
#include "tree/TreeFindBar.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

namespace {
CVoraneItem* Append(CVorane& menu, const char* label, int visible = 1) {
    auto item = std::make_unique<CVoraneItem>(label);
    item->m_visible = visible;
    CVoraneItem* raw = item.get();
    menu.AddItem(std::move(item), 0);
    return raw;
}

// The tree and the model agree node for node: object, picture, text and order.
void ExpectTreeMatchesModel(const CKestruneView& view, const CAppletParameters& applet) {
    QCOMPARE(view.model()->rowCount(), 1);
    const QModelIndex root = view.RootNode();
    QCOMPARE(ObjectOfNode(root), static_cast<const void*>(&applet));
    QCOMPARE(GetNodePicture(root), 0);
    QCOMPARE(TextOfNode(root), TextOfApplet(applet));
    QCOMPARE(ChildCountOfNode(root), static_cast<int>(applet.m_menus.size()));
    std::vector<std::pair<QModelIndex, const CVorane*>> pending;
    for (int m = 0; m < ChildCountOfNode(root); ++m) {
        const CVorane* menu = applet.m_menus[static_cast<std::size_t>(m)].get();
        QCOMPARE(ObjectOfNode(ChildOfNode(root, m)), static_cast<const void*>(menu));
        QCOMPARE(GetNodePicture(ChildOfNode(root, m)), PictureOfMenu(*menu));
        QCOMPARE(TextOfNode(ChildOfNode(root, m)), TextOfMenu(*menu));
        pending.emplace_back(ChildOfNode(root, m), menu);
    }
    while (!pending.empty()) {
        auto [node, menu] = pending.back();
        pending.pop_back();
        QCOMPARE(ChildCountOfNode(node), static_cast<int>(menu->m_items.size()));
        for (int i = 0; i < ChildCountOfNode(node); ++i) {
            const CVoraneItem* item = menu->m_items[static_cast<std::size_t>(i)].get();
            QCOMPARE(ObjectOfNode(ChildOfNode(node, i)), static_cast<const void*>(item));
            QCOMPARE(GetNodePicture(ChildOfNode(node, i)), PictureOfItem(*item));
            QCOMPARE(TextOfNode(ChildOfNode(node, i)), TextOfItem(*item));
            pending.emplace_back(ChildOfNode(node, i), &item->m_subMenu.Read());
        }
    }
}
// What a filtered node must show, worked out afresh: the children that match or hold a
// match below them, in order.
bool HoldsMatch(const CVoraneItem& item, const CFindMatcher& matcher) {
    if (matcher.Matches(item)) return true;
    const CVorane* sub = item.m_subMenu.Existing();
    return sub && std::any_of(sub->m_items.begin(), sub->m_items.end(),
                              [&](const auto& child) { return HoldsMatch(*child, matcher); });
}

std::vector<const void*> ShownChildren(const QModelIndex& node, const CAppletParameters& applet,
                                       const CFindMatcher& matcher) {
    std::vector<const void*> shown;
    if (AppletOfNode(node)) {
        for (const auto& menu : applet.m_menus)
            if (std::any_of(menu->m_items.begin(), menu->m_items.end(),
                            [&](const auto& item) { return HoldsMatch(*item, matcher); }))
                shown.push_back(menu.get());
        return shown;
    }
    if (const CVorane* menu = CMenuTreeModel::ChildMenuOf(node))
        for (const auto& item : menu->m_items)
            if (HoldsMatch(*item, matcher)) shown.push_back(item.get());
    return shown;
}

void VerifyFilteredTree(const CKestruneView& view, const CAppletParameters& applet, const QString& text) {
    const CFindMatcher matcher(text);
    for (const QModelIndex& node : AllNodes(view)) {
        std::vector<const void*> rows;
        for (int row = 0; row < ChildCountOfNode(node); ++row) rows.push_back(ObjectOfNode(ChildOfNode(node, row)));
        QVERIFY2(rows == ShownChildren(node, applet, matcher), qPrintable(TextOfNode(node)));
    }
    QVERIFY(view.SelectedNode().isValid());
}

}  // namespace

class TreeTest : public QObject {
    Q_OBJECT

    struct Tree {
        FakeDialogService dialogs;
        MemorySettingsStore settings;
        CKestruneApp app{QStringLiteral("/nonexistent"), dialogs, settings};
        CKestruneDoc doc{app};
        CKestruneView view{doc};
        // A shown menu [plain, hidden item with sub menu [deep]], then a hidden menu without items.
        CVorane* shown = nullptr;
        CVorane* hidden = nullptr;
        CVoraneItem* plain = nullptr;
        CVoraneItem* withSub = nullptr;
        CVoraneItem* deep = nullptr;

        Tree() {
            doc.ReplaceModel([this](CAppletParameters& applet) {
                applet.Reset();
                applet.m_HTMLTitle = "My Title";
                applet.m_menus.push_back(std::make_unique<CVorane>(0, "top-level Menu"));
                applet.m_menus.push_back(std::make_unique<CVorane>(0, "top-level Menu"));
                shown = applet.m_menus[0].get();
                hidden = applet.m_menus[1].get();
                hidden->m_visible = 0;
                plain = Append(*shown, "plain");
                withSub = Append(*shown, "with sub", 0);
                deep = Append(*withSub->m_subMenu, "deep");
                return true;
            });
            doc.SetModifiedFlag(false);
        }
        CAppletParameters& Applet() { return app.m_applet; }
        QModelIndex Node(const void* object) { return view.NodeOfItem(object); }
    };

private slots:
    void rebuildShowsEveryNodeWithItsPictureAndKind() {
        Tree tree;
        ExpectTreeMatchesModel(tree.view, tree.Applet());
        QCOMPARE(TextOfNode(tree.view.RootNode()), QStringLiteral("My Title"));
        QCOMPARE(GetNodePicture(tree.Node(tree.shown)), 1);
        QCOMPARE(GetNodePicture(tree.Node(tree.hidden)), 2);
        QCOMPARE(GetNodePicture(tree.Node(tree.withSub)), 4);
        QCOMPARE(GetNodePicture(tree.Node(tree.plain)), 5);
        QCOMPARE(GetNodeKind(tree.Node(tree.withSub)), int(kKindSubMenuItem));
        QCOMPARE(GetNodeKind(tree.Node(tree.deep)), int(kKindPlainItem));
        QCOMPARE(GetNodeKind(QModelIndex()), int(kKindRoot));
        QCOMPARE(KindOfPicture(7), int(kKindNone));
        QCOMPARE(GetNodeDepth(tree.Node(tree.deep)), 3);
        // Root selected and expanded, top-level menus collapsed.
        QCOMPARE(tree.view.SelectedNode(), tree.view.RootNode());
        QVERIFY(tree.view.isExpanded(tree.view.RootNode()));
        QVERIFY(!tree.view.isExpanded(tree.Node(tree.shown)));
        QCOMPARE(ContainerOfNode(tree.Node(tree.deep)), tree.withSub->m_subMenu.get());
        QCOMPARE(ContainerOfNode(tree.Node(tree.plain)), tree.shown);
    }

    void rebuildClearsTheEditingContextAndPostsClearMessage() {
        Tree tree;
        tree.doc.m_pCurItem = tree.plain;
        tree.doc.m_pCurMenu = tree.shown;
        QCoreApplication::processEvents();  // the Clear Message of the first build
        QSignalSpy clear(&tree.view, &CKestruneView::clearMessageRequested);
        tree.view.RebuildTree();
        QVERIFY(!tree.doc.m_pCurItem);
        QVERIFY(!tree.doc.m_pCurMenu);
        QCOMPARE(clear.count(), 0);  // posted, runs after the current command
        QTRY_COMPARE(clear.count(), 1);
    }

    void insertOnRootPutsANewMenuFirst() {
        Tree tree;
        tree.view.SelectNode(tree.view.RootNode());
        tree.view.OnMenuInsert();
        CVorane* created = tree.Applet().m_menus.front().get();
        QCOMPARE(created->m_name, std::string("top-level Menu"));
        QCOMPARE(ChildOfNode(tree.view.RootNode(), 0), tree.view.SelectedNode());
        QCOMPARE(GetNodePicture(tree.view.SelectedNode()), 1);
        QVERIFY(tree.doc.IsModified());
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void insertOnMenuAndOnItemWithSubMenuPutsTheItemFirst() {
        Tree tree;
        tree.view.SelectNode(tree.Node(tree.shown));
        tree.view.OnMenuInsert();
        QCOMPARE(tree.shown->m_items.front()->m_label, std::string("item"));
        QCOMPARE(tree.view.SelectedNode(), ChildOfNode(tree.Node(tree.shown), 0));
        QVERIFY(tree.view.isExpanded(tree.Node(tree.shown)));
        QCOMPARE(GetNodePicture(tree.view.SelectedNode()), 5);

        tree.view.SelectNode(tree.Node(tree.withSub));
        tree.view.OnMenuInsert();
        QCOMPARE(tree.withSub->m_subMenu->m_items.size(), std::size_t(2));
        QCOMPARE(tree.view.SelectedNode(), ChildOfNode(tree.Node(tree.withSub), 0));
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void insertOnHiddenPlainItemGivesItASubMenuStyledLikeItsLevel() {
        Tree tree;
        // The first non-empty menu at nesting level 1 is the sub menu of "with sub".
        tree.withSub->m_subMenu->m_Width = 123;
        tree.plain->m_visible = 0;
        tree.doc.SetVisible(tree.plain, false);
        tree.view.SelectNode(tree.Node(tree.plain));
        tree.view.OnMenuInsert();
        QCOMPARE(GetNodePicture(tree.Node(tree.plain)), 4);
        QCOMPARE(tree.plain->m_subMenu->m_Width, 123);
        QCOMPARE(GetNodePicture(tree.view.SelectedNode()), 5);
        QCOMPARE(ItemOfNode(tree.view.SelectedNode()), tree.plain->m_subMenu->m_items.front().get());
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    // Whoever follows the document learns which item a new sub menu belongs to, from an
    // insert and from a paste into a plain item.
    void itemsPlacedBelowAnItemNameIt() {
        Tree tree;
        std::vector<ModelChange> inserted;
        connect(&tree.doc, &CKestruneDoc::modelChanged, this, [&](const ModelChange& change) {
            if (change.kind == ModelChange::ItemInserted) inserted.push_back(change);
        });
        tree.view.SelectNode(tree.Node(tree.plain));
        tree.view.OnMenuInsert();
        tree.view.Transfer().InsertCopyAt(tree.Node(tree.deep), *tree.withSub);
        QCOMPARE(inserted.size(), std::size_t{2});
        QCOMPARE(inserted[0].owner, tree.plain);
        QCOMPARE(inserted[0].menu, tree.plain->m_subMenu.Existing());
        QCOMPARE(inserted[1].owner, tree.deep);
        tree.doc.Undo();
        tree.doc.Undo();
        inserted.clear();
        tree.doc.Redo();
        QCOMPARE(inserted.size(), std::size_t{1});
        QCOMPARE(inserted[0].owner, tree.plain);
    }

    // The style found for a plain item's first sub menu stays what a search of the whole
    // document finds, through edits that fill levels and empty them again.
    void subMenuStyleFollowsLevelsFilledAndEmptied() {
        Tree tree;
        const auto agrees = [&] {
            std::vector<CVoraneItem*> items;
            for (const auto& menu : tree.Applet().m_menus) {
                std::vector<const CVorane*> pending{menu.get()};
                while (!pending.empty()) {
                    const CVorane* current = pending.back();
                    pending.pop_back();
                    for (const auto& item : current->m_items) {
                        items.push_back(item.get());
                        if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(sub);
                    }
                }
            }
            for (CVoraneItem* item : items) {
                const QModelIndex node = tree.Node(item);
                if (tree.view.FindSubMenuStyle(node) != FindSubMenuStyle(tree.Applet(), node)) return false;
            }
            return true;
        };
        QVERIFY(agrees());
        // "deep" gets a sub item: level 2 is filled for the first time, then emptied again.
        tree.view.SelectNode(tree.Node(tree.deep));
        tree.view.OnMenuInsert();
        QVERIFY(tree.deep->m_subMenu->m_items.size() == 1);
        QVERIFY(agrees());
        tree.doc.Undo();
        QVERIFY(agrees());
        tree.doc.Redo();
        QVERIFY(agrees());
        // A copy of a branch three levels deep, pasted below "plain".
        QVERIFY(tree.view.Transfer().InsertCopyAt(tree.Node(tree.plain), *tree.withSub).isValid());
        QVERIFY(agrees());
        tree.doc.Undo();
        QVERIFY(agrees());
        // A whole top-level menu goes and comes back; the last item of a level leaves.
        QVERIFY(tree.doc.RemoveTopLevelMenu(tree.shown));
        QVERIFY(agrees());
        tree.doc.Undo();
        QVERIFY(agrees());
        QVERIFY(tree.doc.RemoveItem(tree.withSub->m_subMenu.get(), tree.deep));
        QVERIFY(agrees());
        tree.doc.Undo();
        QVERIFY(agrees());
        tree.doc.Undo();  // the sub item of "deep"
        QVERIFY(agrees());
    }

    void insertWithoutMenuAtItsLevelTakesTheStyleOfTheHoldingMenu() {
        Tree tree;
        tree.shown->m_Width = 77;
        // "deep" is at depth 3: its sub menu has level 2, where no menu has items.
        tree.view.SelectNode(tree.Node(tree.deep));
        QCOMPARE(tree.view.FindSubMenuStyle(tree.Node(tree.deep)), tree.withSub->m_subMenu.get());
        tree.view.SelectNode(tree.Node(tree.plain));
        QCOMPARE(tree.view.FindSubMenuStyle(tree.Node(tree.plain)), tree.withSub->m_subMenu.get());
        tree.withSub->m_subMenu->RemoveAllItems();
        QCOMPARE(tree.view.FindSubMenuStyle(tree.Node(tree.plain)), tree.shown);
    }

    void deleteOnRootOnlyShowsTheStopMessage() {
        Tree tree;
        tree.view.SelectNode(tree.view.RootNode());
        tree.view.OnMenuDelete();
        QCOMPARE(tree.dialogs.messages, QStringList{QStringLiteral("Can't delete root!")});
        QCOMPARE(tree.Applet().m_menus.size(), std::size_t(2));
        QVERIFY(!tree.doc.IsModified());
    }

    void deleteQuestionsAnsweredCancelChangeNothing_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("question");
        QTest::newRow("menu") << 0 << QStringLiteral("Are you sure to delete this top-level menu?");
        QTest::newRow("item with sub menu") << 1 << QStringLiteral("Are you sure to delete this item and it's sub menu?");
        QTest::newRow("plain item") << 2 << QStringLiteral("Are you sure to delete this item?");
    }
    void deleteQuestionsAnsweredCancelChangeNothing() {
        QFETCH(int, which);
        QFETCH(QString, question);
        Tree tree;
        const void* targets[] = {tree.shown, tree.withSub, tree.plain};
        tree.view.SelectNode(tree.Node(targets[which]));
        tree.dialogs.answers = {IDialogService::Answer::Cancel};
        tree.view.OnMenuDelete();
        QCOMPARE(tree.dialogs.messages, QStringList{question});
        QVERIFY(!tree.doc.IsModified());
        QCOMPARE(tree.view.SelectedNode(), tree.Node(targets[which]));
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void deleteAnsweredOkRemovesTheNodeAndSelectsItsParent() {
        Tree tree;
        tree.doc.m_pCurItem = tree.deep;
        tree.view.SelectNode(tree.Node(tree.withSub));
        tree.view.OnMenuDelete();  // OK
        QCOMPARE(tree.shown->m_items.size(), std::size_t(1));
        QCOMPARE(tree.view.SelectedNode(), tree.Node(tree.shown));
        QVERIFY(!tree.Node(tree.deep).isValid());
        QVERIFY(!tree.doc.m_pCurItem);
        QVERIFY(tree.doc.IsModified());
        ExpectTreeMatchesModel(tree.view, tree.Applet());

        tree.view.SelectNode(tree.Node(tree.shown));
        tree.view.OnMenuDelete();
        QCOMPARE(tree.Applet().m_menus.size(), std::size_t(1));
        QCOMPARE(tree.view.SelectedNode(), tree.view.RootNode());
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void deletingTheLastSubItemTurnsTheParentBackIntoAPlainItem() {
        Tree tree;
        tree.view.SelectNode(tree.Node(tree.deep));
        tree.view.OnMenuDelete();
        QCOMPARE(GetNodePicture(tree.Node(tree.withSub)), 6);  // hidden plain item
        QCOMPARE(tree.view.SelectedNode(), tree.Node(tree.withSub));
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void visibleFlipsPictureAndModelAndMarksTheDocument() {
        Tree tree;
        tree.view.SelectNode(tree.Node(tree.withSub));
        QVERIFY(!treecommands::IsNodeVisible(tree.view.SelectedNode()));
        tree.view.OnMenuVisible();
        QCOMPARE(tree.withSub->m_visible, 1);
        QCOMPARE(GetNodePicture(tree.Node(tree.withSub)), 3);
        QVERIFY(treecommands::IsNodeVisible(tree.view.SelectedNode()));
        QVERIFY(tree.doc.IsModified());

        tree.view.SelectNode(tree.Node(tree.hidden));
        tree.view.OnMenuVisible();
        QCOMPARE(tree.hidden->m_visible, 1);
        QCOMPARE(GetNodePicture(tree.Node(tree.hidden)), 1);

        tree.doc.SetModifiedFlag(false);
        tree.view.SelectNode(tree.view.RootNode());
        tree.view.OnMenuVisible();
        QVERIFY(!tree.doc.IsModified());
    }

    void moveUpAndDownReorderModelAndNodes() {
        Tree tree;
        tree.view.SelectNode(tree.Node(tree.plain));
        tree.view.OnMenuMoveUp();  // already first
        QVERIFY(!tree.doc.IsModified());
        QCOMPARE(tree.shown->m_items.front().get(), tree.plain);

        tree.view.expand(tree.Node(tree.withSub));
        tree.view.SelectNode(tree.Node(tree.withSub));
        tree.view.OnMenuMoveUp();
        QCOMPARE(tree.shown->m_items.front().get(), tree.withSub);
        QCOMPARE(tree.view.SelectedNode(), tree.Node(tree.withSub));
        QCOMPARE(tree.Node(tree.withSub).parent(), tree.Node(tree.shown));
        QCOMPARE(tree.Node(tree.withSub).row(), 0);
        QVERIFY(!tree.view.isExpanded(tree.Node(tree.withSub)));
        QVERIFY(tree.doc.IsModified());

        // A node opened below a closed one comes back closed too.
        QVERIFY(tree.doc.InsertCopy(tree.deep->m_subMenu.get(), *tree.plain));
        tree.view.expand(tree.Node(tree.withSub));
        tree.view.expand(tree.Node(tree.deep));
        tree.view.collapse(tree.Node(tree.withSub));
        QVERIFY(tree.view.isExpanded(tree.Node(tree.deep)));
        tree.view.SelectNode(tree.Node(tree.withSub));
        tree.doc.SetModifiedFlag(false);
        tree.view.OnMenuMoveDown();
        QVERIFY(!tree.view.isExpanded(tree.Node(tree.deep)));
        QCOMPARE(tree.shown->m_items.back().get(), tree.withSub);
        tree.view.OnMenuMoveDown();  // already last
        QCOMPARE(tree.shown->m_items.back().get(), tree.withSub);
        QCOMPARE(tree.view.SelectedNode(), tree.Node(tree.withSub));
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void editsMadeThroughTheDocumentReachTheNodes() {
        Tree tree;
        // A copy pasted by another part of the editor appears with all its sub nodes.
        CVoraneItem* copy = tree.doc.InsertCopy(tree.plain->m_subMenu.get(), *tree.withSub);
        QVERIFY(tree.Node(copy).isValid());
        QCOMPARE(GetNodePicture(tree.Node(tree.plain)), 3);
        tree.doc.EditProperties([&] {
            tree.plain->m_label = "two\r\nlines";
            return true;
        }, tree.shown, tree.plain);
        QCOMPARE(TextOfNode(tree.Node(tree.plain)), QStringLiteral("two\nlines"));
        tree.doc.EditProperties([&] {
            tree.Applet().m_HTMLTitle = "Renamed";
            return true;
        });
        QCOMPARE(TextOfNode(tree.view.RootNode()), QStringLiteral("Renamed"));
        tree.doc.RemoveTopLevelMenu(tree.shown);
        QVERIFY(!tree.Node(copy).isValid());
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void curItemMenuIsTheContainerOfTheSelectedItem() {
        Tree tree;
        tree.view.SelectNode(tree.Node(tree.deep));
        QVERIFY(!tree.view.GetCurItemMenu());
        tree.doc.m_pCurItem = tree.deep;
        QCOMPARE(tree.view.GetCurItemMenu(), tree.withSub->m_subMenu.get());
        tree.view.SelectNode(tree.Node(tree.plain));
        QCOMPARE(tree.view.GetCurItemMenu(), tree.shown);
    }

    // Looking at properties changes nothing.
    void propertyLeavesTheDocumentUnmodified() {
        Tree tree;
        tree.view.SelectNode(tree.view.RootNode());
        tree.view.OnMenuProperty();
        QVERIFY(!tree.doc.IsModified());
    }

    void contextMenuOpensAtTheKeyboardCornerOrOnAHitNode() {
        Tree tree;
        QMenu popup;
        popup.addAction(QStringLiteral("entry"));
        tree.view.SetContextMenu(&popup);
        tree.view.resize(300, 200);
        tree.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree.view));

        QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(50, 50), tree.view.mapToGlobal(QPoint(50, 50)));
        QApplication::sendEvent(tree.view.viewport(), &keyboard);
        QTRY_VERIFY(popup.isVisible());
        QCOMPARE(popup.pos(), tree.view.mapToGlobal(QPoint(5, 5)));
        popup.hide();

        // A right click below the last node hits nothing: no menu, selection unchanged.
        const QPoint empty(10, tree.view.viewport()->height() - 5);
        QContextMenuEvent miss(QContextMenuEvent::Mouse, empty, tree.view.viewport()->mapToGlobal(empty));
        QApplication::sendEvent(tree.view.viewport(), &miss);
        QVERIFY(!popup.isVisible());
        QCOMPARE(tree.view.SelectedNode(), tree.view.RootNode());

        tree.view.expand(tree.Node(tree.shown));
        const QPoint onPlain = tree.view.visualRect(tree.Node(tree.plain)).center();
        QContextMenuEvent hit(QContextMenuEvent::Mouse, onPlain, tree.view.viewport()->mapToGlobal(onPlain));
        QApplication::sendEvent(tree.view.viewport(), &hit);
        QCOMPARE(tree.view.SelectedNode(), tree.Node(tree.plain));
        QTRY_VERIFY(popup.isVisible());
        popup.hide();
    }

    void clipboardKeysDoNothingWhenTheViewGetsThem() {
        Tree tree;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(&tree.view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void rebuildOfTenThousandItemsMatchesTheModel() {
        Tree tree;
        tree.doc.ReplaceModel([](CAppletParameters& applet) {
            applet.Reset();
            for (int m = 0; m < 10; ++m) {
                applet.m_menus.push_back(std::make_unique<CVorane>(0, "menu"));
                for (int i = 0; i < 100; ++i) {
                    CVoraneItem* item = Append(*applet.m_menus.back(), "item");
                    for (int j = 0; j < 9; ++j) Append(*item->m_subMenu, "sub", j % 2);
                }
            }
            return true;
        });
        // Shown, the tree has read the root and the top-level menus, nothing of the items.
        tree.view.resize(300, 400);
        tree.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree.view));
        QVERIFY(tree.view.TreeModel().RememberedCount() <= 1 + 10);
        ExpectTreeMatchesModel(tree.view, tree.Applet());
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(tree.view, tree.Applet());
    }

    // A menu longer than a batch reaches the view in batches; edits at, inside and past the
    // end of what was handed out keep the shown tree in step with the model.
    void aLongMenuIsHandedOutInBatchesAndFollowsEdits() {
        Tree tree;
        const int count = 5 * CMenuTreeModel::kBatchRows + 500;
        std::vector<CVoraneItem*> items;
        tree.doc.ReplaceModel([&](CAppletParameters& applet) {
            applet.Reset();
            applet.m_menus.push_back(std::make_unique<CVorane>(0, "long"));
            for (int i = 0; i < count; ++i) {
                auto item = std::make_unique<CVoraneItem>(("item " + std::to_string(i)).c_str());
                items.push_back(item.get());
                applet.m_menus[0]->m_items.push_back(std::move(item));
            }
            Append(*items[3]->m_subMenu, "below");
            return true;
        });
        const CMenuTreeModel& model = tree.view.TreeModel();
        tree.view.resize(300, 400);
        tree.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree.view));
        CVorane* menu = tree.Applet().m_menus[0].get();
        tree.view.expand(tree.Node(menu));
        QCOMPARE(model.rowCount(tree.Node(menu)), CMenuTreeModel::kBatchRows);
        QVERIFY(model.canFetchMore(tree.Node(menu)));
        QVERIFY(model.RememberedCount() < count);
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());
        // Scrolled to the end, the next batch comes.
        tree.view.scrollToBottom();
        QTRY_VERIFY(model.rowCount(tree.Node(menu)) > CMenuTreeModel::kBatchRows);
        const int firstRows = model.rowCount(tree.Node(menu));
        QVERIFY2(firstRows < count, qPrintable(QString::number(firstRows)));
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());

        // Inside what was handed out: the rows grow and shrink by one.
        tree.view.SelectNode(tree.Node(menu));
        tree.view.OnMenuInsert();
        QCOMPARE(model.rowCount(tree.Node(menu)), firstRows + 1);
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());
        tree.doc.Undo();
        QCOMPARE(model.rowCount(tree.Node(menu)), firstRows);
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());

        // Across the end of what was handed out, and past it.
        QVERIFY(tree.doc.MoveItem(menu, items[static_cast<std::size_t>(firstRows - 1)], +1));
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());
        const int rowsNow = model.rowCount(tree.Node(menu));
        QVERIFY(tree.doc.RemoveItem(menu, items.back()));
        QCOMPARE(model.rowCount(tree.Node(menu)), std::min(rowsNow, count - 1));
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());

        // An item never handed out is found, and its rows come with it.
        tree.view.SelectNode(tree.Node(items[static_cast<std::size_t>(count - 10)]));
        QCOMPARE(ItemOfNode(tree.view.SelectedNode()), items[static_cast<std::size_t>(count - 10)]);
        QCOMPARE(model.rowCount(tree.Node(menu)), count - 1);
        VERIFY_SHOWN_TREE_MATCHES_MODEL(tree.view, tree.Applet());
        tree.doc.Undo();
        tree.doc.Undo();
        ExpectTreeMatchesModel(tree.view, tree.Applet());
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(tree.view, tree.Applet());
    }

    void findShowsAndSelectsMatchesTheTreeNeverShowed() {
        Tree tree;
        const int count = 3 * CMenuTreeModel::kBatchRows;
        CVoraneItem* deepMatch = nullptr;
        tree.doc.ReplaceModel([&](CAppletParameters& applet) {
            applet.Reset();
            applet.m_menus.push_back(std::make_unique<CVorane>(0, "long"));
            for (int i = 0; i < count; ++i)
                applet.m_menus[0]->m_items.push_back(std::make_unique<CVoraneItem>("plain"));
            CVoraneItem* holder = applet.m_menus[0]->m_items[static_cast<std::size_t>(count - 2)].get();
            deepMatch = Append(*Append(*holder->m_subMenu, "between")->m_subMenu, "the Needle");
            return true;
        });
        CTreeFindBar find(tree.view);
        find.Edit()->setText(QStringLiteral("needle"));
        const std::vector<QModelIndex> nodes = AllNodes(tree.view);
        const auto shown = std::count_if(nodes.begin(), nodes.end(),
                                         [&](const QModelIndex& node) { return IsNodeShown(tree.view, node); });
        QCOMPARE(shown, 5);  // root, menu, holder, between and the match
        QVERIFY(IsNodeShown(tree.view, tree.Node(deepMatch)));
        QCOMPARE(find.Status(), QStringLiteral("1 found"));
        QVERIFY(find.FindNext());
        QCOMPARE(ItemOfNode(tree.view.SelectedNode()), deepMatch);
        QCOMPARE(find.Status(), QStringLiteral("1 of 1"));
        // Nothing found is said, not only shown as a bare root.
        find.Edit()->setText(QStringLiteral("zzz"));
        QCOMPARE(find.Status(), QStringLiteral("No match"));
        QVERIFY(!find.FindNext());
        find.Close();
        for (const QModelIndex& node : AllNodes(tree.view)) QVERIFY(IsNodeShown(tree.view, node));
    }

    void editsWhileFindingKeepTheFilterTrueAndTheSelectionOnAShownNode() {
        Tree tree;
        CTreeFindBar find(tree.view);
        find.Edit()->setText(QStringLiteral("DEEP"));
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QCOMPARE(find.Status(), QStringLiteral("1 found"));
        QVERIFY(IsNodeShown(tree.view, tree.Node(tree.deep)));
        QVERIFY(!tree.Node(tree.plain).isValid());

        // A rename that no longer matches takes the item out of the tree; Undo brings it back.
        tree.view.SelectNode(tree.Node(tree.deep));
        QVERIFY(tree.view.RenameNode(tree.view.SelectedNode(), QStringLiteral("shallow")));
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QCOMPARE(find.Status(), QStringLiteral("No match"));
        tree.doc.Undo();
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QCOMPARE(find.Status(), QStringLiteral("1 found"));

        // Removing the selected match leaves the selection on a node that is still there.
        tree.view.SelectNode(tree.Node(tree.deep));
        QVERIFY(tree.doc.RemoveItem(tree.withSub->m_subMenu.get(), tree.deep));
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QVERIFY(ObjectOfNode(tree.view.SelectedNode()) != tree.deep);
        tree.doc.Undo();
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));

        // A new match shows at once; a move keeps the filter's order.
        CVoraneItem* copy = tree.doc.InsertCopy(tree.shown, *tree.deep);
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QCOMPARE(find.Status(), QStringLiteral("2 found"));
        QCOMPARE(ItemOfNode(ChildOfNode(tree.Node(tree.shown), 0)), copy);
        QVERIFY(tree.doc.MoveItem(tree.shown, copy, +1));
        QVERIFY(tree.doc.MoveItem(tree.shown, copy, +1));
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));
        QCOMPARE(ItemOfNode(ChildOfNode(tree.Node(tree.shown), 1)), copy);

        // A drag that moves a shown match moves it: the tree shown afresh by the drop still
        // lets the original go.
        CTreeTransfer& transfer = tree.view.Transfer();
        QVERIFY(transfer.BeginDrag(tree.Node(copy)));
        QCOMPARE(transfer.Drop(tree.Node(tree.withSub), false, CTreeTransfer::Place::Above), Qt::MoveAction);
        transfer.EndDrag(Qt::MoveAction);
        QCOMPARE(tree.shown->m_items.size(), std::size_t{3});
        QCOMPARE(tree.shown->m_items[1]->m_label, std::string("deep"));
        VerifyFilteredTree(tree.view, tree.Applet(), QStringLiteral("DEEP"));

        find.Close();
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    void findMatchesLettersOfAnyCaseAndCharactersBeyondTheCodePage() {
        CVoraneItem item("\xC9LAN \x8A|&#9733;\r\nsecond");
        item.m_link = "page.html";
        for (const QString& text : {QStringLiteral("élan"), QStringLiteral("š"), QStringLiteral("★"),
                                    QStringLiteral("second"), QStringLiteral("PAGE.H")})
            QVERIFY2(CFindMatcher(text).Matches(item), qPrintable(text));
        // The reference is a character, not its digits; nor does a line break match a blank.
        for (const QString& text : {QStringLiteral("#97"), QStringLiteral("&#9733;"), QStringLiteral("★ second")})
            QVERIFY2(!CFindMatcher(text).Matches(item), qPrintable(text));
    }

    void readingTheTreeMakesNoSubMenus() {
        Tree tree;
        tree.view.show();
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(tree.view, tree.Applet());
        ExpectTreeMatchesModel(tree.view, tree.Applet());
        tree.view.SelectNode(tree.Node(tree.deep));
        tree.view.OnMenuProperty();
        QVERIFY(!tree.plain->m_subMenu.Existing());
        QVERIFY(!tree.deep->m_subMenu.Existing());
        QCOMPARE(GetNodeKind(tree.Node(tree.deep)), int(kKindPlainItem));
    }

    void nodesOfObjectsNeverShownAreFoundAndFollowEdits() {
        Tree tree;
        // Nothing below the menus was handed out yet; the deep item is found and selected.
        tree.view.SelectNode(tree.Node(tree.deep));
        QCOMPARE(ItemOfNode(tree.view.SelectedNode()), tree.deep);
        QVERIFY(tree.view.isExpanded(tree.Node(tree.withSub)));
        // A copy placed in a collapsed, never shown sub menu is found too, then removed again.
        tree.view.collapse(tree.Node(tree.shown));
        CVoraneItem* copy = tree.doc.InsertCopy(tree.deep->m_subMenu.get(), *tree.plain);
        QCOMPARE(ItemOfNode(tree.Node(copy)), copy);
        QCOMPARE(ContainerOfNode(tree.Node(copy)), tree.deep->m_subMenu.Existing());
        QCOMPARE(GetNodePicture(tree.Node(tree.deep)), int(kPictureSubMenuItem));
        tree.doc.Undo();
        QVERIFY(!tree.Node(copy).isValid());
        QCOMPARE(GetNodePicture(tree.Node(tree.deep)), int(kPicturePlainItem));
        ExpectTreeMatchesModel(tree.view, tree.Applet());
    }

    // A refused name keeps the in-place editor open with what was typed, as a property page
    // keeps its box; a name the menu file can carry then ends it.
    void aCommaInARenameKeepsTheEditorWithTheText() {
        Tree tree;
        tree.view.show();
        const QModelIndex node = tree.Node(tree.plain);
        tree.view.SelectNode(node);
        tree.view.OnEditRename();
        auto* editor = qobject_cast<QLineEdit*>(tree.view.indexWidget(node));
        QVERIFY(editor);
        editor->setText(QStringLiteral("Shop, Cart"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // where the editor's commit would run
        QCOMPARE(tree.dialogs.messages, QStringList{QString::fromLatin1(texts::kMsgNoComma)});
        QCOMPARE(tree.view.indexWidget(node), editor);
        QCOMPARE(editor->text(), QStringLiteral("Shop, Cart"));
        QCOMPARE(tree.plain->m_label, std::string("plain"));

        editor->setText(QStringLiteral("Shop"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(tree.plain->m_label, std::string("Shop"));
        QVERIFY(!tree.view.indexWidget(tree.Node(tree.plain)));
        QCOMPARE(tree.dialogs.messages.size(), 1);
    }
};

QTEST_MAIN(TreeTest)
#include "tst_tree.moc"
