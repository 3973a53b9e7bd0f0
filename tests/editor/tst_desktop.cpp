// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a desktop starts it: a menu file named on the command line, and the
// private folder of a run that holds the preview.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ProgramFolders.h"
#include "support/FakeProgramLauncher.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "model/AppletParameters.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"
#include "common/MemorySettingsStore.h"
#include "support/FakeDialogService.h"
#include "support/FlowSteps.h"
#include "support/SilentHost.h"

using namespace kestrune;

namespace {
// A saved document "<folder>/<name>.htm" with its menu file, titled as given.
void SaveDocumentNamed(const QString& folder, const QString& name, const char* title) {
    CAppletParameters applet;
    applet.m_HTMLTitle = title;
    SilentHost host;
    QVERIFY(SaveDocument(applet, (folder + u'/' + name + QStringLiteral(".htm")).toStdString(),
                         KESTRUNE_BIN_DIR, host));
}

struct Program {
    QTemporaryDir appDir;
    FakeDialogService dialogs;
    MemorySettingsStore settings;
    std::unique_ptr<CEditorShell> shell;

    Program() {
        QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/Kestrune.tpl"), appDir.filePath(QStringLiteral("Kestrune.tpl")));
    }
    bool Start(const QString& file = {}) {
        shell = std::make_unique<CEditorShell>(ProgramFolders{appDir.path(), appDir.path()}, dialogs, settings);
        if (file.isEmpty()) return shell->Start();
        return Await([&](const CDocumentFlow::Then& then) { shell->Start(file, then); });
    }
    CKestruneDoc& Doc() { return shell->Doc(); }
};
}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void aMenuFileOpensThePageBesideIt() {
        QTemporaryDir documents;
        SaveDocumentNamed(documents.path(), QStringLiteral("site"), "Site menu");
        Program program;
        QVERIFY(program.Start(documents.filePath(QStringLiteral("site.kst"))));
        QCOMPARE(program.Doc().PathName(), documents.filePath(QStringLiteral("site.htm")));
        QCOMPARE(program.shell->App().m_applet.m_HTMLTitle, std::string("Site menu"));
        QVERIFY(!program.Doc().IsModified());
    }

    void aMenuFileWithoutItsPageOpensAloneAsUntitled() {
        QTemporaryDir documents;
        SaveDocumentNamed(documents.path(), QStringLiteral("lonely"), "Lonely menu");
        QVERIFY(QFile::remove(documents.filePath(QStringLiteral("lonely.htm"))));
        Program program;
        QVERIFY(program.Start(documents.filePath(QStringLiteral("lonely.kst"))));
        QVERIFY(program.Doc().PathName().isEmpty());
        QCOMPARE(program.Doc().Title(), QStringLiteral("Untitled"));
        QCOMPARE(program.shell->App().m_applet.m_HTMLTitle, std::string("Lonely menu"));
        QVERIFY(!program.Doc().IsModified());
        // Nothing was saved under the menu file's name.
        QVERIFY(!QFileInfo::exists(documents.filePath(QStringLiteral("lonely.htm"))));

        Program missing;
        QVERIFY(!missing.Start(documents.filePath(QStringLiteral("absent.kst"))));
        QCOMPARE(missing.dialogs.messages.size(), 1);
    }

    void theRunFolderIsPrivateAndHoldsThePreviewUntilTheEnd() {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString madeDir = MakePrivateRunFolder();
        QVERIFY(madeDir.startsWith(runtime.path() + QStringLiteral("/kestrune-")));
        const auto mode = std::filesystem::status(madeDir.toStdString()).permissions();
        QCOMPARE(mode & std::filesystem::perms::all, std::filesystem::perms::owner_all);
        const QString otherDir = MakePrivateRunFolder();
        QVERIFY(otherDir != madeDir);  // every run has its own
        QVERIFY(QDir(otherDir).removeRecursively());
        QVERIFY(QDir(madeDir).removeRecursively());

        // The run's folder is made by the first preview, and goes at the end.
        Program program;
        FakeProgramLauncher launcher;
        QVERIFY(program.Start());
        program.shell->App().SetLauncher(&launcher);
        QVERIFY(QDir(runtime.path()).isEmpty());
        program.shell->Frame().OnPreview();
        program.shell->Frame().OnPreview();
        const QStringList made = QDir(runtime.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made.size(), 1);
        const QString runDir = runtime.filePath(made.front());
        QCOMPARE(program.shell->App().m_strRunDir, runDir);
        QVERIFY(QFileInfo(runDir + QStringLiteral("/tmp/~Kestrune.htm")).isFile());
        QVERIFY(!QFileInfo::exists(program.appDir.filePath(QStringLiteral("tmp"))));
        QCOMPARE(launcher.calls.size(), 2);
        QCOMPARE(launcher.calls.front().target, runDir + QStringLiteral("/tmp/~Kestrune.htm"));

        program.shell->CleanUp();
        QVERIFY(!QFileInfo::exists(runDir));
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
