// SPDX-License-Identifier: GPL-3.0-or-later
// An installation as a package makes it: prefix /usr into a staging folder, the shipped
// data read-only, then the installed program and the pieces the desktop reads.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

#include "app/ProgramFolders.h"
#include "model/AppletParameters.h"
#include "base/SettingsStore.h"
#include "services/TemplateStore.h"

namespace {

struct Result {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Result RunProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(180000)) return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MakeReadOnly(const QString& root) {
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext()) paths << it.next();
    for (const QString& path : paths) {
        QFile::Permissions permissions = QFile::permissions(path);
        permissions &= ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther);
        QFile::setPermissions(path, permissions);
    }
}

// The long options a text names ("--app-dir"); roff writes a dash as "\-".
std::set<QString> OptionsIn(QString text) {
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    std::set<QString> options;
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*[a-z]"));
    for (auto it = option.globalMatch(text); it.hasNext();) options.insert(it.next().captured());
    return options;
}

QString Joined(const std::set<QString>& options) { return QStringList(options.begin(), options.end()).join(u' '); }

}  // namespace

class InstallTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_scratch;
    QString m_stage;
    QString m_share;
    QString m_program;
    QProcessEnvironment m_environment;
    QByteArray m_shippedTemplates;

    QString Tool(const char* name) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (path.isEmpty()) qWarning("%s is missing: scripts/install-deps.sh installs it", name);
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_scratch.isValid());
        m_stage = m_scratch.filePath(QStringLiteral("stage"));
        m_share = m_stage + QStringLiteral("/usr/share/kestrune");
        m_program = m_stage + QStringLiteral("/usr/bin/kestrune");
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_scratch.filePath(QStringLiteral("home/data")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_scratch.filePath(QStringLiteral("home/config")));
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.remove(QStringLiteral("DESTDIR"));

        QProcessEnvironment installing = m_environment;
        installing.insert(QStringLiteral("DESTDIR"), m_stage);
        const Result install = RunProgram(QStringLiteral(KESTRUNE_CMAKE),
                                          {QStringLiteral("--install"), QStringLiteral(KESTRUNE_BUILD_DIR),
                                           QStringLiteral("--prefix"), QStringLiteral("/usr")},
                                          installing);
        QVERIFY2(install.status == 0, install.err.constData());
        QVERIFY(QFileInfo(m_program).isExecutable());
        m_shippedTemplates = ReadFile(m_share + QStringLiteral("/Kestrune.tpl"));
        QVERIFY(!m_shippedTemplates.isEmpty());
        MakeReadOnly(m_share);
    }

    void everyPieceIsInItsPlace() {
        const QString usr = m_stage + QStringLiteral("/usr");
        QStringList expected = {
            QStringLiteral("share/kestrune/Kestrune.tpl"),
            QStringLiteral("share/kestrune/kestrune.html"),
            QStringLiteral("share/kestrune/Sample/Samples.html"),
            QStringLiteral("share/applications/kestrune.desktop"),
            QStringLiteral("share/metainfo/com.quellary.kestrune.metainfo.xml"),
            QStringLiteral("share/mime/packages/kestrune.xml"),
            QStringLiteral("share/man/man1/kestrune.1.gz"),
            QStringLiteral("share/icons/hicolor/scalable/apps/kestrune.svg"),
        };
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/kestrune.png").arg(size);
        // The sound module sits where the installed program looks for it.
        if (QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/kestrune-sound.so")))
            expected << QStringLiteral("lib/kestrune/kestrune-sound.so");
        for (const QString& piece : expected) QVERIFY2(QFileInfo(usr + u'/' + piece).isFile(), qPrintable(piece));
        // Everything data/ holds ships, whatever is added there later.
        QDirIterator it(QStringLiteral(KESTRUNE_SOURCE_DIR "/data"), QDir::Files, QDirIterator::Subdirectories);
        const QDir source(QStringLiteral(KESTRUNE_SOURCE_DIR "/data"));
        while (it.hasNext()) {
            const QString relative = source.relativeFilePath(it.next());
            QVERIFY2(QFileInfo(m_share + u'/' + relative).isFile(), qPrintable(relative));
        }
    }

    void theInstalledProgramRunsOnItsReadOnlyData() {
        const Result version = RunProgram(m_program, {QStringLiteral("--version")}, m_environment);
        QCOMPARE(version.status, 0);
        QVERIFY(version.out.startsWith("Kestrune "));

        const QString page = m_scratch.filePath(QStringLiteral("out/menu.htm"));
        const Result saved =
            RunProgram(m_program, {QStringLiteral("--new"), QStringLiteral("0"), QStringLiteral("--save"), page},
                       m_environment);
        QVERIFY2(saved.status == 0, saved.err.constData());
        QVERIFY(QFileInfo(m_scratch.filePath(QStringLiteral("out/menu.kst"))).isFile());
        // The script runtime comes from the shared data folder.
        const QString withRuntime = m_scratch.filePath(QStringLiteral("runtime/menu.htm"));
        const Result runtime = RunProgram(m_program,
                                          {QStringLiteral("--new"), QStringLiteral("0"), QStringLiteral("--save"),
                                           withRuntime, QStringLiteral("--runtime")},
                                          m_environment);
        QVERIFY2(runtime.status == 0, runtime.err.constData());
        const QByteArray shippedRuntime = ReadFile(m_share + QStringLiteral("/kestrune-menu.js"));
        QVERIFY(!shippedRuntime.isEmpty());
        QCOMPARE(ReadFile(m_scratch.filePath(QStringLiteral("runtime/kestrune-menu.js"))), shippedRuntime);

        const Result check = RunProgram(m_program, {QStringLiteral("--check"), page}, m_environment);
        QCOMPARE(check.status, 0);
        QVERIFY(check.out.contains("Recommend:"));
        QCOMPARE(ReadFile(m_share + QStringLiteral("/Kestrune.tpl")), m_shippedTemplates);
    }

    void aTemplateSaveLandsInTheUsersCopy() {
        qputenv("XDG_DATA_HOME", m_environment.value(QStringLiteral("XDG_DATA_HOME")).toLocal8Bit());
        const ProgramFolders folders = FindProgramFolders(m_stage + QStringLiteral("/usr/bin"));
        QCOMPARE(folders.appDir, m_share);
        const QString userDir = m_environment.value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/Quellary/Kestrune");
        QCOMPARE(folders.userDir, userDir);

        kestrune::MemorySettingsStore settings;
        kestrune::CTemplateStore store(settings, folders.appDir.toStdString(), folders.userDir.toStdString());
        store.SeedTemplateList();
        kestrune::CAppletParameters applet;
        store.LoadTemplate(applet, 0);
        applet.m_HTMLTitle = "Mine";
        std::string error;
        QVERIFY2(store.SaveTemplate(applet, "Mine", 0, &error), error.c_str());

        QCOMPARE(ReadFile(m_share + QStringLiteral("/Kestrune.tpl")), m_shippedTemplates);
        const QByteArray userCopy = ReadFile(userDir + QStringLiteral("/Kestrune.tpl"));
        QVERIFY(userCopy.startsWith(m_shippedTemplates));
        QVERIFY(userCopy.contains("[Mine]\r\n"));
        kestrune::CAppletParameters loaded;
        store.LoadTemplate(loaded, 0);
        QCOMPARE(QString::fromStdString(loaded.m_HTMLTitle), QStringLiteral("Mine"));
    }

    void theBuildFolderStaysPortable() {
        const ProgramFolders folders = FindProgramFolders(QStringLiteral(KESTRUNE_BIN_DIR));
        QCOMPARE(folders.appDir, QDir::cleanPath(QStringLiteral(KESTRUNE_BIN_DIR)));
        if (!IsSystemLocation(folders.appDir)) QCOMPARE(folders.userDir, folders.appDir);
        QVERIFY(IsSystemLocation(QStringLiteral("/usr/share/kestrune")));
        QVERIFY(IsSystemLocation(QStringLiteral("/opt/kestrune/bin")));
        QVERIFY(!IsSystemLocation(QStringLiteral("/usrlocal/kestrune")));
        QVERIFY(!IsSystemLocation(QStringLiteral("/home/user/kestrune/build/bin")));
    }

    void desktopEntryAndMetainfoValidate() {
        const QString desktopValidate = Tool("desktop-file-validate");
        const QString appstream = Tool("appstreamcli");
        QVERIFY(!desktopValidate.isEmpty() && !appstream.isEmpty());
        const Result desktop = RunProgram(
            desktopValidate, {m_stage + QStringLiteral("/usr/share/applications/kestrune.desktop")}, m_environment);
        QVERIFY2(desktop.status == 0, desktop.out.constData());
        const Result metainfo = RunProgram(
            appstream,
            {QStringLiteral("validate"), QStringLiteral("--pedantic"), QStringLiteral("--no-net"),
             m_stage + QStringLiteral("/usr/share/metainfo/com.quellary.kestrune.metainfo.xml")},
            m_environment);
        QVERIFY2(metainfo.status == 0, metainfo.out.constData());
    }

    // Software centres show the published copy of the shipped screenshot at the size the
    // metainfo states; the licence is the program's.
    void theMetainfoScreenshotShipsAtItsStatedSize() {
        const QString metainfo =
            QString::fromUtf8(ReadFile(m_stage + QStringLiteral("/usr/share/metainfo/com.quellary.kestrune.metainfo.xml")));
        QVERIFY(metainfo.contains(QStringLiteral("<project_license>GPL-3.0-or-later")));
        const QRegularExpressionMatch image =
            QRegularExpression(QStringLiteral("<image type=\"source\" width=\"(\\d+)\" height=\"(\\d+)\">[^<]*/([^/<]+)</image>"))
                .match(metainfo);
        QVERIFY(image.hasMatch());
        QImageReader shipped(m_share + QStringLiteral("/screenshots/") + image.captured(3));
        QCOMPARE(shipped.format(), QByteArray("png"));
        QCOMPARE(shipped.size(), QSize(image.captured(1).toInt(), image.captured(2).toInt()));
    }

    void theFileTypeClaimsMenuFiles() {
        const QString update = Tool("update-mime-database");
        QVERIFY(!update.isEmpty());
        const QString mime = m_scratch.filePath(QStringLiteral("mime"));
        QVERIFY(QDir().mkpath(mime + QStringLiteral("/packages")));
        QVERIFY(QFile::copy(m_stage + QStringLiteral("/usr/share/mime/packages/kestrune.xml"),
                            mime + QStringLiteral("/packages/kestrune.xml")));
        const Result built = RunProgram(update, {mime}, m_environment);
        QVERIFY2(built.status == 0, built.err.constData());
        QVERIFY(ReadFile(mime + QStringLiteral("/globs2")).contains("application/x-kestrune-menu:*.kst"));
    }

    void theManualPageListsTheOptionsOfHelp() {
        const Result help = RunProgram(m_program, {QStringLiteral("--help")}, m_environment);
        QCOMPARE(help.status, 0);
        const Result man = RunProgram(QStringLiteral("gzip"),
                                      {QStringLiteral("-dc"), m_stage + QStringLiteral("/usr/share/man/man1/kestrune.1.gz")},
                                      m_environment);
        QCOMPARE(man.status, 0);
        const std::set<QString> helpOptions = OptionsIn(QString::fromUtf8(help.out));
        const std::set<QString> manOptions = OptionsIn(QString::fromUtf8(man.out));
        QVERIFY(helpOptions.count(QStringLiteral("--new")) == 1);
        QCOMPARE(Joined(manOptions), Joined(helpOptions));
    }

    // A package built at the root of a checkout leaves debhelper's folders there; the
    // source check takes git's list of files, which must not name them.
    void debhelperOutputIsNoSourceOfACheckout() {
        const QString git = Tool("git");
        QVERIFY(!git.isEmpty());
        QTemporaryDir checkout;
        QVERIFY(QDir(checkout.path()).mkpath(QStringLiteral("tools")));
        for (const char* file : {".gitignore", "tools/spdx-headers.sh"})
            QVERIFY(QFile::copy(QStringLiteral(KESTRUNE_SOURCE_DIR "/") + QLatin1String(file),
                                checkout.filePath(QLatin1String(file))));
        QCOMPARE(RunProgram(git, {QStringLiteral("-C"), checkout.path(), QStringLiteral("init"), QStringLiteral("-q")},
                            m_environment)
                     .status,
                 0);
        for (const char* generated : {"obj-x86_64-linux-gnu/editor/moc_x.cpp", "debian/kestrune/usr/bin/x.sh",
                                      "debian/.debhelper/generated/x.sh", "debian/tmp/usr/x.h", "debian/files",
                                      "debian/kestrune.substvars", "debian/debhelper-build-stamp"}) {
            const QString path = checkout.filePath(QLatin1String(generated));
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
        }
        const Result check = RunProgram(QStringLiteral("/bin/bash"),
                                        {checkout.filePath(QStringLiteral("tools/spdx-headers.sh")), QStringLiteral("--check")},
                                        m_environment);
        QVERIFY2(check.status == 0, check.out.constData());
    }

    void cleanupTestCase() {
        // The staged share folder was made read-only; the scratch folder must go whole.
        QDirIterator it(m_scratch.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) QFile::setPermissions(it.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
