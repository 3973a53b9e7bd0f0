// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDragMoveEvent>
#include <QMimeData>
#include <QtTest>

#include "clipboard/ItemClipboard.h"
#include "tree/TreeTransfer.h"
#include "support/EditorFixture.h"
#include "support/TreeModelAgreement.h"
#include "tree/TreeNodes.h"
#include "common/MenuLabels.h"

using namespace kestrune;

class DragDropTest : public QObject {
    Q_OBJECT

    // Menu A: A1 (sub menu A1a (sub menu A1ax), A1b), A2, A3. Menu B: B1.
    struct Model {
        CVorane *a, *b;
        CVoraneItem *a1, *a1a, *a1ax, *a1b, *a2, *a3, *b1;
    };
    static Model Fill(CAppletParameters& applet) {
        Model m{};
        m.a = AddMenu(applet, "A");
        m.b = AddMenu(applet, "B");
        m.a1 = AddItem(*m.a, "A1");
        m.a2 = AddItem(*m.a, "A2");
        m.a3 = AddItem(*m.a, "A3");
        m.a1a = AddItem(*m.a1->m_subMenu, "A1a");
        m.a1b = AddItem(*m.a1->m_subMenu, "A1b");
        m.a1ax = AddItem(*m.a1a->m_subMenu, "A1ax");
        m.b1 = AddItem(*m.b, "B1");
        return m;
    }

private slots:
    void descendantsAreFoundAtAnyDepthButNotAboveOrBeside() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        QModelIndex a1 = f.Node(m.a1);
        QVERIFY(CTreeTransfer::IsDescendant(a1, f.Node(m.a1a)));
        QVERIFY(CTreeTransfer::IsDescendant(a1, f.Node(m.a1ax)));
        QVERIFY(CTreeTransfer::IsDescendant(f.view.RootNode(), f.Node(m.a1ax)));
        QVERIFY(!CTreeTransfer::IsDescendant(a1, a1));
        QVERIFY(!CTreeTransfer::IsDescendant(a1, f.Node(m.a)));
        QVERIFY(!CTreeTransfer::IsDescendant(a1, f.Node(m.a2)));
        QVERIFY(!CTreeTransfer::IsDescendant(f.Node(m.a1a), f.Node(m.a1b)));
    }

    void dropRules() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        QModelIndex a1 = f.Node(m.a1);
        QModelIndex root = f.view.RootNode();
        for (bool ctrl : {false, true}) {
            QVERIFY(!CTreeTransfer::CanDrop(a1, root, ctrl));
            QVERIFY(!CTreeTransfer::CanDrop(a1, QModelIndex(), ctrl));
            QVERIFY(CTreeTransfer::CanDrop(a1, f.Node(m.b), ctrl));
            QVERIFY(CTreeTransfer::CanDrop(a1, f.Node(m.a), ctrl));
            QVERIFY(CTreeTransfer::CanDrop(a1, f.Node(m.a2), ctrl));
        }
        QVERIFY(!CTreeTransfer::CanDrop(a1, a1, false));
        QVERIFY(CTreeTransfer::CanDrop(a1, a1, true));
        QVERIFY(!CTreeTransfer::CanDrop(a1, f.Node(m.a1ax), false));
        QVERIFY(CTreeTransfer::CanDrop(a1, f.Node(m.a1ax), true));
        // Onto an ancestor it is fine: the copy lands first there.
        QVERIFY(CTreeTransfer::CanDrop(f.Node(m.a1ax), a1, false));
    }

    void onlyItemsStartADrag() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(!transfer.BeginDrag(f.view.RootNode()));
        QVERIFY(!transfer.BeginDrag(f.Node(m.a)));
        QVERIFY(!transfer.BeginDrag(QModelIndex()));
        QVERIFY(!f.view.Transfer().DragItem().isValid());
        QVERIFY(transfer.BeginDrag(f.Node(m.a1)));
        QCOMPARE(f.view.Transfer().DragItem(), f.Node(m.a1));
        transfer.EndDrag(Qt::IgnoreAction);
        QVERIFY(!f.view.Transfer().DragItem().isValid());
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void moveOntoItsOwnMenuPutsItFirst() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(transfer.BeginDrag(f.Node(m.a3)));
        QModelIndex menuA = f.Node(m.a);
        QCOMPARE(transfer.DragOver(menuA, false), Qt::MoveAction);
        QCOMPARE(f.view.Transfer().DropHighlight(), menuA);
        QCOMPARE(transfer.Drop(menuA, false), Qt::MoveAction);
        QVERIFY(!f.view.Transfer().DropHighlight().isValid());
        transfer.EndDrag(Qt::MoveAction);

        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A3", "A1", "A2"}));
        QVERIFY(m.a->m_items.front().get() != m.a3);  // a copy took its place
        QVERIFY(!f.view.Transfer().DragItem().isValid());
        QCOMPARE(f.view.SelectedNode(), treenodes::ChildOfNode(menuA, 0));
        QVERIFY(f.doc.IsModified());
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void ctrlCopyIntoItself() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();

        // A plain item: it gets a sub menu holding a copy of itself.
        QModelIndex a2 = f.Node(m.a2);
        QVERIFY(transfer.BeginDrag(a2));
        QCOMPARE(transfer.DragOver(a2, false), Qt::IgnoreAction);
        QCOMPARE(transfer.DragOver(a2, true), Qt::CopyAction);
        QCOMPARE(transfer.Drop(a2, true), Qt::CopyAction);
        transfer.EndDrag(Qt::CopyAction);
        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A1", "A2", "A3"}));
        QCOMPARE(Labels(*m.a2->m_subMenu), (std::vector<std::string>{"A2"}));
        QVERIFY(m.a2->m_subMenu->m_items.front()->m_subMenu->m_items.empty());
        QCOMPARE(treenodes::GetNodePicture(a2), 3);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());

        // An item with a sub menu: the copy is taken before it is placed, so it holds
        // the two sub items it had, not itself.
        QModelIndex a1 = f.Node(m.a1);
        QVERIFY(transfer.BeginDrag(a1));
        QCOMPARE(transfer.Drop(a1, true), Qt::CopyAction);
        transfer.EndDrag(Qt::CopyAction);
        QCOMPARE(Labels(*m.a1->m_subMenu), (std::vector<std::string>{"A1", "A1a", "A1b"}));
        QCOMPARE(Labels(*m.a1->m_subMenu->m_items.front()->m_subMenu), (std::vector<std::string>{"A1a", "A1b"}));
        QCOMPARE(f.view.SelectedNode(), treenodes::ChildOfNode(a1, 0));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void ctrlCopyBelowItselfKeepsTheOriginal() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(transfer.BeginDrag(f.Node(m.a1)));
        QCOMPARE(transfer.DragOver(f.Node(m.a1ax), true), Qt::CopyAction);
        QCOMPARE(transfer.Drop(f.Node(m.a1ax), true), Qt::CopyAction);
        transfer.EndDrag(Qt::CopyAction);
        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A1", "A2", "A3"}));
        const CVoraneItem* copy = m.a1ax->m_subMenu->m_items.front().get();
        QCOMPARE(copy->m_label, std::string("A1"));
        QCOMPARE(Labels(*copy->m_subMenu->m_items.front()->m_subMenu), (std::vector<std::string>{"A1ax"}));
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.a1ax)), 3);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void refusedDropsChangeNothingAndKeepTheHighlight() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        CTreeTransfer& transfer = f.view.Transfer();
        QModelIndex a1 = f.Node(m.a1);
        QVERIFY(transfer.BeginDrag(a1));
        QCOMPARE(transfer.DragOver(f.Node(m.b1), false), Qt::MoveAction);
        QCOMPARE(f.view.Transfer().DropHighlight(), f.Node(m.b1));
        QVERIFY(f.Node(m.b1).data(Qt::BackgroundRole).value<QBrush>().style() != Qt::NoBrush);

        for (QModelIndex refused : {f.view.RootNode(), a1, f.Node(m.a1a), f.Node(m.a1ax),
                                         QModelIndex()}) {
            QCOMPARE(transfer.DragOver(refused, false), Qt::IgnoreAction);
            QCOMPARE(f.view.Transfer().DropHighlight(), f.Node(m.b1));
        }
        QCOMPARE(transfer.DragOver(f.view.RootNode(), true), Qt::IgnoreAction);

        transfer.DragLeave();
        QVERIFY(!f.view.Transfer().DropHighlight().isValid());
        QCOMPARE(f.Node(m.b1).data(Qt::BackgroundRole).value<QBrush>().style(), Qt::NoBrush);

        QCOMPARE(transfer.Drop(f.Node(m.a1a), false), Qt::IgnoreAction);
        QCOMPARE(transfer.Drop(f.view.RootNode(), true), Qt::IgnoreAction);
        transfer.EndDrag(Qt::IgnoreAction);
        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A1", "A2", "A3"}));
        QCOMPARE(Labels(*m.a1->m_subMenu), (std::vector<std::string>{"A1a", "A1b"}));
        QVERIFY(!f.doc.IsModified());
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void moveOntoAPlainItemElsewhereTakesEverythingAlong() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.doc.m_pCurItem = m.a1ax;
        f.doc.m_pCurMenu = m.a1a->m_subMenu.get();
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(transfer.BeginDrag(f.Node(m.a1)));
        QCOMPARE(transfer.Drop(f.Node(m.b1), false), Qt::MoveAction);
        transfer.EndDrag(Qt::MoveAction);

        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A2", "A3"}));
        QCOMPARE(Labels(*m.b1->m_subMenu), (std::vector<std::string>{"A1"}));
        QCOMPARE(Labels(*m.b1->m_subMenu->m_items.front()->m_subMenu), (std::vector<std::string>{"A1a", "A1b"}));
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.b1)), 3);
        QVERIFY(!f.doc.m_pCurItem);  // it went with the moved item
        QVERIFY(!f.doc.m_pCurMenu);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());

        // Moving the only sub item out turns its parent back into a plain item.
        QModelIndex moved = treenodes::ChildOfNode(f.Node(m.b1), 0);
        QVERIFY(transfer.BeginDrag(moved));
        QCOMPARE(transfer.Drop(f.Node(m.a), false), Qt::MoveAction);
        transfer.EndDrag(Qt::MoveAction);
        QCOMPARE(treenodes::GetNodePicture(f.Node(m.b1)), 5);
        QCOMPARE(Labels(*m.a), (std::vector<std::string>{"A1", "A2", "A3"}));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void dragsFromElsewhereAreNotAccepted() {
        EditorFixture f;
        Model m{};
        f.Load([&](CAppletParameters& applet) { m = Fill(applet); });
        f.view.resize(300, 300);
        f.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.view));
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(transfer.BeginDrag(f.Node(m.a2)));

        // Same format, but not a drag this view started (no source): refused.
        std::unique_ptr<QMimeData> data = CItemClipboard::DragData();
        const QPoint over = f.view.visualRect(f.Node(m.b)).center();
        QDragMoveEvent move(over, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.view.viewport(), &move);
        QVERIFY(!move.isAccepted());
        QDropEvent drop(over, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.view.viewport(), &drop);
        QVERIFY(!drop.isAccepted());
        transfer.EndDrag(Qt::IgnoreAction);
        QCOMPARE(Labels(*m.b), (std::vector<std::string>{"B1"}));
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }
};

QTEST_MAIN(DragDropTest)
#include "tst_dragdrop.moc"
