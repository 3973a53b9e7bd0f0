// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>

#include "help/HelpWindow.h"
#include "main/CommandTable.h"
#include "main/DocumentFlow.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "app/ScreenFit.h"
#include "main/WindowPlacement.h"
#include "properties/AppletPropertySheet.h"
#include "properties/DlgAppletParam.h"
#include "properties/DlgItem.h"
#include "properties/DlgItemState.h"
#include "properties/DlgMedia.h"
#include "properties/DlgMenuStyle.h"
#include "properties/ItemPropertySheet.h"
#include "properties/MenuPropertySheet.h"
#include "properties/PropertyFrame.h"
#include "properties/SpinEdit.h"
#include "tree/KestruneView.h"
#include "support/FlowSteps.h"
#include "tree/TreeNodes.h"
#include "tst_properties_support.h"

using namespace kestrune;

namespace {
// The running editor on a program folder of its own, holding menus
// "A" (a1, a2 > [s1]) and "B" (b1).
struct Editor {
    QTemporaryDir folder;
    RecordingDialogs dialogs;
    MemorySettingsStore settings;
    std::unique_ptr<CEditorShell> shell;
    CVorane *a = nullptr, *b = nullptr;

    Editor() {
        for (const QString& name : {QStringLiteral("Kestrune.tpl"), QStringLiteral("kestrune.html")})
            QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/") + name, folder.filePath(name));
        shell = std::make_unique<CEditorShell>(folder.path(), dialogs, settings);
        if (!shell->Start()) qFatal("the editor did not start");
        Doc().ReplaceModel([this](CAppletParameters& applet) {
            applet.Reset();
            a = AddMenu(applet, {"a1", "a2"});
            b = AddMenu(applet, {"b1"});
            AddSubMenu(a->GetItem(1), {"s1"});
            return true;
        });
        Doc().SetModifiedFlag(false);
    }
    CKestruneDoc& Doc() { return shell->Doc(); }
    CKestruneApp& App() { return shell->App(); }
    CMainFrame& Main() { return shell->Frame(); }
    CKestruneView& Tree() { return *Main().TreeView(); }
    CPropertyFrame* Frame() { return Tree().m_pPropertyFrame; }
    // A command, and the Open or Save it may have started, to its end.
    void Trigger(const char* command) {
        Main().Action(QString::fromLatin1(command))->trigger();
        Settle(Main().Flow());
    }
    void Select(const void* modelObject) { Tree().SelectNode(Tree().NodeOfItem(modelObject)); }
    // The property command on the node showing modelObject.
    void Properties(const void* modelObject) {
        Select(modelObject);
        Trigger(cmd::MenuProperty);
    }
    CDlgAppletParam* AppletPage() { return Frame()->AppletSheet()->AppletPage(); }
    CDlgItem* ItemPage() { return Frame()->ItemSheet()->ItemPage(); }
};
}  // namespace

class PropertyViewTest : public QObject {
    Q_OBJECT

private slots:
    void propertyCommandShowsTheFrameOwnedByTheTree() {
        Editor editor;
        QVERIFY(!editor.Frame());
        editor.Properties(&editor.App().m_applet);
        QVERIFY(editor.Frame());
        QCOMPARE(editor.Frame()->parentWidget(), static_cast<QWidget*>(&editor.Tree()));
        QVERIFY(editor.Frame()->isVisible());
        QCOMPARE(editor.Frame()->windowTitle(), QStringLiteral("Vorane's Properties"));
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->AppletSheet()));
        // Looking is no change.
        QVERIFY(!editor.Doc().IsModified());

        // Where it opens beside the tree is the frame test's; here only that it is on the screen.
        const QRect available = editor.Frame()->screen()->availableGeometry();
        QVERIFY(available.contains(editor.Frame()->frameGeometry()));

        CPropertyFrame* first = editor.Frame();
        editor.Frame()->close();
        editor.Properties(&editor.App().m_applet);
        QCOMPARE(editor.Frame(), first);  // created once, then only shown and hidden
    }

    void frameFollowsTheSelectionWhileShown() {
        Editor editor;
        editor.App().m_bItemSheet = 0;
        editor.Properties(editor.a->GetItem(0));
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->MenuSheet()));
        QVERIFY(editor.Frame()->MenuSheet()->SetActivePage(3));
        Find<CSpinEdit>(editor.Frame()->MenuSheet()->ItemStatePage(kStateClicked), "textOffsetSpin")
            ->SetText(QStringLiteral("-12"));

        editor.Select(editor.b->GetItem(0));
        QCOMPARE(editor.a->m_itemStyle[kStateClicked].TextOffset, -12);
        QCOMPARE(editor.Doc().m_pCurMenu, editor.b);
        QCOMPARE(editor.Doc().m_pCurItem, editor.b->GetItem(0));
        QCOMPARE(editor.Frame()->MenuSheet()->ActiveIndex(), 3);

        // An item of a sub menu edits that sub menu.
        CVoraneItem* s1 = editor.a->GetItem(1)->m_subMenu->GetItem(0);
        editor.Select(s1);
        QCOMPARE(editor.Doc().m_pCurMenu, editor.a->GetItem(1)->m_subMenu.get());

        editor.Select(&editor.App().m_applet);
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->AppletSheet()));
        QVERIFY(!editor.Doc().m_pCurItem && !editor.Doc().m_pCurMenu);

        // A top-level menu hides the frame; it stays hidden until the property command.
        editor.Select(editor.a);
        QVERIFY(!editor.Frame()->isVisible());
        editor.Select(editor.a->GetItem(0));
        QVERIFY(!editor.Frame()->isVisible());
        editor.Doc().SetModifiedFlag(false);
        editor.Select(editor.b->GetItem(0));
        QVERIFY(!editor.Doc().IsModified());
        editor.Trigger(cmd::MenuProperty);
        QVERIFY(editor.Frame()->isVisible());
        QCOMPARE(editor.Doc().m_pCurItem, editor.b->GetItem(0));
    }

    // Pages only looked at write nothing: no step, no save question, no mark in the caption.
    // The save question comes exactly when undo could take something back.
    void pagesLookedAtLeaveTheDocumentUnmodified() {
        Editor editor;
        editor.Main().show();
        editor.a->GetItem(0)->m_target.clear();  // the page shows it as "_self"
        editor.App().m_bItemSheet = 1;
        editor.Properties(editor.a->GetItem(0));
        editor.Select(editor.b->GetItem(0));
        editor.App().m_bItemSheet = 0;
        editor.Properties(editor.a->GetItem(1));
        for (int page = 1; page < editor.Frame()->MenuSheet()->PageCount(); ++page)
            QVERIFY(editor.Frame()->MenuSheet()->SetActivePage(page));
        editor.Properties(&editor.App().m_applet);
        editor.Frame()->close();
        editor.Trigger(cmd::MenuVisible);  // on the root: nothing to hide
        QCOMPARE(editor.a->GetItem(0)->m_target, std::string());
        QVERIFY(!editor.Doc().IsModified());
        QVERIFY(!editor.Doc().CanUndo());
        QVERIFY(!editor.Main().isWindowModified());
        editor.Trigger(cmd::FileNew);  // the template chooser is cancelled
        QVERIFY(editor.dialogs.messages.isEmpty());

        // A check of the parameters with a page shown takes only what the user typed there.
        editor.App().m_bItemSheet = 1;
        editor.Properties(editor.a->GetItem(0));
        editor.Trigger(cmd::BuildCheck);
        QCOMPARE(editor.a->GetItem(0)->m_target, std::string());
        QVERIFY(!editor.Doc().IsModified());
        QVERIFY(!editor.Doc().CanUndo());
        editor.Frame()->close();

        // A value changed in a page is a step; undoing it brings the document back to saved.
        editor.App().m_bItemSheet = 1;
        editor.Properties(editor.a->GetItem(0));
        Find<QLineEdit>(editor.ItemPage(), "descriptionEdit")->setText(QStringLiteral("changed"));
        editor.Frame()->close();
        QVERIFY(editor.Doc().IsModified());
        QVERIFY(editor.Doc().CanUndo());
        QVERIFY(editor.Main().isWindowModified());
        QVERIFY(editor.Main().windowTitle().contains(QStringLiteral("[*]")));
        editor.Trigger(cmd::EditUndo);
        QVERIFY(!editor.Doc().IsModified());
        QVERIFY(!editor.Main().isWindowModified());
    }

    // A "[*]" inside the file name is text, not the place of the modified mark.
    void aFileNameWithTheMarkPlaceholderStaysText() {
        Editor editor;
        editor.Doc().SetPathName(editor.folder.filePath(QStringLiteral("odd[*].htm")));
        editor.Doc().InsertTopLevelMenu();
        editor.Main().show();
        QVERIFY(editor.Main().isWindowModified());
        QCOMPARE(editor.Main().windowTitle().count(QStringLiteral("[*]")), 3);
    }

    void itemButtonSwitchesTheViewForLaterSelectionsToo() {
        Editor editor;
        editor.App().m_bItemSheet = 0;
        editor.Properties(editor.a->GetItem(0));
        editor.Frame()->MenuSheet()->ItemButton()->click();
        QCOMPARE(editor.App().m_bItemSheet, 1);
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->ItemSheet()));
        QCOMPARE(editor.Doc().m_pCurItem, editor.a->GetItem(0));
        editor.Select(editor.b->GetItem(0));
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->ItemSheet()));

        editor.Frame()->ItemSheet()->MenuButton()->click();
        QCOMPARE(editor.App().m_bItemSheet, 0);
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->MenuSheet()));
        QCOMPARE(editor.Doc().m_pCurMenu, editor.b);
    }

    void leavingTheNameAndLabelBoxesRenamesTheNodes() {
        Editor editor;
        editor.Properties(&editor.App().m_applet);
        auto* name = Find<QLineEdit>(editor.AppletPage(), "nameEdit");
        name->setText(QStringLiteral("Renamed applet"));
        LeaveBox(name);
        QCOMPARE(treenodes::TextOfNode(editor.Tree().RootNode()), QStringLiteral("Renamed applet"));

        editor.Select(editor.a->GetItem(0));
        auto* label = Find<QPlainTextEdit>(editor.ItemPage(), "labelEdit");
        label->setPlainText(QStringLiteral("Two\nlines"));
        LeaveBox(label);
        QCOMPARE(editor.a->GetItem(0)->m_label, std::string("Two\r\nlines"));
        QCOMPARE(treenodes::TextOfNode(editor.Tree().NodeOfItem(editor.a->GetItem(0))), treenodes::TextOfItem(*editor.a->GetItem(0)));
    }

    // Clicking into the tree (another window) leaves the box too; the box's own pop-up does not.
    void leavingTheLabelBoxForAnotherWindowRenamesTheNode() {
        Editor editor;
        editor.Properties(editor.a->GetItem(0));
        auto* label = Find<QPlainTextEdit>(editor.ItemPage(), "labelEdit");
        label->setPlainText(QStringLiteral("Via popup"));
        QFocusEvent toPopup(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(label, &toPopup);
        QCOMPARE(editor.a->GetItem(0)->m_label, std::string("a1"));
        label->setPlainText(QStringLiteral("Clicked away"));
        QFocusEvent toTree(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(label, &toTree);
        QCOMPARE(editor.a->GetItem(0)->m_label, std::string("Clicked away"));
        QCOMPARE(treenodes::TextOfNode(editor.Tree().NodeOfItem(editor.a->GetItem(0))), QStringLiteral("Clicked away"));
    }

    // Undo and redo change the model under the shown page; the page shows their result and
    // does not write its old values back.
    void shownPageFollowsUndoAndRedo() {
        Editor editor;
        // Targets the item page shows as stored; an empty one would be stored as "_self" on
        // leaving the page, a step of its own.
        for (CVoraneItem* shown : {editor.a->GetItem(0), editor.b->GetItem(0)}) shown->m_target = "_self";
        CVoraneItem* item = editor.a->GetItem(0);
        editor.Properties(item);
        auto* link = Find<QLineEdit>(editor.ItemPage(), "linkEdit");
        link->setText(QStringLiteral("first.html"));
        QVERIFY(editor.Tree().CommitActivePage());
        QCOMPARE(editor.Doc().UndoText(), QStringLiteral("Edit Item"));
        editor.Trigger(cmd::EditUndo);
        QCOMPARE(item->m_link, std::string());
        QCOMPARE(link->text(), QString());
        editor.Trigger(cmd::EditRedo);
        QCOMPARE(link->text(), QStringLiteral("first.html"));

        // Undoing the insertion of the shown item: the selection and the frame move to the
        // menu, and redo brings the very same item back, selected.
        editor.Select(editor.b->GetItem(0));
        editor.Trigger(cmd::MenuInsert);  // b1 gets a first sub item, shown in the frame
        CVoraneItem* inserted = editor.b->GetItem(0)->m_subMenu->GetItem(0);
        QCOMPARE(editor.Doc().m_pCurItem, inserted);
        editor.Trigger(cmd::EditUndo);
        QCOMPARE(editor.Doc().m_pCurItem, editor.b->GetItem(0));
        QCOMPARE(editor.Tree().SelectedNode(), editor.Tree().NodeOfItem(editor.b->GetItem(0)));
        editor.Trigger(cmd::EditRedo);
        QCOMPARE(editor.b->GetItem(0)->m_subMenu->GetItem(0), inserted);
        QCOMPARE(editor.Tree().SelectedNode(), editor.Tree().NodeOfItem(inserted));
        QCOMPARE(editor.Doc().m_pCurItem, inserted);
    }

    void saveWritesThePageStillShown() {
        Editor editor;
        editor.Properties(editor.a->GetItem(0));
        Find<QLineEdit>(editor.ItemPage(), "linkEdit")->setText(QStringLiteral("target-page.html"));
        const QString page = editor.folder.filePath(QStringLiteral("menu.htm"));
        editor.dialogs.saveFileNames = {page};
        editor.Trigger(cmd::FileSave);
        QCOMPARE(editor.a->GetItem(0)->m_link, std::string("target-page.html"));
        QVERIFY(!editor.Doc().IsModified());
        QFile menuFile(editor.folder.filePath(QStringLiteral("menu.kst")));
        QVERIFY(menuFile.open(QIODevice::ReadOnly));
        QVERIFY(menuFile.readAll().contains("target-page.html"));
    }

    void checkParametersCommitsAndRefreshesTheAppletPage() {
        Editor editor;
        editor.Properties(&editor.App().m_applet);
        Find<QLineEdit>(editor.AppletPage(), "nameEdit")->setText(QStringLiteral("Checked"));
        editor.Doc().m_bAutoChangeSize = 1;
        editor.Trigger(cmd::BuildCheck);
        QCOMPARE(editor.App().m_applet.m_HTMLTitle, std::string("Checked"));
        QCOMPARE(Find<CSpinEdit>(editor.AppletPage(), "widthSpin")->text(),
                 QString::number(editor.App().m_applet.m_appWidth));
        QCOMPARE(Find<CSpinEdit>(editor.AppletPage(), "heightSpin")->text(),
                 QString::number(editor.App().m_applet.m_appHeight));
    }

    void anEditLeftInThePageIsAskedAboutBeforeNewOpenAndClose() {
        Editor editor;
        editor.Properties(editor.a->GetItem(0));
        editor.Doc().SetModifiedFlag(false);  // as right after a save
        Find<QLineEdit>(editor.ItemPage(), "descriptionEdit")->setText(QStringLiteral("unsaved"));

        editor.dialogs.answers = {IDialogService::Answer::Cancel};
        editor.Trigger(cmd::FileNew);
        QCOMPARE(editor.dialogs.messages, QStringList{QStringLiteral("Save changes to Untitled?")});
        QCOMPARE(editor.a->GetItem(0)->m_description, std::string("unsaved"));

        editor.dialogs.answers = {IDialogService::Answer::Cancel};
        editor.dialogs.openFileNames = {editor.folder.filePath(QStringLiteral("other.htm"))};
        editor.Trigger(cmd::FileOpen);
        QCOMPARE(editor.dialogs.messages.size(), 2);

        editor.dialogs.answers = {IDialogService::Answer::No};
        QVERIFY(editor.Main().close());
        QCOMPARE(editor.dialogs.messages.size(), 3);
    }

    void aNewDocumentShowsItsRootWithoutTheOldPageValues() {
        Editor editor;
        editor.Properties(&editor.App().m_applet);
        Find<QLineEdit>(editor.AppletPage(), "nameEdit")->setText(QStringLiteral("Old document"));
        editor.dialogs.answers = {IDialogService::Answer::No};
        editor.dialogs.onDialog = [](QDialog* dialog) {
            dialog->accept();
            return dialog->result();
        };
        editor.Trigger(cmd::FileNew);
        QVERIFY(editor.App().m_applet.m_HTMLTitle != "Old document");
        QVERIFY(editor.Frame()->isVisible());
        QCOMPARE(editor.Frame()->CurrentSheet(), static_cast<CPropertySheet*>(editor.Frame()->AppletSheet()));
        QCOMPARE(Find<QLineEdit>(editor.AppletPage(), "nameEdit")->text(),
                 QString::fromStdString(editor.App().m_applet.m_HTMLTitle));
    }

    void helpButtonsOfTheItemDialogsReachTheHelpWindow() {
        Editor editor;
        editor.Properties(editor.a->GetItem(0));
        editor.dialogs.onDialog = [](QDialog* dialog) {
            static_cast<CDlgMedia*>(dialog)->HelpButton()->click();
            return int(QDialog::Rejected);
        };
        Find<QPushButton>(editor.ItemPage(), "imageButton")->click();
        QCOMPARE(editor.Main().HelpWindow().CurrentTopic(), QStringLiteral("imagedialog"));
        Find<QPushButton>(editor.ItemPage(), "audioButton")->click();
        QCOMPARE(editor.Main().HelpWindow().CurrentTopic(), QStringLiteral("audiodialog"));
    }

    void helpKeyInAPageOpensThePagesTopic() {
        Editor editor;
        editor.shell->Show();
        editor.Properties(editor.a->GetItem(0));
        QApplication::setActiveWindow(editor.Frame());
        QVERIFY(QTest::qWaitForWindowActive(editor.Frame()));
        auto* link = Find<QLineEdit>(editor.ItemPage(), "linkEdit");
        link->setFocus();
        QTest::keyClick(link, Qt::Key_F1);
        QCOMPARE(editor.Main().HelpWindow().CurrentTopic(), QStringLiteral("131218"));
    }

    void deletingTheEditedItemLeavesNoContextBehind() {
        Editor editor;
        editor.App().m_bItemSheet = 0;
        editor.Properties(editor.b->GetItem(0));
        Find<CSpinEdit>(editor.Frame()->MenuSheet()->MenuStylePage(), "widthEdit")->SetText(QStringLiteral("123"));
        editor.dialogs.answers = {IDialogService::Answer::Ok};
        editor.Trigger(cmd::MenuDelete);
        QVERIFY(editor.b->m_items.empty());
        QVERIFY(!editor.Frame()->isVisible());  // the parent, a top-level menu, is selected
        QVERIFY(!editor.Doc().m_pCurItem && !editor.Doc().m_pCurMenu);
    }
};

QTEST_MAIN(PropertyViewTest)
#include "tst_properties_view.moc"
