// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "support/FakeProgramLauncher.h"
#include "main/CommandTable.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "main/WizardInfoView.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "output/HtmlPageBuilder.h"
#include "support/FakeDialogService.h"
#include "support/TreeModelAgreement.h"
#include "tree/KestruneView.h"

using namespace kestrune;
using Call = FakeProgramLauncher::Call;

namespace {
void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder of its own with the template file, a class file and one picture.
struct Program {
    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/Kes trune XXXXXX")};
    FakeDialogService dialogs;
    MemorySettingsStore settings;
    FakeProgramLauncher launcher;
    std::unique_ptr<CEditorShell> shell;

    Program() {
        QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/Kestrune.tpl"), Path(QStringLiteral("Kestrune.tpl")));
        WriteFile(Path(QStringLiteral("trelvix.class")), "CLASS");
        WriteFile(Path(QStringLiteral("kestrune-menu.js")), "RUNTIME");
        WriteFile(Path(QStringLiteral("media/pic.gif")), "GIF89a");
        shell = std::make_unique<CEditorShell>(folder.path(), dialogs, settings);
        shell->App().SetLauncher(&launcher);
        if (!shell->Start()) qFatal("the editor did not start");
    }
    QString Path(const QString& name) const { return folder.path() + QLatin1Char('/') + name; }
    QString Tmp(const QString& name) const { return Path(QStringLiteral("tmp/") + name); }
    CMainFrame& Frame() { return shell->Frame(); }
    CKestruneView& Tree() { return *Frame().TreeView(); }
    CKestruneApp& App() { return shell->App(); }
    CKestruneDoc& Doc() { return shell->Doc(); }
    CAppletParameters& Applet() { return App().m_applet; }
    QAction* Action(const char* id) { return Frame().Action(QString::fromLatin1(id)); }
    CVoraneItem* FirstItem() {
        for (auto& menu : Applet().m_menus)
            if (!menu->m_items.empty()) return menu->m_items.front().get();
        return nullptr;
    }
};
}  // namespace

class BrowserPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void previewWritesTheFolderAndStartsTheSpecifiedBrowser() {
        Program program;
        CVoraneItem* item = program.FirstItem();
        QVERIFY(item);
        item->m_normalImage = program.Path(QStringLiteral("media/pic.gif")).toStdString();
        item->m_overImage = program.Path(QStringLiteral("media/gone.gif")).toStdString();
        program.App().m_nBrowserMode = 0;
        program.App().m_strBrowserPath = QStringLiteral("/opt/My Browser/fox");

        program.Action(cmd::BuildPreview)->trigger();

        for (const char* name : {"~Kestrune.htm", "~Kestrune.kst", "trelvix.class", "kestrune-menu.js", "pic.gif"})
            QVERIFY2(QFile::exists(program.Tmp(QString::fromLatin1(name))), name);
        // Whatever the Script Runtime option says, the preview page carries the runtime.
        QVERIFY(!program.Action(cmd::OptionsScriptRuntime)->isChecked());
        QCOMPARE(ReadFile(program.Tmp(QStringLiteral("~Kestrune.htm"))),
                 QByteArray::fromStdString(BuildPage(program.Applet(), true, program.Doc().m_pageLanguage)));
        QCOMPARE(program.launcher.calls,
                 (QList<Call>{{false, "/opt/My Browser/fox", program.Tmp(QStringLiteral("~Kestrune.htm")), ""}}));
        // The check ran first: its report, with the missing picture, is in the message pane.
        QVERIFY(program.Frame().InfoView()->MessageText().contains(QStringLiteral("gone.gif")));
        QVERIFY(program.dialogs.messages.isEmpty());
    }

    // The window's check judges media as a save into the document's folder would, as the
    // command line's does; an unsaved document has no folder to judge from.
    void checkParametersNamesMediaASaveWouldPublishFromOutside() {
        Program program;
        CVoraneItem* item = program.FirstItem();
        QVERIFY(item);
        item->m_normalImage = program.Path(QStringLiteral("media/pic.gif")).toStdString();
        const QString outside = QStringLiteral("lies outside the document's folder");
        program.Action(cmd::BuildCheck)->trigger();
        QVERIFY(!program.Frame().InfoView()->MessageText().contains(outside));

        // As after a save into site/.
        QVERIFY(QDir().mkpath(program.Path(QStringLiteral("site"))));
        program.Doc().SetPathName(program.Path(QStringLiteral("site/menu.htm")));
        program.Applet().m_documentFolder = program.Path(QStringLiteral("site")).toStdString();
        program.Action(cmd::BuildCheck)->trigger();
        QVERIFY2(program.Frame().InfoView()->MessageText().contains(QStringLiteral("pic.gif\" ") + outside),
                 qPrintable(program.Frame().InfoView()->MessageText()));
    }

    void autoChangeSizeAppliesBeforeThePageIsWritten() {
        Program program;
        program.Doc().m_bAutoChangeSize = 1;
        program.Applet().m_appWidth = 1;
        program.Applet().m_appHeight = 1;
        program.Action(cmd::BuildPreview)->trigger();
        QVERIFY(program.Applet().m_appWidth > 1);
        const QByteArray page = ReadFile(program.Tmp(QStringLiteral("~Kestrune.htm")));
        QVERIFY(page.contains("width=\"" + QByteArray::number(program.Applet().m_appWidth) + "\""));
    }

    void appletViewerAndDefaultHandler() {
        Program program;
        program.App().m_nBrowserMode = 0;
        program.App().m_strBrowserPath = QStringLiteral("/usr/lib/jvm/bin/appletviewer");
        program.Action(cmd::BuildPreview)->trigger();
        program.App().m_nBrowserMode = 1;
        program.Action(cmd::BuildPreview)->trigger();
        program.App().m_nBrowserMode = 2;
        program.App().m_nKnownBrowser = 1000;  // stored for a browser that is gone
        program.Action(cmd::BuildPreview)->trigger();
        QCOMPARE(program.launcher.calls,
                 (QList<Call>{{false, "/usr/lib/jvm/bin/appletviewer", "~Kestrune.htm", program.Path("tmp")},
                              {true, program.Tmp(QStringLiteral("~Kestrune.htm")), "", ""},
                              {true, program.Tmp(QStringLiteral("~Kestrune.htm")), "", ""}}));
    }

    void failedWriteIsReportedAndTheBrowserStillStarts() {
        Program program;
        WriteFile(program.Path(QStringLiteral("tmp")), "a file where the folder should be");
        program.Action(cmd::BuildPreview)->trigger();
        QCOMPARE(program.dialogs.messages, QStringList{QStringLiteral("Save as file failed!")});
        QCOMPARE(program.launcher.calls.size(), 1);
    }

    void twoPreviewsOverwriteAndCleanUpRemovesTheFolder() {
        Program program;
        program.Applet().m_HTMLTitle = "First title";
        program.Action(cmd::BuildPreview)->trigger();
        program.Applet().m_HTMLTitle = "Second title";
        program.Action(cmd::BuildPreview)->trigger();
        const QByteArray page = ReadFile(program.Tmp(QStringLiteral("~Kestrune.htm")));
        QVERIFY(page.contains("Second title"));
        QVERIFY(!page.contains("First title"));
        QDir().mkpath(program.Tmp(QStringLiteral("kept")));

        program.shell->CleanUp();
        QVERIFY(!QFile::exists(program.Tmp(QStringLiteral("~Kestrune.htm"))));
        QVERIFY(QFileInfo(program.Tmp(QStringLiteral("kept"))).isDir());
        QVERIFY(QFile::exists(program.Path(QStringLiteral("trelvix.class"))));
        QVERIFY(QFile::exists(program.Path(QStringLiteral("Kestrune.tpl"))));
    }

    void webBrowserCommandFeedsPreviewAndViewSample() {
        Program program;
        program.dialogs.openFileNames = {QStringLiteral("/usr/local/bin/surf board")};
        program.dialogs.onDialog = [](QDialog* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("radioSpecified"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("buttonBrowse"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("buttonOk"))->click();
            return dialog->result();
        };
        program.Action(cmd::OptionsWebBrowser)->trigger();
        QCOMPARE(program.dialogs.dialogTitles, QStringList{QStringLiteral("Web Browser")});
        QCOMPARE(program.settings.GetInt("Web Browser", "Use Default", 99), 0);
        QCOMPARE(program.settings.GetString("Web Browser", "Specify Browser"), std::string("/usr/local/bin/surf board"));

        program.Action(cmd::HelpViewSample)->trigger();
        program.Action(cmd::BuildPreview)->trigger();
        QCOMPARE(program.launcher.calls,
                 (QList<Call>{{false, "/usr/local/bin/surf board", program.Path("Sample/Samples.html"), ""},
                              {false, "/usr/local/bin/surf board", program.Tmp(QStringLiteral("~Kestrune.htm")), ""}}));
    }

    void clipboardCommandsFollowSelectionAndClipboard() {
        Program program;
        CKestruneView& tree = program.Tree();
        CVoraneItem* item = program.FirstItem();
        QModelIndex itemNode = tree.NodeOfItem(item);
        QModelIndex menuNode = itemNode.parent();
        QGuiApplication::clipboard()->setText(QStringLiteral("text from elsewhere"));

        tree.SelectNode(tree.RootNode());
        QVERIFY(!program.Action(cmd::EditCut)->isEnabled());
        QVERIFY(!program.Action(cmd::EditCopy)->isEnabled());
        QVERIFY(!program.Action(cmd::EditPaste)->isEnabled());
        tree.SelectNode(menuNode);
        QVERIFY(!program.Action(cmd::EditCopy)->isEnabled());
        QVERIFY(!program.Action(cmd::EditPaste)->isEnabled());
        tree.SelectNode(itemNode);
        QVERIFY(program.Action(cmd::EditCut)->isEnabled());
        QVERIFY(program.Action(cmd::EditCopy)->isEnabled());
        QVERIFY(!program.Action(cmd::EditPaste)->isEnabled());

        program.Action(cmd::EditCopy)->trigger();
        QVERIFY(program.Action(cmd::EditPaste)->isEnabled());  // the clipboard told us
        const std::size_t before = item->m_subMenu->m_items.size();
        program.Action(cmd::EditPaste)->trigger();
        QCOMPARE(item->m_subMenu->m_items.size(), before + 1);
        VERIFY_TREE_MATCHES_MODEL(tree, program.Applet());

        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        QVERIFY(!program.Action(cmd::EditPaste)->isEnabled());
        // Ctrl+V given by its key while Paste is disabled does nothing.
        program.Action(cmd::EditPaste)->trigger();
        QCOMPARE(item->m_subMenu->m_items.size(), before + 1);
    }
};

QTEST_MAIN(BrowserPreviewTest)
#include "tst_browser_preview.moc"
