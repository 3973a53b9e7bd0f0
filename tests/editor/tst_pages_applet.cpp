// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>

#include "model/StyleNames.h"
#include "properties/ColorButton.h"
#include "properties/DlgAppletParam.h"
#include "properties/DlgMenuStyle.h"
#include "properties/PropertyTexts.h"
#include "properties/SpinEdit.h"
#include "app/TextConvert.h"
#include "tst_properties_support.h"

using namespace kestrune;

namespace {
const QString kNotInteger = QString::fromLatin1(texts::kMsgEnterInteger);
const QString kAppletRange = QStringLiteral("Please enter an integer between 0 and 5000.");
const QString kNoComma = QString::fromLatin1(texts::kMsgNoComma);

void SetBox(CSpinEdit* box, const QString& text) { box->SetText(text); }

QImage Render(QWidget* widget, QColor background) {
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
}  // namespace

class AppletAndMenuPagesTest : public QObject {
    Q_OBJECT

private slots:
    void integerTextFollowsTheNumberRule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "12" << true << 12;
        QTest::newRow("blanks, tabs and sign") << " \t-12 \t" << true << -12;
        QTest::newRow("plus sign") << "+5" << true << 5;
        QTest::newRow("lowest") << "-2147483648" << true << std::numeric_limits<int>::min();
        QTest::newRow("highest") << "2147483647" << true << std::numeric_limits<int>::max();
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "  " << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << 0;
        QTest::newRow("trailing letter") << "12a" << false << 0;
        QTest::newRow("decimal point") << "1.5" << false << 0;
        QTest::newRow("too large") << "2147483648" << false << 0;
        QTest::newRow("too small") << "-2147483649" << false << 0;
        QTest::newRow("many digits") << "99999999999999999999" << false << 0;
    }
    void integerTextFollowsTheNumberRule() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto parsed = convert::ParseInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) QCOMPARE(*parsed, value);
    }

    void labelsAndColoursConvertAtTheWidgetBoundary() {
        QCOMPARE(convert::LabelToWidget("one\r\ntwo\r\nthree"), QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(convert::LabelFromWidget(QStringLiteral("one\ntwo")), std::string("one\r\ntwo"));
        QCOMPARE(convert::LabelFromWidget(QStringLiteral("a\r\nb")), std::string("a\r\nb"));
        QCOMPARE(convert::FromQt(convert::ToQt("caf\xc3\xa9")), std::string("caf\xc3\xa9"));
        QCOMPARE(convert::ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
        QCOMPARE(convert::FromQColor(QColor(0x56, 0x34, 0x12)), Color(0x00123456));
        QCOMPARE(convert::ToQColor(0x01FFFFFF), QColor(255, 255, 255));
        QCOMPARE(convert::ToQtFileFilter(texts::kImageFilter),
                 QStringLiteral("Image Files(*.GIF,*.JPG.*.JPEG) (*.gif *.jpg *.jpeg);;"
                                "Image Files for Today's Browsers(*.GIF,*.JPG,*.JPEG,*.PNG) (*.gif *.jpg *.jpeg *.png)"));
        QCOMPARE(convert::ToQtFileFilter(texts::kAudioFilter), QStringLiteral("Audio Files(*.au) (*.au)"));
    }

    void appletPageShowsTheListsAndRanges() {
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        QWidget* ui = &page;
        QCOMPARE(Find<QComboBox>(ui, "alignCombo")->count(), 3);
        QCOMPARE(Find<QComboBox>(ui, "alignCombo")->itemText(0), QStringLiteral("Center"));
        QCOMPARE(Find<QComboBox>(ui, "alignCombo")->itemText(2), QStringLiteral("Right"));
        for (CSpinEdit* box : {Find<CSpinEdit>(ui, "widthSpin"), Find<CSpinEdit>(ui, "heightSpin")}) {
            QVERIFY(box->HasSpin());
            QVERIFY(box->DigitsOnly());
            QCOMPARE(box->SpinMinimum(), 0);
            QCOMPARE(box->SpinMaximum(), 5000);
        }
        QVERIFY(Find<CSpinEdit>(ui, "xPosEdit")->DigitsOnly() && !Find<CSpinEdit>(ui, "xPosEdit")->HasSpin());
        QVERIFY(Find<CSpinEdit>(ui, "yPosEdit")->DigitsOnly() && !Find<CSpinEdit>(ui, "yPosEdit")->HasSpin());
    }

    void appletPageRoundTripsEveryField() {
        EditorEnv env;
        CAppletParameters& applet = env.Applet();
        applet.m_HTMLTitle = "Site menu";
        applet.m_Align = 2;
        applet.m_appWidth = 320;
        applet.m_appHeight = 140;
        applet.m_appBKColor = 0x00336699;
        applet.m_appBKImagePath = "/pics/back.gif";
        applet.m_appBKImageMode = 0;
        applet.m_appBKImageX = 7;
        applet.m_appBKImageY = 9;
        applet.m_appBKAudioPath = "/snd/loop.au";

        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        QWidget* ui = &page;
        QCOMPARE(Find<QLineEdit>(ui, "nameEdit")->text(), QStringLiteral("Site menu"));
        QCOMPARE(Find<QComboBox>(ui, "alignCombo")->currentIndex(), 2);
        QCOMPARE(Find<CSpinEdit>(ui, "widthSpin")->text(), QStringLiteral("320"));
        QCOMPARE(Find<CSpinEdit>(ui, "heightSpin")->text(), QStringLiteral("140"));
        QCOMPARE(Find<CColorButton>(ui, "bkColorButton")->GetColor(), Color(0x00336699));
        QCOMPARE(Find<QLineEdit>(ui, "imagePathEdit")->text(), QStringLiteral("/pics/back.gif"));
        QVERIFY(Find<QRadioButton>(ui, "specifyRadio")->isChecked());
        QCOMPARE(Find<CSpinEdit>(ui, "xPosEdit")->text(), QStringLiteral("7"));
        QCOMPARE(Find<CSpinEdit>(ui, "yPosEdit")->text(), QStringLiteral("9"));
        QCOMPARE(Find<QLineEdit>(ui, "audioPathEdit")->text(), QStringLiteral("/snd/loop.au"));

        Find<QLineEdit>(ui, "nameEdit")->setText(QStringLiteral("Other"));
        Find<QComboBox>(ui, "alignCombo")->setCurrentIndex(1);
        SetBox(Find<CSpinEdit>(ui, "widthSpin"), QStringLiteral("5000"));
        SetBox(Find<CSpinEdit>(ui, "heightSpin"), QStringLiteral("0"));
        env.dialogs.colors.push_back(QColor(1, 2, 3));
        Find<CColorButton>(ui, "bkColorButton")->click();
        Find<QLineEdit>(ui, "imagePathEdit")->setText(QStringLiteral("/pics/other.jpg"));
        Find<QRadioButton>(ui, "tileRadio")->setChecked(true);
        SetBox(Find<CSpinEdit>(ui, "xPosEdit"), QStringLiteral("11"));
        SetBox(Find<CSpinEdit>(ui, "yPosEdit"), QStringLiteral("13"));
        Find<QLineEdit>(ui, "audioPathEdit")->setText(QString());
        QCOMPARE(applet.m_appBKColor, Color(0x00336699));  // the chooser alone writes nothing

        QVERIFY(page.SaveToModel());
        QCOMPARE(applet.m_HTMLTitle, std::string("Other"));
        QCOMPARE(applet.m_Align, 1);
        QCOMPARE(applet.m_appWidth, 5000);
        QCOMPARE(applet.m_appHeight, 0);
        QCOMPARE(applet.m_appBKColor, Color(0x00030201));
        QCOMPARE(applet.m_appBKImagePath, std::string("/pics/other.jpg"));
        QCOMPARE(applet.m_appBKImageMode, 1);
        QCOMPARE(applet.m_appBKImageX, 11);
        QCOMPARE(applet.m_appBKImageY, 13);
        QCOMPARE(applet.m_appBKAudioPath, std::string());
        QVERIFY(env.doc.IsModified());
        QVERIFY(env.dialogs.messages.isEmpty());
    }

    void savingUnchangedValuesLeavesTheDocumentUnmodified() {
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        QSignalSpy changes(&env.doc, &CKestruneDoc::modelChanged);
        page.LoadFromModel();
        QVERIFY(page.SaveToModel());
        QVERIFY(!env.doc.IsModified());
        QCOMPARE(changes.count(), 0);
    }

    void appletSizeOutsideTheRangeIsRefusedWithNothingWritten_data() {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("width 5001") << "5001" << "100" << kAppletRange << "widthSpin";
        QTest::newRow("height 99999") << "300" << "99999" << kAppletRange << "heightSpin";
        QTest::newRow("empty width") << "" << "100" << kNotInteger << "widthSpin";
    }
    void appletSizeOutsideTheRangeIsRefusedWithNothingWritten() {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        page.show();
        QApplication::setActiveWindow(&page);
        page.LoadFromModel();
        QWidget* ui = &page;
        Find<QLineEdit>(ui, "nameEdit")->setText(QStringLiteral("Changed before the failure"));
        SetBox(Find<CSpinEdit>(ui, "widthSpin"), width);
        SetBox(Find<CSpinEdit>(ui, "heightSpin"), height);

        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{message});
        QWidget* box = page.findChild<QWidget*>(focused);
        QVERIFY(box->hasFocus() || box->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(env.Applet().m_HTMLTitle, std::string(kDefaultHTMLTitle));
        QCOMPARE(env.Applet().m_appWidth, 400);
        QCOMPARE(env.Applet().m_appHeight, 200);
        QVERIFY(!env.doc.IsModified());
    }

    // A size the model already holds (Auto-Change on a huge menu) is shown and kept; it does
    // not keep the user on the page. A new out-of-range size is still refused.
    void appletSizeTheModelHoldsOutsideTheRangeIsKept() {
        EditorEnv env;
        env.Applet().m_appWidth = 2000000000;
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        QCOMPARE(Find<CSpinEdit>(&page, "widthSpin")->text(), QStringLiteral("2000000000"));
        Find<QLineEdit>(&page, "nameEdit")->setText(QStringLiteral("Other edit"));
        QVERIFY(page.SaveToModel());
        QVERIFY(env.dialogs.messages.isEmpty());
        QCOMPARE(env.Applet().m_appWidth, 2000000000);
        QCOMPARE(env.Applet().m_HTMLTitle, std::string("Other edit"));
        SetBox(Find<CSpinEdit>(&page, "widthSpin"), QStringLiteral("1999999999"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kAppletRange});
    }

    void numberTooLargeForItsBoxSaysTheRange() {
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        SetBox(Find<CSpinEdit>(&page, "xPosEdit"), QStringLiteral("99999999999"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages,
                 QStringList{QStringLiteral("Please enter an integer between -2147483648 and 2147483647.")});
        env.dialogs.messages.clear();
        SetBox(Find<CSpinEdit>(&page, "xPosEdit"), QStringLiteral("0"));
        SetBox(Find<CSpinEdit>(&page, "widthSpin"), QStringLiteral("99999999999"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kAppletRange});
    }

    void imagePositionMustBeAnInteger() {
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        SetBox(Find<CSpinEdit>(&page, "yPosEdit"), QString());
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
    }

    void commaInATextIsRefusedLikeABadNumber_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("name") << "nameEdit";
        QTest::newRow("image") << "imagePathEdit";
        QTest::newRow("audio") << "audioPathEdit";
    }
    void commaInATextIsRefusedLikeABadNumber() {
        QFETCH(QString, box);
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        page.show();
        QApplication::setActiveWindow(&page);
        page.LoadFromModel();
        SetBox(Find<CSpinEdit>(&page, "widthSpin"), QStringLiteral("123"));
        auto* edit = page.findChild<QLineEdit*>(box);
        edit->setText(QStringLiteral("a,b"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kNoComma});
        QVERIFY(edit->hasFocus());
        QCOMPARE(env.Applet().m_appWidth, 400);
        QVERIFY(!env.doc.IsModified());
    }

    void tileModeGreysThePositionUntilTheNextLoad() {
        EditorEnv env;
        env.Applet().m_appBKImageMode = 1;
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        QWidget* ui = &page;
        QVERIFY(Find<QRadioButton>(ui, "tileRadio")->isChecked());
        QVERIFY(!Find<CSpinEdit>(ui, "xPosEdit")->isEnabled() && !Find<CSpinEdit>(ui, "yPosEdit")->isEnabled());
        Find<QRadioButton>(ui, "specifyRadio")->click();
        QVERIFY(!Find<CSpinEdit>(ui, "xPosEdit")->isEnabled() && !Find<CSpinEdit>(ui, "yPosEdit")->isEnabled());
        QVERIFY(page.SaveToModel());
        page.LoadFromModel();
        QVERIFY(Find<CSpinEdit>(ui, "xPosEdit")->isEnabled() && Find<CSpinEdit>(ui, "yPosEdit")->isEnabled());
    }

    void leavingTheNameBoxStoresTheTitleAtOnce() {
        EditorEnv env;
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        QSignalSpy changes(&env.doc, &CKestruneDoc::modelChanged);
        Find<QLineEdit>(&page, "nameEdit")->setText(QStringLiteral("New title"));
        Find<QComboBox>(&page, "alignCombo")->setCurrentIndex(2);
        LeaveBox(Find<QLineEdit>(&page, "nameEdit"));
        QCOMPARE(env.Applet().m_HTMLTitle, std::string("New title"));
        QCOMPARE(env.Applet().m_Align, 0);  // only the name is stored here
        QCOMPARE(changes.count(), 1);
        const auto change = changes.at(0).at(0).value<ModelChange>();
        QCOMPARE(change.kind, ModelChange::PropertiesChanged);
        QVERIFY(change.menu == nullptr && change.item == nullptr);

        // A box that fails its check stops the name from being stored.
        Find<QLineEdit>(&page, "nameEdit")->setText(QStringLiteral("Not stored"));
        SetBox(Find<CSpinEdit>(&page, "heightSpin"), QStringLiteral("x"));
        LeaveBox(Find<QLineEdit>(&page, "nameEdit"));
        QCOMPARE(env.Applet().m_HTMLTitle, std::string("New title"));
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
    }

    void browseButtonsProposeTheBoxAndKeepItOnCancel() {
        EditorEnv env;
        const QString old = QDir::tempPath() + QStringLiteral("/old.gif");  // a folder that exists
        env.Applet().m_appBKImagePath = old.toStdString();
        CDlgAppletParam page(env.doc);
        page.LoadFromModel();
        env.dialogs.openFileNames = {QStringLiteral("/pics/new.jpeg"), QString()};
        Find<QPushButton>(&page, "imageBrowseButton")->click();
        QCOMPARE(Find<QLineEdit>(&page, "imagePathEdit")->text(), QStringLiteral("/pics/new.jpeg"));
        QCOMPARE(env.dialogs.proposedNames.value(0), old);
        QCOMPARE(env.dialogs.filters.value(0), convert::ToQtFileFilter(texts::kImageFilter));
        QCOMPARE(env.Applet().m_appBKImagePath, old.toStdString());

        Find<QPushButton>(&page, "audioBrowseButton")->click();
        QCOMPARE(Find<QLineEdit>(&page, "audioPathEdit")->text(), QString());
        QCOMPARE(env.dialogs.filters.value(1), convert::ToQtFileFilter(texts::kAudioFilter));
        // An empty box, or one naming a folder that is gone, starts in the program's samples.
        QCOMPARE(env.dialogs.proposedNames.value(1), env.app.SampleFolder());

        // A failed read is reported and the chooser opens all the same.
        SetBox(Find<CSpinEdit>(&page, "widthSpin"), QStringLiteral("9999"));
        env.dialogs.openFileNames = {QStringLiteral("/snd/a.au")};
        Find<QPushButton>(&page, "audioBrowseButton")->click();
        QCOMPARE(env.dialogs.messages, QStringList{kAppletRange});
        QCOMPARE(Find<QLineEdit>(&page, "audioPathEdit")->text(), QStringLiteral("/snd/a.au"));
    }

    void digitsOnlyBoxesRefuseTheMinusSign() {
        EditorEnv env;
        CDlgMenuStyle page(env.doc);
        QWidget* ui = &page;
        Find<CSpinEdit>(ui, "widthEdit")->SetText(QString());
        QTest::keyClicks(Find<CSpinEdit>(ui, "widthEdit"), QStringLiteral("-12"));
        QCOMPARE(Find<CSpinEdit>(ui, "widthEdit")->text(), QStringLiteral("12"));
        Find<CSpinEdit>(ui, "xPosEdit")->SetText(QString());
        QTest::keyClicks(Find<CSpinEdit>(ui, "xPosEdit"), QStringLiteral("-20"));
        QCOMPARE(Find<CSpinEdit>(ui, "xPosEdit")->text(), QStringLiteral("-20"));
    }

    void spinButtonsStepWithinTheirRange() {
        CSpinEdit box;
        box.SetDigitsOnly(true);
        box.SetSpinRange(0, 5000);
        box.SetValue(4999);
        box.stepBy(1);
        QCOMPARE(box.text(), QStringLiteral("5000"));
        box.stepBy(1);
        QCOMPARE(box.text(), QStringLiteral("5000"));
        box.SetValue(0);
        box.stepBy(-1);
        QCOMPARE(box.text(), QStringLiteral("0"));
        box.SetText(QStringLiteral("7000"));
        box.stepBy(-1);
        QCOMPARE(box.text(), QStringLiteral("4999"));
        // Without a number the buttons step from where they last stood.
        box.SetValue(40);
        box.SetText(QString());
        box.stepBy(1);
        QCOMPARE(box.text(), QStringLiteral("41"));

        CSpinEdit plain;
        plain.SetValue(3);
        plain.stepBy(1);
        QCOMPARE(plain.text(), QStringLiteral("3"));
    }

    void menuStylePageRoundTripsEveryField() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"a", "b"});
        menu->m_BKColor = 0x00102030;
        menu->m_BKStyle = 3;
        menu->m_MenuAlign = 1;
        menu->m_Corner = 2;
        menu->m_xPos = -20;
        menu->m_yPos = 44;
        menu->m_Width = 90;
        menu->m_Height = 25;
        menu->m_ItemGap = 3;
        menu->m_BorderThick = 2;
        env.Edit(menu, menu->GetItem(0));

        CDlgMenuStyle page(env.doc);
        page.LoadFromModel();
        QWidget* ui = &page;
        QCOMPARE(Find<CColorButton>(ui, "bkColorButton")->GetColor(), Color(0x00102030));
        QCOMPARE(Find<QComboBox>(ui, "bkStyleCombo")->currentIndex(), 3);
        QVERIFY(Find<QRadioButton>(ui, "horizontalRadio")->isChecked());
        QVERIFY(page.CornerButton(2)->isChecked());
        QCOMPARE(Find<CSpinEdit>(ui, "xPosEdit")->text(), QStringLiteral("-20"));
        QCOMPARE(Find<CSpinEdit>(ui, "yPosEdit")->text(), QStringLiteral("44"));
        QCOMPARE(Find<CSpinEdit>(ui, "widthEdit")->text(), QStringLiteral("90"));
        QCOMPARE(Find<CSpinEdit>(ui, "heightEdit")->text(), QStringLiteral("25"));
        QCOMPARE(Find<CSpinEdit>(ui, "itemGapEdit")->text(), QStringLiteral("3"));
        QCOMPARE(Find<CSpinEdit>(ui, "borderThickEdit")->text(), QStringLiteral("2"));

        env.dialogs.colors.push_back(QColor(0xAA, 0xBB, 0xCC));
        Find<CColorButton>(ui, "bkColorButton")->click();
        Find<QComboBox>(ui, "bkStyleCombo")->setCurrentIndex(0);
        Find<QRadioButton>(ui, "verticalRadio")->click();
        page.CornerButton(1)->click();
        Find<CSpinEdit>(ui, "xPosEdit")->SetText(QStringLiteral(" -7 "));
        Find<CSpinEdit>(ui, "yPosEdit")->SetText(QStringLiteral("-8"));
        Find<CSpinEdit>(ui, "widthEdit")->SetText(QStringLiteral("100"));
        Find<CSpinEdit>(ui, "heightEdit")->SetText(QStringLiteral("30"));
        Find<CSpinEdit>(ui, "itemGapEdit")->SetText(QStringLiteral("0"));
        Find<CSpinEdit>(ui, "borderThickEdit")->SetText(QStringLiteral("4"));
        QVERIFY(page.SaveToModel());
        QCOMPARE(menu->m_BKColor, Color(0x00CCBBAA));
        QCOMPARE(menu->m_BKStyle, 0);
        QCOMPARE(menu->m_MenuAlign, 0);
        QCOMPARE(menu->m_Corner, 1);
        QCOMPARE(menu->m_xPos, -7);
        QCOMPARE(menu->m_yPos, -8);
        QCOMPARE(menu->m_Width, 100);
        QCOMPARE(menu->m_Height, 30);
        QCOMPARE(menu->m_ItemGap, 0);
        QCOMPARE(menu->m_BorderThick, 4);
        QVERIFY(env.doc.IsModified());
    }

    void menuStyleListsAndCornerPictures() {
        EditorEnv env;
        CDlgMenuStyle page(env.doc);
        QCOMPARE(Find<QComboBox>(&page, "bkStyleCombo")->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Find<QComboBox>(&page, "bkStyleCombo")->itemText(i), QString::fromLatin1(names::kBackgroundStyles[i]));
        for (int corner = 0; corner < 4; ++corner) {
            QVERIFY(!page.CornerButton(corner)->icon().isNull());
            QVERIFY(page.CornerButton(corner)->isCheckable());
        }
        // 2 3 over 1 0: each arrow points away from the block's centre.
        auto* grid = page.CornerButton(0)->parentWidget();
        QVERIFY(grid == page.CornerButton(2)->parentWidget());
        page.show();
        QVERIFY(page.CornerButton(2)->x() < page.CornerButton(3)->x());
        QVERIFY(page.CornerButton(2)->y() < page.CornerButton(1)->y());
        QCOMPARE(page.CornerButton(0)->x(), page.CornerButton(3)->x());
        QCOMPARE(page.CornerButton(0)->y(), page.CornerButton(1)->y());
    }

    void menuStyleFailureWritesNothing() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"a"});
        env.Edit(menu, menu->GetItem(0));
        CDlgMenuStyle page(env.doc);
        page.show();
        QApplication::setActiveWindow(&page);
        page.LoadFromModel();
        Find<QComboBox>(&page, "bkStyleCombo")->setCurrentIndex(2);
        Find<CSpinEdit>(&page, "itemGapEdit")->SetText(QString());
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
        QVERIFY(Find<CSpinEdit>(&page, "itemGapEdit")->hasFocus());
        QCOMPARE(menu->m_BKStyle, 0);
        QVERIFY(!env.doc.IsModified());
    }

    void menuStyleWithoutContextKeepsWhatItShows() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"a"});
        menu->m_Width = 55;
        env.Edit(menu, menu->GetItem(0));
        CDlgMenuStyle page(env.doc);
        page.LoadFromModel();
        env.doc.ClearEditingContext();
        menu->m_Width = 66;
        page.LoadFromModel();
        QCOMPARE(Find<CSpinEdit>(&page, "widthEdit")->text(), QStringLiteral("55"));
        Find<CSpinEdit>(&page, "widthEdit")->SetText(QStringLiteral("77"));
        QVERIFY(page.SaveToModel());
        QCOMPARE(menu->m_Width, 66);
    }

    void outOfListValuesSelectNothingAndSurviveASave() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"a"});
        menu->m_BKStyle = 9;
        menu->m_Corner = 7;
        env.Edit(menu, menu->GetItem(0));
        CDlgMenuStyle page(env.doc);
        page.CornerButton(0)->setChecked(true);
        page.LoadFromModel();
        QCOMPARE(Find<QComboBox>(&page, "bkStyleCombo")->currentIndex(), -1);
        for (int corner = 0; corner < 4; ++corner) QVERIFY(!page.CornerButton(corner)->isChecked());
        QVERIFY(page.SaveToModel());
        QCOMPARE(menu->m_BKStyle, 9);
        QCOMPARE(menu->m_Corner, 7);
    }

    void colourButtonChoosesThroughTheDialogService() {
        RecordingDialogs dialogs;
        CColorButton button;
        button.SetDialogService(dialogs);
        button.SetColor(0x000000FF);
        QSignalSpy chosen(&button, &CColorButton::colorChosen);
        button.click();  // cancelled
        QCOMPARE(button.GetColor(), Color(0x000000FF));
        QCOMPARE(dialogs.initialColors.at(0), QColor(255, 0, 0));
        QCOMPARE(chosen.count(), 0);
        dialogs.colors.push_back(QColor(0, 0, 255));
        button.click();
        QCOMPARE(button.GetColor(), Color(0x00FF0000));
        QCOMPARE(chosen.count(), 1);
    }

    void colourButtonDrawing() {
        CColorButton button;
        button.resize(60, 30);
        button.SetColor(0x0000FF00);
        const QColor marker(12, 34, 56);

        QImage up = Render(&button, marker);
        QCOMPARE(up.pixelColor(30, 15), QColor(0, 255, 0));
        QCOMPARE(up.pixelColor(30, 0), QColor(Qt::white));   // top edge
        QCOMPARE(up.pixelColor(0, 15), QColor(Qt::white));   // left edge
        QCOMPARE(up.pixelColor(59, 15), QColor(Qt::black));  // right edge
        QCOMPARE(up.pixelColor(30, 29), QColor(Qt::black));  // bottom edge
        QCOMPARE(up.pixelColor(3, 15), marker);               // between frame and fill

        button.setDown(true);
        QImage down = Render(&button, marker);
        QCOMPARE(down.pixelColor(30, 0), QColor(Qt::black));
        QCOMPARE(down.pixelColor(0, 15), QColor(Qt::black));
        QCOMPARE(down.pixelColor(59, 15), QColor(Qt::black));
        QCOMPARE(down.pixelColor(30, 29), QColor(Qt::black));
        button.setDown(false);

        button.setEnabled(false);
        QImage disabled = Render(&button, marker);
        for (int y = 0; y < disabled.height(); ++y)
            for (int x = 0; x < disabled.width(); ++x) QCOMPARE(disabled.pixelColor(x, y), marker);
    }

    void colourButtonShowsItsFocus() {
        CColorButton button;
        button.resize(60, 30);
        button.SetColor(0x00000000);
        button.show();
        QApplication::setActiveWindow(&button);
        button.setFocus();
        QVERIFY(button.hasFocus());
        const QImage focused = Render(&button, Qt::gray);
        int light = 0;
        for (int x = 5; x < 55; ++x)
            if (focused.pixelColor(x, 5) != QColor(Qt::black)) ++light;
        QVERIFY2(light > 10, "a dotted rectangle on the fill's edge");
        button.clearFocus();
        const QImage plain = Render(&button, Qt::gray);
        for (int x = 6; x < 54; ++x) QCOMPARE(plain.pixelColor(x, 5), QColor(Qt::black));
    }
};

QTEST_MAIN(AppletAndMenuPagesTest)
#include "tst_pages_applet.moc"
