// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include "app/ShellTexts.h"
#include "support/FakeProgramLauncher.h"
#include "help/HelpWindow.h"
#include "main/DocumentFlow.h"
#include "app/ScreenFit.h"
#include "main/WindowPlacement.h"
#include "main/WizardInfoView.h"
#include "properties/AppletPropertySheet.h"
#include "properties/DlgAppletParam.h"
#include "properties/PageWidgets.h"
#include "properties/SpinEdit.h"
#include <QMenu>
#include "model/VoraneItem.h"
#include "main/MenuPreviewPlacement.h"
#include "preview/MenuPreviewWindow.h"
#include "properties/PropertyFrame.h"
#include "support/ProgramFixture.h"
#include "support/TreeModelAgreement.h"
#include "toolbar/FlatToolBar.h"
#include "tree/TreeFindBar.h"
#include "tree/TreeNodes.h"

using namespace kestrune;
using namespace treenodes;

namespace {
QModelIndex FirstItemNode(CKestruneView& tree) {
    return ChildOfNode(ChildOfNode(tree.RootNode(), 0), 0);
}
}  // namespace

// What a user does at the main window: the Edit commands with undo, renaming and finding in
// the tree, and the defects a first hour of use found.
class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void editMenuNamesTheStepToUndo() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QAction* undo = program.Action(cmd::EditUndo);
        QAction* redo = program.Action(cmd::EditRedo);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(undo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Z"))));
        QVERIFY(redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
        QVERIFY(redo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
        QVERIFY(program.Action(cmd::MenuMoveUp)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Up"))));
        QVERIFY(program.Action(cmd::MenuMoveDown)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Down"))));
        const QList<QAction*> popup = program.Tree().ContextMenu()->actions();
        for (const char* id : {cmd::EditCut, cmd::EditCopy, cmd::EditPaste, cmd::EditRename})
            QVERIFY(popup.contains(program.Action(id)));

        program.Tree().SelectNode(FirstItemNode(program.Tree()));
        program.Action(cmd::MenuDelete)->trigger();  // the fake answers OK
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Delete Item"));
        undo->trigger();
        QCOMPARE(redo->text(), QStringLiteral("&Redo Delete Item"));
        QVERIFY(!program.Doc().IsModified());
        VERIFY_TREE_MATCHES_MODEL(program.Tree(), program.Applet());
        redo->trigger();
        QVERIFY(program.Doc().IsModified());

        // New clears the steps.
        program.dialogs.answers.push_back(IDialogService::Answer::No);
        program.dialogs.onDialog = [](QDialog*) { return QDialog::Accepted; };
        program.Trigger(cmd::FileNew);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
    }

    void renameInPlaceIsOneStep() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QModelIndex node = FirstItemNode(program.Tree());
        CVoraneItem* item = ItemOfNode(node);
        const std::string before = item->m_label;
        QVERIFY(node.flags() & Qt::ItemIsEditable);
        QVERIFY(!(ChildOfNode(program.Tree().RootNode(), 0).flags() & Qt::ItemIsEditable));
        QVERIFY(program.Tree().RenameNode(node, QStringLiteral("Renamed")));
        QCOMPARE(item->m_label, std::string("Renamed"));
        QCOMPARE(TextOfNode(node), QStringLiteral("Renamed"));
        QCOMPARE(program.Doc().UndoText(), QStringLiteral("Rename Item"));
        QVERIFY(!program.Tree().RenameNode(node, QStringLiteral("a,b")));  // commas are refused
        QCOMPARE(program.dialogs.messages.size(), 1);
        program.Doc().Undo();
        QCOMPARE(item->m_label, before);
        QCOMPARE(treenodes::TextOfNode(program.Tree().NodeOfItem(item)), QString::fromStdString(before));

        QVERIFY(program.Tree().RenameNode(program.Tree().RootNode(), QStringLiteral("New title")));
        QCOMPARE(program.Applet().m_HTMLTitle, std::string("New title"));
        QCOMPARE(treenodes::TextOfNode(program.Tree().RootNode()), QStringLiteral("New title"));
    }

    void findShowsMatchesWithTheirAncestorsAndStepsThroughThem() {
        ProgramFixture program;
        QVERIFY(program.Start());
        CTreeFindBar& find = *program.Frame().FindBar();
        QVERIFY(find.isHidden());
        QVERIFY(program.Action(cmd::EditFind)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+F"))));
        CVoraneItem* target = ItemOfNode(FirstItemNode(program.Tree()));
        target->m_subMenu->AddItem(std::make_unique<CVoraneItem>("zz needle"), 0);
        CVoraneItem* other = program.Applet().m_menus.back()->m_items.back().get();
        other->m_link = "http://NEEDLE.example/";
        program.Doc().ReplaceModel([](CAppletParameters&) { return true; });  // rebuild the nodes

        const QModelIndex targetNode = program.Tree().NodeOfItem(target);
        program.Tree().collapse(targetNode);
        program.Action(cmd::EditFind)->trigger();
        QVERIFY(!find.isHidden());
        find.Edit()->setText(QStringLiteral("needle"));
        int shown = 0;
        for (const QModelIndex& node : AllNodes(program.Tree()))
            if (IsNodeShown(program.Tree(), node) && ItemOfNode(node)) ++shown;
        QCOMPARE(shown, 3);  // the two matches and the ancestor item of the first
        QVERIFY(IsNodeShown(program.Tree(), program.Tree().NodeOfItem(target)));
        QVERIFY(program.Action(cmd::EditFindNext)->isEnabled());
        program.Tree().SelectNode(program.Tree().RootNode());
        QVERIFY(find.FindNext());
        QCOMPARE(ItemOfNode(program.Tree().SelectedNode())->m_label, std::string("zz needle"));
        QVERIFY(find.FindNext());
        QCOMPARE(ItemOfNode(program.Tree().SelectedNode()), other);
        QCOMPARE(find.Status(), QStringLiteral("2 of 2"));
        QTest::keyClick(find.Edit(), Qt::Key_Escape);
        QVERIFY(find.isHidden());
        for (const QModelIndex& node : AllNodes(program.Tree())) QVERIFY(IsNodeShown(program.Tree(), node));
        // The tree is back as it was, but for the found item, which stays selected.
        QVERIFY(!program.Tree().isExpanded(program.Tree().NodeOfItem(target)));
        QCOMPARE(ItemOfNode(program.Tree().SelectedNode()), other);
    }

    void hiddenItemsAreGreyed() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QModelIndex node = FirstItemNode(program.Tree());
        QVERIFY(!node.data(Qt::ForegroundRole).isValid());
        program.Tree().SelectNode(node);
        program.Action(cmd::MenuVisible)->trigger();
        QCOMPARE(node.data(Qt::ForegroundRole).value<QBrush>().color(), QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
        program.Doc().Undo();
        QVERIFY(!program.Tree().NodeOfItem(ItemOfNode(node)).data(Qt::ForegroundRole).isValid());
    }

    void exitEndsWithEveryWindow() {
        ProgramFixture program;
        QVERIFY(program.Start());
        program.shell->Show();
        CMenuPreviewWindow& preview = ShowMenuPreview(program.Frame(), program.Doc());
        program.Frame().HelpWindow().ShowTopic(QStringLiteral("contents"));
        program.Tree().SelectNode(program.Tree().RootNode());
        program.Action(cmd::MenuProperty)->trigger();
        QVERIFY(preview.isVisible() && program.Frame().HelpWindow().isVisible());
        QSignalSpy closed(&program.Frame(), &CMainFrame::closed);
        program.dialogs.answers.push_back(IDialogService::Answer::No);  // "Save changes?"
        program.Action(cmd::AppExit)->trigger();
        QCOMPARE(closed.count(), 1);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName() + window->windowTitle()));
    }

    void cancelInNewChangesNothing() {
        ProgramFixture program;
        QVERIFY(program.Start());
        const QString page = program.folder.filePath(QStringLiteral("kept.htm"));
        program.dialogs.saveFileNames.push_back(page);
        QVERIFY(Saved(program.Frame().Flow(), true));
        program.Tree().SelectNode(program.Tree().RootNode());
        program.Action(cmd::MenuInsert)->trigger();
        const std::size_t menus = program.Applet().m_menus.size();
        program.dialogs.answers.push_back(IDialogService::Answer::No);
        program.dialogs.onDialog = [](QDialog*) { return QDialog::Rejected; };
        program.Trigger(cmd::FileNew);
        QCOMPARE(program.Doc().PathName(), page);
        QVERIFY(program.Doc().IsModified());
        QCOMPARE(program.Applet().m_menus.size(), menus);
        QVERIFY(program.Doc().CanUndo());
    }

    void failedSaveNamesTheFileAndTheReason() {
        ProgramFixture program;
        QVERIFY(program.Start());
        // A folder holds the page's name: the page cannot be written.
        const QString page = program.folder.filePath(QStringLiteral("taken/page.htm"));
        QVERIFY(QDir().mkpath(page));
        program.dialogs.saveFileNames.push_back(page);
        QVERIFY(!Saved(program.Frame().Flow(), true));
        QCOMPARE(program.dialogs.messages.size(), 1);
        const QString message = program.dialogs.messages.first();
        QVERIFY2(message.contains(page) && message.contains(QStringLiteral("Is a directory")),
                 qPrintable(message));
        QVERIFY(program.Doc().PathName().isEmpty());  // the failed name is not taken
    }

    void mediaMovedAwayAreFoundInTheDocumentFolderAndMissingOnesReported() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QDir root(program.folder.path());
        QVERIFY(root.mkpath(QStringLiteral("originals")) && root.mkpath(QStringLiteral("site")));
        const QString original = root.filePath(QStringLiteral("originals/button.gif"));
        QFile gif(original);
        QVERIFY(gif.open(QIODevice::WriteOnly));
        gif.write("GIF89a");
        gif.close();
        CVoraneItem* item = ItemOfNode(FirstItemNode(program.Tree()));
        item->m_normalImage = original.toStdString();
        item->m_overImage = root.filePath(QStringLiteral("originals/never-there.gif")).toStdString();
        const QString page = root.filePath(QStringLiteral("site/page.htm"));
        program.dialogs.saveFileNames.push_back(page);
        QVERIFY(Saved(program.Frame().Flow(), true));
        QVERIFY(QFile::exists(root.filePath(QStringLiteral("site/button.gif"))));
        QVERIFY(QFile::remove(original));

        QVERIFY(Saved(program.Frame().Flow(), false));
        QCOMPARE(QString::fromStdString(item->m_normalImage), root.filePath(QStringLiteral("site/button.gif")));
        QFile saved(page);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("button.gif"));
        const QString pane = program.Frame().InfoView()->MessageText();
        QVERIFY2(pane.contains(QStringLiteral("never-there.gif")) && !pane.contains(QStringLiteral("button.gif")),
                 qPrintable(pane));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.Doc().UndoText(), QStringLiteral("Relink Moved Media"));
    }

    void browserThatDoesNotStartOffersTheBuiltInPreview() {
        ProgramFixture program;
        QVERIFY(program.Start());
        FakeProgramLauncher launcher;
        launcher.succeed = false;
        program.shell->App().SetLauncher(&launcher);
        program.shell->App().m_nBrowserMode = 0;
        program.shell->App().m_strBrowserPath = QStringLiteral("/opt/no/browser");
        program.dialogs.answers.push_back(IDialogService::Answer::Yes);
        program.Action(cmd::BuildPreview)->trigger();
        program.shell->App().SetLauncher(nullptr);
        QVERIFY(!program.dialogs.messages.isEmpty());
        const QString message = program.dialogs.messages.last();
        QVERIFY2(message.contains(QStringLiteral("/opt/no/browser")) && message.contains(launcher.failure),
                 qPrintable(message));
        auto* preview = program.Frame().findChild<CMenuPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(preview && preview->isVisible());
    }

    void messagePaneIsReadOnlyAndPropertyCommandFocusesThePage() {
        ProgramFixture program;
        QVERIFY(program.Start());
        auto* pane = program.Frame().InfoView()->findChild<QPlainTextEdit*>(QStringLiteral("messageEdit"));
        QVERIFY(pane && pane->isReadOnly());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        program.Tree().SelectNode(FirstItemNode(program.Tree()));
        program.Action(cmd::MenuProperty)->trigger();
        CPropertyFrame* frame = program.Tree().m_pPropertyFrame;
        QVERIFY(frame && frame->isVisible());
        QTRY_VERIFY(frame->isAncestorOf(QApplication::focusWidget()));
    }

    void refusedPageStopsTheCheckAndKeepsTheFocusInTheBox() {
        ProgramFixture program;
        QVERIFY(program.Start());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        program.Tree().SelectNode(program.Tree().RootNode());
        program.Action(cmd::MenuProperty)->trigger();
        CPropertyFrame* frame = program.Tree().m_pPropertyFrame;
        auto* width = frame->AppletSheet()->AppletPage()->findChild<CSpinEdit*>(QStringLiteral("widthSpin"));
        QVERIFY(width);
        width->SetText(QStringLiteral("wide"));
        program.Action(cmd::BuildCheck)->trigger();
        QCOMPARE(program.dialogs.messages, QStringList{QStringLiteral("Please enter an integer.")});
        QVERIFY(program.Frame().InfoView()->MessageText().isEmpty());
        QTRY_VERIFY(width->hasFocus() || width->isAncestorOf(QApplication::focusWidget()));
    }

    void fileChoosersStartInTheDocumentFolder() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QCOMPARE(program.Frame().Flow().DialogFolder(), QDir::homePath());
        const QString page = program.folder.filePath(QStringLiteral("doc.htm"));
        program.dialogs.saveFileNames.push_back(page);
        QVERIFY(Saved(program.Frame().Flow(), true));
        QCOMPARE(program.Frame().Flow().DialogFolder(), program.folder.path());
        const QString sample = program.shell->App().SampleFolder();
        QCOMPARE(kestrune::widgets::ChooserStart(QString(), sample), sample);
        QCOMPARE(kestrune::widgets::ChooserStart(QStringLiteral("/no/such/folder/a.gif"), sample), sample);
        QCOMPARE(kestrune::widgets::ChooserStart(page, sample), page);
    }

    // Insert After: a new item right after the selected one (a top-level menu after the
    // selected menu), one step; Insert keeps putting it first. A key and a Menu entry, no
    // toolbar button.
    void insertAfterPutsTheNewOneRightAfterTheSelection() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QAction* insertAfter = program.Frame().Action(QStringLiteral("MenuInsertAfter"));
        QVERIFY(insertAfter);
        QVERIFY(!insertAfter->shortcuts().isEmpty());
        QVERIFY(program.Frame().PopupMenu(MenuGroup::Menu)->actions().contains(insertAfter));
        QVERIFY(!program.Frame().ToolBar()->actions().contains(insertAfter));
        CVorane& menu = *program.Applet().m_menus.at(0);
        const int count = static_cast<int>(menu.m_items.size());
        for (int at : {0, count / 2, count - 1}) {
            CVoraneItem* selected = menu.GetItem(at);
            program.Tree().SelectNode(program.Tree().NodeOfItem(selected));
            insertAfter->trigger();
            QCOMPARE(static_cast<int>(menu.m_items.size()), count + 1);
            QCOMPARE(menu.GetItem(at), selected);
            QCOMPARE(ItemOfNode(program.Tree().SelectedNode()), menu.GetItem(at + 1));
            QCOMPARE(program.Doc().UndoText(), QStringLiteral("Insert Item"));
            program.Doc().Undo();
            QCOMPARE(static_cast<int>(menu.m_items.size()), count);
        }
        const std::size_t menus = program.Applet().m_menus.size();
        program.Tree().SelectNode(program.Tree().NodeOfItem(&menu));
        insertAfter->trigger();
        QCOMPARE(program.Applet().m_menus.size(), menus + 1);
        QCOMPARE(program.Applet().m_menus.at(0).get(), &menu);
        QCOMPARE(MenuOfNode(program.Tree().SelectedNode()), program.Applet().m_menus.at(1).get());
        VERIFY_TREE_MATCHES_MODEL(program.Tree(), program.Applet());
    }

    // Apply Style to Sub Menus: every sub menu below the menu gets its look, keeping its
    // name and place; other menus stay; one step takes it all back.
    void applyStyleToSubMenusStylesEverySubMenuBelowInOneStep() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QAction* apply = program.Frame().Action(QStringLiteral("MenuApplyStyleToSubMenus"));
        QVERIFY(apply);
        QVERIFY(program.Frame().PopupMenu(MenuGroup::Menu)->actions().contains(apply));
        CVorane& top = *program.Applet().m_menus.at(0);
        top.m_BKColor = 0x123456;
        top.m_Width = 111;
        top.m_itemStyle[kStateMouseOver].FontSize = 23;
        top.m_itemStyle[kStateClicked].BKColor = 0x00ABCDEF;
        std::vector<CVorane*> below;
        for (std::vector<CVorane*> pending{&top}; !pending.empty();) {
            CVorane* menu = pending.back();
            pending.pop_back();
            for (const auto& item : menu->m_items)
                if (item->m_subMenu.HasItems()) {
                    below.push_back(item->m_subMenu.get());
                    pending.push_back(item->m_subMenu.get());
                }
        }
        QVERIFY(!below.empty());
        CVorane* otherMenu = program.Applet().m_menus.size() > 1 ? program.Applet().m_menus[1].get() : nullptr;
        const QByteArray otherBefore = otherMenu ? QByteArray::number(otherMenu->m_BKColor) : QByteArray();
        std::vector<MenuStyle> before;
        for (CVorane* sub : below) before.push_back(sub->Style());

        for (const void* selected : {static_cast<const void*>(&top), static_cast<const void*>(top.GetItem(0))}) {
            program.Tree().SelectNode(program.Tree().NodeOfItem(selected));
            apply->trigger();
            for (std::size_t i = 0; i < below.size(); ++i) {
                MenuStyle expected = top.Style();
                for (auto field : {&MenuStyle::m_xPos, &MenuStyle::m_yPos, &MenuStyle::m_Corner, &MenuStyle::m_MenuAlign})
                    expected.*field = before[i].*field;
                expected.m_name = before[i].m_name;
                QVERIFY(below[i]->Style() == expected);
            }
            if (otherMenu) QCOMPARE(QByteArray::number(otherMenu->m_BKColor), otherBefore);
            QCOMPARE(program.Doc().UndoText(), QStringLiteral("Apply Style to Sub Menus"));
            program.Doc().Undo();
            for (std::size_t i = 0; i < below.size(); ++i) QVERIFY(below[i]->Style() == before[i]);
        }
    }

    void firstWindowFitsTheScreen() {
        const QRect screen(0, 0, 1280, 800);
        const QRect first = FirstWindowGeometry(screen, QSize(150, 300));
        QVERIFY(screen.contains(first));
        QCOMPARE(first.size(), QSize(853, 533));
        // A small screen at twice the scale: the window still fits wholly.
        const QRect small(0, 0, 640, 360);
        QVERIFY(small.contains(FirstWindowGeometry(small, QSize(700, 500))));
        QVERIFY(small.contains(KeptOnScreen(QRect(900, 500, 800, 600), small)));
        const QRect beside = BesideGeometry(QRect(0, 0, 600, 400), QSize(300, 200), screen);
        QCOMPARE(beside.left(), 608);
        QVERIFY(screen.contains(BesideGeometry(QRect(900, 0, 380, 400), QSize(300, 200), screen)));
        QVERIFY(BesideGeometry(QRect(900, 0, 380, 400), QSize(300, 200), screen).right() < 900);
        // Beside a maximized window: its lower right corner, clear of its menu bar and tree.
        QCOMPARE(BesideGeometry(screen, QSize(300, 200), screen), QRect(980, 600, 300, 200));
    }

    // A window placed partly off the screen, or larger than it (a placement saved at another
    // scale), comes wholly onto it once shown; the help window opens centred on it.
    void windowsComeWhollyOntoTheScreen() {
        QWidget window;
        const QRect available = window.screen()->availableGeometry();
        window.setGeometry(available.left() - 40, available.top() - 30, available.width() * 2, available.height() + 90);
        window.show();
        KeepFrameOnScreen(window);
        QTRY_VERIFY(available.contains(window.frameGeometry()));

        CHelpWindow help(QStringLiteral(KESTRUNE_BIN_DIR "/kestrune.html"));
        help.ShowContents();
        QVERIFY(available.contains(help.frameGeometry()));
        QVERIFY(std::abs(help.frameGeometry().center().x() - available.center().x()) <= 1);
    }
};

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
