// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "output/HtmlPageBuilder.h"
#include "app/QSettingsStore.h"
#include "model/VoraneItem.h"
#include "output/ParameterReader.h"
#include "services/DocumentFile.h"
#include "services/DocumentHost.h"
#include "preview/PreviewSource.h"
#include "properties/DlgAppletParam.h"
#include "properties/DlgItem.h"
#include "app/TextConvert.h"
#include "tst_properties_support.h"
#include "support/SilentHost.h"

using namespace kestrune;

namespace {

// What users type: quotes that would end an attribute, markup, ampersands, letters of
// the code page and characters beyond it.
const QString kTitle = QStringLiteral("</title><h1>x \"Caf\u00e9\" & \u2605");
const QString kLabel = QStringLiteral("Caf\u00e9 \u00dcn\u00efc\u00f6d\u00e9 \u2605\nHome\"><script>alert(1)</script>");
const QString kDescription = QStringLiteral("Say \"Hi\" now & <b>then</b> \u20ac5 \U0001F600");
const QString kLink = QStringLiteral("End\"></applet><p>x?a=1&b=\u00e9");
const QString kTarget = QStringLiteral("fr\u00e4me\"");

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct TypedDocument {
    EditorEnv env;
    CVoraneItem* item = nullptr;

    // Types every text into the property pages, as the user would.
    TypedDocument() {
        CVorane* menu = AddMenu(env.Applet(), {"x", "second"});
        item = menu->GetItem(0);
        env.Edit(menu, item);
        CDlgItem page(env.doc);
        page.LoadFromModel();
        Find<QPlainTextEdit>(&page, "labelEdit")->setPlainText(kLabel);
        Find<QLineEdit>(&page, "descriptionEdit")->setText(kDescription);
        Find<QLineEdit>(&page, "linkEdit")->setText(kLink);
        Find<QComboBox>(&page, "targetCombo")->setEditText(kTarget);
        if (!page.SaveToModel()) qFatal("item page refused the texts");
        CDlgAppletParam applet(env.doc);
        applet.LoadFromModel();
        Find<QLineEdit>(&applet, "nameEdit")->setText(kTitle);
        if (!applet.SaveToModel()) qFatal("applet page refused the title");
    }
};

void CompareWithTyped(const CAppletParameters& applet) {
    QCOMPARE(convert::ToQt(applet.m_HTMLTitle), kTitle);
    QVERIFY(!applet.m_menus.empty() && !applet.m_menus[0]->m_items.empty());
    const CVoraneItem& item = *applet.m_menus.at(0)->m_items.at(0);
    QCOMPARE(convert::LabelToWidget(item.m_label), kLabel);
    QCOMPARE(convert::ToQt(item.m_description), kDescription);
    QCOMPARE(convert::ToQt(item.m_link), kLink);
    QCOMPARE(convert::ToQt(item.m_target), kTarget);
}

// The DOM a real browser builds from the page, serialised; empty without a browser.
QByteArray BrowserDom(const QString& pagePath, const QString& profile) {
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser.isEmpty()) return {};
    QProcess process;
    process.start(browser, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                            QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"),
                            QStringLiteral("--disable-background-networking"),
                            QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                            QStringLiteral("--user-data-dir=") + profile, QStringLiteral("--dump-dom"),
                            QUrl::fromLocalFile(pagePath).toString()});
    if (!process.waitForFinished(90000)) {
        process.kill();
        process.waitForFinished();
        qFatal("the browser did not finish");
    }
    return process.readAllStandardOutput();
}

}  // namespace

class PageFidelityTest : public QObject {
    Q_OBJECT

private slots:
    void typedTextsAreWindows1252WithReferencesBeyondIt() {
        TypedDocument typed;
        QCOMPARE(typed.item->m_label,
                 std::string("Caf\xE9 \xDCn\xEF" "c\xF6" "d\xE9 &#9733;\r\nHome\"><script>alert(1)</script>"));
        QCOMPARE(typed.item->m_description, std::string("Say \"Hi\" now & <b>then</b> \x80" "5 &#128512;"));
        QCOMPARE(typed.env.Applet().m_HTMLTitle, std::string("</title><h1>x \"Caf\xE9\" & &#9733;"));
        CompareWithTyped(typed.env.Applet());

        // Every byte of a menu file, undefined ones included, survives the editor.
        std::string allBytes;
        for (int byte = 1; byte < 256; ++byte) allBytes += static_cast<char>(byte);
        QCOMPARE(convert::FromQt(convert::ToQt(allBytes)), allBytes);
        QCOMPARE(convert::ToQt("\x81\x8D\x8F\x90\x9D"), QStringLiteral("\u0081\u008d\u008f\u0090\u009d"));
        // Only the form the editor writes is shown as the character.
        QCOMPARE(convert::ToQt("&#9733; &#x2605; &#233; &amp;"), QStringLiteral("\u2605 &#x2605; &#233; &amp;"));
    }

    void templateNamesAreTextAndOtherSettingsPaths() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("settings.ini"));
        {
            QSettingsStore store(ini);
            store.SetString("TEMPLATE", "TemplateKey", "Caf\xE9 &#9733;,Normal,");
            store.SetString("Recent File List", "File1", "/home/jos\xC3\xA9/menu.htm");
            QCOMPARE(store.GetString("TEMPLATE", "TemplateKey"), std::string("Caf\xE9 &#9733;,Normal,"));
            QCOMPARE(store.GetString("Recent File List", "File1"), std::string("/home/jos\xC3\xA9/menu.htm"));
        }
        QSettings written(ini, QSettings::IniFormat);
        QCOMPARE(written.value(QStringLiteral("TEMPLATE/TemplateKey")).toStringList().join(QLatin1Char(',')),
                 QStringLiteral("Caf\u00e9 \u2605,Normal,"));
        QCOMPARE(written.value(QStringLiteral("Recent File List/File1")).toString(),
                 QStringLiteral("/home/jos\u00e9/menu.htm"));
    }

    void savedPageKeepsItsStructureAndReopensWithTheTypedTexts() {
        TypedDocument typed;
        QTemporaryDir dir;
        const QString pagePath = dir.filePath(QStringLiteral("menu.htm"));
        SilentHost host;
        QVERIFY(SaveDocument(typed.env.Applet(), pagePath.toStdString(), std::string(KESTRUNE_BIN_DIR), host));

        const QByteArray page = ReadBytes(pagePath);
        QVERIFY(page.contains("<head><title>&lt;/title>&lt;h1>x \"Caf\xE9\" & &#9733;</title></head>"));
        QVERIFY(page.contains("\t<param name=\"I0-0\" value=\"Caf\xE9 \xDCn\xEF" "c\xF6" "d\xE9 &#9733;|_#`Home&quot;>"
                              "<script>alert(1)</script>,Say &quot;Hi&quot; now & <b>then</b> \x80" "5 &#128512;,"
                              ",,,,,fr\xE4me&quot;,End&quot;></applet><p>x?a=1&b=\xE9\">\r\n"));
        QVERIFY(!page.contains("\xC3"));  // no UTF-8 anywhere
        // The menu file keeps the texts as typed.
        const QByteArray menuFile = ReadBytes(dir.filePath(QStringLiteral("menu.kst")));
        QVERIFY(menuFile.contains("Home\"><script>alert(1)</script>"));
        QVERIFY(menuFile.contains("Say \"Hi\" now & <b>then</b> \x80" "5 &#128512;"));

        CAppletParameters reopened;
        QVERIFY(OpenDocument(reopened, pagePath.toStdString(), host));
        CompareWithTyped(reopened);

        // The live preview and the viewer read what a browser hands the applet.
        const AppletReadResult live = AppletAsReceived(typed.env.Applet());
        QVERIFY2(live.Ok(), live.error.c_str());
        CompareWithTyped(*live.applet);
        const AppletReadResult viewed = ReadPageForPreview(pagePath);
        QVERIFY2(viewed.Ok(), viewed.error.c_str());
        CompareWithTyped(*viewed.applet);
        QCOMPARE(BuildHTML(*viewed.applet), page.toStdString());
    }

    void aBrowserReadsTheSavedPageAsTyped() {
        if (QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty())
            QSKIP("no chromium on this machine");
        TypedDocument typed;
        QTemporaryDir dir;
        const QString pagePath = dir.filePath(QStringLiteral("menu.htm"));
        SilentHost host;
        QVERIFY(SaveDocument(typed.env.Applet(), pagePath.toStdString(), std::string(KESTRUNE_BIN_DIR), host));

        const QString dom = QString::fromUtf8(BrowserDom(pagePath, dir.filePath(QStringLiteral("profile"))));
        QVERIFY2(dom.contains(QStringLiteral("<applet")), qPrintable(dom));
        // No text opened an element or closed the applet early: all six parameters are
        // inside it, and the title is text.
        QVERIFY(!dom.contains(QStringLiteral("<script")) && !dom.contains(QStringLiteral("<h1")));
        QCOMPARE(dom.count(QStringLiteral("<param ")), 6);
        QVERIFY(dom.indexOf(QStringLiteral("name=\"Misc\"")) < dom.indexOf(QStringLiteral("</applet>")));
        QVERIFY(dom.contains(QStringLiteral("Caf\u00e9 \u00dcn\u00efc\u00f6d\u00e9 \u2605|_#`Home")));
        // The values the browser hands the applet are the texts as typed.
        const AppletReadResult read = ReadAppletParameters(convert::FromQt(dom));
        QVERIFY2(read.Ok(), read.error.c_str());
        CompareWithTyped(*read.applet);
    }
};

QTEST_MAIN(PageFidelityTest)
#include "tst_page_fidelity.moc"
