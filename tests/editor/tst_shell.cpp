// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/PageLanguageSetting.h"
#include "app/TextConvert.h"
#include "main/CommandTable.h"
#include "main/DlgHtml.h"
#include "main/DocumentFlow.h"
#include "main/EditorShell.h"
#include "help/HelpWindow.h"
#include "main/MainFrame.h"
#include "app/ScreenFit.h"
#include "main/WindowPlacement.h"
#include "main/WizardInfoView.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/HtmlPageBuilder.h"
#include "services/ParameterCheck.h"
#include "services/PreviewWriter.h"
#include "persist/PersistTexts.h"
#include "base/SettingsStore.h"
#include "services/TemplateStore.h"
#include "support/FakeDialogService.h"
#include "support/FlowSteps.h"
#include "templates/DlgNew.h"
#include "toolbar/FlatToolBar.h"
#include "tree/KestruneView.h"
#include "tree/TreeNodes.h"
#include "ui_dlg_html.h"
#include "ui_dlg_new.h"

using namespace kestrune;

namespace {
const QString kSettings = QStringLiteral("Settings");

bool CopyFromProgramFolder(const QString& name, const QString& folder) {
    return QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/") + name, folder + QLatin1Char('/') + name);
}

// A program folder of its own, so that saves and clean-ups touch nothing shared.
struct Program {
    QTemporaryDir folder;
    FakeDialogService dialogs;
    MemorySettingsStore settings;
    std::unique_ptr<CEditorShell> shell;

    Program() {
        CopyFromProgramFolder(QStringLiteral("Kestrune.tpl"), folder.path());
        CopyFromProgramFolder(QStringLiteral("kestrune.html"), folder.path());
        CopyFromProgramFolder(QStringLiteral("kestrune-menu.js"), folder.path());
    }
    bool Start(const QString& file = {}) {
        shell = std::make_unique<CEditorShell>(folder.path(), dialogs, settings);
        if (file.isEmpty()) return shell->Start();
        return Await([&](const CDocumentFlow::Then& then) { shell->Start(file, then); });
    }
    // A command, and the Open or Save it may have started, to its end.
    void Trigger(const char* id) {
        Action(id)->trigger();
        Settle(Frame().Flow());
    }
    CMainFrame& Frame() { return shell->Frame(); }
    CKestruneDoc& Doc() { return shell->Doc(); }
    CKestruneView& Tree() { return *Frame().TreeView(); }
    CAppletParameters& Applet() { return shell->App().m_applet; }
    QAction* Action(const char* id) { return Frame().Action(QString::fromLatin1(id)); }
    std::string Setting(const char* key) { return settings.GetString("Settings", key); }
};

std::string ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string TemplateTitle(const QString& appDir, MemorySettingsStore& settings, int position) {
    CTemplateStore store(settings, appDir.toLocal8Bit().toStdString());
    CAppletParameters applet;
    store.LoadTemplate(applet, position);
    return applet.m_HTMLTitle;
}
}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartWithEmptySettings() {
        Program program;
        QVERIFY(program.Start());
        QCOMPARE(program.Frame().windowTitle(), QStringLiteral("Untitled[*] - Kestrune"));
        QCOMPARE(program.settings.GetString("TEMPLATE", "TemplateKey"), std::string(texts::kBuiltInTemplateList));
        // The tree shows the first template, "Normal", loaded without asking.
        QVERIFY(program.dialogs.dialogTitles.isEmpty());
        QCOMPARE(program.Applet().m_HTMLTitle, TemplateTitle(program.folder.path(), program.settings, 0));
        QVERIFY(!program.Applet().m_menus.empty());
        QCOMPARE(treenodes::TextOfNode(program.Tree().RootNode()), QString::fromStdString(program.Applet().m_HTMLTitle));
        QCOMPARE(treenodes::ChildCountOfNode(program.Tree().RootNode()), static_cast<int>(program.Applet().m_menus.size()));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.shell->App().m_nBrowserMode, 1);
        QCOMPARE(program.shell->App().m_bFirstNew, 0);
        QVERIFY(!program.Action(cmd::OptionsAutoChange)->isChecked());
        QVERIFY(!program.Action(cmd::FileMru1)->isEnabled());
        QCOMPARE(program.Action(cmd::FileMru1)->text(), QStringLiteral("Recent File"));

        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        QTRY_COMPARE(program.Tree().height(), 150);
        QVERIFY(program.Frame().InfoView()->height() > 0);
    }

    void savedPlacementIsRestoredAndBrokenOnesAreIgnored() {
        Program restored;
        restored.settings.SetString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,30,40,630,490");
        QVERIFY(restored.Start());
        restored.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&restored.Frame()));
        QCOMPARE(restored.Frame().geometry().size(), QSize(600, 450));

        Program broken;
        broken.settings.SetString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,30,40,630");
        QVERIFY(broken.Start());
        broken.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&broken.Frame()));
        QVERIFY(!broken.Frame().isMaximized() && !broken.Frame().isMinimized());
        // Without a placement the first window takes about two thirds of the screen.
        const QRect available = broken.Frame().screen()->availableGeometry();
        QCOMPARE(broken.Frame().geometry().size(), FirstWindowGeometry(available, QSize(150, 300)).size());
    }

    void settingsAreWrittenAtCloseEvenWhenTheSaveQuestionIsCancelled() {
        Program program;
        QVERIFY(program.Start());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        program.Action(cmd::OptionsAutoChange)->trigger();
        QVERIFY(program.Action(cmd::OptionsAutoChange)->isChecked());
        QVERIFY(!program.settings.Contains("Settings", "Auto Change Size"));  // not before the close

        program.Doc().SetModifiedFlag(true);
        program.dialogs.answers = {IDialogService::Answer::Cancel};
        QVERIFY(!program.Frame().close());
        QVERIFY(program.Frame().isVisible());
        QCOMPARE(program.dialogs.messages.last(), QStringLiteral("Save changes to Untitled?"));
        QVERIFY(ParseWindowPlacement(program.Setting("WindowPos")).has_value());
        QCOMPARE(program.settings.GetInt("Settings", "Tree Height"), 150);
        QCOMPARE(program.settings.GetInt("Settings", "Tree Width"), program.Tree().width());
        QCOMPARE(program.settings.GetInt("Settings", "Auto Change Size"), 1);
        QVERIFY(program.Doc().IsModified());
    }

    void aFailedSaveAtCloseKeepsTheWindowAndTheChanges() {
        Program program;
        QVERIFY(program.Start());
        program.shell->Show();
        program.Doc().SetModifiedFlag(true);
        program.dialogs.answers = {IDialogService::Answer::Yes};
        program.dialogs.saveFileNames = {QString()};  // the save dialog is cancelled
        QVERIFY(!program.Frame().close());
        QVERIFY(program.Doc().IsModified());

        // A page file that cannot be written (a folder holds its name) fails the save the same way.
        QVERIFY(QDir(program.folder.path()).mkpath(QStringLiteral("taken/page.htm")));
        program.dialogs.answers = {IDialogService::Answer::Yes};
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("taken/page.htm"))};
        QVERIFY(!program.Frame().close());
        Settle(program.Frame().Flow());
        QVERIFY(program.Frame().isVisible());
        QVERIFY(program.Doc().IsModified());
        // The message says which file could not be written, and why.
        QVERIFY(program.dialogs.messages.last().startsWith(QString::fromLatin1(texts::kSaveFailed)));
        QVERIFY(program.dialogs.messages.last().contains(QStringLiteral("taken/page.htm")));

        program.dialogs.answers = {IDialogService::Answer::No};
        QVERIFY(program.Frame().close());
    }

    void aMaximizedWindowIsRememberedAsMaximized() {
        Program program;
        QVERIFY(program.Start());
        program.Frame().showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        QTRY_VERIFY(program.Frame().isMaximized());
        QVERIFY(program.Frame().close());
        const auto placement = ParseWindowPlacement(program.Setting("WindowPos"));
        QVERIFY(placement.has_value());
        QCOMPARE(placement->flags, 2u);
        QCOMPARE(placement->showState, 3u);

        Program next;
        next.settings.SetString("Settings", "WindowPos", program.Setting("WindowPos"));
        QVERIFY(next.Start());
        next.shell->Show();
        QTRY_VERIFY(next.Frame().isMaximized());
    }

    void commandsFollowTheSelectionAndTheActivePane() {
        Program program;
        QVERIFY(program.Start());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        CKestruneView& tree = program.Tree();
        auto enabled = [&](const char* id) { return program.Action(id)->isEnabled(); };

        tree.SelectNode(tree.RootNode());
        QVERIFY(!enabled(cmd::MenuVisible) && !enabled(cmd::MenuMoveUp) && !enabled(cmd::EditCut));
        QVERIFY(!enabled(cmd::EditCopy) && !enabled(cmd::EditPaste));
        QVERIFY(enabled(cmd::MenuProperty) && enabled(cmd::MenuInsert) && enabled(cmd::MenuDelete));

        QModelIndex menu = treenodes::ChildOfNode(tree.RootNode(), 0);
        tree.SelectNode(menu);
        QVERIFY(!enabled(cmd::MenuProperty) && !enabled(cmd::MenuMoveDown) && !enabled(cmd::EditCopy));
        QVERIFY(enabled(cmd::MenuVisible) && program.Action(cmd::MenuVisible)->isChecked());

        tree.SelectNode(treenodes::ChildOfNode(menu, 0));
        QVERIFY(enabled(cmd::MenuMoveUp) && enabled(cmd::MenuMoveDown) && enabled(cmd::EditCut));
        QVERIFY(enabled(cmd::EditCopy) && enabled(cmd::MenuProperty));

        // The message pane handles no commands: everything the tree carries out goes grey.
        program.Action(cmd::NextPane)->trigger();
        QCOMPARE(program.Frame().ActivePane(), static_cast<QWidget*>(program.Frame().InfoView()));
        for (const char* id : {cmd::MenuInsert, cmd::MenuDelete, cmd::MenuVisible, cmd::MenuMoveUp, cmd::MenuMoveDown,
                               cmd::MenuProperty, cmd::EditCut, cmd::EditCopy, cmd::EditPaste})
            QVERIFY2(!enabled(id), id);
        QVERIFY(enabled(cmd::BuildCheck) && enabled(cmd::FileSave));
        program.Action(cmd::PrevPane)->trigger();
        QVERIFY(program.Frame().IsTreePaneActive());
        QVERIFY(enabled(cmd::MenuInsert));

        // Clicking into the message pane makes it the active pane too.
        program.Frame().InfoView()->m_edit->setFocus();
        QTRY_VERIFY(!program.Frame().IsTreePaneActive());
        QVERIFY(!enabled(cmd::MenuDelete));
    }

    void aDisabledCommandGivenByItsKeyDoesNothing() {
        Program program;
        QVERIFY(program.Start());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        CKestruneView& tree = program.Tree();
        tree.SelectNode(tree.RootNode());
        tree.setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("unchanged"));
        QTest::keyClick(&tree, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(&tree, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("unchanged"));
        const auto menus = program.Applet().m_menus.size();
        program.Action(cmd::MenuMoveUp)->trigger();
        QCOMPARE(program.Applet().m_menus.size(), menus);
        QVERIFY(!program.Doc().IsModified());
    }

    void checkParametersReportsIntoTheMessagePaneAndClearMessageEmptiesIt() {
        Program program;
        QVERIFY(program.Start());
        program.Frame().OnCheckParameters();
        const QString report = program.Frame().InfoView()->MessageText();
        QVERIFY(report.startsWith(QStringLiteral("-----------------Checking ")));
        QVERIFY(report.contains(QStringLiteral("Recommend:\tApplet Width:")));
        QVERIFY(!report.contains(QLatin1Char('\r')));
        QVERIFY(!program.Doc().IsModified());
        program.Action(cmd::BuildClearMessage)->trigger();
        QVERIFY(program.Frame().InfoView()->MessageText().isEmpty());
    }

    void autoChangeMenuSizeResizesTheAppletAndMarksTheDocument() {
        Program program;
        QVERIFY(program.Start());
        program.Applet().m_appWidth = 1;
        program.Applet().m_appHeight = 1;
        program.Action(cmd::OptionsAutoChange)->trigger();
        program.Frame().OnCheckParameters();
        const ParameterCheckResult expected = CheckParameters(program.Applet(), false);
        QCOMPARE(program.Applet().m_appWidth, expected.recommendedWidth);
        QCOMPARE(program.Applet().m_appHeight, expected.recommendedHeight);
        QVERIFY(program.Doc().IsModified());
    }

    void buildHtmlWithAutoChangeShowsTheRecommendedSizeInTheAppletLine() {
        Program program;
        QVERIFY(program.Start());
        CAppletParameters& applet = program.Applet();
        for (const auto& menu : applet.m_menus) menu->m_visible = 0;
        QString shown;
        program.dialogs.onDialog = [&](QDialog* dialog) {
            if (auto* html = qobject_cast<CDlgHtml*>(dialog)) shown = html->PageText();
            return int(QDialog::Accepted);
        };
        program.Action(cmd::OptionsAutoChange)->trigger();
        QVERIFY(program.Action(cmd::OptionsAutoChange)->isChecked());
        const auto appletLineOfBuildHtml = [&] {
            program.Action(cmd::BuildHtml)->trigger();
            return shown.split(QLatin1Char('\n')).value(3);
        };
        const auto appletLine = [](int width, int height) {
            return QStringLiteral("<applet code=\"trelvix.class\" align=\"baseline\" width=\"%1\" height=\"%2\">")
                .arg(width)
                .arg(height);
        };
        QCOMPARE(appletLineOfBuildHtml(), appletLine(4, 4));
        // A vertical menu at (40, 15) with three items 80 by 20, gap 5.
        auto added = std::make_unique<CVorane>(0, kTopLevelMenuName);
        for (const char* label : {"a", "b", "c"}) added->AddItem(std::make_unique<CVoraneItem>(label), 0);
        CVorane& menu = *added;
        applet.m_menus.push_back(std::move(added));
        QCOMPARE(appletLineOfBuildHtml(), appletLine(84, 74));
        menu.m_BKStyle = 2;
        QCOMPARE(appletLineOfBuildHtml(), appletLine(85, 75));
        menu.m_BKStyle = 0;
        menu.m_Corner = 2;
        QCOMPARE(appletLineOfBuildHtml(), appletLine(84, 74));
        QVERIFY(program.Frame().InfoView()->MessageText().contains(
            QStringLiteral("Recommend:\tApplet Width:84,\tApplet Height:74")));
    }

    void buildHtmlShowsThePageAndCopyTakesTheAppletParagraph() {
        Program program;
        QVERIFY(program.Start());
        const std::string page = BuildHTML(program.Applet());
        QString copied;
        QString afterEdit = QStringLiteral("not set");
        program.dialogs.onDialog = [&](QDialog* dialog) {
            auto* html = qobject_cast<CDlgHtml*>(dialog);
            if (!html) return int(QDialog::Rejected);
            copied = html->OnCopy();
            // The user's edits count; without a paragraph nothing is copied.
            html->SetPageText(QStringLiteral("<html>no paragraph</html>"));
            afterEdit = html->OnCopy();
            return int(QDialog::Accepted);
        };
        QGuiApplication::clipboard()->clear();
        program.Action(cmd::BuildHtml)->trigger();
        QCOMPARE(program.dialogs.dialogTitles, QStringList{QStringLiteral("HTML")});
        QString expected = QString::fromStdString(AppletParagraph(page));
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QVERIFY(expected.startsWith(QStringLiteral("<p align=")) && expected.endsWith(QStringLiteral("</p>")));
        QCOMPARE(copied, expected);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        QVERIFY(afterEdit.isEmpty());
        QVERIFY(program.Frame().InfoView()->MessageText().contains(QStringLiteral("Recommend:")));
    }

    void scriptRuntimeOptionAddsTheLineToSavesAndToWhatCopyCopies() {
        Program program;
        CopyFromProgramFolder(QStringLiteral("kestrune-menu.js"), program.folder.path());
        QVERIFY(program.Start());
        QAction* option = program.Action(cmd::OptionsScriptRuntime);
        QVERIFY(option->isCheckable() && !option->isChecked());
        const QString line = QStringLiteral("<script src=\"kestrune-menu.js\"></script>");

        QDir(program.folder.path()).mkdir(QStringLiteral("plain"));
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("plain/menu.htm"))};
        program.Trigger(cmd::FileSave);
        QCOMPARE(QByteArray::fromStdString(ReadAll(program.folder.filePath(QStringLiteral("plain/menu.htm")))),
                 QByteArray::fromStdString(BuildHTML(program.Applet())));
        QVERIFY(!QFile::exists(program.folder.filePath(QStringLiteral("plain/kestrune-menu.js"))));

        option->trigger();
        QVERIFY(option->isChecked());
        QDir(program.folder.path()).mkdir(QStringLiteral("site"));
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("site/menu.htm"))};
        program.Trigger(cmd::FileSaveAs);
        const std::string saved = ReadAll(program.folder.filePath(QStringLiteral("site/menu.htm")));
        QVERIFY(saved.ends_with("</p>\r\n" + line.toStdString() + "\r\n</body>\r\n</html>"));
        QVERIFY(QFile::exists(program.folder.filePath(QStringLiteral("site/kestrune-menu.js"))));

        QString copied;
        program.dialogs.onDialog = [&](QDialog* dialog) {
            if (auto* html = qobject_cast<CDlgHtml*>(dialog)) copied = html->OnCopy();
            return int(QDialog::Accepted);
        };
        program.Action(cmd::BuildHtml)->trigger();
        QVERIFY(copied.startsWith(QStringLiteral("<p align=")));
        QVERIFY(copied.endsWith(QStringLiteral("</p>\n") + line));

        program.Frame().close();
        QCOMPARE(program.settings.GetInt("Settings", "Script Runtime"), 1);
    }

    void pageLanguageRefusesAMalformedTagAndRuntimePagesDeclareTheStoredOne() {
        Program program;
        program.settings.SetString("Settings", "Page Language", "en\" onload=\"x");
        QVERIFY(program.Start());
        // A damaged setting gives the system's language, never its text.
        QCOMPARE(program.Doc().m_pageLanguage, pagelanguage::SystemLanguage());
        QStringList offered;
        QStringList typed = {QStringLiteral("en_US"), QStringLiteral("English"), QStringLiteral(" de-CH ")};
        program.dialogs.onDialog = [&](QDialog* dialog) {
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("languageTag"));
            if (!field || typed.isEmpty()) return int(QDialog::Rejected);
            offered << field->text();
            field->setText(typed.takeFirst());
            return int(QDialog::Accepted);
        };
        program.Action(cmd::OptionsPageLanguage)->trigger();
        QCOMPARE(offered, (QStringList{QString::fromStdString(pagelanguage::SystemLanguage()), QStringLiteral("en_US")}));
        QCOMPARE(program.dialogs.messages.size(), 2);
        QVERIFY(program.dialogs.messages[0].contains(QStringLiteral("\"en_US\" is not a language tag")));
        QCOMPARE(program.dialogs.messages[1], QStringLiteral("\"English\" is the language English: its tag \"en\" is used."));
        QCOMPARE(program.settings.GetString("Settings", "Page Language"), std::string("en"));
        typed = {QStringLiteral(" de-CH ")};
        program.Action(cmd::OptionsPageLanguage)->trigger();
        QCOMPARE(program.settings.GetString("Settings", "Page Language"), std::string("de-CH"));

        program.Action(cmd::OptionsScriptRuntime)->trigger();
        QDir(program.folder.path()).mkdir(QStringLiteral("site"));
        program.dialogs.saveFileNames = {program.folder.filePath(QStringLiteral("site/menu.htm"))};
        program.Trigger(cmd::FileSaveAs);
        const std::string saved = ReadAll(program.folder.filePath(QStringLiteral("site/menu.htm")));
        QVERIFY(saved.starts_with("<!DOCTYPE html>\r\n<html lang=\"de-CH\">\r\n"));
        // Cancel keeps the tag.
        program.dialogs.onDialog = [](QDialog*) { return int(QDialog::Rejected); };
        program.Action(cmd::OptionsPageLanguage)->trigger();
        QCOMPARE(program.Doc().m_pageLanguage, std::string("de-CH"));
    }

    // Only a tag of a language Qt's locale data knows is taken; a language's name, in any
    // case, in English or in itself, gives its tag.
    void pageLanguageTakesKnownTagsAndLanguageNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("noted");
        QTest::newRow("tag") << "de-CH" << "de-CH" << false;
        QTest::newRow("three letters") << "gsw" << "gsw" << false;
        QTest::newRow("own name") << "deutsch" << "de" << true;
        QTest::newRow("own name, not ASCII") << "FRAN\u00c7AIS" << "fr" << true;
        QTest::newRow("name as a tag") << "English" << "en" << true;
        QTest::newRow("unknown code") << "qq" << "" << false;
        QTest::newRow("private use") << "x-private" << "" << false;
        QTest::newRow("unknown word") << "Klingonish" << "" << false;
        QTest::newRow("empty") << "" << "" << false;
    }
    void pageLanguageTakesKnownTagsAndLanguageNames() {
        QFETCH(QString, typed);
        QFETCH(QString, tag);
        QFETCH(bool, noted);
        const pagelanguage::TypedLanguage read = pagelanguage::ReadTypedLanguage(typed);
        QCOMPARE(QString::fromStdString(read.tag), tag);
        QCOMPARE(!read.note.isEmpty(), noted);
        // A stored tag is held to the same rule.
        MemorySettingsStore settings;
        settings.SetString("Settings", "Page Language", typed.toStdString());
        const bool known = !tag.isEmpty() && !noted;
        QCOMPARE(pagelanguage::Read(settings), known ? tag.toStdString() : pagelanguage::SystemLanguage());
    }

    // An image larger than its item covers the label: it is named below the check report,
    // which stays as the command line prints it.
    void checkNamesAnImageLargerThanItsItemBelowTheReport() {
        Program program;
        QVERIFY(program.Start());
        CVorane& menu = *program.Applet().m_menus.at(0);
        CVoraneItem& item = *menu.m_items.at(0);
        const auto picture = [&](const char* name, int width, int height) {
            QImage image(width, height, QImage::Format_RGB32);
            image.fill(Qt::red);
            const QString path = program.folder.filePath(QLatin1String(name));
            return image.save(path) ? path.toStdString() : std::string();
        };
        item.m_normalImage = item.m_overImage = picture("logo.png", menu.m_Width + 48, 8);
        item.m_clickImage = picture("dot.png", 4, 4);
        program.Action(cmd::BuildCheck)->trigger();
        const QString report = convert::LabelToWidget(CheckParameters(program.Applet(), false).report);
        const QString said = program.Frame().InfoView()->MessageText();
        QVERIFY(said.startsWith(report));
        QCOMPARE(said.mid(report.size()),
                 QStringLiteral("Note:\t\tItem \"%1\" image file \"%2\" is %3\u00d78, larger than its item (%4\u00d7%5).\n")
                     .arg(convert::LabelToWidget(item.m_label), QString::fromStdString(item.m_normalImage))
                     .arg(menu.m_Width + 48)
                     .arg(menu.m_Width)
                     .arg(menu.m_Height));
    }

    void copyInTheHtmlDialogSelectsWhatItCopies() {
        CDlgHtml dialog(QStringLiteral("<html>\n<p align=\"Left\">\n<applet>é</applet>\n</p>\n</html>"));
        const QString copied = dialog.OnCopy();
        QCOMPARE(copied, QStringLiteral("<p align=\"Left\">\n<applet>é</applet>\n</p>"));
        QCOMPARE(dialog.Form().htmlEdit->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')),
                 copied);
    }

    void newAfterTheFirstAsksForATemplateAndACancelKeepsTheModel() {
        Program program;
        QVERIFY(program.Start());
        const std::string normalTitle = program.Applet().m_HTMLTitle;
        program.Doc().SetModifiedFlag(true);
        program.dialogs.answers = {IDialogService::Answer::No};
        program.Trigger(cmd::FileNew);
        QCOMPARE(program.dialogs.messages, QStringList{QStringLiteral("Save changes to Untitled?")});
        QCOMPARE(program.dialogs.dialogTitles, QStringList{QStringLiteral("New Vorane")});
        QCOMPARE(program.Applet().m_HTMLTitle, normalTitle);
        // Cancel changes nothing: the document stays modified (it was not saved).
        QVERIFY(program.Doc().IsModified());
        QVERIFY(program.Doc().PathName().isEmpty());

        program.dialogs.onDialog = [](QDialog* dialog) {
            auto* chooser = qobject_cast<CDlgNew*>(dialog);
            chooser->Form().templatesList->setCurrentRow(2);
            chooser->accept();
            return int(chooser->result());
        };
        program.dialogs.answers = {IDialogService::Answer::No};
        program.Trigger(cmd::FileNew);
        QCOMPARE(program.Applet().m_HTMLTitle, TemplateTitle(program.folder.path(), program.settings, 2));
        QCOMPARE(treenodes::TextOfNode(program.Tree().RootNode()), QString::fromStdString(program.Applet().m_HTMLTitle));
        QVERIFY(!program.Doc().IsModified());
    }

    void newAndOpenStopWhenTheSaveQuestionIsCancelled() {
        Program program;
        QVERIFY(program.Start());
        program.Doc().SetModifiedFlag(true);
        program.dialogs.answers = {IDialogService::Answer::Cancel, IDialogService::Answer::Cancel};
        program.Trigger(cmd::FileNew);
        program.dialogs.openFileNames = {program.folder.filePath(QStringLiteral("x.htm"))};
        program.Trigger(cmd::FileOpen);
        QVERIFY(program.dialogs.dialogTitles.isEmpty());
        QCOMPARE(program.dialogs.messages.size(), 2);
        QVERIFY(program.Doc().IsModified());
    }

    void aCommandLineFileWithoutMenuFileEndsTheStart() {
        Program program;
        const QString page = program.folder.filePath(QStringLiteral("lonely.htm"));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!program.Start(page));
        QVERIFY(program.dialogs.messages.value(0).startsWith(QString::fromLatin1(texts::kNotSavedByKestrune)));
    }

    void savedDocumentsOpenAgainFromTheCommandLineAndTheRecentList() {
        Program program;
        QVERIFY(program.Start());
        program.Tree().SelectNode(program.Tree().RootNode());
        program.Action(cmd::MenuInsert)->trigger();
        const auto menus = program.Applet().m_menus.size();
        QVERIFY(program.Doc().IsModified());

        const QString base = program.folder.filePath(QStringLiteral("menu"));
        program.dialogs.saveFileNames = {base};
        program.Trigger(cmd::FileSave);
        QVERIFY(QFile::exists(base + QStringLiteral(".htm")));
        QVERIFY(QFile::exists(base + QStringLiteral(".kst")));
        QCOMPARE(program.Frame().windowTitle(), QStringLiteral("menu.htm[*] - Kestrune"));
        QVERIFY(!program.Doc().IsModified());
        QCOMPARE(program.settings.GetString("Recent File List", "File1"),
                 (base + QStringLiteral(".htm")).toStdString());
        QVERIFY(program.Action(cmd::FileMru1)->isEnabled());

        // A new document, then the recent entry brings the saved one back.
        program.dialogs.onDialog = [](QDialog* dialog) {
            dialog->accept();
            return int(QDialog::Accepted);
        };
        program.Trigger(cmd::FileNew);
        QCOMPARE(program.Frame().windowTitle(), QStringLiteral("Untitled[*] - Kestrune"));
        program.Trigger(cmd::FileMru1);
        QCOMPARE(program.Applet().m_menus.size(), menus);
        QCOMPARE(program.Frame().windowTitle(), QStringLiteral("menu.htm[*] - Kestrune"));

        Program again;
        again.settings = program.settings;
        QVERIFY(again.Start(base + QStringLiteral(".htm")));
        QCOMPARE(again.Applet().m_menus.size(), menus);
        QVERIFY(!again.Doc().IsModified());
        // The document's messages reach the message pane after a start from the command line.
        QVERIFY(again.Doc().ShowMessage(QStringLiteral("Shown")));
        QCOMPARE(again.Frame().InfoView()->MessageText(), QStringLiteral("Shown"));
        again.Frame().OnCheckParameters();
        QVERIFY(!again.Frame().InfoView()->MessageText().isEmpty());
        // The first New after such a start is the first New: no chooser.
        again.Trigger(cmd::FileNew);
        QVERIFY(again.dialogs.dialogTitles.isEmpty());
    }

    void aRecentDocumentThatNoLongerOpensLeavesTheList() {
        Program program;
        program.settings.SetString("Recent File List", "File1", "/nonexistent/gone.htm");
        QVERIFY(program.Start());
        QVERIFY(program.Action(cmd::FileMru1)->isEnabled());
        program.Trigger(cmd::FileMru1);
        QCOMPARE(program.Frame().RecentFiles().Count(), 0);
        QVERIFY(!program.Action(cmd::FileMru1)->isEnabled());
        QCOMPARE(program.settings.GetString("Recent File List", "File1"), std::string());
    }

    void templateCommandsReachTheStore() {
        Program program;
        QVERIFY(program.Start());
        program.dialogs.onDialog = [](QDialog* dialog) {
            if (dialog->windowTitle() != QLatin1String("Save As Template")) return int(QDialog::Rejected);
            dialog->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(QStringLiteral("Mine"));
            dialog->findChild<QListWidget*>(QStringLiteral("templatesList"))->setCurrentRow(1);
            dialog->accept();
            return dialog->result();
        };
        program.Action(cmd::FileSaveAsTemplate)->trigger();
        CTemplateStore store(program.settings, program.folder.path().toStdString());
        const auto names = store.ListTemplateNames();
        QCOMPARE(names.at(1), std::string("Mine"));
        QCOMPARE(TemplateTitle(program.folder.path(), program.settings, 1), program.Applet().m_HTMLTitle);

        program.Action(cmd::OptionsTemplate)->trigger();
        QCOMPARE(program.dialogs.dialogTitles.last(), QStringLiteral("Manage Templates"));
    }

    void theMenuPreviewIsACommandOfTheTableLikeEveryOther() {
        Program program;
        QVERIFY(program.Start());
        QAction* menuPreview = program.Action(cmd::ViewMenuPreview);
        QVERIFY(menuPreview);
        QCOMPARE(program.Frame().PopupMenu(MenuGroup::View)->actions().last(), menuPreview);
        QCOMPARE(menuPreview->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        // On the toolbar right after Preview, a separator between them.
        const QList<QAction*> bar = program.Frame().ToolBar()->actions();
        const qsizetype at = bar.indexOf(menuPreview);
        QVERIFY(at >= 2);
        QVERIFY(bar[at - 1]->isSeparator());
        QCOMPARE(bar[at - 2], program.Action(cmd::BuildPreview));
        // Its enabling comes from the one enabling function, as every command's does.
        QVERIFY(ComputeCommandStates(CommandContext{}).contains(QString::fromLatin1(cmd::ViewMenuPreview)));
        QCOMPARE(program.Frame().Commands().Find(QString::fromLatin1(cmd::ViewMenuPreview))->helpTopic,
                 QStringLiteral("menupreview"));
    }

    void helpCommandsReachTheirPlaces() {
        Program program;
        QVERIFY(program.Start());
        program.shell->Show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.Frame()));
        CHelpWindow& help = program.Frame().HelpWindow();
        program.Action(cmd::HelpGettingStarted)->trigger();
        QCOMPARE(help.CurrentTopic(), QStringLiteral("65657"));
        program.Action(cmd::HelpFaq)->trigger();
        QCOMPARE(help.CurrentTopic(), QStringLiteral("65658"));
        program.Action(cmd::HelpTopics)->trigger();
        QCOMPARE(help.CurrentTopic(), QStringLiteral("contents"));
        QVERIFY(help.isVisible());
        QCOMPARE(help.windowModality(), Qt::NonModal);

        // F1 asks for the topic of the window that has the focus.
        program.Frame().activateWindow();
        program.Tree().setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&program.Tree()));
        program.Action(cmd::HelpContext)->trigger();
        QCOMPARE(help.CurrentTopic(), QStringLiteral("menutree"));
        help.close();

        // Inside a dialog F1 still works; the dialog blocks only its own window and the help
        // window, which belongs to no window, stays modeless beside it.
        CDlgNew dialog({"Normal"}, program.dialogs, &program.Frame());
        QString topic;
        Qt::WindowModality modality = Qt::ApplicationModal;
        bool helpShown = false;
        QTimer::singleShot(0, &dialog, [&] {
            QTest::keyClick(dialog.Form().templatesList, Qt::Key_F1);
            topic = help.CurrentTopic();
            modality = help.windowModality();
            helpShown = help.isVisible();
            dialog.reject();
        });
        QtDialogService().ExecDialog(&dialog);
        QCOMPARE(topic, QStringLiteral("newvoranedialog"));
        QCOMPARE(modality, Qt::NonModal);
        QVERIFY(helpShown);
        QCOMPARE(dialog.windowModality(), Qt::WindowModal);
        QVERIFY(help.parentWidget() == nullptr);
        help.close();
    }

    void exitCleansThePreviewFolder() {
        Program program;
        QVERIFY(program.Start());
        QDir folder(program.folder.path());
        std::string error;
        QVERIFY(WritePreviewFiles(program.Applet(), program.folder.path().toStdString(), &error,
                                  &program.shell->App().m_previewWrites));
        QVERIFY(folder.exists(QStringLiteral("tmp/~Kestrune.htm")));
        program.shell->CleanUp();
        QVERIFY(!folder.exists(QStringLiteral("tmp")));

        // A file the run did not write stays, and so does its folder.
        Program other;
        QVERIFY(other.Start());
        QDir otherFolder(other.folder.path());
        QVERIFY(otherFolder.mkpath(QStringLiteral("tmp")));
        QFile file(otherFolder.filePath(QStringLiteral("tmp/~Kestrune.htm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        other.shell->CleanUp();
        QVERIFY(otherFolder.exists(QStringLiteral("tmp/~Kestrune.htm")));
    }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
