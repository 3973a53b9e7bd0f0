// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "output/HtmlPageBuilder.h"
#include "tree/TreeTransfer.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"
#include "persist/MenuFileText.h"
#include "properties/DlgAppletParam.h"
#include "properties/DlgItem.h"
#include "properties/DlgItemState.h"
#include "properties/DlgMenuStyle.h"
#include "properties/MediaDialogScope.h"
#include "support/EditorFixture.h"
#include "support/TreeModelAgreement.h"
#include "tree/TreeCommands.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

namespace {
// Two menus: the first [c (hidden), b [b2 [b21], b1], a], the second (hidden) [d]; styled apart.
// (AddItem appends.)
void FillSample(CAppletParameters& applet) {
    applet.m_HTMLTitle = "Undo sample";
    CVorane* first = AddMenu(applet, "top-level Menu");
    CVorane* second = AddMenu(applet, "top-level Menu");
    second->m_visible = 0;
    second->m_Width = 120;
    AddItem(*second, "d");
    AddItem(*first, "c", 0);
    CVoraneItem* b = AddItem(*first, "b");
    AddItem(*first, "a");
    b->m_subMenu->m_Width = 90;
    b->m_subMenu->m_itemStyle[1].FontSize = 18;
    CVoraneItem* b2 = AddItem(*b->m_subMenu, "b2");
    AddItem(*b->m_subMenu, "b1");
    AddItem(*b2->m_subMenu, "b21");
}

// Everything a save writes from the model: the menu file's lines and the page text.
std::string SavedText(CAppletParameters& applet) {
    MenuSectionForm form;
    form.section = "Vorane2.0";
    return FormatMenuSection(applet, form) + "\n----\n" + BuildHTML(applet);
}

class QuietHost : public IDocumentHost {
public:
    void CommitPendingEdits() override {}
    void ReportMessage(const std::string& text) override { reports.push_back(text); }
    void SetModified(bool) override {}
    std::vector<std::string> reports;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CVoraneItem* ItemAt(const CAppletParameters& applet, std::initializer_list<int> path) {
    auto it = path.begin();
    if (*it >= static_cast<int>(applet.m_menus.size())) return nullptr;
    CVorane* menu = applet.m_menus[static_cast<std::size_t>(*it++)].get();
    CVoraneItem* item = nullptr;
    for (; it != path.end(); ++it) {
        item = menu->GetItem(*it);
        if (!item) return nullptr;
        menu = item->m_subMenu.get();
    }
    return item;
}
}  // namespace

class UndoTest : public QObject {
    Q_OBJECT

    // One command of every kind, each as the user gives it.
    using Command = std::function<bool(EditorFixture&)>;
    static std::vector<std::pair<QString, Command>> EveryCommand() {
        return {
            {"insert menu", [](EditorFixture& f) { return f.doc.InsertTopLevelMenu() != nullptr; }},
            {"insert item in menu", [](EditorFixture& f) { return treecommands::InsertBelow(f.doc, f.Node(f.Applet().m_menus[0].get())) != nullptr; }},
            {"insert below plain item (styled sub menu)",
             [](EditorFixture& f) { return treecommands::InsertBelow(f.doc, f.Node(ItemAt(f.Applet(), {0, 0}))) != nullptr; }},
            {"delete menu", [](EditorFixture& f) {
                 return !f.Applet().m_menus.empty() && f.doc.RemoveTopLevelMenu(f.Applet().m_menus[0].get());
             }},
            {"delete item with sub menu",
             [](EditorFixture& f) { return treecommands::RemoveNodeObject(f.doc, f.Node(ItemAt(f.Applet(), {0, 1}))); }},
            {"hide item", [](EditorFixture& f) { return treecommands::ToggleVisible(f.doc, f.Node(ItemAt(f.Applet(), {0, 1, 1}))); }},
            {"show menu", [](EditorFixture& f) {
                 return f.Applet().m_menus.size() > 1 &&
                        treecommands::ToggleVisible(f.doc, f.Node(f.Applet().m_menus[1].get()));
             }},
            {"move item up", [](EditorFixture& f) { return treecommands::MoveNodeItem(f.doc, f.Node(ItemAt(f.Applet(), {0, 2})), -1); }},
            {"move item down", [](EditorFixture& f) { return treecommands::MoveNodeItem(f.doc, f.Node(ItemAt(f.Applet(), {0, 1, 0})), +1); }},
            {"move menu", [](EditorFixture& f) {
                 return f.Applet().m_menus.size() > 1 && f.doc.MoveTopLevelMenu(f.Applet().m_menus[1].get(), -1);
             }},
            {"cut", [](EditorFixture& f) {
                 if (!ItemAt(f.Applet(), {0, 1})) return false;
                 f.view.SelectNode(f.Node(ItemAt(f.Applet(), {0, 1})));
                 return f.view.Transfer().Cut();
             }},
            {"paste onto plain item", [](EditorFixture& f) {
                 if (!ItemAt(f.Applet(), {0, 1, 0}) || f.Applet().m_menus.size() < 2 || !ItemAt(f.Applet(), {1, 0}))
                     return false;
                 f.view.SelectNode(f.Node(ItemAt(f.Applet(), {0, 1, 0})));
                 if (!f.view.Transfer().Copy()) return false;
                 f.view.SelectNode(f.Node(ItemAt(f.Applet(), {1, 0})));
                 return f.view.Transfer().Paste();
             }},
            {"drag move", [](EditorFixture& f) {
                 CTreeTransfer& transfer = f.view.Transfer();
                 if (!transfer.BeginDrag(f.Node(ItemAt(f.Applet(), {0, 1})))) return false;
                 const Qt::DropAction action = transfer.Drop(f.Node(ItemAt(f.Applet(), {1, 0})), false);
                 transfer.EndDrag(action);
                 return action == Qt::MoveAction;
             }},
            {"drag copy", [](EditorFixture& f) {
                 CTreeTransfer& transfer = f.view.Transfer();
                 if (!transfer.BeginDrag(f.Node(ItemAt(f.Applet(), {0, 1})))) return false;
                 const Qt::DropAction action = transfer.Drop(f.Node(ItemAt(f.Applet(), {0, 1, 1})), true);
                 transfer.EndDrag(action);
                 return action == Qt::CopyAction;
             }},
            {"item page", [](EditorFixture& f) {
                 CVoraneItem* item = ItemAt(f.Applet(), {0, 1, 1});
                 return item && f.doc.EditProperties([&] {
                     item->m_label = "renamed";
                     item->m_link = "http://example.com/";
                     return true;
                 }, nullptr, item);
             }},
            {"menu style page", [](EditorFixture& f) {
                 CVoraneItem* owner = ItemAt(f.Applet(), {0, 1});
                 CVorane* menu = owner ? owner->m_subMenu.get() : nullptr;
                 return menu && f.doc.EditProperties([&] {
                     menu->m_Width = 200;
                     menu->m_itemStyle[2].FontName = 2;
                     return true;
                 }, menu);
             }},
            {"applet page", [](EditorFixture& f) {
                 return f.doc.EditProperties([&] {
                     f.Applet().m_HTMLTitle = "Other title";
                     f.Applet().m_appWidth = 640;
                     return true;
                 });
             }},
            {"images to this item", [](EditorFixture& f) {
                 return ApplyMedia(f.doc, ItemAt(f.Applet(), {0, 1}), ApplyScope::ThisItem, ImagePaths("n.gif", "o.gif", "c.gif"));
             }},
            {"images to the same menu", [](EditorFixture& f) {
                 return ApplyMedia(f.doc, ItemAt(f.Applet(), {0, 1, 1}), ApplyScope::SameMenu, ImagePaths("n.gif", "", "c.gif"));
             }},
            {"sounds to all items", [](EditorFixture& f) {
                 return ApplyMedia(f.doc, ItemAt(f.Applet(), {0, 0}), ApplyScope::AllItems, AudioPaths("o.au", "c.au"));
             }},
        };
    }

private slots:
    void everyCommandUndoesAndRedoesExactly_data() {
        QTest::addColumn<int>("index");
        const auto commands = EveryCommand();
        for (int i = 0; i < static_cast<int>(commands.size()); ++i)
            QTest::newRow(qPrintable(commands[static_cast<std::size_t>(i)].first)) << i;
    }
    void everyCommandUndoesAndRedoesExactly() {
        QFETCH(int, index);
        const Command command = EveryCommand()[static_cast<std::size_t>(index)].second;
        EditorFixture f;
        f.Load(FillSample);
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(f.view, f.Applet());
        // The command three times over, so the steps stack up at several depths.
        std::vector<std::string> states{SavedText(f.Applet())};
        int done = 0;
        for (int round = 0; round < 3; ++round) {
            if (!command(f)) break;
            ++done;
            states.push_back(SavedText(f.Applet()));
            VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
            VERIFY_SHOWN_TREE_MATCHES_MODEL(f.view, f.Applet());
        }
        QVERIFY(done > 0);
        QCOMPARE(f.doc.UndoStack().count(), done);
        QVERIFY(f.doc.IsModified());
        for (int step = done; step > 0; --step) {
            f.doc.Undo();
            QCOMPARE(SavedText(f.Applet()), states[static_cast<std::size_t>(step - 1)]);
            VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
            VERIFY_SHOWN_TREE_MATCHES_MODEL(f.view, f.Applet());
        }
        QVERIFY(!f.doc.IsModified());
        for (int step = 1; step <= done; ++step) {
            f.doc.Redo();
            QCOMPARE(SavedText(f.Applet()), states[static_cast<std::size_t>(step)]);
            VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
            VERIFY_SHOWN_TREE_MATCHES_MODEL(f.view, f.Applet());
        }
        f.doc.Undo();
        QCOMPARE(SavedText(f.Applet()), states[static_cast<std::size_t>(done - 1)]);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void savedFilesAreByteForByteAsBeforeAfterUndo() {
        QTemporaryDir folder;
        EditorFixture f;
        f.Load(FillSample);
        QuietHost host;
        const QString before = folder.filePath(QStringLiteral("before.htm"));
        const QString after = folder.filePath(QStringLiteral("after.htm"));
        QVERIFY(SaveDocument(f.Applet(), before.toStdString(), f.app.AppDir(), host));
        // One after another on the changing document; a command whose target is gone by then
        // does nothing, most do something.
        int done = 0;
        for (const auto& entry : EveryCommand()) done += entry.second(f) ? 1 : 0;
        QVERIFY2(done >= 8, qPrintable(QString::number(done)));
        while (f.doc.CanUndo()) f.doc.Undo();
        QVERIFY(SaveDocument(f.Applet(), after.toStdString(), f.app.AppDir(), host));
        QCOMPARE(ReadAll(after), ReadAll(before));
        const QString beforeMenu = QString::fromStdString(MenuFilePathFor(before.toStdString()));
        const QString afterMenu = QString::fromStdString(MenuFilePathFor(after.toStdString()));
        QVERIFY(!ReadAll(beforeMenu).isEmpty());
        QCOMPARE(ReadAll(afterMenu), ReadAll(beforeMenu));
    }

    void stepsCarryTheirNames() {
        EditorFixture f;
        f.Load(FillSample);
        f.doc.RemoveItem(f.Applet().m_menus[0].get(), ItemAt(f.Applet(), {0, 0}));
        QCOMPARE(f.doc.UndoText(), QStringLiteral("Delete Item"));
        CTreeTransfer& transfer = f.view.Transfer();
        transfer.BeginDrag(f.Node(ItemAt(f.Applet(), {0, 0})));
        transfer.EndDrag(transfer.Drop(f.Node(ItemAt(f.Applet(), {1, 0})), false));
        QCOMPARE(f.doc.UndoText(), QStringLiteral("Move Item"));
        QCOMPARE(f.doc.UndoStack().count(), 2);  // the drag-move is one step
        ApplyMedia(f.doc, ItemAt(f.Applet(), {0, 0}), ApplyScope::AllItems, AudioPaths("x.au", ""));
        QCOMPARE(f.doc.UndoText(), QStringLiteral("Change Sounds"));
        f.doc.Undo();
        QCOMPARE(f.doc.RedoText(), QStringLiteral("Change Sounds"));
    }

    void dropBetweenItemsPlacesTheItemThereInOneStep() {
        EditorFixture f;
        f.Load(FillSample);
        CVorane* menu = f.Applet().m_menus[0].get();  // [c, b, a]: called first, middle, last here
        CVoraneItem* a = menu->GetItem(0);
        CVoraneItem* c = menu->GetItem(2);
        const std::string first = a->m_label, middle = menu->GetItem(1)->m_label, last = c->m_label;
        using Place = CTreeTransfer::Place;
        // Right beside itself a move changes nothing and is refused; a copy is not.
        QVERIFY(!CTreeTransfer::CanDropBetween(f.Node(a), f.Node(menu->GetItem(1)), Place::Above, false));
        QVERIFY(CTreeTransfer::CanDropBetween(f.Node(a), f.Node(menu->GetItem(1)), Place::Above, true));
        QVERIFY(!CTreeTransfer::CanDropBetween(f.Node(a), f.Node(menu->GetItem(1)), Place::Onto, false));
        const std::string before = SavedText(f.Applet());
        CTreeTransfer& transfer = f.view.Transfer();
        QVERIFY(transfer.BeginDrag(f.Node(a)));
        const Qt::DropAction action = transfer.Drop(f.Node(c), false, Place::Below);
        QCOMPARE(action, Qt::MoveAction);
        transfer.EndDrag(action);
        QCOMPARE(menu->CountItems(1), 3);
        QCOMPARE(menu->GetItem(0)->m_label, middle);
        QCOMPARE(menu->GetItem(1)->m_label, last);
        QCOMPARE(menu->GetItem(2)->m_label, first);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
        QCOMPARE(f.doc.UndoStack().count(), 1);
        f.doc.Undo();
        QCOMPARE(SavedText(f.Applet()), before);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
        // Into another item's sub menu, above its first item.
        CVoraneItem* b1 = ItemAt(f.Applet(), {0, 1, 0});
        QVERIFY(transfer.BeginDrag(f.Node(c)));
        transfer.EndDrag(transfer.Drop(f.Node(b1), true, Place::Above));
        QCOMPARE(ItemAt(f.Applet(), {0, 1, 0})->m_label, last);
        QCOMPARE(menu->CountItems(1), 3);  // a copy: the original stays
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    void modifiedFlagFollowsTheSavedStep() {
        EditorFixture f;
        f.Load(FillSample);
        QSignalSpy changes(&f.doc, &CKestruneDoc::modifiedChanged);
        QVERIFY(!f.doc.IsModified());
        f.doc.InsertTopLevelMenu();
        QVERIFY(f.doc.IsModified());
        f.doc.SetModifiedFlag(false);  // what a save does
        QVERIFY(!f.doc.IsModified());
        f.doc.Undo();
        QVERIFY(f.doc.IsModified());
        f.doc.Redo();
        QVERIFY(!f.doc.IsModified());
        f.doc.Undo();
        f.doc.Undo();  // nothing left: stays
        QVERIFY(f.doc.IsModified());
        f.doc.SetVisible(f.Applet().m_menus[0].get(), false);  // a new branch: the saved step is gone
        QVERIFY(f.doc.IsModified());
        f.doc.Undo();
        QVERIFY(f.doc.IsModified());
        QCOMPARE(changes.count(), 5);

        // Showing the property frame marks the document without a step; undo decides again.
        f.doc.SetModifiedFlag(false);
        f.doc.InsertTopLevelMenu();
        f.doc.Undo();
        QVERIFY(!f.doc.IsModified());
        f.doc.SetModifiedFlag(true);
        QVERIFY(f.doc.IsModified());
        f.doc.Redo();
        f.doc.Undo();
        QVERIFY(!f.doc.IsModified());
    }

    // A page applied with nothing changed, or a write that puts back what it found, is no
    // step and no change: nothing is announced and the document stays unmodified.
    void aWriteThatChangesNothingIsNoStep() {
        EditorFixture f;
        f.Load([](CAppletParameters& applet) {
            FillSample(applet);
            // The item page shows an empty target as its first suggestion and writes that.
            applet.m_menus[0]->m_items[1]->m_target = "_top";
        });
        const std::string before = SavedText(f.Applet());
        QSignalSpy changes(&f.doc, &CKestruneDoc::modelChanged);
        CVorane* menu = f.Applet().m_menus[0].get();
        CVoraneItem* item = menu->m_items[1].get();
        for (const auto reach : {CKestruneDoc::Reach::Anything, CKestruneDoc::Reach::NamedObjects}) {
            QVERIFY(!f.doc.EditProperties(
                [&] {
                    item->m_label = std::string(item->m_label);
                    return true;
                },
                menu, item, {}, reach));
            QVERIFY(!f.doc.EditProperties(
                [&] {
                    const auto width = menu->m_Width;
                    menu->m_Width = width + 1;
                    menu->m_Width = width;
                    return true;
                },
                menu, nullptr, {}, reach));
            QVERIFY(!f.doc.EditProperties(
                [&] {
                    f.Applet().m_HTMLTitle = std::string(f.Applet().m_HTMLTitle);
                    return true;
                },
                nullptr, nullptr, {}, reach));
        }
        f.doc.m_pCurMenu = menu;
        f.doc.m_pCurItem = item;
        CDlgAppletParam appletPage(f.doc);
        CDlgMenuStyle menuPage(f.doc);
        CDlgItem itemPage(f.doc);
        CDlgItemNormal normalPage(f.doc);
        CDlgItemClick clickPage(f.doc);
        for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&appletPage, &menuPage, &itemPage,
                                                                         &normalPage, &clickPage}) {
            page->LoadFromModel();
            QVERIFY(page->SaveToModel());
        }
        QCOMPARE(f.doc.UndoStack().count(), 0);
        QVERIFY(!f.doc.IsModified());
        QCOMPARE(changes.count(), 0);
        QCOMPARE(SavedText(f.Applet()), before);
    }

    void aWriteOfNamedObjectsThatReachesOthersIsCaught() {
        EditorFixture f;
        f.Load(FillSample);
        QStringList escapes;
        f.doc.SetNamedWriteEscapeHandler([&](const QString& what) { escapes << what; });
        CVorane* menu = f.Applet().m_menus[0].get();
        CVoraneItem* item = menu->m_items[0].get();
        CVoraneItem* other = menu->m_items[1].get();
        const auto named = CKestruneDoc::Reach::NamedObjects;
        // The applet and the named objects may change.
        QVERIFY(f.doc.EditProperties([&] { item->m_label = "renamed"; f.Applet().m_appWidth += 1; return true; },
                                     menu, item, {}, named));
        QVERIFY(f.doc.EditProperties([&] { menu->m_Width += 1; return true; }, menu, nullptr, {}, named));
        QVERIFY(escapes.isEmpty());
        // Another item, another menu, or a change that is not a change of the named item.
        f.doc.EditProperties([&] { item->m_label = "again"; other->m_link = "x.htm"; return true; }, menu, item, {},
                             named);
        QCOMPARE(escapes.size(), 1);
        QVERIFY(escapes[0].contains(QString::fromStdString(other->m_label)));
        f.doc.EditProperties([&] { menu->m_Width += 1; return true; }, nullptr, item, {}, named);
        QCOMPARE(escapes.size(), 2);
        f.doc.EditProperties([&] { other->m_target = "_top"; return false; }, menu, item, {}, named);
        QCOMPARE(escapes.size(), 3);
        // Whatever a write of anything does is its own promise.
        f.doc.EditProperties([&] { other->m_link = "y.htm"; return true; }, menu, item);
        QCOMPARE(escapes.size(), 3);
    }

    void newDocumentStartsWithoutSteps() {
        EditorFixture f;
        f.Load(FillSample);
        f.doc.InsertTopLevelMenu();
        QVERIFY(f.doc.CanUndo());
        f.Load([](CAppletParameters&) {});
        QVERIFY(!f.doc.CanUndo() && !f.doc.CanRedo());
        QVERIFY(!f.doc.IsModified());
        // A refused open keeps the steps.
        f.doc.InsertTopLevelMenu();
        QVERIFY(!f.doc.ReplaceModel([](CAppletParameters&) { return false; }));
        QVERIFY(f.doc.CanUndo());
    }

    void undoOfAnInsertedSelectedItemSelectsItsParent() {
        EditorFixture f;
        f.Load(FillSample);
        CVorane* menu = f.Applet().m_menus[0].get();
        CVoraneItem* item = f.doc.InsertItem(menu);
        f.view.SelectNode(f.Node(item));
        f.doc.m_pCurItem = item;
        f.doc.Undo();
        QCOMPARE(f.view.SelectedNode(), f.Node(menu));
        QVERIFY(f.doc.m_pCurItem == nullptr);
        f.doc.Redo();
        QCOMPARE(f.view.SelectedNode(), f.Node(item));  // the same object is back
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
    }

    // Ten thousand random edits with random undo and redo between them; undoing everything
    // gives back the document as it started, byte for byte, with the tree in step.
    void randomEditsUndoToTheStart() {
        EditorFixture f;
        f.Load(FillSample);
        const std::string start = SavedText(f.Applet());
        std::mt19937 random(20261207);
        auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
        auto randomNode = [&]() -> QModelIndex {
            const std::vector<QModelIndex> nodes = AllNodes(f.view);
            return nodes[static_cast<std::size_t>(pick(static_cast<int>(nodes.size())))];
        };
        int edits = 0;
        for (int round = 0; round < 10000; ++round) {
            const int roll = pick(20);
            if (roll < 3) {
                f.doc.Undo();
                continue;
            }
            if (roll < 5) {
                f.doc.Redo();
                continue;
            }
            QModelIndex node = randomNode();
            // Copies of whole sub trees would let the document grow without bound.
            const int nodeCount = static_cast<int>(AllNodes(f.view).size());
            int action = pick(9);
            if (nodeCount > 200 && (action == 0 || action == 7)) action = 1;
            bool done = false;
            switch (action) {
            case 0: done = treecommands::InsertBelow(f.doc, node) != nullptr; break;
            case 1:
            case 2: done = treecommands::RemoveNodeObject(f.doc, node); break;
            case 3: done = treecommands::ToggleVisible(f.doc, node); break;
            case 4: done = treecommands::MoveNodeItem(f.doc, node, pick(2) ? 1 : -1); break;
            case 5:
                if (CVoraneItem* item = ItemOfNode(node))
                    done = f.doc.EditProperties([&] { item->m_label += "x"; return true; }, nullptr, item);
                break;
            case 6:
                if (CVoraneItem* item = ItemOfNode(node))
                    done = ApplyMedia(f.doc, item, static_cast<ApplyScope>(pick(3)),
                                      ImagePaths(std::to_string(round) + ".gif", "", ""));
                break;
            case 7: {
                CTreeTransfer& transfer = f.view.Transfer();
                QModelIndex target = randomNode();
                if (!transfer.BeginDrag(node)) break;
                const Qt::DropAction action = transfer.Drop(target, pick(2) == 0);
                transfer.EndDrag(action);
                done = action != Qt::IgnoreAction;
                break;
            }
            case 8:
                done = f.doc.EditProperties([&] { f.Applet().m_appHeight = pick(1000); return true; });
                break;
            }
            edits += done ? 1 : 0;
            if (round % 100 == 0) {
                VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
                VERIFY_SHOWN_TREE_MATCHES_MODEL(f.view, f.Applet());
            }
            if (round % 1000 == 0) VERIFY_EXPANDED_TREE_MATCHES_MODEL(f.view, f.Applet());
        }
        QVERIFY(edits > 3000);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
        while (f.doc.CanUndo()) f.doc.Undo();
        QCOMPARE(SavedText(f.Applet()), start);
        VERIFY_TREE_MATCHES_MODEL(f.view, f.Applet());
        VERIFY_SHOWN_TREE_MATCHES_MODEL(f.view, f.Applet());
        VERIFY_EXPANDED_TREE_MATCHES_MODEL(f.view, f.Applet());
        QVERIFY(!f.doc.IsModified());
    }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
