// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QScreen>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTabBar>

#include "help/HelpTopics.h"
#include "properties/AppletPropertySheet.h"
#include "properties/DlgAppletParam.h"
#include "properties/DlgItem.h"
#include "properties/DlgItemState.h"
#include "properties/DlgMenuStyle.h"
#include "properties/ItemPropertySheet.h"
#include "properties/MenuPropertySheet.h"
#include "properties/PropertyFrame.h"
#include "properties/PropertyTexts.h"
#include "properties/SpinEdit.h"
#include "app/ScreenFit.h"
#include "tree/KestruneView.h"
#include "tst_properties_support.h"

using namespace kestrune;

namespace {
const QString kNotInteger = QString::fromLatin1(texts::kMsgEnterInteger);

struct FrameEnv : EditorEnv {
    CVorane* first = AddMenu(Applet(), {"f1", "f2"});
    CVorane* second = AddMenu(Applet(), {"s1"});
    QWidget owner;
    CPropertyFrame frame{doc, &owner};

    FrameEnv() { frame.show(); }
    CDlgItemState* Clicked() const { return frame.MenuSheet()->ItemStatePage(kStateClicked); }
};
}  // namespace

class PropertyFrameTest : public QObject {
    Q_OBJECT

private slots:
    // The How... and What... captions are written in a font of the user's size, made smaller
    // only as far as they need to fit their buttons.
    void stripCaptionsFitTheirButtons() {
        FrameEnv env;
        for (CSheetButton* button : {env.frame.MenuSheet()->MenuButton(), env.frame.MenuSheet()->ItemButton()}) {
            QVERIFY(button->width() >= QFontMetrics(button->CaptionFont()).horizontalAdvance(button->text()) + 4);
            QVERIFY(button->CaptionFont().pointSizeF() >= 6.0);
            QVERIFY(button->CaptionFont().bold());
        }
        QCOMPARE(env.frame.MenuSheet()->MenuButton()->text(), QStringLiteral("How..."));
        QCOMPARE(env.frame.MenuSheet()->ItemButton()->text(), QStringLiteral("What..."));
    }

    // Beside a main window that leaves no room on either side (maximized on a laptop), a
    // tool window opens right of the tree's nodes, level with the tree's top; the frame then
    // opens where the user last put it on this screen.
    void theFrameStaysClearOfTheNodesAndKeepsItsPlace() {
        const QRect screen(0, 0, 1366, 768);
        const QRect nodes(4, 120, 240, 500);
        QCOMPARE(BesideGeometry(screen, QSize(700, 300), screen, nodes), QRect(252, 120, 700, 300));
        // No room right of the nodes either: the screen's lower right corner, as before.
        QCOMPARE(BesideGeometry(screen, QSize(1200, 300), screen, nodes), QRect(166, 468, 1200, 300));

        EditorEnv env;
        AddMenu(env.Applet(), {"a1", "a2"});
        QPoint placed;
        for (int run = 0; run < 2; ++run) {
            CKestruneView tree(env.doc);
            tree.RebuildTree();
            tree.show();
            tree.ShowProperties();
            CPropertyFrame& frame = *tree.m_pPropertyFrame;
            QCOMPARE(frame.windowType(), Qt::Tool);
            if (run == 1) {
                QCOMPARE(frame.pos(), placed);
                break;
            }
            placed = frame.pos() - QPoint(5, 7);
            frame.move(placed);
            frame.Close();
        }
    }

    // The captions stand inside their round pictures, at the normal scale and at twice it:
    // what the caption adds to the button lies within the disc.
    void stripCaptionsStayInsideTheirDiscs() {
        FrameEnv env;
        for (CSheetButton* button : {env.frame.MenuSheet()->MenuButton(), env.frame.MenuSheet()->ItemButton()}) {
            for (qreal scale : {1.0, 2.0}) {
                const auto drawn = [&](const QString& caption) {
                    QImage image(button->size() * scale, QImage::Format_ARGB32);
                    image.setDevicePixelRatio(scale);
                    image.fill(Qt::black);
                    button->setText(caption);
                    button->render(&image);
                    return image;
                };
                const QString caption = button->text();
                const QImage with = drawn(caption);
                const QImage without = drawn(QString());
                button->setText(caption);
                // The picture is 46 of the button's 50 pixels, its disc 46 of the picture's 50;
                // a letter's edge pixels stay half a pixel clear of the disc's rim.
                const qreal radius = 46.0 / 50.0 * (button->width() - 4) / 2 - 0.5;
                const QPointF centre = QRectF(button->rect()).center() + (button->isChecked() ? QPointF(1, 1) : QPointF());
                int outside = 0;
                for (int y = 0; y < with.height(); ++y)
                    for (int x = 0; x < with.width(); ++x)
                        if (with.pixel(x, y) != without.pixel(x, y) &&
                            QLineF(centre, QPointF(x + 0.5, y + 0.5) / scale).length() > radius)
                            ++outside;
                QVERIFY2(outside == 0, qPrintable(QStringLiteral("%1 at scale %2: %3 pixels outside")
                                                      .arg(caption).arg(scale).arg(outside)));
            }
        }
    }

    void sheetsCarryTheirPagesInOrder() {
        FrameEnv env;
        QCOMPARE(env.frame.windowTitle(), QStringLiteral("Property Sheet"));
        QVERIFY(env.frame.windowFlags() & Qt::Tool);
        auto captions = [](CPropertySheet* sheet) {
            QStringList list;
            for (int i = 0; i < sheet->TabBar()->count(); ++i) list << sheet->TabBar()->tabText(i);
            return list;
        };
        QCOMPARE(captions(env.frame.AppletSheet()), QStringList{"Applet Parameters"});
        QCOMPARE(captions(env.frame.MenuSheet()),
                 (QStringList{"Menu Style", "Item Normal", "Item Mouse Over", "Item Clicked"}));
        QCOMPARE(captions(env.frame.ItemSheet()), QStringList{"Item"});
        QVERIFY(!env.frame.AppletSheet()->MenuButton());
        QCOMPARE(env.frame.MenuSheet()->MenuButton()->toolTip(),
                 QStringLiteral("Properties:How to display this item and his siblings"));
        QCOMPARE(env.frame.ItemSheet()->ItemButton()->toolTip(), QStringLiteral("Properties:What is displayed on the item"));
        QVERIFY(!env.frame.MenuSheet()->MenuButton()->icon().isNull());
        QVERIFY(!env.frame.ItemSheet()->ItemButton()->icon().isNull());
        QCOMPARE(env.frame.MenuSheet()->MenuButton()->size(), QSize(50, 50));
    }

    void sheetsDifferOnlyByTheButtonStrip() {
        FrameEnv env;
        env.frame.ShowAppletSheet();
        const QSize applet = env.frame.size();
        QCOMPARE(applet, env.frame.AppletSheet()->size());
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        const QSize item = env.frame.size();
        env.app.m_bItemSheet = 0;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        const QSize menu = env.frame.size();
        QCOMPARE(item, menu);
        QCOMPARE(item.height(), applet.height());
        QVERIFY(item.width() > applet.width());
        QVERIFY(item.width() - applet.width() <= 50);
    }

    void itemSelectionSetsTheContextAndLoads() {
        FrameEnv env;
        CVoraneItem* item = env.first->GetItem(1);
        item->m_link = "f2.html";
        env.frame.ShowItemSheet(item, env.first);
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(env.frame.ItemSheet()));
        QCOMPARE(env.frame.windowTitle(), QStringLiteral("Item's Properties"));
        QCOMPARE(env.doc.m_pCurItem, item);
        QCOMPARE(env.doc.m_pCurMenu, env.first);
        QCOMPARE(Find<QLineEdit>(env.frame.ItemSheet()->ItemPage(), "linkEdit")->text(), QStringLiteral("f2.html"));
        QVERIFY(env.frame.ItemSheet()->isVisible());
        QVERIFY(!env.frame.MenuSheet()->isVisible() && !env.frame.AppletSheet()->isVisible());
    }

    void followingTheSelectionWritesTheOldMenuAndLoadsTheNew() {
        FrameEnv env;
        env.app.m_bItemSheet = 0;
        env.second->m_itemStyle[2].TextOffset = 9;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        QVERIFY(env.frame.MenuSheet()->SetActivePage(3));
        Find<CSpinEdit>(env.Clicked(), "textOffsetSpin")->SetText(QStringLiteral("-12"));

        env.frame.ShowItemSheet(env.second->GetItem(0), env.second);
        QCOMPARE(env.first->m_itemStyle[2].TextOffset, -12);
        QCOMPARE(env.second->m_itemStyle[2].TextOffset, 9);
        QCOMPARE(Find<CSpinEdit>(env.Clicked(), "textOffsetSpin")->text(), QStringLiteral("9"));
        QCOMPARE(env.frame.MenuSheet()->ActiveIndex(), 3);
        QCOMPARE(env.frame.MenuSheet()->TabBar()->currentIndex(), 3);
        QCOMPARE(env.doc.m_pCurMenu, env.second);
        QVERIFY(env.doc.IsModified());

        // Another item of the same menu saves and reloads the same style record.
        env.doc.SetModifiedFlag(false);
        env.frame.ShowItemSheet(env.second->GetItem(0), env.second);
        QVERIFY(!env.doc.IsModified());
    }

    void rootCommitsTheItemPageAndShowsTheAppletSheet() {
        FrameEnv env;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        Find<QLineEdit>(env.frame.ItemSheet()->ItemPage(), "descriptionEdit")->setText(QStringLiteral("first item"));
        env.frame.ShowAppletSheet();
        QCOMPARE(env.first->GetItem(0)->m_description, std::string("first item"));
        QCOMPARE(env.frame.windowTitle(), QStringLiteral("Vorane's Properties"));
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(env.frame.AppletSheet()));
        QCOMPARE(env.frame.size(), env.frame.AppletSheet()->size());
        QVERIFY(env.doc.m_pCurItem == nullptr && env.doc.m_pCurMenu == nullptr);
    }

    void closeHidesThenCommits() {
        FrameEnv env;
        env.frame.ShowAppletSheet();
        Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "widthSpin")->SetText(QStringLiteral("640"));
        env.frame.close();
        QVERIFY(!env.frame.isVisible());
        QCOMPARE(env.Applet().m_appWidth, 640);
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(env.frame.AppletSheet()));

        // Hidden, the frame commits nothing, and the values it still shows are never written
        // over a model changed meanwhile (the size set by Check Parameters, say).
        Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "widthSpin")->SetText(QStringLiteral("111"));
        QVERIFY(env.frame.CommitActivePage());
        QCOMPARE(env.Applet().m_appWidth, 640);
        env.Applet().m_appWidth = 512;
        env.frame.show();
        env.frame.ShowAppletSheet();
        QCOMPARE(env.Applet().m_appWidth, 512);
        QCOMPARE(Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "widthSpin")->text(), QStringLiteral("512"));
    }

    void failedChecksReportAndTheActionGoesOn() {
        FrameEnv env;
        env.frame.ShowAppletSheet();
        Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "heightSpin")->SetText(QStringLiteral("abc"));
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(env.frame.ItemSheet()));
        QCOMPARE(env.Applet().m_appHeight, 200);
    }

    void tabChangeIsRefusedWhileThePageFails() {
        FrameEnv env;
        env.app.m_bItemSheet = 0;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        env.frame.activateWindow();
        QApplication::setActiveWindow(&env.frame);
        CDlgMenuStyle* style = env.frame.MenuSheet()->MenuStylePage();
        Find<CSpinEdit>(style, "widthEdit")->SetText(QString());
        Find<QComboBox>(style, "bkStyleCombo")->setCurrentIndex(3);

        env.frame.MenuSheet()->TabBar()->setCurrentIndex(2);
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
        QCOMPARE(env.frame.MenuSheet()->TabBar()->currentIndex(), 0);
        QCOMPARE(env.frame.MenuSheet()->ActiveIndex(), 0);
        QVERIFY(style->isVisible());
        QVERIFY(Find<CSpinEdit>(style, "widthEdit")->hasFocus());
        QCOMPARE(env.first->m_BKStyle, 0);

        Find<CSpinEdit>(style, "widthEdit")->SetText(QStringLiteral("120"));
        env.first->m_itemStyle[1].ImageOffset = 5;
        QTest::mouseClick(env.frame.MenuSheet()->TabBar(), Qt::LeftButton, {},
                          env.frame.MenuSheet()->TabBar()->tabRect(2).center());
        QCOMPARE(env.frame.MenuSheet()->ActiveIndex(), 2);
        QCOMPARE(env.first->m_Width, 120);
        QCOMPARE(env.first->m_BKStyle, 3);
        QCOMPARE(Find<CSpinEdit>(env.frame.MenuSheet()->ItemStatePage(1), "imageOffsetSpin")->text(), QStringLiteral("5"));
    }

    void ctrlTabMovesThroughThePages() {
        FrameEnv env;
        env.app.m_bItemSheet = 0;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        QTest::keyClick(env.frame.MenuSheet(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(env.frame.MenuSheet()->ActiveIndex(), 1);
        QTest::keyClick(env.frame.MenuSheet(), Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(env.frame.MenuSheet(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(env.frame.MenuSheet()->ActiveIndex(), 3);
    }

    void menuAndItemButtonsSwitchTheView() {
        FrameEnv env;
        QSignalSpy requests(&env.frame, &CPropertyFrame::showPropertiesRequested);
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        CItemPropertySheet* itemSheet = env.frame.ItemSheet();
        QVERIFY(itemSheet->ItemButton()->isChecked() && !itemSheet->MenuButton()->isChecked());

        itemSheet->ItemButton()->click();  // its own button: nothing
        QCOMPARE(requests.count(), 0);
        QVERIFY(itemSheet->ItemButton()->isChecked());
        QCOMPARE(env.app.m_bItemSheet, 1);

        itemSheet->MenuButton()->click();
        QCOMPARE(requests.count(), 1);
        QCOMPARE(env.app.m_bItemSheet, 0);
        QVERIFY(!itemSheet->MenuButton()->isChecked());  // the buttons do not switch themselves

        // The view answers by showing the selection again: now the menu sheet.
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        CMenuPropertySheet* menuSheet = env.frame.MenuSheet();
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(menuSheet));
        QVERIFY(menuSheet->MenuButton()->isChecked() && !menuSheet->ItemButton()->isChecked());
        menuSheet->MenuButton()->click();
        QCOMPARE(requests.count(), 1);
        env.frame.ShowItemSheet(env.second->GetItem(0), env.second);
        QCOMPARE(env.frame.CurrentSheet(), static_cast<CPropertySheet*>(menuSheet));

        menuSheet->ItemButton()->click();
        QCOMPARE(requests.count(), 2);
        QCOMPARE(env.app.m_bItemSheet, 1);
    }

    void commitWritesTheShownPage() {
        FrameEnv env;
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        Find<QPlainTextEdit>(env.frame.ItemSheet()->ItemPage(), "labelEdit")->setPlainText(QStringLiteral("Saved\nlabel"));
        QVERIFY(!env.doc.IsModified());
        QVERIFY(env.frame.CommitActivePage());
        QCOMPARE(env.first->GetItem(0)->m_label, std::string("Saved\r\nlabel"));
        QVERIFY(env.doc.IsModified());

        Find<QPlainTextEdit>(env.frame.ItemSheet()->ItemPage(), "labelEdit")->setPlainText(QStringLiteral("a,b"));
        QVERIFY(!env.frame.CommitActivePage());
        QCOMPARE(env.first->GetItem(0)->m_label, std::string("Saved\r\nlabel"));
    }

    void refreshReloadsOnlyAShownAppletPage() {
        FrameEnv env;
        env.frame.ShowAppletSheet();
        env.Applet().m_appWidth = 777;
        env.frame.RefreshAppletPage();
        QCOMPARE(Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "widthSpin")->text(), QStringLiteral("777"));

        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        env.Applet().m_appWidth = 888;
        env.frame.RefreshAppletPage();
        QCOMPARE(Find<CSpinEdit>(env.frame.AppletSheet()->AppletPage(), "widthSpin")->text(), QStringLiteral("777"));
    }

    void aRefilledModelForgetsTheShownSheet() {
        FrameEnv env;
        env.frame.ShowAppletSheet();
        Find<QLineEdit>(env.frame.AppletSheet()->AppletPage(), "nameEdit")->setText(QStringLiteral("old document"));
        env.doc.ReplaceModel([](CAppletParameters& applet) {
            applet.Reset();
            applet.m_HTMLTitle = "new document";
            return true;
        });
        env.frame.ForgetSheet();  // the tree's rebuild does this before it selects the root
        QCOMPARE(env.frame.CurrentSheet(), nullptr);
        QVERIFY(env.frame.isVisible());
        env.frame.ShowAppletSheet();
        QCOMPARE(env.Applet().m_HTMLTitle, std::string("new document"));
        QCOMPARE(Find<QLineEdit>(env.frame.AppletSheet()->AppletPage(), "nameEdit")->text(), QStringLiteral("new document"));
    }

    void helpKeyOnTheFrameItselfOpensNothing() {
        FrameEnv env;
        SetHelpTopic(&env.owner, QStringLiteral("menutree"));
        int asked = 0;
        QShortcut help(QKeySequence(Qt::Key_F1), &env.owner);
        QObject::connect(&help, &QShortcut::activated, [&] { ++asked; });
        env.owner.show();
        env.frame.ShowItemSheet(env.first->GetItem(0), env.first);
        QApplication::setActiveWindow(&env.frame);
        QVERIFY(QTest::qWaitForWindowActive(&env.frame));

        QLineEdit* link = Find<QLineEdit>(env.frame.ItemSheet()->ItemPage(), "linkEdit");
        link->setFocus();
        QTest::keyClick(link, Qt::Key_F1);
        QCOMPARE(asked, 1);  // a page: the program's help command answers with the page's topic

        env.frame.setFocus();
        QVERIFY(env.frame.hasFocus());
        QTest::keyClick(&env.frame, Qt::Key_F1);
        QCOMPARE(asked, 1);
    }

    void helpTopicsOfSheetsAndPages() {
        FrameEnv env;
        auto topic = [](QObject* object) { return object->property("helpTopic").toString(); };
        QCOMPARE(topic(env.frame.AppletSheet()), QStringLiteral("65654"));
        QCOMPARE(topic(env.frame.MenuSheet()), QStringLiteral("65655"));
        QCOMPARE(topic(env.frame.ItemSheet()), QStringLiteral("65656"));
        QCOMPARE(topic(env.frame.AppletSheet()->Page(0)), QStringLiteral("131175"));
        QCOMPARE(topic(env.frame.MenuSheet()->Page(0)), QStringLiteral("131213"));
        QCOMPARE(topic(env.frame.MenuSheet()->Page(1)), QStringLiteral("131216"));
        QCOMPARE(topic(env.frame.MenuSheet()->Page(2)), QStringLiteral("131219"));
        QCOMPARE(topic(env.frame.MenuSheet()->Page(3)), QStringLiteral("131220"));
        QCOMPARE(topic(env.frame.ItemSheet()->Page(0)), QStringLiteral("131218"));
    }
};

QTEST_MAIN(PropertyFrameTest)
#include "tst_properties_frame.moc"
