// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <future>
#include <optional>

#include "output/HtmlPageBuilder.h"
#include "app/AppletSizeEdit.h"
#include "app/ShellTexts.h"
#include "app/UndoTexts.h"
#include "base/TaskProgress.h"
#include "main/BackgroundWork.h"
#include "main/CommandTable.h"
#include "main/DocumentFlow.h"
#include "main/WizardInfoView.h"
#include "model/VoraneItem.h"
#include "persist/MenuFileReader.h"
#include "persist/DamageTexts.h"
#include "persist/PersistTexts.h"
#include "services/DocumentFile.h"
#include "support/FlowSteps.h"
#include "support/ProgramFixture.h"
#include "support/ProgramRun.h"
#include "support/SilentHost.h"
#include "support/TreeModelAgreement.h"

using namespace kestrune;

namespace {

// A saved document of the given menus, each with two items, and its page's path.
QString SaveMenus(const QString& folder, const QString& name, int menus) {
    CAppletParameters applet;
    for (int m = 0; m < menus; ++m) {
        CVorane* menu = applet.NewTopLevelMenu();
        for (const char* label : {"First", "Second"}) menu->InsertNewItem()->m_label = label;
    }
    SilentHost host;
    const QString page = folder + u'/' + name;
    if (!SaveDocument(applet, page.toStdString(), KESTRUNE_BIN_DIR, host)) return {};
    return page;
}

int CountAllItems(const CVorane& menu) {
    int items = 0;
    for (const auto& item : menu.m_items) items += 1 + CountAllItems(*item->m_subMenu);
    return items;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool HasTemporaryFiles(const QString& folder) {
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(QRegularExpression("^\\.")).isEmpty();
}

// The open document as the user knows it: its content, name, mark, history and tree.
struct DocumentState {
    std::string page;
    QString path;
    bool modified;
    int steps;
    QString tree;

    explicit DocumentState(ProgramFixture& program)
        : page(BuildHTML(program.Applet())),
          path(program.Doc().PathName()),
          modified(program.Doc().IsModified()),
          steps(program.Doc().UndoStack().count()),
          tree(TreeModelDisagreement(program.Tree(), program.Applet())) {}
    bool operator==(const DocumentState&) const = default;
};

// A started editor with an edited, unsaved document that has a history.
void StartEdited(ProgramFixture& program) {
    QVERIFY(program.Start());
    QVERIFY(program.Doc().InsertTopLevelMenu());
    QVERIFY(program.Doc().IsModified());
    QVERIFY(program.Doc().UndoStack().count() > 0);
}

// Holds the worker of the next Open or Save before it starts, until released.
struct WorkerGate {
    std::promise<void> release;
    std::shared_future<void> opened = release.get_future().share();
    void Install(CBackgroundWork& work) {
        work.SetBeforeWork([future = opened] { future.wait(); });
    }
};

}  // namespace

// Open and Save of the main window on their worker thread: a Cancel keeps what was, a
// success replaces in one step, and the program answers while the worker runs.
class OpenSaveTest : public QObject {
    Q_OBJECT

private slots:
    void aCancelledOpenKeepsTheDocumentItsMarkHistoryAndTree() {
        ProgramFixture program;
        StartEdited(program);
        const QString other = SaveMenus(program.folder.path(), QStringLiteral("other.htm"), 3);
        QVERIFY(!other.isEmpty());
        const DocumentState before(program);
        QCOMPARE(before.tree, QString());
        QSignalSpy changes(&program.Doc(), &CKestruneDoc::modelChanged);
        CDocumentFlow& flow = program.Frame().Flow();
        connect(&flow.Work(), &CBackgroundWork::starting, this, [](TaskProgress& progress) { progress.Cancel(); });

        QVERIFY(!Opened(flow, other));
        QVERIFY(flow.LastWorkCancelled());
        QVERIFY(program.dialogs.messages.isEmpty());
        QCOMPARE(changes.count(), 0);
        QVERIFY(DocumentState(program) == before);
        QVERIFY(!program.shell->Frame().RecentFiles().Files().contains(other));
    }

    void theProgressDialogAnswersWhileTheWorkerRunsAndItsCancelStopsTheOpen() {
        ProgramFixture program;
        StartEdited(program);
        const QString other = SaveMenus(program.folder.path(), QStringLiteral("other.htm"), 3);
        const DocumentState before(program);
        CDocumentFlow& flow = program.Frame().Flow();
        WorkerGate gate;
        gate.Install(flow.Work());
        flow.Work().SetDialogDelay(0);

        // The event loop turns while the worker is held; the dialog is modal, names the
        // file and has its Cancel.
        int turns = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++turns; });
        ticker.start(5);
        bool dialogSeen = false;
        connect(&flow.Work(), &CBackgroundWork::dialogShown, this, [&](QWidget* shown) {
            auto* dialog = qobject_cast<QProgressDialog*>(shown);
            QVERIFY(dialog && dialog->isModal());
            QCOMPARE(dialog->labelText(), shelltexts::kOpeningFile.arg(QStringLiteral("other.htm")));
            QVERIFY(QTest::qWaitFor([&] { return turns >= 3; }));
            // The main window's commands are out of reach meanwhile.
            QTest::keyClick(&program.Frame(), Qt::Key_N, Qt::ControlModifier);
            QVERIFY(program.dialogs.dialogTitles.isEmpty());
            // A second Open or Save asked for meanwhile is refused at once, without a word.
            std::optional<bool> second;
            flow.OpenDocumentFile(other, [&](bool opened) { second = opened; });
            QCOMPARE(second, std::optional<bool>(false));
            const QString refused = program.folder.filePath(QStringLiteral("refused.htm"));
            program.dialogs.saveFileNames.push_back(refused);
            second.reset();
            flow.Save(true, [&](bool saved) { second = saved; });
            QCOMPARE(second, std::optional<bool>(false));
            QVERIFY(!QFile::exists(refused));
            QPushButton* cancel = dialog->findChild<QPushButton*>();
            QVERIFY(cancel);
            QTest::mouseClick(cancel, Qt::LeftButton);
            QVERIFY(!cancel->isEnabled());
            dialogSeen = true;
            gate.release.set_value();
        });

        QVERIFY(!Opened(flow, other));
        QVERIFY(dialogSeen);
        QVERIFY(flow.LastWorkCancelled());
        QVERIFY(!flow.IsWorking());
        QVERIFY(program.dialogs.messages.isEmpty());
        QVERIFY(DocumentState(program) == before);
    }

    // Before the dialog shows, the window answers as always, but no other Open, Save or
    // New can begin: the call has returned and the event loop turns while the worker reads.
    void whileAnOpenRunsTheWindowAnswersAndOnlyTheFileCommandsWait() {
        ProgramFixture program;
        StartEdited(program);
        const QString other = SaveMenus(program.folder.path(), QStringLiteral("other.htm"), 2);
        program.Frame().show();
        program.Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&program.Frame()));
        CDocumentFlow& flow = program.Frame().Flow();
        flow.Work().SetDialogDelay(60000);
        WorkerGate gate;
        gate.Install(flow.Work());
        std::optional<bool> opened;
        flow.OpenDocumentFile(other, [&](bool done) { opened = done; });
        QVERIFY(flow.IsWorking() && !opened);

        int turns = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++turns; });
        ticker.start(5);
        QVERIFY(QTest::qWaitFor([&] { return turns >= 3; }));
        const char* fileCommands[] = {cmd::FileNew, cmd::FileOpen, cmd::FileSave, cmd::FileSaveAs,
                                      cmd::FileSaveAsTemplate};
        for (const char* id : fileCommands) QVERIFY2(!program.Action(id)->isEnabled(), id);
        QVERIFY(program.Action(cmd::AppExit)->isEnabled());
        QVERIFY(program.Action(cmd::EditFind)->isEnabled());
        QVERIFY(program.Action(cmd::ViewToolbar)->isEnabled());
        // New would ask "Save changes?" first.
        QTest::keyClick(program.Tree().viewport(), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(program.Tree().viewport(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(program.dialogs.messages.isEmpty());
        QVERIFY(program.dialogs.dialogTitles.isEmpty());
        QVERIFY(!opened);

        gate.release.set_value();
        QVERIFY(QTest::qWaitFor([&] { return opened.has_value(); }));
        QVERIFY(*opened);
        QCOMPARE(program.Applet().m_menus.size(), std::size_t{2});
        for (const char* id : fileCommands) QVERIFY2(program.Action(id)->isEnabled(), id);
    }

    // Edits made while an Open reads are asked about before the read replaces them.
    void anEditDuringAnOpenIsNotReplacedWithoutTheSaveQuestion() {
        ProgramFixture program;
        QVERIFY(program.Start());
        const QString other = SaveMenus(program.folder.path(), QStringLiteral("other.htm"), 2);
        CDocumentFlow& flow = program.Frame().Flow();
        flow.Work().SetDialogDelay(60000);
        const std::size_t before = program.Applet().m_menus.size();

        for (const auto answer : {IDialogService::Answer::Cancel, IDialogService::Answer::No}) {
            WorkerGate gate;
            gate.Install(flow.Work());
            std::optional<bool> opened;
            flow.OpenDocumentFile(other, [&](bool done) { opened = done; });
            QVERIFY(program.Doc().InsertTopLevelMenu());
            program.dialogs.messages.clear();
            program.dialogs.answers = {answer};
            const QString question = shelltexts::kSaveChangesTo.arg(program.Doc().Title());
            gate.release.set_value();
            QVERIFY(QTest::qWaitFor([&] { return opened.has_value(); }));
            QCOMPARE(program.dialogs.messages.size(), 1);
            QCOMPARE(program.dialogs.messages.first(), question);
            if (answer == IDialogService::Answer::Cancel) {
                // The edit stays, and so does the document it was made in.
                QVERIFY(!*opened);
                QCOMPARE(program.Applet().m_menus.size(), before + 1);
                QVERIFY(program.Doc().IsModified());
            } else {
                QVERIFY(*opened);
                QCOMPARE(program.Applet().m_menus.size(), std::size_t{2});
                QVERIFY(!program.Doc().IsModified());
            }
        }

        // Without an edit meanwhile an unmodified document is replaced without a question.
        WorkerGate gate;
        gate.Install(flow.Work());
        std::optional<bool> opened;
        program.dialogs.messages.clear();
        flow.OpenDocumentFile(other, [&](bool done) { opened = done; });
        gate.release.set_value();
        QVERIFY(QTest::qWaitFor([&] { return opened.has_value(); }));
        QVERIFY(*opened);
        QVERIFY(program.dialogs.messages.isEmpty());
    }

    void aSuccessfulOpenReplacesTheDocumentInOneStepAndReportsWarnings() {
        ProgramFixture program;
        StartEdited(program);
        // A chain of sub menus deeper than the reader keeps: it opens with a warning.
        const int chain = kMaxMenuDepth + 5;
        std::string text = "[Vorane2.0]\r\nNotice=Vorane2.0\r\nMisc=" + std::to_string(chain) + ",";
        for (int k = 0; k < chain; ++k) text += "1,";
        text += "-0,";
        for (int k = 0; k + 1 < chain; ++k) text += std::to_string(k) + "-" + std::to_string(k + 1) + ",";
        text += "\r\n";
        for (int k = 0; k < chain; ++k) text += "I" + std::to_string(k) + "-1=Deep,,,,,,,,,1\r\n";
        const QString page = program.folder.filePath(QStringLiteral("deep.htm"));
        QFile pageFile(page);
        QVERIFY(pageFile.open(QIODevice::WriteOnly));
        pageFile.close();
        QFile menuFile(program.folder.filePath(QStringLiteral("deep.kst")));
        QVERIFY(menuFile.open(QIODevice::WriteOnly));
        menuFile.write(text.data(), static_cast<qint64>(text.size()));
        menuFile.close();
        QSignalSpy changes(&program.Doc(), &CKestruneDoc::modelChanged);
        program.dialogs.answers.push_back(IDialogService::Answer::No);  // "Save changes?"

        QVERIFY(Await([&](const CDocumentFlow::Then& then) { program.Frame().Flow().OpenWithQuestion(page, then); }));
        QCOMPARE(program.dialogs.messages.size(), 2);  // "Save changes?", then the warning
        QVERIFY(program.dialogs.messages[1].contains(QStringLiteral("2000")));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes[0][0].value<ModelChange>().kind, ModelChange::Reset);
        QCOMPARE(program.Applet().m_menus.size(), std::size_t{1});
        QCOMPARE(program.Applet().m_menus[0]->m_items[0]->m_label, std::string("Deep"));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.Doc().UndoStack().count(), 0);
        QCOMPARE(program.Doc().PathName(), QFileInfo(page).absoluteFilePath());
        QCOMPARE(TreeModelDisagreement(program.Tree(), program.Applet()), QString());
        QCOMPARE(program.Frame().Flow().Work().LastFraction(), 1.0);
    }

    // A save of a big document with its media missing reports millions of lines: the
    // message box shows their head and how many more there are.
    void aLongReportShowsItsHeadAndCountsTheRest() {
        ProgramFixture program;
        QVERIFY(program.Start());
        std::string report;
        for (int line = 0; line < 100; ++line) report += "missing file " + std::to_string(line) + "\n";
        program.Frame().Flow().ReportMessage(report);
        const QStringList shown = program.dialogs.messages.last().split(u'\n');
        QCOMPARE(shown.size(), 41);
        QCOMPARE(shown[39], QStringLiteral("missing file 39"));
        QCOMPARE(shown[40], shelltexts::kMoreMessageLines.arg(60));

        program.Frame().Flow().ReportMessage("one line\ntwo lines");
        QCOMPARE(program.dialogs.messages.last(), QStringLiteral("one line\ntwo lines"));
    }

    void aFailedOpenSaysWhyAsBeforeAndKeepsTheDocument() {
        ProgramFixture program;
        StartEdited(program);
        const DocumentState before(program);
        const QString lonely = program.folder.filePath(QStringLiteral("lonely.htm"));
        QFile page(lonely);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        QVERIFY(!Opened(program.Frame().Flow(), lonely));
        QCOMPARE(program.dialogs.messages,
                 QStringList{QString::fromLatin1(texts::kNotSavedByKestrune) +
                             QStringLiteral("\nIts menu file \"lonely.kst\" is not in the same folder.")});
        QVERIFY(!program.Frame().Flow().LastWorkCancelled());

        // A menu file with text but no menu in it.
        const QString damaged = SaveMenus(program.folder.path(), QStringLiteral("damaged.htm"), 1);
        QFile menu(program.folder.filePath(QStringLiteral("damaged.kst")));
        QVERIFY(menu.open(QIODevice::WriteOnly | QIODevice::Truncate));
        menu.write("[Elsewhere]\r\nKey=Value\r\n");
        menu.close();
        QVERIFY(!Opened(program.Frame().Flow(), damaged));
        QCOMPARE(program.dialogs.messages.size(), 2);
        QVERIFY(program.dialogs.messages[1].contains(QStringLiteral("damaged.kst")));
        QVERIFY(DocumentState(program) == before);
    }

    // A menu file cut at any line opens with what it held before the cut, says so and
    // comes up modified; the Save that follows keeps the damaged pair beside the new one.
    void aMenuFileCutAtAnyLineOpensModifiedWithAMessageAndSaveKeepsIt() {
        ProgramFixture program;
        QVERIFY(program.Start());
        const QString page = program.folder.filePath(QStringLiteral("site/menu.htm"));
        const QString menu = program.folder.filePath(QStringLiteral("site/menu.kst"));
        const QString damaged = QLatin1String(texts::kDamagedSuffix);
        program.dialogs.saveFileNames.push_back(page);
        QVERIFY(Saved(program.Frame().Flow(), true));
        const QByteArray pageBytes = Bytes(page);
        const QByteArray whole = Bytes(menu);
        QList<qsizetype> cuts = {0};
        for (qsizetype end = whole.indexOf("\r\n"); end >= 0; end = whole.indexOf("\r\n", end + 2)) cuts << end + 2;
        cuts.removeLast();
        for (const qsizetype cut : cuts) {
            const QByteArray kept = whole.left(cut);
            const QString at = QStringLiteral("cut at %1 of %2 bytes").arg(cut).arg(whole.size());
            QFile::remove(page + damaged);
            QFile::remove(menu + damaged);
            QVERIFY(WriteBytes(page, pageBytes) && WriteBytes(menu, kept));
            program.dialogs.messages.clear();
            QVERIFY2(Opened(program.Frame().Flow(), page), qPrintable(at));
            QVERIFY2(program.dialogs.messages.size() == 1 && program.dialogs.messages[0].contains(menu) &&
                         program.dialogs.messages[0].contains(QStringLiteral("damaged")),
                     qPrintable(at + u'\n' + program.dialogs.messages.join(u'\n')));
            QVERIFY2(program.Doc().IsModified(), qPrintable(at));
            int items = 0;
            for (const auto& top : program.Applet().m_menus) items += CountAllItems(*top);
            QCOMPARE(items, static_cast<int>(kept.count("\r\nI") - kept.count("\r\nIStyle")));
            QCOMPARE(TreeModelDisagreement(program.Tree(), program.Applet()), QString());

            QVERIFY2(Saved(program.Frame().Flow(), false), qPrintable(at));
            QVERIFY(!program.Doc().IsModified());
            QVERIFY2(program.dialogs.messages.last().contains(menu + damaged), qPrintable(program.dialogs.messages.last()));
            QVERIFY2(Bytes(menu + damaged) == kept, qPrintable(at));
            QVERIFY2(Bytes(page + damaged) == pageBytes, qPrintable(at));
        }
    }

    void aCancelledSaveLeavesTheFilesAndTheMarkAndAFullOneReachesTheEnd() {
        ProgramFixture program;
        StartEdited(program);
        const QString folder = program.folder.filePath(QStringLiteral("site"));
        QVERIFY(QDir().mkpath(folder));
        const QString page = folder + QStringLiteral("/menu.htm");
        program.dialogs.saveFileNames.push_back(page);
        CDocumentFlow& flow = program.Frame().Flow();
        QVERIFY(Saved(flow, true));
        QCOMPARE(flow.Work().LastFraction(), 1.0);
        QVERIFY(program.Doc().InsertTopLevelMenu());
        QVERIFY(program.Doc().IsModified());
        const QByteArray oldPage = Bytes(page);
        const QByteArray oldMenu = Bytes(folder + QStringLiteral("/menu.kst"));

        auto cancelling =
            connect(&flow.Work(), &CBackgroundWork::starting, this, [](TaskProgress& progress) { progress.Cancel(); });
        QVERIFY(!Saved(flow, false));
        QVERIFY(flow.LastWorkCancelled());
        QVERIFY(program.dialogs.messages.isEmpty());
        QVERIFY(program.Doc().IsModified());
        QCOMPARE(Bytes(page), oldPage);
        QCOMPARE(Bytes(folder + QStringLiteral("/menu.kst")), oldMenu);
        QVERIFY(!HasTemporaryFiles(folder));

        // Edits are refused only while the save runs.
        disconnect(cancelling);
        bool refused = false;
        connect(&flow.Work(), &CBackgroundWork::starting, this,
                [&](TaskProgress&) { refused = program.Doc().InsertTopLevelMenu() == nullptr; });
        QVERIFY(Saved(flow, false));
        QVERIFY(refused);
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(Bytes(page), QByteArray::fromStdString(BuildHTML(program.Applet())));
        QVERIFY(program.Doc().InsertTopLevelMenu() != nullptr);
    }

    // The save's worker reads the model: Undo and Redo asked for meanwhile change nothing,
    // and the page written is the document as it was when the save began.
    void undoAndRedoDuringASaveChangeNothing() {
        ProgramFixture program;
        StartEdited(program);
        std::string& title = program.Applet().m_HTMLTitle;
        for (const char* retitled : {"First title", "Second title"})
            QVERIFY(program.Doc().EditProperties([&] {
                title = retitled;
                return true;
            }));
        program.Doc().Undo();
        QCOMPARE(title, std::string("First title"));
        QVERIFY(program.Doc().CanUndo() && program.Doc().CanRedo());
        const std::string expected = BuildHTML(program.Applet());
        const QString page = program.folder.filePath(QStringLiteral("saved.htm"));
        program.dialogs.saveFileNames.push_back(page);
        CDocumentFlow& flow = program.Frame().Flow();
        WorkerGate gate;
        gate.Install(flow.Work());
        bool tried = false;
        connect(&flow.Work(), &CBackgroundWork::starting, this, [&](TaskProgress&) {
            QTimer::singleShot(0, this, [&] {
                const auto release = qScopeGuard([&] { gate.release.set_value(); });
                QVERIFY(flow.IsWorking());
                const DocumentState before(program);
                const int index = program.Doc().UndoStack().index();
                program.Doc().Undo();
                QVERIFY(DocumentState(program) == before);
                program.Doc().Redo();
                QVERIFY(DocumentState(program) == before);
                QCOMPARE(program.Doc().UndoStack().index(), index);
                QCOMPARE(title, std::string("First title"));
                tried = true;
            });
        });

        QVERIFY(Saved(flow, true));
        QVERIFY(tried);
        QCOMPARE(Bytes(page), QByteArray::fromStdString(expected));
        QVERIFY(!program.Doc().IsModified());
        program.Doc().Redo();
        QVERIFY(program.Doc().IsModified());
        QCOMPARE(title, std::string("Second title"));
    }

    // Media copied from outside the document's folder are said after the save; the save went
    // through, so the message names no file that could not be written.
    void aSavedDocumentsMediaWarningTellsNoFailure() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QTemporaryDir elsewhere;
        QFile image(elsewhere.filePath(QStringLiteral("button.gif")));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write("GIF89a");
        image.close();
        program.dialogs.saveFileNames.push_back(program.folder.filePath(QStringLiteral("site/menu.htm")));
        QVERIFY(Saved(program.Frame().Flow(), true));
        QVERIFY(program.dialogs.messages.isEmpty());
        // Only a document with a folder of its own has an outside.
        program.Applet().m_menus.at(0)->m_items.at(0)->m_normalImage = image.fileName().toStdString();
        QVERIFY(Saved(program.Frame().Flow(), false));
        QVERIFY(QFile::exists(program.folder.filePath(QStringLiteral("site/button.gif"))));
        QCOMPARE(program.dialogs.messages.size(), 1);
        const QString said = program.dialogs.messages[0];
        QVERIFY2(said.contains(QStringLiteral("button.gif")) && said.contains(QStringLiteral("outside")), qPrintable(said));
        QVERIFY2(!said.contains(QStringLiteral("Could not write")), qPrintable(said));
    }

    // A page saved without the script runtime shows no menus in today's browsers: said once
    // per run, in one line of the message pane; never with the runtime on.
    void savingWithoutTheRuntimeSaysSoOnce() {
        ProgramFixture program;
        QVERIFY(program.Start());
        program.Doc().m_bScriptRuntime = 1;
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("with.htm"))};
        program.Trigger(cmd::FileSave);
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.Frame().InfoView()->MessageText(), QString());

        program.Doc().m_bScriptRuntime = 0;
        program.Trigger(cmd::FileSave);
        const QString said = program.Frame().InfoView()->MessageText();
        QVERIFY(said.contains(QStringLiteral("Options > Script Runtime")));
        QVERIFY(!said.contains(QLatin1Char('\n')));
        program.Action(cmd::BuildClearMessage)->trigger();
        program.Trigger(cmd::FileSave);
        QCOMPARE(program.Frame().InfoView()->MessageText(), QString());
    }

    // A folder typed into the save dialog's name is made; one that cannot be made is said
    // before anything is written, and the document stays unsaved.
    void saveMakesTheFolderTypedIntoTheName() {
        ProgramFixture program;
        QVERIFY(program.Start());
        program.Doc().InsertTopLevelMenu();
        const QString page = program.folder.filePath(QStringLiteral("site/deeper/menu.htm"));
        program.dialogs.saveFileNames = {page};
        program.Trigger(cmd::FileSave);
        QVERIFY(QFile::exists(page));
        QVERIFY(QFile::exists(program.folder.filePath(QStringLiteral("site/deeper/menu.kst"))));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.Doc().PathName(), page);

        QFile blocker(program.folder.filePath(QStringLiteral("plain-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        program.Doc().InsertTopLevelMenu();
        program.dialogs.saveFileNames = {blocker.fileName() + QStringLiteral("/menu.htm")};
        program.Trigger(cmd::FileSaveAs);
        QCOMPARE(program.dialogs.messages.size(), 1);
        QVERIFY(program.dialogs.messages[0].contains(QStringLiteral("Cannot create the folder")));
        QVERIFY(program.Doc().IsModified());
        QCOMPARE(program.Doc().PathName(), page);
    }

    // The save's worker reads the model in place: every way to edit is closed until it has
    // written, and what is written is the document as the save found it.
    void anEditDuringASaveIsRefusedAndTheFileHoldsTheDocumentAsItWas() {
        ProgramFixture program;
        StartEdited(program);
        const std::string expected = BuildHTML(program.Applet());
        const std::size_t menus = program.Applet().m_menus.size();
        const QString page = program.folder.filePath(QStringLiteral("held.htm"));
        program.dialogs.saveFileNames.push_back(page);
        program.Tree().SelectNode(program.Tree().RootNode());
        CDocumentFlow& flow = program.Frame().Flow();
        WorkerGate gate;
        gate.Install(flow.Work());
        std::optional<bool> saved;
        flow.Save(true, [&](bool done) { saved = done; });
        QVERIFY(flow.IsSaving() && !saved);

        const char* editing[] = {cmd::MenuInsert, cmd::MenuDelete, cmd::EditRename, cmd::EditUndo, cmd::FileSave};
        for (const char* id : editing) QVERIFY2(!program.Action(id)->isEnabled(), id);
        program.Action(cmd::MenuInsert)->trigger();
        QVERIFY(!program.Doc().InsertTopLevelMenu());
        QVERIFY(!program.Doc().EditProperties([&] {
            program.Applet().m_HTMLTitle = "Changed meanwhile";
            return true;
        }));
        QVERIFY(!program.Tree().RenameNode(program.Tree().RootNode(), QStringLiteral("Renamed meanwhile")));
        QCOMPARE(program.Applet().m_menus.size(), menus);

        gate.release.set_value();
        QVERIFY(QTest::qWaitFor([&] { return saved.has_value(); }));
        QVERIFY(*saved);
        QCOMPARE(Bytes(page), QByteArray::fromStdString(expected));
        QVERIFY(!program.Doc().IsModified());
        for (const char* id : editing) QVERIFY2(program.Action(id)->isEnabled(), id);
        QVERIFY(program.Doc().InsertTopLevelMenu());
    }

    // A close during a save stops the save first; the close that comes back asks again, so
    // the changes are never dropped unasked.
    void closingDuringASaveKeepsTheChangesAndAsksAgain() {
        ProgramFixture program;
        StartEdited(program);
        const QString page = program.folder.filePath(QStringLiteral("closing.htm"));
        program.dialogs.saveFileNames.push_back(page);
        CDocumentFlow& flow = program.Frame().Flow();
        WorkerGate gate;
        gate.Install(flow.Work());
        QSignalSpy closed(&program.Frame(), &CMainFrame::closed);
        std::optional<bool> saved;
        flow.Save(true, [&](bool done) { saved = done; });
        QVERIFY(!program.Frame().close());
        QVERIFY(program.dialogs.messages.isEmpty());
        program.dialogs.answers.push_back(IDialogService::Answer::Cancel);  // "Save changes?" then

        gate.release.set_value();
        QVERIFY(QTest::qWaitFor([&] { return saved.has_value(); }));
        QVERIFY(!*saved);
        QVERIFY(flow.LastWorkCancelled());
        QTRY_COMPARE(program.dialogs.messages.size(), 1);
        QCOMPARE(program.dialogs.messages[0], shelltexts::kSaveChangesTo.arg(QStringLiteral("Untitled")));
        QCOMPARE(closed.count(), 0);
        QVERIFY(program.Doc().IsModified());
        QVERIFY(!QFile::exists(page));
    }

    // Yes to the question at the close: the window goes once the save has written the files.
    void yesAtTheCloseSavesFirstThenCloses() {
        ProgramFixture program;
        StartEdited(program);
        const std::string expected = BuildHTML(program.Applet());
        const QString page = program.folder.filePath(QStringLiteral("closed.htm"));
        program.dialogs.saveFileNames.push_back(page);
        program.dialogs.answers.push_back(IDialogService::Answer::Yes);
        QSignalSpy closed(&program.Frame(), &CMainFrame::closed);
        QVERIFY(!program.Frame().close());  // not yet: the save runs first
        QTRY_COMPARE(closed.count(), 1);
        QCOMPARE(Bytes(page), QByteArray::fromStdString(expected));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.dialogs.messages.size(), 1);
    }

    void closingTheWindowDuringALoadCancelsItThenCloses() {
        ProgramFixture program;
        StartEdited(program);
        const QString other = SaveMenus(program.folder.path(), QStringLiteral("other.htm"), 2);
        const DocumentState before(program);
        CDocumentFlow& flow = program.Frame().Flow();
        WorkerGate gate;
        gate.Install(flow.Work());
        QSignalSpy closed(&program.Frame(), &CMainFrame::closed);
        connect(&flow.Work(), &CBackgroundWork::starting, this, [&](TaskProgress& progress) {
            QTimer::singleShot(0, this, [&] {
                QVERIFY(!program.Frame().close());  // not yet: the load stops first
                QVERIFY(progress.Cancelled());
                gate.release.set_value();
            });
        });
        program.dialogs.answers.push_back(IDialogService::Answer::No);  // "Save changes?" at the close

        QVERIFY(!Opened(flow, other));
        QVERIFY(flow.LastWorkCancelled());
        QVERIFY(DocumentState(program) == before);
        QTRY_COMPARE(closed.count(), 1);
    }

    void aDocumentNamedAtStartLoadsIntoTheShownWindow() {
        ProgramFixture program;
        const QString page = SaveMenus(program.folder.path(), QStringLiteral("start.htm"), 4);
        program.shell = std::make_unique<CEditorShell>(program.folder.path(), program.dialogs, program.settings);
        bool shownAtLoad = false;
        connect(&program.Doc(), &CKestruneDoc::modelChanged, this,
                [&] { shownAtLoad = program.Frame().isVisible(); });
        QVERIFY(Await([&](const CDocumentFlow::Then& then) { program.shell->StartShown(page, then); }));
        QVERIFY(shownAtLoad);
        QCOMPARE(program.Applet().m_menus.size(), std::size_t{4});
        QCOMPARE(program.Doc().PathName(), QFileInfo(page).absoluteFilePath());

        // A start load the user cancels leaves New's document, not an ended program.
        ProgramFixture cancelled;
        cancelled.shell = std::make_unique<CEditorShell>(cancelled.folder.path(), cancelled.dialogs, cancelled.settings);
        cancelled.shell->CreateFrame();
        connect(&cancelled.Frame().Flow().Work(), &CBackgroundWork::starting, this,
                [](TaskProgress& progress) { progress.Cancel(); });
        QVERIFY(Await([&](const CDocumentFlow::Then& then) { cancelled.shell->StartShown(page, then); }));
        QVERIFY(cancelled.dialogs.messages.isEmpty());
        QVERIFY(cancelled.Doc().PathName().isEmpty());
        QVERIFY(!cancelled.Doc().IsModified());
        QVERIFY(!cancelled.Applet().m_menus.empty());
        QVERIFY(cancelled.Applet().m_menus.size() != 4 || cancelled.Applet().m_menus[0]->m_items.size() != 2);
    }

    // File > Open takes the menu file too: it opens the page beside it.
    void fileOpenOffersAndOpensTheMenuFile() {
        ProgramFixture program;
        QVERIFY(program.Start());
        QVERIFY(shelltexts::kOpenFilter.contains(QStringLiteral("(*.kst)")));
        const QString page = SaveMenus(program.folder.path(), QStringLiteral("club.htm"), 3);
        program.dialogs.openFileNames = {program.folder.filePath(QStringLiteral("club.kst"))};
        program.Trigger(cmd::FileOpen);
        QCOMPARE(program.Applet().m_menus.size(), std::size_t{3});
        QCOMPARE(program.Doc().PathName(), QFileInfo(page).absoluteFilePath());
    }

    // Save writes the page: with Auto-Change on it takes the recommended size first, one
    // step of its own; with it off, the message pane says what the menus need and offers
    // Fit Applet Size.
    void saveFitsTheAppletOrSaysWhatItsMenusNeed() {
        ProgramFixture program;
        QVERIFY(program.Start());
        CAppletParameters& applet = program.Applet();
        QVERIFY(SetAppletSize(program.Doc(), {30, 20}, QStringLiteral("Shrink")));
        const AppletSize need = SizeMenusNeed(applet);
        QVERIFY(need.width > 30 && need.height > 20);
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("menu.htm"))};
        program.Trigger(cmd::FileSave);
        CWizardInfoView& pane = *program.Frame().InfoView();
        QVERIFY2(pane.MessageText().contains(QStringLiteral("The page's applet is 30\u00d720 while its menus need %1\u00d7%2")
                                                 .arg(need.width)
                                                 .arg(need.height)),
                 qPrintable(pane.MessageText()));
        QVERIFY(!pane.ActionButton()->isHidden());
        pane.ActionButton()->click();
        QCOMPARE((AppletSize{applet.m_appWidth, applet.m_appHeight}), need);
        QVERIFY(pane.ActionButton()->isHidden());

        QVERIFY(SetAppletSize(program.Doc(), {30, 20}, QStringLiteral("Shrink")));
        program.Doc().m_bAutoChangeSize = 1;
        program.Trigger(cmd::FileSave);
        const AppletSize recommended = RecommendedSize(VisibleMenuBounds(applet));
        QCOMPARE((AppletSize{applet.m_appWidth, applet.m_appHeight}), recommended);
        QCOMPARE(program.Doc().UndoText(), undotexts::kAutoChangeSize);
        QVERIFY(!program.Doc().IsModified());
        const QByteArray page = Bytes(program.folder.filePath(QStringLiteral("menu.htm")));
        QVERIFY(page.contains(QStringLiteral("width=\"%1\"").arg(recommended.width).toLatin1()));
    }
};

QTEST_MAIN(OpenSaveTest)
#include "tst_open_save.moc"
