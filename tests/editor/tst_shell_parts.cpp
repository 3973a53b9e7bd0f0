// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include "app/ShellTexts.h"
#include "help/ContextHelpMode.h"
#include "help/HelpDocument.h"
#include "help/HelpTopics.h"
#include "help/HelpWindow.h"
#include "main/CommandEnabling.h"
#include "main/CommandTable.h"
#include "main/RecentFileList.h"
#include "main/WindowPlacement.h"
#include "main/WizardInfoView.h"
#include "common/MemorySettingsStore.h"
#include "toolbar/FlatToolBar.h"
#include "toolbar/FlatToolBarStyle.h"
#include "tree/TreeNodes.h"

namespace {
const QString kHelpFile = QStringLiteral(KESTRUNE_BIN_DIR "/kestrune.html");

CommandContext Selecting(int kind, bool visible = true) {
    CommandContext context;
    context.hasSelection = true;
    context.selectionKind = kind;
    context.selectionVisible = visible;
    return context;
}
}  // namespace

class ShellPartsTest : public QObject {
    Q_OBJECT

private slots:
    // The file dialogs show a file type as written: its patterns appear once, in the one
    // pair of brackets the dialog reads them from.
    void fileTypesShowTheirPatternsOnce() {
        for (const QString& filter : {shelltexts::kSaveFilter, shelltexts::kOpenFilter})
            for (const QString& type : filter.split(QStringLiteral(";;"))) {
                QCOMPARE(type.count(QLatin1Char('(')), 1);
                QVERIFY2(type.endsWith(QLatin1Char(')')) && !type.contains(QLatin1Char(',')), qPrintable(type));
            }
        QVERIFY(shelltexts::kSaveFilter.startsWith(QStringLiteral("Kestrune Saved HTML (*.htm)")));
    }

    void enablingOnRootMenuAndItem() {
        using namespace treenodes;
        auto root = ComputeCommandStates(Selecting(kKindRoot));
        QVERIFY(!root[cmd::MenuVisible].enabled && !root[cmd::MenuVisible].checked);
        QVERIFY(!root[cmd::MenuMoveUp].enabled && !root[cmd::MenuMoveDown].enabled);
        QVERIFY(!root[cmd::EditCut].enabled && !root[cmd::EditCopy].enabled && !root[cmd::EditPaste].enabled);
        QVERIFY(root[cmd::MenuProperty].enabled && root[cmd::MenuInsert].enabled && root[cmd::MenuDelete].enabled);

        auto menu = ComputeCommandStates(Selecting(kKindMenu, false));
        QVERIFY(menu[cmd::MenuVisible].enabled && !menu[cmd::MenuVisible].checked);
        QVERIFY(!menu[cmd::MenuProperty].enabled && !menu[cmd::MenuMoveUp].enabled && !menu[cmd::EditCopy].enabled);

        for (int kind : {int(kKindSubMenuItem), int(kKindPlainItem)}) {
            auto item = ComputeCommandStates(Selecting(kind));
            QVERIFY(item[cmd::MenuVisible].enabled && item[cmd::MenuVisible].checked);
            QVERIFY(item[cmd::MenuMoveUp].enabled && item[cmd::MenuMoveDown].enabled);
            QVERIFY(item[cmd::EditCut].enabled && item[cmd::EditCopy].enabled && item[cmd::MenuProperty].enabled);
            QVERIFY(!item[cmd::EditPaste].enabled);
        }
    }

    void pasteNeedsASelectionBelowTheRootAndClipboardData() {
        using namespace treenodes;
        CommandContext context = Selecting(kKindMenu);
        context.clipboardHasItem = true;
        QVERIFY(ComputeCommandStates(context)[cmd::EditPaste].enabled);
        context.selectionKind = kKindRoot;
        QVERIFY(!ComputeCommandStates(context)[cmd::EditPaste].enabled);
        context = Selecting(kKindPlainItem);
        context.clipboardHasItem = true;
        context.hasSelection = false;
        QVERIFY(!ComputeCommandStates(context)[cmd::EditPaste].enabled);
    }

    void theMessagePaneDisablesEveryTreeCommandAndNothingElse() {
        CommandContext context = Selecting(treenodes::kKindPlainItem);
        context.clipboardHasItem = true;
        context.treePaneActive = false;
        context.undoName = QStringLiteral("Delete Item");
        context.redoName = QStringLiteral("Insert Item");
        context.findActive = true;
        const auto states = ComputeCommandStates(context);
        for (const CommandEntry& entry : CCommandTable::StandardCommands()) {
            if (entry.id.startsWith(QLatin1String("FileMru"))) continue;
            QCOMPARE(states[entry.id].enabled, entry.route != CommandRoute::Tree);
        }
        QCOMPARE(states.size(), static_cast<qsizetype>(CCommandTable::StandardCommands().size()));
    }

    // One Open or Save at a time: while one runs the File menu waits, but for Exit; while a
    // save reads the model, so does every command that changes it.
    void fileWorkDisablesTheFileCommandsAndASaveTheEditsToo() {
        CommandContext context = Selecting(treenodes::kKindPlainItem);
        context.clipboardHasItem = true;
        context.undoName = QStringLiteral("Delete Item");
        context.redoName = QStringLiteral("Insert Item");
        context.findActive = true;
        context.recentFileCount = CRecentFileList::kMaxEntries;
        context.fileWorkRunning = true;
        for (const bool saving : {false, true}) {
            context.saving = saving;
            const auto states = ComputeCommandStates(context);
            for (const CommandEntry& entry : CCommandTable::StandardCommands()) {
                const bool file = entry.menu == MenuGroup::File && entry.id != QLatin1String(cmd::AppExit);
                const bool edits = entry.route == CommandRoute::Tree || entry.id == QLatin1String(cmd::EditUndo) ||
                                   entry.id == QLatin1String(cmd::EditRedo);
                QVERIFY2(states[entry.id].enabled == (!file && !(saving && edits)), qPrintable(entry.id));
            }
        }
    }

    // The report of a big document fills the message pane over several turns of the event
    // loop; the pane's text is the whole report all along, and a new report replaces it whole.
    void aLongReportFillsThePaneInPartsAndIsWholeAllAlong() {
        CWizardInfoView pane;
        QString report;
        for (int line = 0; line < 10000; ++line) report += QStringLiteral("Warning:\tline %1\r\n").arg(line);
        QString shown = report;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        pane.SetMessageText(report);
        QCOMPARE(pane.MessageText(), shown);
        QVERIFY(pane.m_edit->document()->blockCount() < 10000);
        QTRY_COMPARE(pane.m_edit->toPlainText(), shown);

        pane.SetMessageText(report);
        pane.SetMessageText(QStringLiteral("short\r\nreport"));
        QCOMPARE(pane.m_edit->toPlainText(), QStringLiteral("short\nreport"));
        pane.SetMessageText(report);
        pane.ClearMessage();
        QTest::qWait(50);
        QCOMPARE(pane.m_edit->toPlainText(), QString());
        QCOMPARE(pane.MessageText(), QString());
    }

    void checkMarksAndRecentEntries() {
        CommandContext context;
        context.autoChangeSize = true;
        context.toolbarShown = false;
        context.recentFileCount = 0;
        auto states = ComputeCommandStates(context);
        QVERIFY(states[cmd::OptionsAutoChange].checked && !states[cmd::ViewToolbar].checked);
        QVERIFY(states[cmd::ViewStatusBar].checked);
        QVERIFY(states[cmd::FileMru1].visible && !states[cmd::FileMru1].enabled);
        QVERIFY(!states[cmd::FileMru2].visible);
        context.recentFileCount = 3;
        states = ComputeCommandStates(context);
        QVERIFY(states[cmd::FileMru3].visible && states[cmd::FileMru3].enabled && !states[cmd::FileMru4].visible);
    }

    void commandTableCarriesTheMenuTextsKeysAndPrompts() {
        QObject owner;
        CCommandTable table(&owner);
        QAction* cut = table.Action(cmd::EditCut);
        QCOMPARE(cut->text(), QStringLiteral("Cu&t"));
        QCOMPARE(cut->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+X")),
                                                        QKeySequence(QStringLiteral("Shift+Del"))}));
        QCOMPARE(cut->statusTip(), QStringLiteral("Cut the selection and put it on the Clipboard"));
        QCOMPARE(cut->toolTip(), QStringLiteral("Cut"));
        QCOMPARE(table.Action(cmd::FileSaveAs)->statusTip(),
                 QStringLiteral("Save an opened Vorane  to a specified file name"));
        QCOMPARE(table.Action(cmd::MenuProperty)->shortcut().toString(QKeySequence::NativeText), QStringLiteral("Alt+Enter"));
        QVERIFY(table.Action(cmd::MenuProperty)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Return)));
        QCOMPARE(HelpTopicOf(table.Action(cmd::FileSave)), QStringLiteral("saving"));
        QCOMPARE(HelpTopicOf(table.Action(cmd::MenuInsert)), QStringLiteral("cmd_menu"));

        QStringList toolbar;
        for (const CommandEntry* entry : table.ToolbarCommands())
            toolbar << entry->tooltip + (entry->toolbarSeparatorAfter ? QStringLiteral("|") : QString());
        QCOMPARE(toolbar, QStringList({"New", "Open", "Save|", "Cut", "Copy", "Paste|", "Undo", "Redo|", "Insert", "Delete",
                                       "Move Item Up", "Move Item Down", "Property|", "HTML", "Preview|", "Menu Preview"}));
        QStringList titles;
        for (MenuGroup group : {MenuGroup::File, MenuGroup::Edit, MenuGroup::View, MenuGroup::Menu, MenuGroup::Build,
                                MenuGroup::Options, MenuGroup::Help})
            titles << CCommandTable::MenuTitle(group);
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Menu", "&Build", "&Options", "&Help"}));
    }

    void windowPlacementNeedsExactlyTenNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ten") << "2,3,-1,-1,-8,-8,10,20,810,620" << true;
        QTest::newRow("nine") << "2,3,-1,-1,-8,-8,10,20,810" << false;
        QTest::newRow("eleven") << "2,3,-1,-1,-8,-8,10,20,810,620,1" << false;
        QTest::newRow("text") << "2,3,-1,-1,-8,-8,ten,20,810,620" << false;
        QTest::newRow("trailing text") << "2,3,-1,-1,-8,-8,10,20,810,620px" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("negative flags") << "-2,3,-1,-1,-8,-8,10,20,810,620" << false;
        QTest::newRow("no area") << "0,1,-1,-1,-1,-1,10,20,10,620" << false;
    }
    void windowPlacementNeedsExactlyTenNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto placement = ParseWindowPlacement(text.toStdString());
        QCOMPARE(placement.has_value(), valid);
        if (valid) QCOMPARE(FormatWindowPlacement(*placement), text.toStdString());
    }

    void recentFilesKeepTheFourNewestFirst() {
        CRecentFileList list;
        for (const char* path : {"/a.htm", "/b.htm", "/c.htm", "/d.htm", "/e.htm"}) list.Add(QString::fromLatin1(path));
        QCOMPARE(list.Files(), QStringList({"/e.htm", "/d.htm", "/c.htm", "/b.htm"}));
        list.Add(QStringLiteral("/c.htm"));
        QCOMPARE(list.Files(), QStringList({"/c.htm", "/e.htm", "/d.htm", "/b.htm"}));
        QCOMPARE(list.MenuText(0), QStringLiteral("&1 /c.htm"));

        kestrune::MemorySettingsStore settings;
        list.Save(settings);
        QCOMPARE(settings.GetString("Recent File List", "File4"), std::string("/b.htm"));
        list.Remove(0);
        list.Save(settings);
        CRecentFileList loaded;
        loaded.Load(settings);
        QCOMPARE(loaded.Files(), QStringList({"/e.htm", "/d.htm", "/b.htm"}));
    }

    void toolbarRepaintsOnlyWhenAButtonChanges() {
        QWidget window;
        CFlatToolBar bar(QStringLiteral("bar"), &window);
        QAction* save = bar.addAction(QStringLiteral("Save"));
        bar.addSeparator();
        QAction* toggle = bar.addAction(QStringLiteral("Toggle"));
        toggle->setCheckable(true);
        bar.SyncButtonStates();
        QVERIFY(!bar.SyncButtonStates());
        save->setEnabled(false);
        QVERIFY(bar.SyncButtonStates());
        QVERIFY(!bar.SyncButtonStates());
        toggle->setChecked(true);
        QVERIFY(bar.SyncButtonStates());
        QCOMPARE(bar.style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, &bar), 8);
    }

    void gripperAndSeparatorGeometry() {
        const auto [left, right] = CFlatToolBarStyle::GripperBars(QRect(0, 0, 8, 24), true);
        QCOMPARE(left, QRect(1, 1, 3, 22));
        QCOMPARE(right, QRect(5, 1, 3, 22));
        const auto [top, below] = CFlatToolBarStyle::GripperBars(QRect(0, 0, 24, 8), false);
        QCOMPARE(top, QRect(1, 1, 22, 3));
        QCOMPARE(below, QRect(1, 5, 22, 3));
        QCOMPARE(CFlatToolBarStyle::SeparatorLine(QRect(10, 2, 6, 20), true), QRect(12, 2, 2, 20));
        QCOMPARE(CFlatToolBarStyle::SeparatorLine(QRect(2, 10, 20, 6), false), QRect(2, 12, 20, 2));
    }

    void helpDocumentHasEveryRequestedPlace() {
        CHelpDocument document;
        QVERIFY(document.Load(kHelpFile));
        for (const QString& anchor :
             {helptopic::kContents, helptopic::kIndex, helptopic::kGettingStarted, helptopic::kFaq,
              helptopic::kMainWindow, helptopic::kMenuTree, helptopic::kMessagePane, helptopic::kToolbar,
              helptopic::kStatusBar, helptopic::kNewDialog, helptopic::kSaveAsTemplateDialog,
              helptopic::kManageTemplatesDialog, helptopic::kHtmlDialog, helptopic::kAboutDialog,
              QStringLiteral("65654"), QStringLiteral("65655"), QStringLiteral("65656"), QStringLiteral("131175"),
              QStringLiteral("131213"), QStringLiteral("131216"), QStringLiteral("131218"), QStringLiteral("131219"),
              QStringLiteral("131220")})
            QVERIFY2(document.HasTopic(anchor), qPrintable(anchor));
        // Every command's topic exists too.
        QObject owner;
        CCommandTable table(&owner);
        for (const CommandEntry& entry : table.Entries())
            QVERIFY2(document.HasTopic(HelpTopicOf(table.Action(entry.id))), qPrintable(entry.id));
        QVERIFY(document.Contents().size() > 10);
        QVERIFY(document.Index().size() > 20);
        for (const CHelpDocument::Link& link : document.Index()) QVERIFY2(document.HasTopic(link.anchor), qPrintable(link.text));
    }

    void helpSearchFindsTopicsWithAllWords() {
        CHelpDocument document;
        document.SetHtml(QStringLiteral(
            "<a name=\"contents\"></a><h1>Help</h1><p><b>Start</b></p><a href=\"#one\">First</a>"
            "<a name=\"index\"></a><h2>Index</h2><a href=\"#two\">Colour</a>"
            "<a name=\"one\"></a><h2>First &amp; foremost</h2><p>red apples</p>"
            "<a name=\"two\"></a><h2>Second</h2><p>Red pears</p>"));
        QCOMPARE(document.TitleOf(QStringLiteral("one")), QStringLiteral("First & foremost"));
        QCOMPARE(document.Contents().size(), 2);
        QVERIFY(document.Contents().first().anchor.isEmpty());  // the group heading
        QCOMPARE(document.Index().size(), 1);
        QCOMPARE(document.Search(QStringLiteral("red")).size(), 2);
        QCOMPARE(document.Search(QStringLiteral("RED pears")).size(), 1);
        QCOMPARE(document.Search(QStringLiteral("red pears")).first().anchor, QStringLiteral("two"));
        QVERIFY(document.Search(QStringLiteral("   ")).isEmpty());
    }

    void helpWindowGoesToTopicsIndexAndSearch() {
        CHelpWindow window(kHelpFile);
        window.ShowTopic(QStringLiteral("65657"));
        QCOMPARE(window.CurrentTopic(), QStringLiteral("65657"));
        window.ShowTopic(QStringLiteral("no such topic"));
        QCOMPARE(window.CurrentTopic(), QStringLiteral("contents"));
        window.ShowIndex();
        QCOMPARE(window.Tabs()->currentIndex(), 1);
        QVERIFY(window.IndexList()->count() > 20);
        window.ShowIndex(QStringLiteral("Clip"));
        QVERIFY(window.IndexList()->count() >= 1);
        for (int i = 0; i < window.IndexList()->count(); ++i)
            QVERIFY(window.IndexList()->item(i)->text().startsWith(QStringLiteral("Clip"), Qt::CaseInsensitive));
        window.SearchBox()->setText(QStringLiteral("template"));
        window.RunSearch();
        QVERIFY(window.SearchResults()->count() > 0);
        window.close();

        CHelpWindow missing(QStringLiteral("/nonexistent/kestrune.html"));
        missing.ShowContents();
        QVERIFY(missing.Browser()->toPlainText().contains(QStringLiteral("not found")));
    }

    void contextHelpTopicsOfButtonsMenusAndWindows() {
        QWidget window;
        SetHelpTopic(&window, QStringLiteral("mainwindow"));
        QWidget* child = new QWidget(&window);
        QCOMPARE(CContextHelpMode::TopicAt(child, QPoint()), QStringLiteral("mainwindow"));
        SetHelpTopic(child, 131175);
        QCOMPARE(CContextHelpMode::TopicAt(child, QPoint()), QStringLiteral("131175"));
        QAction action(QStringLiteral("Save"));
        SetHelpTopic(&action, QStringLiteral("saving"));
        auto* button = new QToolButton(&window);
        button->setDefaultAction(&action);
        QCOMPARE(CContextHelpMode::TopicAt(button, QPoint()), QStringLiteral("saving"));

        CContextHelpMode mode;
        QSignalSpy chosen(&mode, &CContextHelpMode::topicChosen);
        mode.Begin();
        QVERIFY(mode.IsActive());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(child, Qt::LeftButton);
        QVERIFY(!mode.IsActive());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("131175"));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "tst_shell_parts.moc"
