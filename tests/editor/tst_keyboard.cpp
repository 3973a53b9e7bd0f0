// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QColorDialog>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/DialogService.h"
#include "help/HelpWindow.h"
#include "main/CommandTable.h"
#include "main/WizardInfoView.h"
#include "model/AppletParameters.h"
#include "preview/MenuPreviewWindow.h"
#include "properties/PropertyFrame.h"
#include "support/ProgramFixture.h"
#include "tree/TreeNodes.h"

namespace {
// The editor shown and active, with the keyboard in the tree on the first top-level menu.
struct ActiveProgram : ProgramFixture {
    bool Show() {
        if (!Start()) return false;
        Frame().show();
        Frame().activateWindow();
        if (!QTest::qWaitForWindowActive(&Frame())) return false;
        Tree().SelectNode(Tree().NodeOfItem(Applet().m_menus.front().get()));
        Tree().setFocus();
        return true;
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    QWidget* MessageBox() { return Frame().InfoView()->m_edit; }
    CPropertyFrame* PropertyFrame() { return Tree().m_pPropertyFrame; }
    bool InFrame(const QWidget* widget) { return PropertyFrame() && PropertyFrame()->isAncestorOf(widget); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), static_cast<Qt::Key>(key), modifiers);
    }
};
}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void insertKeysAddItemsAndMenus() {
        ActiveProgram program;
        QVERIFY(program.Show());
        auto* menu = program.Applet().m_menus.front().get();
        const std::size_t items = menu->m_items.size();
        const std::size_t menus = program.Applet().m_menus.size();
        program.Key(Qt::Key_Insert);
        QCOMPARE(menu->m_items.size(), items + 1);
        QCOMPARE(treenodes::ObjectOfNode(program.Tree().SelectedNode()), static_cast<const void*>(menu->GetItem(0)));

        program.Key(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(program.Applet().m_menus.size(), menus + 1);
        QCOMPARE(program.Doc().UndoText(), QStringLiteral("Insert Menu"));

        program.Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        auto* preview = program.Frame().findChild<CMenuPreviewWindow*>();
        QVERIFY(preview && preview->isVisible());
    }

    // F6 and Shift+F6 go round the tree, the message pane and the shown property frame;
    // Tab and Shift+Tab between the panes; Escape leaves the frame for the tree.
    void panesCycleAndEscapeLeavesTheFrame() {
        ActiveProgram program;
        QVERIFY(program.Show());
        program.Key(Qt::Key_Tab);
        QCOMPARE(program.Focus(), program.MessageBox());
        program.Key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(program.Focus(), static_cast<QWidget*>(&program.Tree()));

        program.Tree().SelectNode(program.Tree().RootNode());
        program.Key(Qt::Key_Return, Qt::AltModifier);
        QVERIFY(program.PropertyFrame() && program.PropertyFrame()->isVisible());
        QTRY_VERIFY(program.InFrame(program.Focus()));

        program.Key(Qt::Key_Escape);
        QTRY_COMPARE(program.Focus(), static_cast<QWidget*>(&program.Tree()));
        QVERIFY(program.PropertyFrame()->isVisible());

        program.Key(Qt::Key_F6);
        QTRY_COMPARE(program.Focus(), program.MessageBox());
        program.Key(Qt::Key_F6);
        QTRY_VERIFY(program.InFrame(program.Focus()));
        program.Key(Qt::Key_F6);
        QTRY_COMPARE(program.Focus(), static_cast<QWidget*>(&program.Tree()));
        program.Key(Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(program.InFrame(program.Focus()));
        program.Key(Qt::Key_F6, Qt::ShiftModifier);
        QTRY_COMPARE(program.Focus(), program.MessageBox());
    }

    // Back from another window, and after New, the keyboard is in the tree.
    void activationAndNewPutTheKeyboardIntoTheTree() {
        ActiveProgram program;
        QVERIFY(program.Show());
        program.Frame().ActivatePane(program.Frame().InfoView());
        QCOMPARE(program.Focus(), program.MessageBox());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        program.Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.Frame()));
        QCOMPARE(program.Focus(), static_cast<QWidget*>(&program.Tree()));

        program.Frame().ActivatePane(program.Frame().InfoView());
        program.dialogs.onDialog = [](QDialog*) { return QDialog::Accepted; };
        program.Action(cmd::FileNew)->trigger();
        QCOMPARE(program.Focus(), static_cast<QWidget*>(&program.Tree()));
    }

    // A dialog has the keyboard while open and gives it back to the box it came from.
    void dialogsTakeTheKeyboardAndGiveItBack() {
        QWidget owner;
        auto* box = new QLineEdit(&owner);
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        box->setFocus();
        QtDialogService dialogs;

        QDialog dialog(&owner);
        auto* inside = new QLineEdit(&dialog);
        bool hadKeyboard = false;
        QTimer::singleShot(50, &dialog, [&] {
            hadKeyboard = QApplication::activeWindow() == &dialog && QApplication::focusWidget() == inside;
            dialog.reject();
        });
        dialogs.ExecDialog(&dialog);
        QVERIFY(hadKeyboard);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));

        bool chooserActive = false;
        QTimer::singleShot(50, &owner, [&] {
            auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            chooserActive = chooser && QApplication::activeWindow() == chooser;
            if (chooser) chooser->reject();
        });
        QVERIFY(!dialogs.GetColor(box, Qt::red));
        QVERIFY(chooserActive);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
    }

    void helpWindowClosesWithEscape() {
        CHelpWindow help(QStringLiteral(KESTRUNE_BIN_DIR "/kestrune.html"));
        help.ShowContents();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &help, Qt::Key_Escape);
        QVERIFY(!help.isVisible());
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
