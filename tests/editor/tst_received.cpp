// SPDX-License-Identifier: GPL-3.0-or-later
// Documents received from strangers, through the real program: a received menu never
// publishes a script or a page of its own, never takes files from outside its folder, and
// a save is whole or fails with its reason.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/DocumentFile.h"
#include "support/ProgramRun.h"
#include "support/SilentHost.h"

using namespace kestrune;

namespace {

QString In(const QTemporaryDir& dir, const char* name) { return dir.filePath(QString::fromLatin1(name)); }

// A menu file saved in dir/received whose items name the given images (relative names are
// taken from that folder).
QString ReceivedMenu(const QTemporaryDir& dir, const QStringList& images) {
    CAppletParameters applet;
    CVorane* menu = applet.NewTopLevelMenu();
    for (const QString& image : images) {
        CVoraneItem* item = menu->InsertNewItem();
        item->m_label = "Item";
        item->m_normalImage = image.toStdString();
    }
    QDir().mkpath(In(dir, "received"));
    SilentHost host;
    SaveDocument(applet, In(dir, "received/menu.htm").toStdString(), In(dir, "noapp").toStdString(), host);
    return In(dir, "received/menu.kst");
}

}  // namespace

class ReceivedTest : public QObject {
    Q_OBJECT

private slots:
    void mediaNeedTheirKindsExtensionAndNeverTakeThePagesOwnNames() {
        QTemporaryDir dir;
        const QByteArray script = "GIF89a=1;document.title=\"PWNED\";";
        QVERIFY(WriteBytes(In(dir, "received/kestrune-menu.js"), script));
        QVERIFY(WriteBytes(In(dir, "received/evil.html"), "GIF89a<script>alert(1)</script>"));
        QVERIFY(WriteBytes(In(dir, "received/.htaccess.gif"), "GIF89a"));
        QVERIFY(WriteBytes(In(dir, "received/site.htm.png"), "\x89PNG\r\n\x1A\n"));
        QVERIFY(WriteBytes(In(dir, "received/LOGO.GIF"), "GIF89a logo"));
        const QString menu = ReceivedMenu(dir, {QStringLiteral("kestrune-menu.js"), QStringLiteral("evil.html"),
                                                QStringLiteral(".htaccess.gif"), QStringLiteral("LOGO.GIF")});

        const ProgramResult save =
            RunProgram({QStringLiteral("--save"), menu, In(dir, "out/site.htm"), QStringLiteral("--runtime")}, dir.path());
        QCOMPARE(save.status, 0);
        QVERIFY2(save.err.contains(QStringLiteral("kestrune-menu.js\" is not an image file.")), qPrintable(save.err));
        QVERIFY2(save.err.contains(QStringLiteral("evil.html\" is not an image file.")), qPrintable(save.err));
        QVERIFY2(save.err.contains(QStringLiteral(".htaccess.gif\" has the name of a file the page itself needs, or a "
                                                  "hidden name")),
                 qPrintable(save.err));
        QVERIFY(!QFile::exists(In(dir, "out/evil.html")));
        QVERIFY(!QFile::exists(In(dir, "out/.htaccess.gif")));
        QCOMPARE(ReadBytes(In(dir, "out/LOGO.GIF")), QByteArray("GIF89a logo"));
        QCOMPARE(ReadBytes(In(dir, "out/kestrune-menu.js")), ReadBytes(QStringLiteral(KESTRUNE_BIN_DIR "/kestrune-menu.js")));

        const ProgramResult check = RunProgram({QStringLiteral("--check"), menu}, dir.path());
        QCOMPARE(check.status, 0);
        QVERIFY(check.out.contains(QStringLiteral("evil.html\" is not an image file.")));
    }

    // In any case: a folder served from a file system without case takes PAGE.GIF for page.gif.
    void aMediaFileNamedLikeThePageIsNotCopiedOverIt() {
        for (const char* name : {"page.gif", "PAGE.GIF"}) {
            QTemporaryDir dir;
            const QString media = QString::fromLatin1(name);
            QVERIFY(WriteBytes(dir.filePath(QStringLiteral("received/") + media), "GIF89a picture"));
            const QString menu = ReceivedMenu(dir, {media});
            const ProgramResult save = RunProgram({QStringLiteral("--save"), menu, In(dir, "out/page.gif")}, dir.path());
            QCOMPARE(save.status, 0);
            QVERIFY2(save.err.contains(QStringLiteral("has the name of a file the page itself needs")),
                     qPrintable(save.err));
            QVERIFY(ReadBytes(In(dir, "out/page.gif")).startsWith("<html>"));
            QCOMPARE(QDir(In(dir, "out")).entryList({QStringLiteral("*.gif"), QStringLiteral("*.GIF")}, QDir::Files),
                     QStringList{QStringLiteral("page.gif")});
        }
    }

    void aRuntimeThatCannotBeWrittenFailsTheSaveAndReplacesNothing() {
        QTemporaryDir dir;
        const QString menu = ReceivedMenu(dir, {});
        QVERIFY(WriteBytes(In(dir, "elsewhere/kestrune-menu.js"), "keep"));
        QDir().mkpath(In(dir, "out"));
        QVERIFY(QFile::link(In(dir, "elsewhere/kestrune-menu.js"), In(dir, "out/kestrune-menu.js")));
        QVERIFY(WriteBytes(In(dir, "out/site.htm"), "old page"));

        const ProgramResult save =
            RunProgram({QStringLiteral("--save"), menu, In(dir, "out/site.htm"), QStringLiteral("--runtime")}, dir.path());
        QCOMPARE(save.status, 1);
        QVERIFY2(save.err.contains(QStringLiteral("Save as file failed!")), qPrintable(save.err));
        QVERIFY2(save.err.contains(QStringLiteral("kestrune-menu.js")), qPrintable(save.err));
        QCOMPARE(ReadBytes(In(dir, "out/site.htm")), QByteArray("old page"));
        QVERIFY(!QFile::exists(In(dir, "out/site.kst")));
        QCOMPARE(ReadBytes(In(dir, "elsewhere/kestrune-menu.js")), QByteArray("keep"));
        QCOMPARE(QDir(In(dir, "out")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
    }

    void aReadOnlyPageIsNotReplaced() {
        QTemporaryDir dir;
        const QString menu = ReceivedMenu(dir, {});
        QVERIFY(WriteBytes(In(dir, "out/site.htm"), "kept page"));
        QVERIFY(QFile::setPermissions(In(dir, "out/site.htm"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const ProgramResult save = RunProgram({QStringLiteral("--save"), menu, In(dir, "out/site.htm")}, dir.path());
        QCOMPARE(save.status, 1);
        QVERIFY2(save.err.contains(QStringLiteral("is read-only")), qPrintable(save.err));
        QCOMPARE(ReadBytes(In(dir, "out/site.htm")), QByteArray("kept page"));
    }

    void mediaThroughALinkedFolderAreRefusedAndFarAbsoluteOnesNamed() {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(In(dir, "secret/p.jpg"), "\xFF\xD8\xFF secret"));
        QVERIFY(WriteBytes(In(dir, "pictures/far.gif"), "GIF89a far"));
        QDir().mkpath(In(dir, "received"));
        QVERIFY(QFile::link(In(dir, "secret"), In(dir, "received/sub")));
        const QString menu = ReceivedMenu(dir, {QStringLiteral("sub/p.jpg"), In(dir, "pictures/far.gif")});

        const ProgramResult save = RunProgram({QStringLiteral("--save"), menu, In(dir, "out/site.htm")}, dir.path());
        QCOMPARE(save.status, 0);
        QVERIFY2(save.err.contains(QStringLiteral("sub/p.jpg\" is a link leading outside its folder")), qPrintable(save.err));
        QVERIFY(!QFile::exists(In(dir, "out/p.jpg")));
        QVERIFY2(save.err.contains(QStringLiteral("far.gif\" lies outside the document's folder")), qPrintable(save.err));
        QCOMPARE(ReadBytes(In(dir, "out/far.gif")), QByteArray("GIF89a far"));
    }

    void readCommandsLeaveTheFolderAsItIsAndSkipHugeLeftovers() {
        QTemporaryDir dir;
        const QString menu = ReceivedMenu(dir, {});
        const QString leftover = In(dir, "received/.menu.htm.tmp123456789abc");
        QVERIFY(WriteBytes(leftover, ReadBytes(In(dir, "received/menu.htm"))));
        QVERIFY(WriteBytes(In(dir, "received/menu.htm"), "not the page of this menu"));
        {
            QFile huge(In(dir, "received/.menu.htm.tmpffffffffffff"));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.resize(qint64{1} << 32));  // sparse: costs nothing on disk
        }
        for (const char* command : {"--params", "--check", "--html"}) {
            const ProgramResult read = RunProgram({QString::fromLatin1(command), In(dir, "received/menu.htm")}, dir.path());
            QCOMPARE(read.status, 0);
            QVERIFY(QFile::exists(leftover));
            QCOMPARE(ReadBytes(In(dir, "received/menu.htm")), QByteArray("not the page of this menu"));
        }
    }

    void aPagesParametersAreReadUpToWhatItsSizeCarries() {
        // 70,000 items in one menu: more parameters than the fixed cap of 65,536 admitted.
        QTemporaryDir dir;
        CAppletParameters applet;
        CVorane* menu = applet.NewTopLevelMenu();
        for (int i = 0; i < 70000; ++i) menu->InsertNewItem()->m_label = "x";
        SilentHost host;
        QVERIFY(QDir().mkpath(In(dir, "big")));
        QVERIFY(SaveDocument(applet, In(dir, "big/menu.htm").toStdString(), In(dir, "noapp").toStdString(), host));
        const ProgramResult layout = RunProgram({QStringLiteral("--layout"), In(dir, "big/menu.htm")}, dir.path(), 120000);
        QVERIFY(layout.finished);
        QVERIFY2(layout.status == 0, qPrintable(layout.err));

        // A hand-made page with more parameters than its size can carry names that reason.
        QByteArray page = "<applet><param name=ApStyle value=\"000000,,,0,0,0,\"><param name=MStyle-0 value=\"\">";
        for (int i = 0; i < 5000; ++i) page += "<param name=A>";
        page += "<param name=Misc value=\"1,0,-0,\"></applet>";
        QVERIFY(WriteBytes(In(dir, "hand/menu.htm"), page));
        const ProgramResult refused = RunProgram({QStringLiteral("--layout"), In(dir, "hand/menu.htm")}, dir.path());
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("parameters, more than a page of its size")), qPrintable(refused.err));
    }

    void aTemplateFolderOfAnotherUserOrWritableByOthersIsNotUsed() {
        // Written by the group is written by others too.
        for (const mode_t mode : {mode_t{0777}, mode_t{0775}}) {
            QTemporaryDir dir;
            const QString userFolder = dir.path() + QStringLiteral("/.local/share/Quellary/Kestrune");
            QVERIFY(WriteBytes(userFolder + QStringLiteral("/Kestrune.tpl"),
                               "[Normal]\r\nApStyle=Planted,0,400,200,0,,\r\nNotice=Vorane2.0\r\n"));
            QVERIFY(::chmod(QFile::encodeName(userFolder).constData(), mode) == 0);
            // An installed program: its data in share/kestrune, the user's own in the data home.
            QVERIFY(QDir().mkpath(In(dir, "inst/bin")));
            QVERIFY(QDir().mkpath(In(dir, "inst/share/kestrune")));
            QVERIFY(QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/Kestrune.tpl"), In(dir, "inst/share/kestrune/Kestrune.tpl")));
            const ProgramResult made =
                RunProgram({QStringLiteral("--app-dir"), In(dir, "inst/bin"), QStringLiteral("--new"), QStringLiteral("0"),
                            QStringLiteral("--save"), In(dir, "site/menu.htm")},
                           dir.path());
            QCOMPARE(made.status, 0);
            QVERIFY2(made.err.contains(QStringLiteral("is not your own or may be written by others")), qPrintable(made.err));
            QVERIFY(!ReadBytes(In(dir, "site/menu.htm")).contains("Planted"));
        }
    }

    void aSettingsFileThatIsAPipeNeitherBlocksNorStopsACommand() {
        QTemporaryDir dir;
        const QString menu = ReceivedMenu(dir, {});
        QVERIFY(QDir().mkpath(In(dir, "config/Quellary")));
        QVERIFY(::mkfifo(QFile::encodeName(In(dir, "config/Quellary/Kestrune.conf")).constData(), 0600) == 0);
        const ProgramResult params = RunProgram({QStringLiteral("--params"), menu}, dir.path(), 20000);
        QVERIFY(params.finished);
        QCOMPARE(params.status, 0);
        QVERIFY2(params.err.contains(QStringLiteral("is not a regular file")), qPrintable(params.err));
    }
};

QTEST_MAIN(ReceivedTest)
#include "tst_received.moc"
