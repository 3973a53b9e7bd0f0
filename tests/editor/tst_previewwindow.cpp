// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include "output/HtmlPageBuilder.h"
#include "output/AppletParameterEncoder.h"
#include "model/ModelLimits.h"

#include "support/FakeDialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "browser/BrowserCommands.h"
#include "support/FakeProgramLauncher.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "toolbar/FlatToolBar.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "preview/MenuPreviewWidget.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewSource.h"
#include "services/ParameterCheck.h"
#include "common/MenuLabels.h"

using namespace kestrune;

namespace {

void FillShop(CAppletParameters& applet) {
    CVorane* top = applet.NewTopLevelMenu();
    for (const char* label : {"Products", "Home"}) {
        auto item = std::make_unique<CVoraneItem>(label);
        item->m_link = std::string(label) + ".html";
        top->AddItem(std::move(item), 1);
    }
    top->m_items[1]->SubMenu().AddItem(std::make_unique<CVoraneItem>("Tools"), 0);
}

const CVorane& TopMenu(const CMenuPreviewWindow& window, std::size_t index = 0) {
    return *window.Preview().Applet()->m_menus.at(index);
}

struct Editor {
    FakeDialogService dialogs;
    MemorySettingsStore settings;
    CKestruneApp app{QStringLiteral("/nonexistent/kestrune"), dialogs, settings};
    CKestruneDoc doc{app};

    Editor() { FillShop(app.m_applet); }
    CVorane* Top() { return app.m_applet.m_menus.at(0).get(); }
};

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Menus beyond the applet's edge are said in the status line, with the one-click fit
    // that gives the applet the recommended size as a step that can be undone.
    void menusCutOffOfferTheFitAsOneStep() {
        Editor editor;
        editor.app.m_applet.m_appWidth = 20;
        editor.app.m_applet.m_appHeight = 10;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        QVERIFY(window.FitAction()->isVisible());

        // Menus placed away from the applet's corner: the fit covers them from the corner on.
        editor.Top()->m_xPos = 30;
        editor.Top()->m_yPos = 12;
        const ParameterCheckResult check = CheckParameters(editor.app.m_applet, false);
        window.Refresh();
        window.FitAction()->trigger();
        QCOMPARE(editor.app.m_applet.m_appWidth, check.recommendedWidth + check.menuBounds.left);
        QCOMPARE(editor.app.m_applet.m_appHeight, check.recommendedHeight + check.menuBounds.top);
        QVERIFY(!window.Preview().MenusCut());
        QCOMPARE(editor.doc.UndoText(), QStringLiteral("Fit Applet Size"));
        QVERIFY(!window.FitAction()->isVisible());
        QVERIFY(editor.doc.IsModified());

        editor.doc.Undo();
        QCOMPARE(editor.app.m_applet.m_appWidth, 20);
        QVERIFY(window.FitAction()->isVisible());

        // A page's preview changes nothing and offers nothing.
        CMenuPreviewWindow page(AppletAsReceived(editor.app.m_applet), QStringLiteral("page.htm"));
        page.show();
        QVERIFY(!page.FitAction()->isVisible());
    }

    void followsEveryKindOfEditAsItIsMade() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Menu Preview"));
        QCOMPARE(Labels(TopMenu(window)), (std::vector<std::string>{"Home", "Products"}));

        editor.doc.InsertItem(editor.Top());
        QCOMPARE(Labels(TopMenu(window)), (std::vector<std::string>{"item", "Home", "Products"}));

        CVoraneItem* item = editor.Top()->m_items[0].get();
        editor.doc.EditProperties([item] { item->m_label = "About"; return true; }, editor.Top(), item);
        QCOMPARE(TopMenu(window).m_items[0]->m_label, std::string("About"));

        editor.doc.SetVisible(item, false);
        QCOMPARE(Labels(TopMenu(window)), (std::vector<std::string>{"Home", "Products"}));

        editor.doc.EditProperties([&] { editor.Top()->m_MenuAlign = 1; return true; }, editor.Top());
        QCOMPARE(TopMenu(window).m_MenuAlign, 1);
        editor.doc.EditProperties([&] { editor.app.m_applet.m_appWidth = 640; return true; });
        QCOMPARE(window.Preview().Applet()->m_appWidth, 640);

        editor.doc.MoveItem(editor.Top(), editor.Top()->m_items[2].get(), -1);
        QCOMPARE(Labels(TopMenu(window)), (std::vector<std::string>{"Products", "Home"}));

        editor.doc.ReplaceModel([](CAppletParameters& applet) {
            applet.Reset();
            CVorane* menu = applet.NewTopLevelMenu();
            menu->AddItem(std::make_unique<CVoraneItem>("Fresh"), 0);
            return true;
        });
        QCOMPARE(Labels(TopMenu(window)), (std::vector<std::string>{"Fresh"}));

        editor.doc.RemoveTopLevelMenu(editor.Top());
        QVERIFY(window.Preview().Applet()->m_menus.empty());
    }

    // The document's edits are followed in place, and what is shown stays what reading the
    // whole page gives.
    void followsEditsInPlaceAsTheWholePageReads() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        const auto same = [&] {
            const AppletReadResult whole = AppletAsReceived(editor.app.m_applet);
            return whole.Ok() && BuildAppletParameters(*window.Preview().Applet()) ==
                                     BuildAppletParameters(*whole.applet);
        };
        const CVoraneItem* untouched = TopMenu(window).m_items[1].get();
        CVoraneItem* home = editor.Top()->m_items[0].get();
        editor.doc.EditProperties([home] { home->m_label = "Start, \"here\""; return true; }, editor.Top(), home);
        QVERIFY(same());
        QCOMPARE(TopMenu(window).m_items[1].get(), untouched);  // patched, not read again

        // The first sub item of a plain item makes its sub menu; the edit names its owner.
        editor.doc.InsertItem(&home->SubMenu(), editor.Top(), home);
        QVERIFY(same());
        QCOMPARE(TopMenu(window).m_items[1].get(), untouched);
        QVERIFY(TopMenu(window).m_items[0]->m_subMenu.Existing() != nullptr);
        // Without knowing the owner the preview reads the whole page: still the same.
        CVoraneItem* tools = editor.Top()->m_items[1]->SubMenu().m_items[0].get();
        editor.doc.InsertItem(&tools->SubMenu());
        QVERIFY(same());
        // An edit naming the owner is followed in place, as are pastes into a plain item.
        const CVoraneItem* kept = TopMenu(window).m_items[1].get();
        CVoraneItem* plain = tools->SubMenu().m_items[0].get();
        editor.doc.InsertItem(&plain->SubMenu(), editor.Top(), plain);
        QVERIFY(same());
        QCOMPARE(TopMenu(window).m_items[1].get(), kept);
        CVoraneItem* other = plain->SubMenu().m_items[0].get();
        editor.doc.InsertCopy(&other->SubMenu(), *home, editor.Top(), {}, other);
        QVERIFY(same());
        QCOMPARE(TopMenu(window).m_items[1].get(), kept);

        // The applet's own fields: patched too, the menus stay as they were.
        const CVorane* topBefore = &TopMenu(window);
        editor.doc.EditProperties([&] {
            editor.app.m_applet.m_appWidth = 333;
            editor.app.m_applet.m_HTMLTitle = "Tools &amp; more";
            return true;
        });
        QVERIFY(same());
        QCOMPARE(window.Preview().Applet()->m_appWidth, 333);
        QCOMPARE(&TopMenu(window), topBefore);

        editor.doc.SetVisible(editor.Top()->m_items[1].get(), false);
        QVERIFY(same());
        editor.doc.RemoveItem(&home->SubMenu(), home->SubMenu().m_items[0].get());
        QVERIFY(same());
        QVERIFY(TopMenu(window).m_items[0]->m_subMenu.Existing() == nullptr);
        editor.doc.InsertTopLevelMenu();
        editor.doc.InsertItem(editor.app.m_applet.m_menus[0].get());
        QVERIFY(same());
        editor.doc.MoveTopLevelMenu(editor.app.m_applet.m_menus[0].get(), 1);
        QVERIFY(same());
        while (editor.doc.CanUndo()) {
            editor.doc.Undo();
            QVERIFY(same());
        }
        while (editor.doc.CanRedo()) {
            editor.doc.Redo();
            QVERIFY(same());
        }
    }

    void aClosedPreviewCatchesUpWhenShownAgain() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        window.close();
        CVoraneItem* home = editor.Top()->m_items[0].get();
        editor.doc.EditProperties([home] { home->m_label = "Start"; return true; }, editor.Top(), home);
        QCOMPARE(TopMenu(window).m_items[0]->m_label, std::string("Home"));
        window.show();
        QCOMPARE(TopMenu(window).m_items[0]->m_label, std::string("Start"));
    }

    void redrawsAfterAnEditWithoutTouchingTheModel() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        const QImage before = window.Preview().grab().toImage();
        editor.doc.EditProperties([&] {
            for (ItemStyle& style : editor.Top()->m_itemStyle) style.BKColor = 0x000000FF;
            return true;
        }, editor.Top());
        const QImage after = window.Preview().grab().toImage();
        QVERIFY(before != after);
        const QRect item = window.Preview().Layout().Menus().at(0).items.at(0).rect;
        QCOMPARE(after.pixelColor(window.Preview().ToWidget(item.topLeft() + QPoint(1, 1))), QColor(Qt::red));
    }

    void showsWhatTheAppletWillStumbleOverAndKeepsTheLastGoodPicture() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        QVERIFY(window.Warnings().isEmpty());
        CVoraneItem* home = editor.Top()->m_items[0].get();
        editor.doc.EditProperties([home] { home->m_label = "Home, sweet home"; return true; }, editor.Top(), home);
        QCOMPARE(TopMenu(window).m_items[0]->m_label, std::string("Home"));  // as the applet splits it
        QCOMPARE(window.Warnings().size(), 1);
        QVERIFY(window.Warnings().at(0).contains("comma"));

        // Nesting beyond what the reader accepts: the picture stays, the reason is shown.
        editor.doc.EditProperties([&] {
            CVorane* menu = &editor.Top()->m_items[0]->SubMenu();
            for (int depth = 0; depth < kestrune::kMaxMenuDepth + 5; ++depth) {
                menu->AddItem(std::make_unique<CVoraneItem>("deep"), 0);
                menu = &menu->m_items[0]->SubMenu();
            }
            return true;
        }, editor.Top());
        QVERIFY(window.Warnings().at(0).startsWith("The applet could not be read"));
        QCOMPARE(TopMenu(window).m_items[0]->m_label, std::string("Home"));
    }

    void mediaOfTheModelAreFoundWhereverTheyLie() {
        QTemporaryDir folder;
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        const QString path = folder.filePath("Logo.png");
        QVERIFY(picture.save(path));
        Editor editor;
        editor.Top()->m_items[0]->m_normalImage = path.toStdString();
        editor.Top()->m_items[1]->m_overImage = folder.filePath("gone.png").toStdString();
        const AppletReadResult read = AppletAsReceived(editor.app.m_applet);
        QVERIFY(read.Ok());
        QCOMPARE(read.applet->m_menus[0]->m_items[0]->m_normalImage, path.toStdString());
        QCOMPARE(read.applet->m_menus[0]->m_items[1]->m_overImage, std::string());
    }

    void hoverTextGoesToTheStatusBar() {
        Editor editor;
        CMenuPreviewWindow window(editor.doc);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CMenuPreviewWidget& preview = window.Preview();
        const QPoint home = preview.ToWidget(preview.Layout().Menus()[0].items[0].rect.center());
        QTest::mouseMove(&preview, home);
        QVERIFY(window.StatusText().contains("Home.html"));
    }

    void aPageIsReadWithItsMediaBesideIt() {
        QTemporaryDir folder;
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        QVERIFY(picture.save(folder.filePath("logo.png")));
        CAppletParameters applet;
        FillShop(applet);
        applet.m_appHeight = 77;
        applet.m_menus[0]->m_items[0]->m_normalImage = folder.filePath("logo.png").toStdString();
        const std::string page = BuildHTML(applet);
        const QString pagePath = folder.filePath("menu page.htm");
        QFile file(pagePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(page.data(), static_cast<qint64>(page.size()));
        file.close();

        AppletReadResult read = ReadPageForPreview(pagePath);
        QVERIFY2(read.Ok(), read.error.c_str());
        QCOMPARE(read.applet->m_menus[0]->m_items[0]->m_normalImage, folder.filePath("logo.png").toStdString());
        CMenuPreviewWindow window(std::move(read), QStringLiteral("menu page.htm"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Menu Preview - menu page.htm"));
        QCOMPARE(window.Preview().Applet()->m_appHeight, 77);

        const AppletReadResult missing = ReadPageForPreview(folder.filePath("none.htm"));
        QVERIFY(!missing.Ok());
        QVERIFY(QString::fromStdString(missing.error).contains("none.htm"));
    }

    void theViewMenuAndTheToolbarOpenOnePreviewOfTheDocument() {
        FakeDialogService dialogs;
        MemorySettingsStore settings;
        CEditorShell shell(QStringLiteral(KESTRUNE_BIN_DIR), dialogs, settings);
        QVERIFY(shell.Start());
        QAction* command = shell.Frame().Action(QStringLiteral("ViewMenuPreview"));
        QVERIFY(command);
        QVERIFY(shell.Frame().PopupMenu(MenuGroup::View)->actions().contains(command));
        QVERIFY(shell.Frame().ToolBar()->actions().contains(command));
        QVERIFY(!command->icon().isNull());
        QVERIFY(command->isEnabled());

        command->trigger();
        auto windows = shell.Frame().findChildren<CMenuPreviewWindow*>();
        QCOMPARE(windows.size(), 1);
        QVERIFY(windows[0]->isVisible());
        QVERIFY(!windows[0]->Preview().Applet()->m_menus.empty());  // the first template
        windows[0]->close();
        command->trigger();
        QCOMPARE(shell.Frame().findChildren<CMenuPreviewWindow*>().size(), 1);
        QVERIFY(windows[0]->isVisible());

        shell.Doc().InsertTopLevelMenu();
        CVorane* added = shell.App().m_applet.m_menus.at(0).get();
        shell.Doc().InsertItem(added);
        QCOMPARE(windows[0]->Preview().Applet()->m_menus.size(), shell.App().m_applet.m_menus.size());
    }

    // The preview is a tool window of the main window, so it stays above it, and opens
    // where the user last put it on this screen, in the next run too.
    void thePreviewIsAToolWindowThatKeepsItsPlace() {
        FakeDialogService dialogs;
        MemorySettingsStore settings;
        QPoint placed;
        for (int run = 0; run < 2; ++run) {
            CEditorShell shell(QStringLiteral(KESTRUNE_BIN_DIR), dialogs, settings);
            QVERIFY(shell.Start());
            shell.Show();
            shell.Frame().Action(QStringLiteral("ViewMenuPreview"))->trigger();
            auto* preview = shell.Frame().findChild<CMenuPreviewWindow*>();
            QCOMPARE(preview->windowType(), Qt::Tool);
            QCOMPARE(preview->windowHandle()->transientParent(), shell.Frame().windowHandle());
            if (run == 1) {
                QCOMPARE(preview->pos(), placed);
                break;
            }
            placed = preview->pos() - QPoint(37, 23);
            preview->move(placed);
            preview->close();
        }
    }

    void previewCanChooseTheBuiltInViewerInsteadOfABrowser() {
        QTemporaryDir appDir;
        FakeDialogService dialogs;
        MemorySettingsStore settings;
        FakeProgramLauncher launcher;
        CKestruneApp app(appDir.path(), dialogs, settings);
        app.SetLauncher(&launcher);
        const auto known = browsercommands::CurrentKnownBrowsers();
        QVERIFY(!known.empty());
        QCOMPARE(known.back().name, std::string("Kestrune Menu Preview"));
        app.m_nBrowserMode = 2;
        app.m_nKnownBrowser = static_cast<int>(known.size()) - 1;

        FillShop(app.m_applet);
        QVERIFY(QDir(appDir.path()).mkpath("tmp"));
        const std::string page = BuildHTML(app.m_applet);
        QFile file(appDir.filePath("tmp/~Kestrune.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(page.data(), static_cast<qint64>(page.size()));
        file.close();
        QVERIFY(browsercommands::LaunchPreviewPage(app));
        QVERIFY(launcher.calls.isEmpty());
        CMenuPreviewWindow* shown = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<CMenuPreviewWindow*>(widget); window && window->isVisible()) shown = window;
        QVERIFY(shown);
        QCOMPARE(shown->windowTitle(), QStringLiteral("Menu Preview - ~Kestrune.htm"));
        QCOMPARE(Labels(TopMenu(*shown)), (std::vector<std::string>{"Home", "Products"}));
        shown->close();

        // The sample page holds no applet: it goes to the desktop's browser instead.
        QVERIFY(browsercommands::LaunchSamplePage(app));
        QCOMPARE(launcher.calls.size(), 1);
        QVERIFY(launcher.calls[0].document);
        QVERIFY(launcher.calls[0].target.endsWith("Sample/Samples.html"));
    }

    void viewOptionOfTheProgramReportsUnreadablePages() {
        const QString program = QStringLiteral(KESTRUNE_BIN_DIR "/kestrune");
        if (!QFile::exists(program)) QSKIP("the program is not built");
        QTemporaryDir folder;
        const QString foreign = folder.filePath("foreign.htm");
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><p>No applet here.</p></body></html>");
        file.close();

        QProcess process;
        process.start(program, {QStringLiteral("--view"), foreign});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("no applet parameters"));

        process.start(program, {QStringLiteral("--view")});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 2);
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "tst_previewwindow.moc"
