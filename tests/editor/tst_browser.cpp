// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/KestruneApp.h"
#include "browser/BrowserCommands.h"
#include "browser/DlgWebBrowser.h"
#include "app/FakeProgramLauncher.h"
#include "app/ProgramLauncher.h"
#include "app/ShellTexts.h"
#include "base/SettingsStore.h"
#include "support/FakeDialogService.h"

using kestrune::BrowserChoice;

namespace {
const QString kMustSpecify = QStringLiteral("You must specify the web browser's execute file!");

template <typename T>
T* Child(QDialog* dialog, const char* name) {
    T* child = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

void MakeProgram(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}
}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_savedPath = qgetenv("PATH");
        QVERIFY(m_programs.isValid());
        MakeProgram(m_programs.filePath("chromium"));
        MakeProgram(m_programs.filePath("firefox"));
        qputenv("PATH", m_programs.path().toLocal8Bit());
    }
    void cleanup() { qputenv("PATH", m_savedPath); }

    void opensWithTheStoredChoice_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("checked");
        QTest::newRow("default") << 1 << "radioDefault";
        QTest::newRow("specified") << 0 << "radioSpecified";
        QTest::newRow("known") << 2 << "radioKnown";
        QTest::newRow("any other value means known") << -7 << "radioKnown";
    }
    void opensWithTheStoredChoice() {
        QFETCH(int, mode);
        QFETCH(QString, checked);
        FakeDialogService dialogs;
        CDlgWebBrowser dialog(dialogs, {"Firefox", "Chromium"}, {mode, "/opt/viewer", 1});
        QVERIFY(Child<QRadioButton>(&dialog, checked.toLatin1().constData())->isChecked());
        auto* combo = Child<QComboBox>(&dialog, "comboKnown");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("Firefox"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(Child<QLineEdit>(&dialog, "editPath")->text(), QStringLiteral("/opt/viewer"));
        // The choice does not disable the other controls.
        QVERIFY(combo->isEnabled());
        QVERIFY(Child<QLineEdit>(&dialog, "editPath")->isEnabled());
    }

    void storedIndexOutsideTheListSelectsNothing() {
        FakeDialogService dialogs;
        CDlgWebBrowser tooFar(dialogs, {"Firefox"}, {2, "", 3});
        QCOMPARE(tooFar.KnownBrowserPosition(), -1);
        CDlgWebBrowser negative(dialogs, {"Firefox"}, {2, "", -1});
        QCOMPARE(negative.KnownBrowserPosition(), -1);
        CDlgWebBrowser empty(dialogs, {}, {2, "", 0});
        QCOMPARE(empty.KnownBrowserPosition(), -1);
    }

    // A program path the like of /usr/lib/chromium/chromium fits the box whole.
    void theProgramBoxHoldsAWholePath() {
        FakeDialogService dialogs;
        CDlgWebBrowser dialog(dialogs, {}, {1, "/usr/lib/chromium/chromium", 0});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* path = Child<QLineEdit>(&dialog, "editPath");
        QVERIFY(path->width() >= path->fontMetrics().horizontalAdvance(path->text()) + 8);
    }

    void specifiedBrowserWithEmptyPathIsRefused() {
        FakeDialogService dialogs;
        CDlgWebBrowser dialog(dialogs, {}, {1, "", 0});
        int closed = 0;
        connect(&dialog, &QDialog::finished, this, [&closed] { ++closed; });
        Child<QRadioButton>(&dialog, "radioSpecified")->click();
        Child<QPushButton>(&dialog, "buttonOk")->click();
        QCOMPARE(dialogs.messages, QStringList{kMustSpecify});
        QCOMPARE(closed, 0);

        // The default browser needs no path.
        Child<QRadioButton>(&dialog, "radioDefault")->click();
        Child<QPushButton>(&dialog, "buttonOk")->click();
        QCOMPARE(closed, 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void chooserFillsThePathAndCancelKeepsIt() {
        FakeDialogService dialogs;
        dialogs.openFileNames = {"/usr/local/bin/my browser", ""};
        CDlgWebBrowser dialog(dialogs, {}, {0, "/old", 0});
        auto* browse = Child<QPushButton>(&dialog, "buttonBrowse");
        browse->click();
        QCOMPARE(dialog.BrowserPath(), QStringLiteral("/usr/local/bin/my browser"));
        browse->click();  // cancelled chooser
        QCOMPARE(dialog.BrowserPath(), QStringLiteral("/usr/local/bin/my browser"));
        Child<QPushButton>(&dialog, "buttonOk")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void commandStoresTheChoiceAndKeepsValuesNotNamed() {
        FakeDialogService dialogs;
        kestrune::MemorySettingsStore settings;
        CKestruneApp app(QStringLiteral("/opt/kes"), dialogs, settings);
        app.m_nBrowserMode = 0;
        app.m_strBrowserPath = QStringLiteral("/opt/viewer");
        app.m_nKnownBrowser = 0;
        QStringList offered;
        dialogs.onDialog = [&offered](QDialog* dialog) {
            auto* combo = Child<QComboBox>(dialog, "comboKnown");
            for (int i = 0; i < combo->count(); ++i) offered << combo->itemText(i);
            Child<QRadioButton>(dialog, "radioKnown")->click();
            combo->setCurrentIndex(1);
            Child<QLineEdit>(dialog, "editPath")->clear();  // not named by the choice: ignored
            Child<QPushButton>(dialog, "buttonOk")->click();
            return dialog->result();
        };
        QVERIFY(browsercommands::RunWebBrowserCommand(app, nullptr));
        QCOMPARE(dialogs.dialogTitles, QStringList{QStringLiteral("Web Browser")});
        QCOMPARE(offered, (QStringList{"Firefox", "Chromium", "Kestrune Menu Preview"}));
        QCOMPARE(app.m_nBrowserMode, 2);
        QCOMPARE(app.m_nKnownBrowser, 1);
        QCOMPARE(app.m_strBrowserPath, QStringLiteral("/opt/viewer"));
        QCOMPARE(settings.GetInt("Web Browser", "Use Default", 99), 2);
        QCOMPARE(settings.GetInt("Web Browser", "Known Browser", 99), 1);
        QCOMPARE(settings.GetString("Web Browser", "Specify Browser"), std::string("/opt/viewer"));

        // Cancel changes nothing, in the application or the store.
        dialogs.onDialog = [](QDialog* dialog) {
            Child<QRadioButton>(dialog, "radioDefault")->click();
            Child<QPushButton>(dialog, "buttonCancel")->click();
            return dialog->result();
        };
        QVERIFY(!browsercommands::RunWebBrowserCommand(app, nullptr));
        QCOMPARE(app.m_nBrowserMode, 2);
        QCOMPARE(settings.GetInt("Web Browser", "Use Default", 99), 2);
    }

    void settingsAreLoadedWithTheirDefaults() {
        FakeDialogService dialogs;
        kestrune::MemorySettingsStore settings;
        CKestruneApp app(QStringLiteral("/opt/kes"), dialogs, settings);
        app.m_nBrowserMode = 5;
        browsercommands::LoadBrowserSettings(app);
        QCOMPARE(app.m_nBrowserMode, 1);
        QCOMPARE(app.m_strBrowserPath, QString());
        QCOMPARE(app.m_nKnownBrowser, 0);
        settings.SetInt("Web Browser", "Use Default", 0);
        settings.SetString("Web Browser", "Specify Browser", "/usr/bin/x y");
        browsercommands::LoadBrowserSettings(app);
        QCOMPARE(app.m_nBrowserMode, 0);
        QCOMPARE(app.m_strBrowserPath, QStringLiteral("/usr/bin/x y"));
    }

    void sampleAndPreviewGoToTheChosenBrowser() {
        FakeDialogService dialogs;
        kestrune::MemorySettingsStore settings;
        FakeProgramLauncher launcher;
        CKestruneApp app(QStringLiteral("/opt/Kes trune"), dialogs, settings);
        app.SetLauncher(&launcher);

        app.m_nBrowserMode = 2;
        app.m_nKnownBrowser = 1;  // Chromium on our PATH
        QVERIFY(browsercommands::LaunchSamplePage(app));
        QVERIFY(browsercommands::LaunchPreviewPage(app));
        const QString chromium = m_programs.filePath("chromium");
        QCOMPARE(launcher.calls.size(), 2);
        QCOMPARE(launcher.calls[0], (FakeProgramLauncher::Call{false, chromium, "/opt/Kes trune/Sample/Samples.html", ""}));
        QCOMPARE(launcher.calls[1], (FakeProgramLauncher::Call{false, chromium, "/opt/Kes trune/tmp/~Kestrune.htm", ""}));

        // The browser went away since the choice was stored: the default program takes over.
        app.m_nKnownBrowser = 3;
        launcher.calls.clear();
        browsercommands::LaunchPreviewPage(app);
        QCOMPARE(launcher.calls, (QList<FakeProgramLauncher::Call>{{true, "/opt/Kes trune/tmp/~Kestrune.htm", "", ""}}));

        app.m_nBrowserMode = 0;
        app.m_strBrowserPath = QStringLiteral("/jdk/bin/appletviewer");
        launcher.calls.clear();
        browsercommands::LaunchPreviewPage(app);
        browsercommands::LaunchSamplePage(app);
        QCOMPARE(launcher.calls[0],
                 (FakeProgramLauncher::Call{false, "/jdk/bin/appletviewer", "~Kestrune.htm", "/opt/Kes trune/tmp"}));
        QCOMPARE(launcher.calls[1],
                 (FakeProgramLauncher::Call{false, "/jdk/bin/appletviewer", "/opt/Kes trune/Sample/Samples.html", ""}));
    }

    // A browser that refuses to run (as one started as root without its sandbox switch)
    // ends at once with an error: it is reported with the first line of its error output,
    // the default browser too. One that ends
    // well is not, and a missing program is said at once. The page's name reaches the
    // program as one argument, whatever it holds.
    void aBrowserEndingAtOnceWithAnErrorIsReported() {
        QTemporaryDir folder;
        const auto script = [&](const char* name, const QByteArray& body) {
            QFile file(folder.filePath(QLatin1String(name)));
            file.open(QIODevice::WriteOnly);
            file.write("#!/bin/sh\n" + body);
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
            return file.fileName();
        };
        const QString refusing = script("refusing", "echo 'Running as root without --no-sandbox is not supported.' >&2\n"
                                                    "echo 'See the documentation for details.' >&2\nexit 1\n");
        const QString fine = script("fine", "printf '%s' \"$1\" > '" + folder.filePath(QStringLiteral("argument")).toLocal8Bit() + "'\n");
        DesktopProgramLauncher launcher;
        QStringList reports;
        launcher.onEarlyFailure = [&](const QString& program, const QString& errors) { reports << program << errors; };

        const QString page = QStringLiteral("odd \"page\" $HOME; `x`.htm");
        QVERIFY(launcher.StartProgram(fine, page, folder.path()));
        QVERIFY(launcher.StartProgram(refusing, page, folder.path()));
        QTRY_COMPARE_WITH_TIMEOUT(reports.size(), 2, DesktopProgramLauncher::kWatchMilliseconds + 2000);
        QCOMPARE(reports[0], refusing);
        QCOMPARE(reports[1], QStringLiteral("Running as root without --no-sandbox is not supported."));
        QFile argument(folder.filePath(QStringLiteral("argument")));
        QVERIFY(argument.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(argument.readAll()), page);

        QVERIFY(!launcher.StartProgram(folder.filePath(QStringLiteral("missing")), page, folder.path()));
        QCOMPARE(launcher.LastError(), shelltexts::kProgramNotFound);
        QCOMPARE(reports.size(), 2);

        // The default browser goes through the desktop's opener, which ends with it.
        script("xdg-open", "echo \"[1:1:ERROR] cannot open $1\" >&2\necho more >&2\nexit 4\n");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toLocal8Bit() + ':' + path);
        const bool opened = launcher.OpenDocument(QStringLiteral("/tmp/page.htm"));
        qputenv("PATH", path);
        QVERIFY(opened);
        QTRY_COMPARE_WITH_TIMEOUT(reports.size(), 4, DesktopProgramLauncher::kWatchMilliseconds + 2000);
        QCOMPARE(reports[2], QString());
        QCOMPARE(reports[3], QStringLiteral("[1:1:ERROR] cannot open /tmp/page.htm"));
    }

private:
    QTemporaryDir m_programs;
    QByteArray m_savedPath;
};

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
