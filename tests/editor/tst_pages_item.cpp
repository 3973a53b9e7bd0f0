// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QTimer>
#include <tuple>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/DialogService.h"
#include "model/StyleNames.h"
#include "properties/ColorButton.h"
#include "properties/DlgFont.h"
#include "properties/DlgItem.h"
#include "properties/DlgItemState.h"
#include "properties/DlgMedia.h"
#include "properties/PropertyTexts.h"
#include "properties/SpinEdit.h"
#include "app/TextConvert.h"
#include "tst_properties_support.h"

using namespace kestrune;

namespace {
const QString kNotInteger = QString::fromLatin1(texts::kMsgEnterInteger);
const QString kNoComma = QString::fromLatin1(texts::kMsgNoComma);

// Menus "A" (a1, a2 > [s1 > [t1, t2 hidden], s2 hidden]), "B" hidden (b1), "C" (c1 > [d1]).
struct MediaTree {
    CVorane *a, *b, *c, *sub, *subSub, *cSub;
    CVoraneItem *a1, *a2, *s1, *s2, *t1, *t2, *b1, *c1, *d1;

    explicit MediaTree(CAppletParameters& applet) {
        a = AddMenu(applet, {"a1", "a2"});
        b = AddMenu(applet, {"b1"});
        c = AddMenu(applet, {"c1"});
        b->m_visible = 0;
        a1 = a->GetItem(0);
        a2 = a->GetItem(1);
        sub = AddSubMenu(a2, {"s1", "s2"});
        s1 = sub->GetItem(0);
        s2 = sub->GetItem(1);
        s2->m_visible = 0;
        subSub = AddSubMenu(s1, {"t1", "t2"});
        t1 = subSub->GetItem(0);
        t2 = subSub->GetItem(1);
        t2->m_visible = 0;
        b1 = b->GetItem(0);
        c1 = c->GetItem(0);
        cSub = AddSubMenu(c1, {"d1"});
        d1 = cSub->GetItem(0);
        for (CVoraneItem* item : All()) {
            item->m_normalImage = "n.gif";
            item->m_overImage = "o.gif";
            item->m_clickImage = "c.gif";
            item->m_overAudio = "o.au";
            item->m_clickAudio = "c.au";
        }
    }
    std::vector<CVoraneItem*> All() const { return {a1, a2, s1, s2, t1, t2, b1, c1, d1}; }
};

// Runs the dialog as the user would: fills its boxes, picks a scope, presses OK.
std::function<int(QDialog*)> AnswerMedia(QStringList paths, ApplyScope scope) {
    return [paths, scope](QDialog* dialog) {
        auto* media = static_cast<CDlgMedia*>(dialog);
        for (int row = 0; row < paths.size(); ++row) media->PathBox(row)->setText(paths[row]);
        if (scope != ApplyScope::None) media->ScopeButton(scope)->setChecked(true);
        media->accept();
        return media->result();
    };
}
}  // namespace

class ItemPagesTest : public QObject {
    Q_OBJECT

private slots:
    void itemStatePageListsAndRanges() {
        EditorEnv env;
        CDlgItemNormal page(env.doc);
        QWidget* ui = &page;
        QCOMPARE(Find<QComboBox>(ui, "fillStyleCombo")->count(), 10);
        QCOMPARE(Find<QComboBox>(ui, "fillStyleCombo")->itemText(0), QStringLiteral("Transparent "));
        QCOMPARE(Find<QComboBox>(ui, "fillStyleCombo")->itemText(9), QStringLiteral("Vertical Gradient from Color to White"));
        QCOMPARE(Find<QComboBox>(ui, "textAlignCombo")->count(), 3);
        QCOMPARE(Find<QComboBox>(ui, "imageAlignCombo")->itemText(1), QStringLiteral("Center"));
        for (CSpinEdit* box : {Find<CSpinEdit>(ui, "textOffsetSpin"), Find<CSpinEdit>(ui, "imageOffsetSpin")}) {
            QVERIFY(box->HasSpin() && !box->DigitsOnly());
            box->SetValue(-4999);
            box->stepBy(-5);
            QCOMPARE(box->text(), QStringLiteral("-5000"));
            box->SetValue(4999);
            box->stepBy(3);
            QCOMPARE(box->text(), QStringLiteral("5000"));
        }
        QCOMPARE(page.Caption(), QStringLiteral("Item Normal"));
        QCOMPARE(CDlgItemMouseOver(env.doc).Caption(), QStringLiteral("Item Mouse Over"));
        QCOMPARE(CDlgItemClick(env.doc).Caption(), QStringLiteral("Item Clicked"));
    }

    void itemStatePagesRoundTripTheirOwnStyle_data() {
        QTest::addColumn<int>("state");
        QTest::newRow("normal") << 0;
        QTest::newRow("mouse over") << 1;
        QTest::newRow("clicked") << 2;
    }
    void itemStatePagesRoundTripTheirOwnStyle() {
        QFETCH(int, state);
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        ItemStyle& style = menu->m_itemStyle[static_cast<std::size_t>(state)];
        style = {0x00010203, 0x00FFFFFF, 2, 4, 0, 3, 1, 18, 2, 1, -3, 2, 6, ""};
        env.Edit(menu, menu->GetItem(0));
        const auto others = menu->m_itemStyle;

        CDlgItemState page(env.doc, static_cast<ItemState>(state));
        page.LoadFromModel();
        QWidget* ui = &page;
        QVERIFY(Find<QRadioButton>(ui, "sunkenRadio")->isChecked());
        QCOMPARE(Find<QComboBox>(ui, "imageAlignCombo")->currentIndex(), 2);
        QCOMPARE(Find<QComboBox>(ui, "textAlignCombo")->currentIndex(), 1);
        QCOMPARE(Find<CSpinEdit>(ui, "imageOffsetSpin")->text(), QStringLiteral("6"));
        QCOMPARE(Find<CSpinEdit>(ui, "textOffsetSpin")->text(), QStringLiteral("-3"));
        QCOMPARE(Find<QComboBox>(ui, "fillStyleCombo")->currentIndex(), 4);
        QVERIFY(Find<QRadioButton>(ui, "singleDirectionRadio")->isChecked());
        QCOMPARE(Find<CColorButton>(ui, "bkColorButton")->GetColor(), Color(0x00010203));

        Find<QRadioButton>(ui, "raisedRadio")->click();
        Find<QComboBox>(ui, "imageAlignCombo")->setCurrentIndex(0);
        Find<QComboBox>(ui, "textAlignCombo")->setCurrentIndex(2);
        Find<CSpinEdit>(ui, "imageOffsetSpin")->SetText(QStringLiteral("-12"));
        Find<CSpinEdit>(ui, "textOffsetSpin")->SetText(QStringLiteral("40"));
        Find<QComboBox>(ui, "fillStyleCombo")->setCurrentIndex(0);
        Find<QRadioButton>(ui, "biDirectionRadio")->click();
        env.dialogs.colors.push_back(QColor(9, 8, 7));
        Find<CColorButton>(ui, "bkColorButton")->click();
        QVERIFY(page.SaveToModel());

        QCOMPARE(style.ItemBorderStyle, 1);
        QCOMPARE(style.ImageAlign, 0);
        QCOMPARE(style.TextAlign, 2);
        QCOMPARE(style.ImageOffset, -12);
        QCOMPARE(style.TextOffset, 40);
        QCOMPARE(style.ItemFillStyle, 0);
        QCOMPARE(style.GradientDirection, 1);
        QCOMPARE(style.BKColor, Color(0x00070809));
        // The text part belongs to the Font dialog and the other states to the other pages.
        QCOMPARE(style.FontSize, 18);
        QCOMPARE(style.FontName, 1);
        for (int other = 0; other < 3; ++other)
            if (other != state) QVERIFY(menu->m_itemStyle[static_cast<std::size_t>(other)] == others[static_cast<std::size_t>(other)]);
        QVERIFY(env.doc.IsModified());
    }

    void itemStateOffsetMustBeAnInteger() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        env.Edit(menu, menu->GetItem(0));
        CDlgItemMouseOver page(env.doc);
        page.show();
        QApplication::setActiveWindow(&page);
        page.LoadFromModel();
        Find<QRadioButton>(&page, "plainRadio")->setChecked(false);
        Find<QRadioButton>(&page, "sunkenRadio")->click();
        Find<CSpinEdit>(&page, "imageOffsetSpin")->SetText(QStringLiteral("- 4"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
        QVERIFY(Find<CSpinEdit>(&page, "imageOffsetSpin")->hasFocus());
        QCOMPARE(menu->m_itemStyle[1].ItemBorderStyle, 0);
        QVERIFY(!env.doc.IsModified());
    }

    void itemStatePageWithoutContextDoesNothing() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        env.doc.m_pCurMenu = menu;  // a menu without an item is no context
        CDlgItemClick page(env.doc);
        Find<CSpinEdit>(&page, "textOffsetSpin")->SetText(QStringLiteral("junk"));
        page.LoadFromModel();
        QCOMPARE(Find<CSpinEdit>(&page, "textOffsetSpin")->text(), QStringLiteral("junk"));
        QVERIFY(page.SaveToModel());
        QVERIFY(env.dialogs.messages.isEmpty());
    }

    void fontDialogWritesStraightIntoTheStyle() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        env.Edit(menu, menu->GetItem(0));
        CDlgItemMouseOver page(env.doc);
        page.LoadFromModel();
        Find<CSpinEdit>(&page, "textOffsetSpin")->SetText(QStringLiteral("33"));  // pending, not written by the dialog

        QStringList shown;
        env.dialogs.colors.push_back(QColor(0x10, 0x20, 0x30));
        env.dialogs.onDialog = [&](QDialog* dialog) {
            QWidget* ui = static_cast<CDlgFont*>(dialog);
            shown << Find<QComboBox>(ui, "fontNameCombo")->currentText() << Find<CSpinEdit>(ui, "fontSizeSpin")->text() << Find<QComboBox>(ui, "effectCombo")->currentText();
            Find<QComboBox>(ui, "fontNameCombo")->setCurrentIndex(2);
            Find<QComboBox>(ui, "effectCombo")->setCurrentIndex(4);
            Find<CSpinEdit>(ui, "fontSizeSpin")->SetText(QStringLiteral("22"));
            Find<QRadioButton>(ui, "italicRadio")->click();
            Find<CColorButton>(ui, "fontColorButton")->click();
            dialog->accept();
            return dialog->result();
        };
        Find<QPushButton>(&page, "fontButton")->click();
        QCOMPARE(env.dialogs.dialogTitles, QStringList{"Font"});
        QCOMPARE(shown, (QStringList{"TimesRoman", "14", "Normal"}));
        const ItemStyle& style = menu->m_itemStyle[1];
        QCOMPARE(style.FontName, 2);
        QCOMPARE(style.FontEffect, 4);
        QCOMPARE(style.FontSize, 22);
        QCOMPARE(style.FontStyle, 2);
        QCOMPARE(style.FRColor, Color(0x00302010));
        QCOMPARE(style.TextOffset, 0);
        QVERIFY(menu->m_itemStyle[0] == ItemStyle{});
        QVERIFY(env.doc.IsModified());
    }

    // "Copy to Other States": the shown state's font, font colour and background colour
    // (the one the page shows, not yet written) go to the other two states in one step;
    // the rest of their styles stays.
    void copyToOtherStatesGivesTheFontAndColoursOnly() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        for (int state = 0; state < kStateCount; ++state) menu->m_itemStyle[state].TextAlign = state;
        ItemStyle& shown = menu->m_itemStyle[kStateMouseOver];
        shown.FontName = 2;
        shown.FontSize = 21;
        shown.FontStyle = 1;
        shown.FontEffect = 3;
        shown.FRColor = 0x00112233;
        const auto before = menu->m_itemStyle;
        env.Edit(menu, menu->GetItem(0));
        CDlgItemMouseOver page(env.doc);
        page.LoadFromModel();
        env.dialogs.colors.push_back(QColor(0x60, 0x50, 0x40));
        Find<CColorButton>(&page, "bkColorButton")->click();
        auto* copy = page.findChild<QPushButton*>(QStringLiteral("copyStatesButton"));
        QVERIFY(copy);
        copy->click();
        for (int state = 0; state < kStateCount; ++state) {
            const ItemStyle& style = menu->m_itemStyle[state];
            QCOMPARE(std::tie(style.FontName, style.FontSize, style.FontStyle, style.FontEffect, style.FRColor, style.BKColor),
                     std::make_tuple(2, 21, 1, 3, Color(0x00112233), Color(0x00405060)));
            QCOMPARE(style.TextAlign, state);
        }
        QCOMPARE(env.doc.UndoText(), QStringLiteral("Copy to Other States"));
        env.doc.Undo();
        QVERIFY(menu->m_itemStyle == before);
    }

    // The colour chooser keeps the user's custom colours for its next use and the next run.
    void colourChooserKeepsTheCustomColours() {
        MemorySettingsStore settings;
        QtDialogService dialogs(&settings);
        QColor seen;
        const auto answer = [&seen](const std::function<void()>& act) {
            auto* timer = new QTimer;
            QObject::connect(timer, &QTimer::timeout, [timer, act, &seen] {
                auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                if (!chooser) return;
                seen = QColorDialog::customColor(3);
                act();
                chooser->reject();
                timer->deleteLater();
            });
            timer->start(10);
        };
        answer([] { QColorDialog::setCustomColor(3, QColor(1, 2, 3)); });
        QVERIFY(!dialogs.GetColor(nullptr, Qt::red));
        QColorDialog::setCustomColor(3, Qt::white);  // as in a new run
        answer([] {});
        dialogs.GetColor(nullptr, Qt::red);
        QCOMPARE(seen, QColor(1, 2, 3));
    }

    void fontDialogCancelAndBadSizeChangeNothing() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        env.Edit(menu, menu->GetItem(0));
        CDlgItemNormal page(env.doc);
        page.LoadFromModel();

        env.dialogs.onDialog = [](QDialog* dialog) {
            Find<CSpinEdit>(dialog, "fontSizeSpin")->SetText(QStringLiteral("40"));
            return int(QDialog::Rejected);
        };
        Find<QPushButton>(&page, "fontButton")->click();
        QCOMPARE(menu->m_itemStyle[0].FontSize, 14);

        bool stayedOpen = false;
        env.dialogs.onDialog = [&](QDialog* dialog) {
            auto* font = static_cast<CDlgFont*>(dialog);
            Find<CSpinEdit>(font, "fontSizeSpin")->SetText(QString());
            Find<QRadioButton>(font, "boldRadio")->click();
            font->accept();
            stayedOpen = font->result() != QDialog::Accepted;
            font->reject();
            return font->result();
        };
        Find<QPushButton>(&page, "fontButton")->click();
        QVERIFY(stayedOpen);
        QCOMPARE(env.dialogs.messages, QStringList{kNotInteger});
        QVERIFY(menu->m_itemStyle[0] == ItemStyle{});
        QVERIFY(!env.doc.IsModified());
    }

    void fontDialogWithoutMenuDiscardsItsResult() {
        EditorEnv env;
        CDlgItemNormal page(env.doc);
        QSignalSpy help(&page, &CPropertyPage::helpRequested);
        env.dialogs.onDialog = [](QDialog* dialog) {
            QTest::keyClick(dialog, Qt::Key_F1);
            dialog->accept();
            return dialog->result();
        };
        Find<QPushButton>(&page, "fontButton")->click();
        QCOMPARE(env.dialogs.dialogTitles.size(), 1);
        QVERIFY(!env.doc.IsModified());
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.at(0).at(0).toString(), QString::fromLatin1(help::kFontDialog));
    }

    void itemPageRoundTripsItsTexts() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        CVoraneItem* item = menu->GetItem(0);
        item->m_label = "Line one\r\nLine two";
        item->m_description = "Says what";
        item->m_link = "http://example.org/a.html";
        item->m_target = "_blank";
        env.Edit(menu, item);

        CDlgItem page(env.doc);
        page.LoadFromModel();
        QWidget* ui = &page;
        QCOMPARE(Find<QPlainTextEdit>(ui, "labelEdit")->toPlainText(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(Find<QLineEdit>(ui, "descriptionEdit")->text(), QStringLiteral("Says what"));
        QCOMPARE(Find<QLineEdit>(ui, "linkEdit")->text(), QStringLiteral("http://example.org/a.html"));
        QCOMPARE(Find<QComboBox>(ui, "targetCombo")->currentText(), QStringLiteral("_blank"));

        Find<QPlainTextEdit>(ui, "labelEdit")->setPlainText(QStringLiteral("Top\nMiddle\nBottom"));
        Find<QLineEdit>(ui, "descriptionEdit")->setText(QString());
        Find<QLineEdit>(ui, "linkEdit")->setText(QStringLiteral("page2.html"));
        Find<QComboBox>(ui, "targetCombo")->setEditText(QStringLiteral("contents"));
        QVERIFY(page.SaveToModel());
        QCOMPARE(item->m_label, std::string("Top\r\nMiddle\r\nBottom"));
        QCOMPARE(item->m_description, std::string());
        QCOMPARE(item->m_link, std::string("page2.html"));
        QCOMPARE(item->m_target, std::string("contents"));
        QVERIFY(env.doc.IsModified());

        // Typing into the target box must not be completed into a suggestion.
        Find<QComboBox>(ui, "targetCombo")->setEditText(QString());
        QTest::keyClicks(Find<QComboBox>(ui, "targetCombo")->lineEdit(), QStringLiteral("_t"));
        QCOMPARE(Find<QComboBox>(ui, "targetCombo")->currentText(), QStringLiteral("_t"));
    }

    void targetFrameSuggestions_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << "" << "_self";
        QTest::newRow("other case") << "_TOP" << "_top";
        QTest::newRow("prefix") << "_Pa" << "_parent";
        QTest::newRow("not a suggestion") << "contents" << "contents";
        QTest::newRow("longer than a suggestion") << "_selfish" << "_selfish";
    }
    void targetFrameSuggestions() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        CVoraneItem* item = menu->GetItem(0);
        item->m_target = convert::FromQt(stored);
        env.Edit(menu, item);
        CDlgItem page(env.doc);
        Find<QComboBox>(&page, "targetCombo")->setEditText(QStringLiteral("left over"));
        page.LoadFromModel();
        QCOMPARE(Find<QComboBox>(&page, "targetCombo")->currentText(), shown);
        QVERIFY(page.SaveToModel());
        QCOMPARE(convert::ToQt(item->m_target), shown);
    }

    void itemPageWithoutItemIsEmpty() {
        EditorEnv env;
        CDlgItem page(env.doc);
        Find<QPlainTextEdit>(&page, "labelEdit")->setPlainText(QStringLiteral("stale"));
        Find<QComboBox>(&page, "targetCombo")->setEditText(QStringLiteral("stale"));
        page.LoadFromModel();
        QCOMPARE(Find<QPlainTextEdit>(&page, "labelEdit")->toPlainText(), QString());
        QCOMPARE(Find<QComboBox>(&page, "targetCombo")->currentText(), QString());
        QCOMPARE(Find<QLineEdit>(&page, "linkEdit")->text(), QString());
        QVERIFY(page.SaveToModel());
        QVERIFY(!env.doc.IsModified());
    }

    void itemTextsWithACommaAreRefused_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("target") << "targetCombo";
        QTest::newRow("description") << "descriptionEdit";
        QTest::newRow("label") << "labelEdit";
        QTest::newRow("link") << "linkEdit";
    }
    void itemTextsWithACommaAreRefused() {
        QFETCH(QString, box);
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        env.Edit(menu, menu->GetItem(0));
        CDlgItem page(env.doc);
        page.show();
        QApplication::setActiveWindow(&page);
        page.LoadFromModel();
        Find<QLineEdit>(&page, "linkEdit")->setText(QStringLiteral("ok.html"));
        QWidget* widget = page.findChild<QWidget*>(box);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setEditText(QStringLiteral("a,b"));
        else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) text->setPlainText(QStringLiteral("a,\nb"));
        else static_cast<QLineEdit*>(widget)->setText(QStringLiteral("http://x/?a=1,2"));
        QVERIFY(!page.SaveToModel());
        QCOMPARE(env.dialogs.messages, QStringList{kNoComma});
        QVERIFY(widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(menu->GetItem(0)->m_link, std::string());
        QVERIFY(!env.doc.IsModified());
    }

    void leavingTheLabelStoresItAtOnce() {
        EditorEnv env;
        CVorane* menu = AddMenu(env.Applet(), {"x"});
        CVoraneItem* item = menu->GetItem(0);
        env.Edit(menu, item);
        CDlgItem page(env.doc);
        page.LoadFromModel();
        QSignalSpy changes(&env.doc, &CKestruneDoc::modelChanged);
        Find<QPlainTextEdit>(&page, "labelEdit")->setPlainText(QStringLiteral("Home\nPage"));
        Find<QLineEdit>(&page, "linkEdit")->setText(QStringLiteral("later.html"));
        LeaveBox(Find<QPlainTextEdit>(&page, "labelEdit"));
        QCOMPARE(item->m_label, std::string("Home\r\nPage"));
        QCOMPARE(item->m_link, std::string());
        QCOMPARE(changes.count(), 1);
        const auto change = changes.at(0).at(0).value<ModelChange>();
        QCOMPARE(change.kind, ModelChange::PropertiesChanged);
        QCOMPARE(change.item, item);
        QCOMPARE(change.menu, menu);

        // Leaving it again without a change announces nothing.
        LeaveBox(Find<QPlainTextEdit>(&page, "labelEdit"));
        QCOMPARE(changes.count(), 1);
    }

    void imageDialogOpensWithTheItemsPaths() {
        EditorEnv env;
        MediaTree tree(env.Applet());
        tree.s1->m_overImage = "s1-over.gif";
        env.Edit(tree.sub, tree.s1);
        CDlgItem page(env.doc);
        page.LoadFromModel();
        QStringList seen;
        bool onlyThisItem = false;
        env.dialogs.onDialog = [&](QDialog* dialog) {
            auto* media = static_cast<CDlgMedia*>(dialog);
            for (int row = 0; row < 3; ++row) seen << media->PathBox(row)->text();
            onlyThisItem = media->ScopeButton(ApplyScope::ThisItem)->isChecked();
            return int(QDialog::Rejected);
        };
        Find<QPushButton>(&page, "imageButton")->click();
        QCOMPARE(env.dialogs.dialogTitles, QStringList{"Image"});
        QCOMPARE(seen, (QStringList{"n.gif", "s1-over.gif", "c.gif"}));
        QVERIFY(onlyThisItem);
        QVERIFY(!env.doc.IsModified());

        env.doc.ClearEditingContext();
        bool noneChecked = false;
        env.dialogs.onDialog = [&](QDialog* dialog) {
            auto* media = static_cast<CDlgMedia*>(dialog);
            noneChecked = media->PathBox(0)->text().isEmpty() &&
                          !media->ScopeButton(ApplyScope::ThisItem)->isChecked() &&
                          !media->ScopeButton(ApplyScope::SameMenu)->isChecked() &&
                          !media->ScopeButton(ApplyScope::AllItems)->isChecked();
            return AnswerMedia({"x.gif", "y.gif", "z.gif"}, ApplyScope::None)(dialog);
        };
        Find<QPushButton>(&page, "imageButton")->click();
        QVERIFY(noneChecked);
        for (CVoraneItem* item : tree.All()) QCOMPARE(item->m_normalImage, std::string("n.gif"));
    }

    void imageScopeOnlyThisItem() {
        EditorEnv env;
        MediaTree tree(env.Applet());
        env.Edit(tree.subSub, tree.t2);
        CDlgItem page(env.doc);
        env.dialogs.onDialog = AnswerMedia({"N", "O", ""}, ApplyScope::ThisItem);
        Find<QPushButton>(&page, "imageButton")->click();
        for (CVoraneItem* item : tree.All()) {
            const bool target = item == tree.t2;
            QCOMPARE(item->m_normalImage, std::string(target ? "N" : "n.gif"));
            QCOMPARE(item->m_overImage, std::string(target ? "O" : "o.gif"));
            QCOMPARE(item->m_clickImage, std::string(target ? "" : "c.gif"));
        }
        QVERIFY(env.doc.IsModified());
    }

    void imageScopeSameMenuStopsAtTheMenu_data() {
        QTest::addColumn<int>("depth");
        QTest::newRow("top-level menu") << 0;
        QTest::newRow("sub menu") << 1;
        QTest::newRow("sub sub menu") << 2;
    }
    void imageScopeSameMenuStopsAtTheMenu() {
        QFETCH(int, depth);
        EditorEnv env;
        MediaTree tree(env.Applet());
        const std::vector<CVoraneItem*> chosen = {tree.a1, tree.s2, tree.t1};
        const std::vector<CVorane*> menus = {tree.a, tree.sub, tree.subSub};
        env.Edit(menus[static_cast<std::size_t>(depth)], chosen[static_cast<std::size_t>(depth)]);
        CDlgItem page(env.doc);
        env.dialogs.onDialog = AnswerMedia({"N", "O", "C"}, ApplyScope::SameMenu);
        Find<QPushButton>(&page, "imageButton")->click();
        const CVorane* menu = menus[static_cast<std::size_t>(depth)];
        for (CVoraneItem* item : tree.All()) {
            const bool inMenu = menu->IndexOf(item) >= 0;
            QCOMPARE(item->m_normalImage, std::string(inMenu ? "N" : "n.gif"));
            QCOMPARE(item->m_clickImage, std::string(inMenu ? "C" : "c.gif"));
        }
    }

    void imageScopeAllItemsReachesEveryDepth() {
        EditorEnv env;
        MediaTree tree(env.Applet());
        env.Edit(tree.c, tree.c1);
        CDlgItem page(env.doc);
        env.dialogs.onDialog = AnswerMedia({"N", "O", ""}, ApplyScope::AllItems);
        Find<QPushButton>(&page, "imageButton")->click();
        for (CVoraneItem* item : tree.All()) {
            QCOMPARE(item->m_normalImage, std::string("N"));
            QCOMPARE(item->m_overImage, std::string("O"));
            QCOMPARE(item->m_clickImage, std::string());
            QCOMPARE(item->m_overAudio, std::string("o.au"));
        }
        QVERIFY(env.doc.IsModified());
    }

    void audioScopesSetOnlyTheSounds() {
        EditorEnv env;
        MediaTree tree(env.Applet());
        env.Edit(tree.sub, tree.s1);
        CDlgItem page(env.doc);
        QStringList seen;
        env.dialogs.onDialog = [&](QDialog* dialog) {
            auto* media = static_cast<CDlgMedia*>(dialog);
            seen << media->PathBox(0)->text() << media->PathBox(1)->text();
            return AnswerMedia({"hover.au", ""}, ApplyScope::SameMenu)(dialog);
        };
        Find<QPushButton>(&page, "audioButton")->click();
        QCOMPARE(env.dialogs.dialogTitles, QStringList{"Audio"});
        QCOMPARE(seen, (QStringList{"o.au", "c.au"}));
        for (CVoraneItem* item : tree.All()) {
            const bool inMenu = item == tree.s1 || item == tree.s2;
            QCOMPARE(item->m_overAudio, std::string(inMenu ? "hover.au" : "o.au"));
            QCOMPARE(item->m_clickAudio, std::string(inMenu ? "" : "c.au"));
            QCOMPARE(item->m_overImage, std::string("o.gif"));
        }

        env.dialogs.onDialog = AnswerMedia({"x.au", "y.au"}, ApplyScope::AllItems);
        Find<QPushButton>(&page, "audioButton")->click();
        for (CVoraneItem* item : tree.All()) QCOMPARE(item->m_clickAudio, std::string("y.au"));
    }

    void applyingTheSamePathsLeavesTheDocumentUnmodified() {
        EditorEnv env;
        MediaTree tree(env.Applet());
        env.Edit(tree.a, tree.a1);
        CDlgItem page(env.doc);
        env.dialogs.onDialog = AnswerMedia({"n.gif", "o.gif", "c.gif"}, ApplyScope::AllItems);
        Find<QPushButton>(&page, "imageButton")->click();
        QVERIFY(!env.doc.IsModified());
        tree.d1->m_clickImage = "different.gif";
        Find<QPushButton>(&page, "imageButton")->click();
        QVERIFY(env.doc.IsModified());
        QCOMPARE(tree.d1->m_clickImage, std::string("c.gif"));
    }

    void mediaDialogRefusesCommasAndBrowses() {
        RecordingDialogs dialogs;
        CDlgImage dialog(dialogs);
        dialog.SetValues({"a.gif", "b.gif", "c.gif"}, ApplyScope::ThisItem);
        dialogs.openFileNames = {QStringLiteral("/pics/over,1.gif")};
        dialog.BrowseButton(1)->click();
        QCOMPARE(dialogs.proposedNames, QStringList{"b.gif"});
        QCOMPARE(dialogs.filters, QStringList{convert::ToQtFileFilter(texts::kImageFilter)});
        QCOMPARE(dialog.PathBox(1)->text(), QStringLiteral("/pics/over,1.gif"));
        dialog.accept();
        QVERIFY(dialog.result() != QDialog::Accepted);
        QCOMPARE(dialogs.messages, QStringList{kNoComma});
        dialog.PathBox(1)->setText(QStringLiteral("/pics/over1.gif"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Paths(), (std::vector<std::string>{"a.gif", "/pics/over1.gif", "c.gif"}));
        QCOMPARE(dialog.Scope(), ApplyScope::ThisItem);

        CDlgAudio audio(dialogs);
        dialogs.openFileNames = {QStringLiteral("/snd/x.au")};
        audio.BrowseButton(0)->click();
        QCOMPARE(dialogs.filters.last(), convert::ToQtFileFilter(texts::kAudioFilter));
        QSignalSpy help(&audio, &CDlgMedia::helpRequested);
        audio.HelpButton()->click();
        QTest::keyClick(&audio, Qt::Key_F1);
        QCOMPARE(help.count(), 2);
        QCOMPARE(help.at(0).at(0).toString(), QString::fromLatin1(help::kAudioDialog));
        QCOMPARE(help.at(1).at(0).toString(), QString::fromLatin1(help::kAudioDialog));
    }
};

QTEST_MAIN(ItemPagesTest)
#include "tst_pages_item.moc"
