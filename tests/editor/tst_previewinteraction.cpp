// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QtTest>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "preview/MenuPreviewWidget.h"

using namespace kestrune;

namespace {

CVoraneItem* AddItem(CVorane& menu, const char* label, const char* link = "") {
    auto item = std::make_unique<CVoraneItem>(label);
    item->m_link = link;
    CVoraneItem* added = item.get();
    menu.AddItem(std::move(item), 0);
    return added;
}

// "Home" and "Products" stacked at (10, 10); Products opens "Tools" and "Parts" beside it.
std::unique_ptr<CAppletParameters> ShopApplet() {
    auto applet = std::make_unique<CAppletParameters>();
    applet->m_appWidth = 300;
    applet->m_appHeight = 120;
    CVorane* top = applet->NewTopLevelMenu();
    top->m_xPos = 10;
    top->m_yPos = 10;
    CVoraneItem* home = AddItem(*top, "Home", "index.html");
    home->m_target = "_top";
    home->m_description = "Start page";
    home->m_overAudio = "/sounds/over.au";
    home->m_clickAudio = "/sounds/click.au";
    CVoraneItem* products = AddItem(*top, "Products");
    CVorane& sub = products->SubMenu();
    sub.m_xPos = 90;
    sub.m_yPos = 0;
    AddItem(sub, "Tools", "tools.html");
    AddItem(sub, "Parts", "parts.html");
    return applet;
}

class PreviewFixture {
public:
    PreviewFixture() {
        widget.SetCloseDelay(0);
        widget.SetApplet(ShopApplet());
        widget.show();
    }

    // Qt drops a move to where the pointer already is, and the last test may have left
    // it exactly there: start every test from a corner of the canvas.
    bool Ready() {
        if (!QTest::qWaitForWindowExposed(&widget)) return false;
        QTest::mouseMove(&widget, QPoint(0, 0));
        return true;
    }

    QPoint Centre(int menu, int item) const {
        const auto& shown = widget.Layout().Menus().at(static_cast<std::size_t>(menu));
        return widget.ToWidget(shown.items.at(static_cast<std::size_t>(item)).rect.center());
    }
    const CVoraneItem* Item(int menu, int item) const {
        return widget.Layout().Menus().at(static_cast<std::size_t>(menu)).items.at(static_cast<std::size_t>(item)).item;
    }
    ItemState State(int menu, int item) const { return widget.StateOf(Item(menu, item)); }
    std::size_t MenuCount() const { return widget.Layout().Menus().size(); }
    QPoint Nowhere() const { return widget.ToWidget(QPoint(280, 110)); }

    CMenuPreviewWidget widget;
};

}  // namespace

class PreviewInteractionTest : public QObject {
    Q_OBJECT
private slots:
    void pointerOverAnItemShowsMouseOverOpensItsSubMenuAndNamesItsLink() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QSignalSpy status(&f.widget, &CMenuPreviewWidget::statusChanged);
        QCOMPARE(f.MenuCount(), std::size_t{1});

        QTest::mouseMove(&f.widget, f.Centre(0, 0));
        QCOMPARE(f.State(0, 0), kStateMouseOver);
        QCOMPARE(f.State(0, 1), kStateNormal);
        QCOMPARE(f.MenuCount(), std::size_t{1});  // Home opens nothing
        QVERIFY(!status.isEmpty());
        const QString home = status.last().at(0).toString();
        QVERIFY(home.contains("index.html") && home.contains("_top") && home.contains("Start page"));

        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QCOMPARE(f.State(0, 0), kStateNormal);
        QCOMPARE(f.State(0, 1), kStateMouseOver);
        QCOMPARE(f.MenuCount(), std::size_t{2});
        QCOMPARE(f.widget.Layout().Menus()[1].items[0].item->m_label, std::string("Tools"));
        QVERIFY(status.last().at(0).toString().contains("_self"));  // no target: the applet's default
    }

    void movingIntoTheSubMenuKeepsItsOpenerLitAndAnotherItemClosesIt() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QTest::mouseMove(&f.widget, f.Centre(1, 1));
        QCOMPARE(f.State(0, 1), kStateMouseOver);
        QCOMPARE(f.State(1, 1), kStateMouseOver);
        QCOMPARE(f.State(1, 0), kStateNormal);
        QCOMPARE(f.widget.OpenPath(), (MenuPath{0, {1, 1}}));

        // Over the gap between the sub menu's items: what is open stays open.
        const auto& sub = f.widget.Layout().Menus()[1];
        const QPoint gap = f.widget.ToWidget(QPoint(sub.items[0].rect.center().x(), sub.items[0].rect.bottom() + 2));
        QTest::mouseMove(&f.widget, gap);
        QCOMPARE(f.MenuCount(), std::size_t{2});
        QCOMPARE(f.State(0, 1), kStateMouseOver);

        QTest::mouseMove(&f.widget, f.Centre(0, 0));
        QCOMPARE(f.MenuCount(), std::size_t{1});
        QCOMPARE(f.State(0, 1), kStateNormal);
    }

    void aSubMenuWithOnlyHiddenItemsDoesNotOpen() {
        CMenuPreviewWidget widget;
        auto applet = ShopApplet();
        for (auto& item : applet->m_menus[0]->m_items[1]->SubMenu().m_items) item->m_visible = 0;
        widget.SetApplet(std::move(applet));
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QTest::mouseMove(&widget, QPoint(0, 0));
        const QPoint products = widget.ToWidget(widget.Layout().Menus()[0].items[1].rect.center());
        QTest::mouseMove(&widget, products);
        QCOMPARE(widget.Layout().Menus().size(), std::size_t{1});
        QCOMPARE(widget.StateOf(widget.Layout().Menus()[0].items[1].item), kStateMouseOver);
    }

    void movingAwayClosesTheMenusAfterTheDelayUnlessThePointerComesBack() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QTest::mouseMove(&f.widget, f.Nowhere());
        QCOMPARE(f.MenuCount(), std::size_t{1});
        QVERIFY(f.widget.OpenPath().IsEmpty());
        QCOMPARE(f.State(0, 1), kStateNormal);

        f.widget.SetCloseDelay(100);
        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QTest::mouseMove(&f.widget, f.Nowhere());
        QCOMPARE(f.MenuCount(), std::size_t{2});  // still open: the pointer may be crossing a gap
        QCOMPARE(f.State(0, 1), kStateMouseOver);
        QTest::mouseMove(&f.widget, f.Centre(1, 0));
        QTest::qWait(250);
        QCOMPARE(f.MenuCount(), std::size_t{2});
        QCOMPARE(f.State(1, 0), kStateMouseOver);

        QTest::mouseMove(&f.widget, f.Nowhere());
        QTRY_COMPARE_WITH_TIMEOUT(f.MenuCount(), std::size_t{1}, 2000);
        QVERIFY(f.widget.OpenPath().IsEmpty());
    }

    void pressShowsClickedAndReleaseReturnsToMouseOver() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QSignalSpy status(&f.widget, &CMenuPreviewWidget::statusChanged);
        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QTest::mouseMove(&f.widget, f.Centre(1, 0));
        QTest::mousePress(&f.widget, Qt::LeftButton, {}, f.Centre(1, 0));
        QVERIFY(f.widget.IsPressed());
        QCOMPARE(f.State(1, 0), kStateClicked);
        QCOMPARE(f.State(0, 1), kStateMouseOver);  // the opener is not clicked
        const QString clicked = status.last().at(0).toString();
        QVERIFY(clicked.contains("tools.html") && clicked.contains("does not open"));
        QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, f.Centre(1, 0));
        QCOMPARE(f.State(1, 0), kStateMouseOver);

        QTest::mousePress(&f.widget, Qt::RightButton, {}, f.Centre(1, 0));
        QCOMPARE(f.State(1, 0), kStateMouseOver);
        QTest::mouseRelease(&f.widget, Qt::RightButton, {}, f.Centre(1, 0));
        // Moving on while pressed lets go of the Clicked look.
        QTest::mousePress(&f.widget, Qt::LeftButton, {}, f.Centre(1, 0));
        QTest::mouseMove(&f.widget, f.Centre(1, 1));
        QCOMPARE(f.State(1, 0), kStateNormal);
        QCOMPARE(f.State(1, 1), kStateMouseOver);
        QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, f.Centre(1, 1));
        QCOMPARE(f.State(1, 1), kStateMouseOver);
    }

    void soundsAreAskedForOnEnteringAndOnPressing() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QSignalSpy sounds(&f.widget, &CMenuPreviewWidget::soundRequested);
        const QPoint home = f.Centre(0, 0);
        QTest::mouseMove(&f.widget, home);
        QTest::mouseMove(&f.widget, home + QPoint(2, 1));  // still the same item
        QCOMPARE(sounds.size(), 1);
        QCOMPARE(sounds[0].at(0).toString(), QStringLiteral("/sounds/over.au"));
        QTest::mousePress(&f.widget, Qt::LeftButton, {}, home);
        QCOMPARE(sounds.size(), 2);
        QCOMPARE(sounds[1].at(0).toString(), QStringLiteral("/sounds/click.au"));
        QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, home);
        QTest::mouseMove(&f.widget, f.Centre(0, 1));  // Products has no sound
        QTest::mouseMove(&f.widget, home);
        QCOMPARE(sounds.size(), 3);
    }

    void anEditKeepsOpenMenusWhereTheyStillExist() {
        PreviewFixture f;
        QVERIFY(f.Ready());
        QTest::mouseMove(&f.widget, f.Centre(0, 1));
        QTest::mouseMove(&f.widget, f.Centre(1, 1));

        auto relabelled = ShopApplet();
        relabelled->m_menus[0]->m_items[1]->SubMenu().m_items[1]->m_label = "Spare parts";
        f.widget.SetApplet(std::move(relabelled));
        QCOMPARE(f.widget.OpenPath(), (MenuPath{0, {1, 1}}));
        QCOMPARE(f.Item(1, 1)->m_label, std::string("Spare parts"));
        QCOMPARE(f.State(1, 1), kStateMouseOver);

        auto shorter = ShopApplet();
        shorter->m_menus[0]->m_items[1]->SubMenu().RemoveAllItems();
        f.widget.SetApplet(std::move(shorter));
        QCOMPARE(f.widget.OpenPath(), (MenuPath{0, {1}}));
        QCOMPARE(f.MenuCount(), std::size_t{1});

        f.widget.SetApplet(nullptr);
        QVERIFY(f.widget.OpenPath().IsEmpty());
        QTest::mouseMove(&f.widget, QPoint(5, 5));  // nothing to hit, nothing breaks
    }

    void theCanvasShowsTheAppletAtItsSizeAndHatchesWhatLiesOutside() {
        auto applet = ShopApplet();
        applet->m_appBKColor = 0x00FFFFFF;
        CVorane& top = *applet->m_menus[0];
        top.m_xPos = 250;  // the menu pokes out on the right
        for (ItemStyle& style : top.m_itemStyle) style.BKColor = 0x000000FF;
        CMenuPreviewWidget widget;
        widget.SetApplet(std::move(applet));
        // Room for every menu, opened or not: the sub menu of Products ends at 250 + 90 + 80.
        QCOMPARE(widget.sizeHint(), QSize(420 + 2 * CMenuPreviewWidget::kMargin, 120 + 2 * CMenuPreviewWidget::kMargin));
        QCOMPARE(widget.size(), widget.sizeHint());

        const QImage image = widget.grab().toImage();
        QCOMPARE(image.pixelColor(widget.ToWidget(QPoint(5, 100))), QColor(Qt::white));
        QCOMPARE(image.pixelColor(widget.ToWidget(QPoint(252, 11))), QColor(Qt::red));  // above the label
        // Outside the applet the red item is streaked by the hatching.
        int hatched = 0;
        for (int x = 300; x < 330; ++x)
            for (int y = 11; y < 29; ++y)
                if (image.pixelColor(widget.ToWidget(QPoint(x, y))) != QColor(Qt::red)) ++hatched;
        QVERIFY(hatched > 30);
        QVERIFY(hatched < 30 * 18);
    }
};

QTEST_MAIN(PreviewInteractionTest)
#include "tst_previewinteraction.moc"
