// SPDX-License-Identifier: GPL-3.0-or-later
// Publish to Site, Check Links and the item sheet's Browse button in the editor.
#include <QCheckBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

#include "app/ShellTexts.h"
#include "common/ClubSite.h"
#include "main/DlgPublishSite.h"
#include "main/SitePublishing.h"
#include "main/WizardInfoView.h"
#include "output/HtmlPageBuilder.h"
#include "properties/DlgItem.h"
#include "services/MenuFileWriter.h"
#include "site/MenuMarkers.h"
#include "site/SiteTexts.h"
#include "support/ProgramFixture.h"

using namespace kestrune;

namespace {

// The club's site with archive pages, its document saved at the top; returns the page.
QString WriteSite(const QString& folder, int archive) {
    CAppletParameters applet;
    const std::filesystem::path top = folder.toStdString();
    clubsite::WriteClubSite(top, applet, archive);
    const std::string page = (top / clubsite::kDocumentPage).string();
    SaveMenuFile(applet, page, top.string(), BuildHTML(applet), false, "", top.string());
    return QString::fromStdString(page);
}

std::string Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

// Publishes through the command with every page checked and "Add" set as given; cancel,
// when set, is pressed as soon as the publish's progress dialog shows.
QString PublishThroughCommand(ProgramFixture& program, bool add, bool cancel = false) {
    CDocumentFlow& flow = program.Frame().Flow();
    bool publishing = false;
    program.dialogs.onDialog = [&](QDialog* dialog) {
        auto* choice = qobject_cast<CDlgPublishSite*>(dialog);
        if (!choice) return int(QDialog::Rejected);
        choice->findChild<QCheckBox*>()->setChecked(add);
        publishing = true;
        flow.Work().SetDialogDelay(0);
        return int(QDialog::Accepted);
    };
    const auto connection = QObject::connect(&flow.Work(), &CBackgroundWork::dialogShown, [&](QWidget* shown) {
        if (cancel && publishing) static_cast<QProgressDialog*>(shown)->findChild<QPushButton*>()->click();
    });
    QString report;
    const auto done = QObject::connect(&program.Frame().Publishing(), &CSitePublishing::finished,
                                       [&](const QString& text) { report = text; });
    program.Action(cmd::FilePublish)->trigger();
    if (!QTest::qWaitFor([&] { return !report.isEmpty(); }, 120000)) qWarning("the publish never ended");
    QObject::disconnect(connection);
    QObject::disconnect(done);
    program.dialogs.onDialog = {};
    return report;
}

}  // namespace

class TestSite : public QObject {
    Q_OBJECT
private slots:
    void publishSavesWithTheRuntimeAndReportsEveryPageAndAgainChangesNothing() {
        ProgramFixture program;
        const QString page = WriteSite(program.folder.filePath(QStringLiteral("site")), 0);
        QVERIFY(program.Start(page));
        const QString first = PublishThroughCommand(program, true);
        QStringList lines = first.split(QLatin1Char('\n'));
        QCOMPARE(lines.takeFirst(), QStringLiteral("menu.htm: ") + QString::fromLatin1(sitetexts::kSaved));
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines.filter(QStringLiteral(": added")).size(), 13);
        QCOMPARE(lines.filter(QStringLiteral(": updated")).size(), 2);
        QVERIFY(QFile::exists(program.folder.filePath(QStringLiteral("site/kestrune-menu.js"))));
        QCOMPARE(program.Frame().InfoView()->MessageText(), first);

        const QString again = PublishThroughCommand(program, true);
        QCOMPARE(again.split(QLatin1Char('\n')).filter(QStringLiteral(": unchanged")).size(), 16);
    }

    void cancelStopsAPublishOfTenThousandPagesAndLeavesTheRestAsItWas() {
        ProgramFixture program;
        const QString page = WriteSite(program.folder.filePath(QStringLiteral("site")), 9985);
        QVERIFY(program.Start(page));
        QStringList lines = PublishThroughCommand(program, true, true).split(QLatin1Char('\n'));
        lines.removeFirst();
        QCOMPARE(lines.size(), 10000);
        int notDone = 0;
        // Every page is either as it was (no markers: only two had them, and those come
        // first) or carries the whole menu.
        for (const QString& line : lines) {
            const QString path = line.section(QStringLiteral(": "), 0, 0);
            const std::string text = Read(program.folder.filePath(QStringLiteral("site/") + path));
            const bool cancelled = line.endsWith(QString::fromLatin1(sitetexts::kNotPublished));
            notDone += cancelled;
            const bool hadMarkers = path == QStringLiteral("index.html") || path == QStringLiteral("teams/u10.html");
            QCOMPARE(FindMenuMarkers(text).state == MenuMarkers::State::Found, !cancelled || hadMarkers);
            if (!cancelled) QVERIFY(text.find("</nav>") != std::string::npos);
        }
        QVERIFY2(notDone > 0 && notDone < 10000, qPrintable(QString::number(notDone)));
        QVERIFY(!program.Frame().Flow().IsWorking());
        QVERIFY(!program.Doc().IsModified());
    }

    void checkLinksReportsIntoTheMessagePane() {
        ProgramFixture program;
        const QString page = WriteSite(program.folder.filePath(QStringLiteral("site")), 0);
        QFile::remove(program.folder.filePath(QStringLiteral("site/shop.html")));
        QVERIFY(program.Start(page));
        program.Trigger(cmd::BuildCheckLinks);
        const QString report = program.Frame().InfoView()->MessageText();
        QVERIFY2(report.contains(QStringLiteral("Item \"Shop\" links to \"shop.html\"")), qPrintable(report));
        QVERIFY(report.contains(QStringLiteral("Leaving the site:\t1 item")));
    }

    void browseStoresAPageOfTheSiteRelativeToTheDocumentAndRefusesOthers() {
        ProgramFixture program;
        const QString page = WriteSite(program.folder.filePath(QStringLiteral("site")), 0);
        QVERIFY(program.Start(page));
        CVoraneItem* item = program.Applet().m_menus[0]->m_items[0].get();
        program.Doc().m_pCurItem = item;
        program.Doc().m_pCurMenu = program.Applet().m_menus[0].get();
        CDlgItem sheet(program.Doc());
        sheet.LoadFromModel();
        auto* browse = sheet.findChild<QPushButton*>(QStringLiteral("linkBrowseButton"));
        QVERIFY(browse);
        program.dialogs.openFileNames.push_back(program.folder.filePath(QStringLiteral("site/teams/../teams/u10.html")));
        browse->click();
        QCOMPARE(QString::fromStdString(item->m_link), QStringLiteral("teams/u10.html"));
        program.dialogs.openFileNames.push_back(program.folder.filePath(QStringLiteral("elsewhere.html")));
        browse->click();
        QCOMPARE(QString::fromStdString(item->m_link), QStringLiteral("teams/u10.html"));
        QVERIFY(program.dialogs.messages.last().startsWith(shelltexts::kOutsideSite.section(QLatin1Char('%'), 0, 0)));
    }
};

QTEST_MAIN(TestSite)
#include "tst_site.moc"
