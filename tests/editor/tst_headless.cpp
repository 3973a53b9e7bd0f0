// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

#include "output/AppletParameterEncoder.h"
#include "app/QSettingsStore.h"
#include "app/ShellTexts.h"
#include "cli/HeadlessCommandLine.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/ParameterCheck.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"
#include "base/SettingsStore.h"
#include "persist/DamageTexts.h"
#include "persist/PersistTexts.h"
#include "support/ProgramRun.h"
#include "support/SilentHost.h"

namespace {

const std::string kProgramFolder = KESTRUNE_BIN_DIR;

struct Run {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the command line in-process on a settings store of its own.
Run Headless(std::vector<std::string> args, kestrune::ISettingsStore* settings = nullptr) {
    kestrune::MemorySettingsStore own;
    std::ostringstream out;
    std::ostringstream err;
    HeadlessEnvironment environment{kProgramFolder, settings ? *settings : own, out, err};
    Run run;
    run.status = RunHeadlessCommand(args, environment);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

bool IsHeadless(std::vector<const char*> args) {
    args.insert(args.begin(), "kestrune");
    return IsHeadlessInvocation(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

}  // namespace

class HeadlessTest : public QObject {
    Q_OBJECT
private slots:
    void recognisesItsOwnOptionsOnly() {
        QVERIFY(IsHeadless({"--html", "x.htm"}));
        QVERIFY(IsHeadless({"--app-dir", "/opt/k", "--check", "x.htm"}));
        QVERIFY(IsHeadless({"--version"}));
        QVERIFY(IsHeadless({"--new"}));  // incomplete, but ours: it ends with a usage fault
        QVERIFY(!IsHeadless({}));
        QVERIFY(!IsHeadless({"page.htm"}));
        QVERIFY(!IsHeadless({"--app-dir", "/opt/k"}));
        QVERIFY(!IsHeadless({"--app-dir", "/opt/k", "page.htm"}));
        QVERIFY(!IsHeadless({"--view", "page.htm"}));
    }

    void badUsageEndsWithStatusTwo() {
        const std::vector<std::vector<std::string>> faults = {
            {},
            {"--app-dir"},
            {"--html"},
            {"--frobnicate"},
            {"--params", "a.htm", "--auto-size"},
            {"--html", "a.htm", "--auto-size", "--auto-size"},
            {"--check", "a.htm", "extra"},
            {"--save", "a.htm"},
            {"--new", "0"},
            {"--new", "0", "--html", "x"},
            {"--new", "first", "--save", "x.htm"},
            {"--new", "0", "--save", "x.htm", "--auto-size"},
            {"--params", "a.htm", "--runtime"},
            {"--check", "a.htm", "--runtime"},
            {"--html", "a.htm", "--runtime", "--runtime"},
            {"--new", "0", "--save", "x.htm", "--runtime", "--runtime"},
            {"--layout"},
            {"--layout", "a.htm", "--open"},
            {"--layout", "a.htm", "--open", "1,x"},
            {"--layout", "a.htm", "--open", "0,,1"},
            {"--layout", "a.htm", "--open", "-1"},
            {"--layout", "a.htm", "--runtime"},
            {"--layout", "a.htm", "--open", "0", "extra"},
            {"--help", "--version"},
            {"--app-dir", "d", "--version"},
        };
        for (const auto& args : faults) {
            const Run run = Headless(args);
            QCOMPARE(run.status, 2);
            QVERIFY(run.out.empty());
            QVERIFY(run.err.find("kestrune --help") != std::string::npos);
        }
    }

    void helpAndVersionGoToStandardOutput() {
        const Run help = Headless({"--help"});
        QCOMPARE(help.status, 0);
        QCOMPARE(help.out, HeadlessUsage());
        QVERIFY(help.out.find("--new POSITION --save DEST") != std::string::npos);
        const Run version = Headless({"--version"});
        QCOMPARE(version.status, 0);
        QVERIFY(version.out.starts_with(std::string("Kestrune ") + KESTRUNE_VERSION + "\nCopyright (C) "));
        QVERIFY(version.out.find("GNU GPL version 3 or later") != std::string::npos);
        QVERIFY(version.out.find("kestrune-menu.js and the sample pictures and sounds") != std::string::npos);
        QVERIFY(version.out.find("MIT License") != std::string::npos);
    }

    void newFromTheFirstTemplateSavesAPageThatTheOtherCommandsRead() {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("new/folder/menu.htm"));
        kestrune::MemorySettingsStore settings;
        const Run save = Headless({"--new", "0", "--save", page.toStdString()}, &settings);
        QCOMPARE(save.status, 0);
        QVERIFY2(save.err.empty(), save.err.c_str());
        QVERIFY(save.out.empty());
        QCOMPARE(settings.GetString("TEMPLATE", "TemplateKey").substr(0, 14), std::string("Normal,Group B"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("new/folder/menu.kst"))));

        kestrune::CAppletParameters applet;
        SilentHost host;
        QVERIFY(kestrune::OpenDocument(applet, page.toStdString(), host));
        QCOMPARE(applet.m_HTMLTitle, std::string("Normal Menu"));

        const Run html = Headless({"--html", page.toStdString()});
        QCOMPARE(html.status, 0);
        QCOMPARE(html.out, ReadFile(page));
        QCOMPARE(Headless({"--params", page.toStdString()}).out, BuildAppletParameters(applet));
        const Run check = Headless({"--check", dir.filePath(QStringLiteral("new/folder/menu.kst")).toStdString()});
        QCOMPARE(check.status, 0);
        QCOMPARE(check.out, kestrune::CheckParameters(applet, false).report);
    }

    void autoSizeTakesTheRecommendedSizeFirst() {
        QTemporaryDir dir;
        const std::string page = dir.filePath(QStringLiteral("menu.htm")).toStdString();
        QCOMPARE(Headless({"--new", "0", "--save", page}).status, 0);
        kestrune::CAppletParameters applet;
        SilentHost host;
        QVERIFY(kestrune::OpenDocument(applet, page, host));
        const auto check = kestrune::CheckParameters(applet, true);
        const std::string size = "width=\"" + std::to_string(check.recommendedWidth) + "\" height=\"" +
                                 std::to_string(check.recommendedHeight) + "\"";
        QVERIFY(Headless({"--html", page, "--auto-size"}).out.find(size) != std::string::npos);
        QVERIFY(Headless({"--html", page}).out.find(size) == std::string::npos);

        const std::string copy = dir.filePath(QStringLiteral("copy/menu.htm")).toStdString();
        QCOMPARE(Headless({"--save", page, copy, "--auto-size"}).status, 0);
        QVERIFY(ReadFile(QString::fromStdString(copy)).find(size) != std::string::npos);
    }

    void runtimeAddsTheScriptLineAndCopiesTheRuntime() {
        QTemporaryDir dir;
        const std::string line = "</p>\r\n<script src=\"kestrune-menu.js\"></script>\r\n</body>\r\n</html>";
        const std::string plain = dir.filePath(QStringLiteral("plain/menu.htm")).toStdString();
        QCOMPARE(Headless({"--new", "0", "--save", plain}).status, 0);
        QVERIFY(ReadFile(QString::fromStdString(plain)).find("<script") == std::string::npos);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("plain/kestrune-menu.js"))));

        const std::string page = dir.filePath(QStringLiteral("site/menu.htm")).toStdString();
        QCOMPARE(Headless({"--new", "0", "--save", page, "--runtime"}).status, 0);
        const std::string saved = ReadFile(QString::fromStdString(page));
        QVERIFY(saved.ends_with(line));
        QCOMPARE(ReadFile(dir.filePath(QStringLiteral("site/kestrune-menu.js"))),
                 ReadFile(QString::fromStdString(kProgramFolder + "/kestrune-menu.js")));
        QCOMPARE(Headless({"--html", plain, "--runtime"}).out, saved);
        QCOMPARE(Headless({"--html", plain, "--auto-size", "--runtime"}).status, 0);
        const std::string copy = dir.filePath(QStringLiteral("copy/menu.htm")).toStdString();
        QCOMPARE(Headless({"--save", plain, copy, "--runtime", "--auto-size"}).status, 0);
        QVERIFY(ReadFile(QString::fromStdString(copy)).ends_with(line));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("copy/kestrune-menu.js"))));
        // The page declares the stored language; a malformed one gives way to the system's.
        kestrune::MemorySettingsStore settings;
        settings.SetString("Settings", "Page Language", "pt-BR");
        QVERIFY(Headless({"--html", plain, "--runtime"}, &settings).out.find("<html lang=\"pt-BR\">") != std::string::npos);
        settings.SetString("Settings", "Page Language", "pt_BR><script>");
        QVERIFY(Headless({"--html", plain, "--runtime"}, &settings).out.find("<script>") == std::string::npos);
    }

    void layoutPrintsTheRectanglesOfTheOpenMenus() {
        QTemporaryDir dir;
        const std::string page = dir.filePath(QStringLiteral("menu.htm")).toStdString();
        QCOMPARE(Headless({"--new", "0", "--save", page}).status, 0);
        const Run top = Headless({"--layout", page});
        QCOMPARE(top.status, 0);
        QVERIFY(top.out.starts_with("{\"applet\":{\"width\":282,\"height\":148},\n \"open\":[],"));
        QVERIFY(top.out.find("\"label\":\"Products\"") != std::string::npos);
        QVERIFY(top.out.find("\"label\":\"Software\"") == std::string::npos);
        const Run open = Headless({"--layout", page, "--open", "0,1"});
        QCOMPARE(open.status, 0);
        QVERIFY(open.out.find("\"open\":[0,1]") != std::string::npos);
        QVERIFY(open.out.find("{\"top\":0,\"level\":1,\"rect\":{\"x\":142,\"y\":36,") != std::string::npos);
        QVERIFY(open.out.find("\"label\":\"Software\"") != std::string::npos);
        // A path that leads nowhere is cut where it stops.
        QVERIFY(Headless({"--layout", page, "--open", "0,9,3"}).out.find("\"open\":[0]") != std::string::npos);

        const Run missing = Headless({"--layout", dir.filePath(QStringLiteral("none.htm")).toStdString()});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.out.empty());
        QVERIFY(missing.err.find("Cannot read the page") != std::string::npos);
        QFile text(dir.filePath(QStringLiteral("text.htm")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("<html>no applet</html>");
        text.close();
        const Run unreadable = Headless({"--layout", text.fileName().toStdString()});
        QCOMPARE(unreadable.status, 1);
        QVERIFY(unreadable.err.find("no applet parameters") != std::string::npos);
    }

    void aTemplateWithPicturesSavesThemBesideThePage() {
        QTemporaryDir dir;
        const std::string page = dir.filePath(QStringLiteral("map/index.htm")).toStdString();
        QCOMPARE(Headless({"--app-dir", kProgramFolder + "/", "--new", "3", "--save", page}).status, 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("map/map.jpg"))));
        QVERIFY(ReadFile(dir.filePath(QStringLiteral("map/index.htm"))).find("map.jpg") != std::string::npos);
    }

    void failuresGoToStandardErrorWithStatusOne() {
        QTemporaryDir dir;
        const Run noTemplate = Headless({"--new", "13", "--save", dir.filePath(QStringLiteral("x.htm")).toStdString()});
        QCOMPARE(noTemplate.status, 1);
        QCOMPARE(noTemplate.err, std::string("There is no template at position 13.\n"));

        QFile plain(dir.filePath(QStringLiteral("plain.htm")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const Run notOurs = Headless({"--html", plain.fileName().toStdString()});
        QCOMPARE(notOurs.status, 1);
        QVERIFY(notOurs.out.empty());
        QCOMPARE(notOurs.err, std::string("This File is not saved by Kestrune!\nSystem can't open it.\n"
                                          "Its menu file \"plain.kst\" is not in the same folder.\n"));

        const Run missing = Headless({"--check", dir.filePath(QStringLiteral("none.htm")).toStdString()});
        QCOMPARE(missing.status, 1);

        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("taken.htm")));
        const Run unwritable =
            Headless({"--new", "0", "--save", dir.filePath(QStringLiteral("taken.htm")).toStdString()});
        QCOMPARE(unwritable.status, 1);
        QCOMPARE(unwritable.err, std::string("Save as file failed!\n"));
    }

    void theSettingsAdapterReadsTemplateListsWrittenByHand() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Kestrune.conf"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[TEMPLATE]\nTemplateKey=Normal,Hot Spot,\n[Settings]\nAuto Change Size=1\n");
        file.close();
        QSettingsStore settings(ini);
        QCOMPARE(settings.GetString("TEMPLATE", "TemplateKey"), std::string("Normal,Hot Spot,"));
        QCOMPARE(settings.GetInt("Settings", "Auto Change Size"), 1);
        QCOMPARE(settings.GetString("TEMPLATE", "Missing", "Normal"), std::string("Normal"));
        settings.SetString("TEMPLATE", "TemplateKey", "A,B,");
        QCOMPARE(settings.GetString("TEMPLATE", "TemplateKey"), std::string("A,B,"));
    }

    // The real program, without a display and with its own settings folder.
    void theProgramRunsWithoutADisplay() {
        QTemporaryDir dir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        const QString program = QString::fromStdString(kProgramFolder) + QStringLiteral("/kestrune");
        const QString page = dir.filePath(QStringLiteral("site/menu.htm"));

        QProcess save;
        save.setProcessEnvironment(environment);
        save.start(program, {QStringLiteral("--new"), QStringLiteral("0"), QStringLiteral("--save"), page});
        QVERIFY(save.waitForFinished(60000));
        QCOMPARE(save.exitCode(), 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("config/Quellary/Kestrune.conf"))));

        QProcess html;
        html.setProcessEnvironment(environment);
        html.start(program, {QStringLiteral("--html"), page});
        QVERIFY(html.waitForFinished(60000));
        QCOMPARE(html.exitCode(), 0);
        QCOMPARE(html.readAllStandardOutput().toStdString(), ReadFile(page));
        QVERIFY(html.readAllStandardError().isEmpty());

        // A mistyped option is a usage fault, never the window; the window without a display
        // says so in one line instead of aborting.
        const struct {
            QStringList arguments;
            int status;
            QByteArray said;
        } cases[] = {
            {{QStringLiteral("--chek"), page}, 2, "kestrune: unknown option '--chek'\n" + QByteArray(HeadlessUsage().c_str())},
            {{page, QStringLiteral("--bogus")}, 2, "kestrune: unknown option '--bogus'\n" + QByteArray(HeadlessUsage().c_str())},
            {{page}, 1, QByteArray(shelltexts::kNoDisplay) + '\n'},
            {{QStringLiteral("--view"), page}, 1, QByteArray(shelltexts::kNoDisplay) + '\n'},
        };
        for (const auto& run : cases) {
            QProcess window;
            window.setProcessEnvironment(environment);
            window.start(program, run.arguments);
            QVERIFY(window.waitForFinished(60000));
            QCOMPARE(window.exitStatus(), QProcess::NormalExit);
            QCOMPARE(window.exitCode(), run.status);
            QCOMPARE(window.readAllStandardError(), run.said);
        }
        // Options of the toolkit stay the toolkit's: they start the window.
        for (std::vector<const char*> arguments : {std::vector{"kestrune", "--platform", "offscreen", "page.htm"},
                                                   std::vector{"kestrune", "-style", "fusion", "--reverse"}})
            QVERIFY(!IsHeadlessInvocation(int(arguments.size()), const_cast<char**>(arguments.data())));
    }

    // A menu file cut at any line is damaged: the program says so and fails the commands
    // that only read, and a save over it keeps the damaged page and menu file beside it.
    void aMenuFileCutAtAnyLineFailsTheReadsAndItsSaveKeepsTheOriginals() {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("site/menu.htm"));
        const QString menu = dir.filePath(QStringLiteral("site/menu.kst"));
        QCOMPARE(Headless({"--new", "0", "--save", page.toStdString()}).status, 0);
        const QByteArray pageBytes = ReadBytes(page);
        const QByteArray whole = ReadBytes(menu);
        QList<qsizetype> cuts = {0};
        for (qsizetype end = whole.indexOf("\r\n"); end >= 0; end = whole.indexOf("\r\n", end + 2)) cuts << end + 2;
        cuts.removeLast();
        QVERIFY(cuts.size() > 20);
        for (const qsizetype cut : cuts) {
            const QByteArray kept = whole.left(cut);
            const QString at = QStringLiteral("cut at %1 of %2 bytes").arg(cut).arg(whole.size());
            QFile::remove(menu + QLatin1String(kestrune::texts::kDamagedSuffix));
            QFile::remove(page + QLatin1String(kestrune::texts::kDamagedSuffix));
            QVERIFY(WriteBytes(page, pageBytes) && WriteBytes(menu, kept));
            for (const char* read : {"--check", "--params"}) {
                const ProgramResult refused = RunProgram({QString::fromLatin1(read), page}, dir.path());
                QVERIFY2(refused.status == 1, qPrintable(at));
                QVERIFY2(refused.err.contains(menu) && refused.err.contains(QStringLiteral("damaged")),
                         qPrintable(at + u'\n' + refused.err));
            }
            const ProgramResult save = RunProgram({QStringLiteral("--save"), page, page}, dir.path());
            QVERIFY2(save.status == 0, qPrintable(at + u'\n' + save.err));
            QVERIFY2(save.err.contains(menu + QLatin1String(kestrune::texts::kDamagedSuffix)), qPrintable(save.err));
            QVERIFY2(ReadBytes(menu + QLatin1String(kestrune::texts::kDamagedSuffix)) == kept, qPrintable(at));
            QVERIFY2(ReadBytes(page + QLatin1String(kestrune::texts::kDamagedSuffix)) == pageBytes, qPrintable(at));
            QVERIFY2(RunProgram({QStringLiteral("--check"), page}, dir.path()).status == 0, qPrintable(at));
        }
    }

    // Blank lines are no entries: a file read through its key table may hold any number.
    void aMenuFileOutOfOrderWithManyBlankLinesStillSaves() {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("menu.htm"));
        QVERIFY(WriteBytes(page, "<html></html>"));
        QByteArray text = "[Vorane2.0]\r\nMisc=2,1,0,-0,0-1,\r\nApStyle=Blank,0,400,200,0,0,,0,0,0,\r\n"
                          "Notice=Vorane2.0\r\nI0-1=Kept,,,,,,,,,1\r\n";
        text += QByteArray("\r\n").repeated(300000);
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("menu.kst")), text));
        const Run save = Headless({"--save", page.toStdString(), dir.filePath(QStringLiteral("out/menu.htm")).toStdString()});
        QVERIFY2(save.status == 0, save.err.c_str());
        QVERIFY(ReadBytes(dir.filePath(QStringLiteral("out/menu.kst"))).contains("I0-1=Kept,"));
    }

    // A big document, whose model the program leaves to the system at the end, gives the
    // very page it was saved with.
    void aBigDocumentGivesTheSamePageFromTheProgram() {
        QTemporaryDir dir;
        kestrune::CAppletParameters applet;
        const std::string description(300, 'd');
        for (int m = 0; m < 100; ++m) {
            auto menu = std::make_unique<kestrune::CVorane>(0, "top-level Menu");
            for (int i = 0; i < 10; ++i) {
                auto item = std::make_unique<kestrune::CVoraneItem>("item " + std::to_string(i));
                for (int j = 0; j < 60; ++j) {
                    auto sub = std::make_unique<kestrune::CVoraneItem>("sub " + std::to_string(j));
                    sub->m_description = description;
                    sub->m_visible = j % 7 != 0;
                    item->m_subMenu->AddItem(std::move(sub), 0);
                }
                menu->AddItem(std::move(item), 0);
            }
            applet.m_menus.push_back(std::move(menu));
        }
        const QString page = dir.filePath(QStringLiteral("big.htm"));
        SilentHost host;
        QVERIFY(kestrune::SaveDocument(applet, page.toStdString(), kProgramFolder, host));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("big.kst"))).size() > (qint64{16} << 20));

        QProcess html;
        html.start(QString::fromStdString(kProgramFolder) + QStringLiteral("/kestrune"), {QStringLiteral("--html"), page});
        QVERIFY(html.waitForFinished(120000));
        QCOMPARE(html.exitCode(), 0);
        QVERIFY(html.readAllStandardOutput().toStdString() == ReadFile(page));
    }
};

QTEST_GUILESS_MAIN(HeadlessTest)
#include "tst_headless.moc"
