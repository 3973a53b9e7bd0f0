// SPDX-License-Identifier: GPL-3.0-or-later
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "preview/PreviewMenuLayout.h"
#include "preview/MenuRenderer.h"
#include "preview/PreviewImageCache.h"

using namespace kestrune;

namespace {

constexpr Color kRed = 0x000000FF;
constexpr Color kGreen = 0x0000FF00;
constexpr Color kBlue = 0x00FF0000;
constexpr Color kWhite = 0x00FFFFFF;
constexpr Color kGrey = 0x00808080;

void SetArea(CAppletParameters& applet, int width, int height, Color background = 0) {
    applet.m_appWidth = width;
    applet.m_appHeight = height;
    applet.m_appBKColor = background;
}

// A menu of plain solid items without text, so pixels say exactly where things are.
CVorane* AddMenu(CVorane& menu, int items, Color fill) {
    menu.m_BKStyle = 0;
    menu.m_Width = 20;
    menu.m_Height = 10;
    menu.m_ItemGap = 4;
    menu.m_xPos = 0;
    menu.m_yPos = 0;
    for (ItemStyle& style : menu.m_itemStyle) {
        style.BKColor = fill;
        style.ItemFillStyle = 1;
    }
    for (int i = 0; i < items; ++i) menu.AddItem(std::make_unique<CVoraneItem>(""), 0);
    return &menu;
}

CVorane* AddTopMenu(CAppletParameters& applet, int items, Color fill) {
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);
    return AddMenu(*applet.m_menus.back(), items, fill);
}

struct Rendering {
    CPreviewImageCache images;
    CMenuRenderer renderer{images};
    CMenuLayout layout;
    QImage image;

    Rendering(const CAppletParameters& applet, const MenuPath& path = {}, bool pressed = false) {
        image = QImage(applet.m_appWidth, applet.m_appHeight, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        layout.Build(applet, path);
        QPainter painter(&image);
        renderer.DrawAppletBackground(painter, applet);
        renderer.DrawMenus(painter, layout, pressed, image.rect());
    }

    QColor At(int x, int y) const { return image.pixelColor(x, y); }
};

QColor Q(Color color) { return CMenuRenderer::ToQColor(color); }

// Pixels of a rectangle that are close to a colour.
int CountNear(const QImage& image, const QRect& rect, const QColor& color, int tolerance = 40) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <= tolerance)
                ++count;
        }
    return count;
}

// Columns (or rows) of a rectangle holding a pixel near the colour.
QRect BoundsOf(const QImage& image, const QRect& rect, const QColor& color) {
    QRect bounds;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (CountNear(image, QRect(x, y, 1, 1), color, 60)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int Brightness(const QColor& color) { return color.red() + color.green() + color.blue(); }

}  // namespace

class PreviewRenderTest : public QObject {
    Q_OBJECT
private slots:
    void appletBackgroundIsItsColourAndAFilledItemHasItsColourInside() {
        CAppletParameters applet;
        SetArea(applet, 60, 40, kBlue);
        CVorane* menu = AddTopMenu(applet, 1, kRed);
        menu->m_xPos = 10;
        menu->m_yPos = 5;
        Rendering r(applet);
        QCOMPARE(r.At(0, 0), Q(kBlue));
        QCOMPARE(CountNear(r.image, QRect(10, 5, 20, 10), Q(kRed), 0), 200);
        QCOMPARE(r.At(9, 5), Q(kBlue));
        QCOMPARE(r.At(30, 5), Q(kBlue));
        QCOMPARE(r.At(10, 15), Q(kBlue));

        menu->m_itemStyle[0].ItemFillStyle = 0;  // transparent: the applet shows through
        Rendering clear(applet);
        QCOMPARE(clear.At(15, 10), Q(kBlue));
    }

    void raisedBorderIsLightTopLeftAndDarkBottomRightSunkenTheOtherWayPlainFlat() {
        CAppletParameters applet;
        SetArea(applet, 40, 30);
        CVorane* menu = AddTopMenu(applet, 1, kGrey);
        menu->m_BorderThick = 2;
        menu->m_itemStyle[0].ItemBorderStyle = 1;
        Rendering raised(applet);
        const QColor grey = Q(kGrey);
        for (const QPoint p : {QPoint(5, 0), QPoint(0, 5), QPoint(5, 1), QPoint(1, 5)})
            QVERIFY2(Brightness(raised.At(p.x(), p.y())) > Brightness(grey), qPrintable(QString::number(p.x())));
        for (const QPoint p : {QPoint(5, 9), QPoint(19, 5), QPoint(5, 8), QPoint(18, 5)})
            QVERIFY(Brightness(raised.At(p.x(), p.y())) < Brightness(grey));
        QCOMPARE(raised.At(10, 5), grey);  // inside the border the fill is untouched

        menu->m_itemStyle[0].ItemBorderStyle = 2;
        Rendering sunken(applet);
        QVERIFY(Brightness(sunken.At(5, 0)) < Brightness(grey));
        QVERIFY(Brightness(sunken.At(19, 5)) > Brightness(grey));

        menu->m_itemStyle[0].ItemBorderStyle = 0;  // plain: flat, no frame
        Rendering plain(applet);
        QCOMPARE(CountNear(plain.image, QRect(0, 0, 20, 10), grey, 0), 200);
    }

    void horizontalMenuLaysItemsLeftToRightWithTheGap() {
        CAppletParameters applet;
        SetArea(applet, 100, 20, kWhite);
        CVorane* menu = AddTopMenu(applet, 3, kRed);
        menu->m_MenuAlign = 1;
        menu->m_itemStyle[0].BKColor = kRed;
        Rendering r(applet);
        for (int k = 0; k < 3; ++k) {
            const int left = k * 24;
            QCOMPARE(r.At(left, 0), Q(kRed));
            QCOMPARE(r.At(left + 19, 9), Q(kRed));
            QCOMPARE(r.At(left + 20, 5), Q(kWhite));  // the gap
            QCOMPARE(r.At(left + 23, 5), Q(kWhite));
            QCOMPARE(r.At(left, 10), Q(kWhite));      // one row high
        }
        QCOMPARE(r.At(72, 5), Q(kWhite));

        menu->m_MenuAlign = 0;  // vertical: stacked with the gap
        Rendering v(applet);
        QCOMPARE(v.At(5, 9), Q(kRed));
        QCOMPARE(v.At(5, 12), Q(kWhite));
        QCOMPARE(v.At(5, 14), Q(kRed));
        QCOMPARE(v.At(24, 5), Q(kWhite));
    }

    void cornerTwoMenuExtendsUpAndLeftFromItsAnchor() {
        CAppletParameters applet;
        SetArea(applet, 80, 60, kWhite);
        CVorane* menu = AddTopMenu(applet, 2, kRed);
        menu->m_Corner = 2;
        menu->m_xPos = 50;
        menu->m_yPos = 40;
        Rendering r(applet);
        // Two items of 20 x 10 with a gap of 4: 20 wide and 24 high, ending at the anchor.
        QCOMPARE(r.At(30, 16), Q(kRed));
        QCOMPARE(r.At(49, 39), Q(kRed));
        QCOMPARE(r.At(50, 39), Q(kWhite));
        QCOMPARE(r.At(49, 40), Q(kWhite));
        QCOMPARE(r.At(29, 30), Q(kWhite));
        QCOMPARE(r.At(40, 15), Q(kWhite));
        QCOMPARE(r.layout.Menus().at(0).rect, QRect(30, 16, 20, 24));

        menu->m_Corner = 1;  // right and down from the anchor's left
        Rendering one(applet);
        QCOMPARE(one.layout.Menus().at(0).rect, QRect(30, 40, 20, 24));
        menu->m_Corner = 3;
        Rendering three(applet);
        QCOMPARE(three.layout.Menus().at(0).rect, QRect(50, 16, 20, 24));
    }

    void subMenuOpensAtTheCornerOfItsItemAndOnlyWhenOpen() {
        CAppletParameters applet;
        SetArea(applet, 120, 80, kWhite);
        CVorane* top = AddTopMenu(applet, 2, kRed);
        top->m_xPos = 10;
        top->m_yPos = 10;
        CVorane& sub = top->m_items[1]->SubMenu();
        AddMenu(sub, 1, kGreen);
        sub.m_xPos = 30;  // measured from the top-left corner of item 1, at (10, 24)
        sub.m_yPos = 2;

        Rendering closed(applet);
        QCOMPARE(closed.layout.Menus().size(), std::size_t{1});
        QCOMPARE(CountNear(closed.image, closed.image.rect(), Q(kGreen), 0), 0);

        Rendering open(applet, MenuPath{0, {1}});
        QCOMPARE(open.layout.Menus().size(), std::size_t{2});
        QCOMPARE(open.layout.Menus()[1].rect, QRect(40, 26, 20, 10));
        QCOMPARE(open.At(40, 26), Q(kGreen));
        QCOMPARE(open.At(59, 35), Q(kGreen));
        QCOMPARE(open.At(39, 26), Q(kWhite));

        // Item 0 opens nothing: its sub menu has no items, or only hidden ones.
        AddMenu(top->m_items[0]->SubMenu(), 1, kBlue);
        top->m_items[0]->SubMenu().m_items[0]->m_visible = 0;
        Rendering hidden(applet, MenuPath{0, {0}});
        QCOMPARE(hidden.layout.Menus().size(), std::size_t{1});
        QCOMPARE(hidden.layout.Path(), (MenuPath{0, {0}}));
    }

    void openPathShowsMouseOverAndClickedStyles() {
        CAppletParameters applet;
        SetArea(applet, 60, 40);
        CVorane* menu = AddTopMenu(applet, 2, kRed);
        menu->m_itemStyle[1].BKColor = kGreen;
        menu->m_itemStyle[2].BKColor = kBlue;
        Rendering over(applet, MenuPath{0, {1}});
        QCOMPARE(over.At(5, 5), Q(kRed));
        QCOMPARE(over.At(5, 19), Q(kGreen));
        Rendering clicked(applet, MenuPath{0, {1}}, true);
        QCOMPARE(clicked.At(5, 19), Q(kBlue));
        QCOMPARE(clicked.At(5, 5), Q(kRed));
    }

    void gradientsRunFromTheirStartColourSingleOrThereAndBack() {
        CAppletParameters applet;
        SetArea(applet, 101, 41);
        CVorane* menu = AddTopMenu(applet, 1, kRed);
        menu->m_Width = 101;
        menu->m_Height = 41;
        ItemStyle& style = menu->m_itemStyle[0];
        style.ItemFillStyle = 2;  // horizontal, black to colour
        style.GradientDirection = 0;
        Rendering single(applet);
        QVERIFY(single.At(0, 20).red() < 20);
        QVERIFY(single.At(100, 20).red() > 235);
        QVERIFY(single.At(50, 0).red() > 100 && single.At(50, 0).red() < 160);
        QCOMPARE(single.At(0, 0), single.At(0, 40));  // the same down a column

        style.GradientDirection = 1;
        Rendering both(applet);
        QVERIFY(both.At(0, 20).red() < 20);
        QVERIFY(both.At(50, 20).red() > 235);
        QVERIFY(both.At(100, 20).red() < 20);

        style.ItemFillStyle = 9;  // vertical, colour to white
        style.GradientDirection = 0;
        Rendering vertical(applet);
        QCOMPARE(vertical.At(50, 0).red(), 255);
        QVERIFY(vertical.At(50, 0).green() < 20);
        QVERIFY(vertical.At(50, 40).green() > 235);
        QCOMPARE(vertical.At(0, 10), vertical.At(100, 10));  // the same along a row
    }

    void menuBackgroundFillsTheGapsAndFramesInTheFontColour() {
        CAppletParameters applet;
        SetArea(applet, 60, 40, kWhite);
        CVorane* menu = AddTopMenu(applet, 2, kRed);
        menu->m_BKColor = kBlue;
        menu->m_BKStyle = 2;
        Rendering filled(applet);
        QCOMPARE(filled.At(5, 11), Q(kBlue));    // the gap between the items
        QCOMPARE(filled.At(20, 24), Q(kBlue));   // one pixel more in each direction
        QCOMPARE(filled.At(21, 25), Q(kWhite));

        menu->m_BKStyle = 1;
        menu->m_itemStyle[0].FRColor = kGreen;
        menu->m_itemStyle[0].ItemFillStyle = 0;
        Rendering framed(applet);
        QCOMPARE(framed.At(0, 12), Q(kGreen));
        QCOMPARE(framed.At(19, 12), Q(kGreen));
        QCOMPARE(framed.At(5, 12), Q(kWhite));  // transparent: no fill

        menu->m_BKStyle = 3;  // the frame lies over filled items too
        menu->m_itemStyle[0].ItemFillStyle = 1;
        Rendering filledAndFramed(applet);
        QCOMPARE(filledAndFramed.At(0, 5), Q(kGreen));
        QCOMPARE(filledAndFramed.At(1, 5), Q(kRed));
        QCOMPARE(filledAndFramed.At(5, 11), Q(kBlue));
    }

    void labelsAreAlignedWithOffsetsAndBreakIntoLines() {
        CAppletParameters applet;
        SetArea(applet, 200, 60);
        CVorane* menu = AddTopMenu(applet, 1, 0);
        menu->m_Width = 200;
        menu->m_Height = 60;
        menu->m_itemStyle[0].FRColor = kWhite;
        menu->m_itemStyle[0].FontSize = 14;
        menu->m_itemStyle[0].FontName = 1;
        menu->m_items[0]->m_label = "MMM";
        const QRect item(0, 0, 200, 60);

        Rendering left(applet);
        const QRect leftText = BoundsOf(left.image, item, Q(kWhite));
        QVERIFY(!leftText.isEmpty());
        QVERIFY(leftText.left() < 4);
        QVERIFY(leftText.right() < 60);
        QVERIFY(std::abs(leftText.center().y() - 30) <= 3);  // centred vertically

        menu->m_itemStyle[0].TextAlign = 2;
        menu->m_itemStyle[0].TextOffset = 10;
        Rendering right(applet);
        const QRect rightText = BoundsOf(right.image, item, Q(kWhite));
        QVERIFY(rightText.right() <= 190 && rightText.right() > 180);

        menu->m_itemStyle[0].TextAlign = 1;
        menu->m_itemStyle[0].TextOffset = 0;
        menu->m_items[0]->m_label = "MMM\r\nMMM";
        Rendering twoLines(applet);
        const QRect block = BoundsOf(twoLines.image, item, Q(kWhite));
        QVERIFY(std::abs(block.center().x() - 100) <= 3);
        QVERIFY(block.height() > leftText.height() * 2);
        QCOMPARE(CountNear(twoLines.image, QRect(0, block.center().y() - 1, 200, 3), Q(kWhite), 60), 0);
    }

    void textEffectsAddShadesAroundTheLetters() {
        CAppletParameters applet;
        SetArea(applet, 120, 40);
        CVorane* menu = AddTopMenu(applet, 1, kGrey);
        menu->m_Width = 120;
        menu->m_Height = 40;
        ItemStyle& style = menu->m_itemStyle[0];
        style.FRColor = kRed;
        style.FontSize = 20;
        style.FontStyle = 1;
        menu->m_items[0]->m_label = "HH";
        const QRect item(0, 0, 120, 40);
        const QColor light = CMenuRenderer::Lighter(Q(kGrey));
        const QColor dark = CMenuRenderer::Darker(Q(kGrey));

        Rendering normal(applet);
        QCOMPARE(CountNear(normal.image, item, dark, 10), 0);
        style.FontEffect = 4;  // shadow: dark, below right of the letters
        Rendering shadow(applet);
        const QRect letters = BoundsOf(shadow.image, item, Q(kRed));
        const QRect shade = BoundsOf(shadow.image, item, dark);
        QVERIFY(!shade.isEmpty());
        QVERIFY(shade.right() > letters.right() && shade.bottom() > letters.bottom());
        style.FontEffect = 3;  // bulge: light above left, dark below right
        Rendering bulge(applet);
        QVERIFY(BoundsOf(bulge.image, item, light).top() < BoundsOf(bulge.image, item, dark).top());
        style.FontEffect = 2;  // sunken: the other way round
        Rendering sunken(applet);
        QVERIFY(BoundsOf(sunken.image, item, dark).top() < BoundsOf(sunken.image, item, light).top());
        style.FontEffect = 1;  // outline: letters in the item colour ringed in the font colour
        Rendering outline(applet);
        QVERIFY(BoundsOf(outline.image, item, Q(kRed)).width() > letters.width());
    }

    void imagesOfEachStateAreDrawnAtTheirAlignment() {
        QTemporaryDir folder;
        bool saved = true;
        auto makeImage = [&](const QString& name, const QColor& color) {
            QImage image(8, 6, QImage::Format_RGB32);
            image.fill(color);
            const QString path = folder.filePath(name);
            saved = image.save(path) && saved;
            return path.toStdString();
        };
        CAppletParameters applet;
        SetArea(applet, 60, 20);
        CVorane* menu = AddTopMenu(applet, 1, 0);
        menu->m_Width = 60;
        menu->m_Height = 20;
        CVoraneItem& item = *menu->m_items[0];
        item.m_normalImage = makeImage("n.png", Qt::green);
        item.m_overImage = makeImage("o.jpg", Qt::blue);
        menu->m_itemStyle[0].ImageOffset = 3;
        menu->m_itemStyle[1].ImageAlign = 2;
        QVERIFY(saved);

        Rendering normal(applet);
        QCOMPARE(BoundsOf(normal.image, QRect(0, 0, 60, 20), Qt::green), QRect(3, 7, 8, 6));
        Rendering over(applet, MenuPath{0, {0}});
        QCOMPARE(BoundsOf(over.image, QRect(0, 0, 60, 20), Qt::blue), QRect(52, 7, 8, 6));
        // No image of its own in Clicked: the Normal image stays.
        Rendering clicked(applet, MenuPath{0, {0}}, true);
        QCOMPARE(BoundsOf(clicked.image, QRect(0, 0, 60, 20), Qt::green), QRect(0, 7, 8, 6));

        applet.m_appBKImagePath = makeImage("bg.png", Qt::yellow);
        applet.m_appBKImageX = 40;
        applet.m_appBKImageY = 10;
        menu->m_xPos = 1000;
        Rendering placed(applet);
        QCOMPARE(BoundsOf(placed.image, placed.image.rect(), Qt::yellow), QRect(40, 10, 8, 6));
        applet.m_appBKImageMode = 1;
        Rendering tiled(applet);
        QCOMPARE(CountNear(tiled.image, tiled.image.rect(), Qt::yellow, 0), 60 * 20);
    }

    void absurdFieldValuesDrawWithoutTrouble() {
        CAppletParameters applet;
        SetArea(applet, 50, 50);
        CVorane* menu = AddTopMenu(applet, 3, kRed);
        menu->m_xPos = 2147483000;
        menu->m_Width = 2147483647;
        menu->m_ItemGap = -2147483647;
        menu->m_BorderThick = 1 << 30;
        menu->m_itemStyle[0].FontSize = -5;
        menu->m_itemStyle[0].ItemFillStyle = 77;
        menu->m_items[0]->m_label = "x";
        Rendering r(applet, MenuPath{0, {2, 5, 9}});
        QCOMPARE(r.layout.Path(), (MenuPath{0, {2}}));
        const QRect extent = CMenuLayout::FullExtent(applet);
        QVERIFY(extent.width() > 0 && extent.right() < (1 << 23));
    }

    // Menus sharing a place hide each other; what lies under opaque parts may be left out,
    // but every pixel comes out as when each part is drawn in order.
    void overlappingMenusDrawAsEveryPartInOrder() {
        CAppletParameters applet;
        SetArea(applet, 90, 70, kGrey);
        const Color fills[] = {kRed, kGreen, kBlue, kWhite, kRed, kGreen};
        for (int m = 0; m < 6; ++m) {
            CVorane* menu = AddTopMenu(applet, 3, fills[m]);
            // Four in one place (every other a pixel lower), two more in another.
            menu->m_xPos = m < 4 ? 10 : 30;
            menu->m_yPos = m < 4 ? 8 + m % 2 : 20;
            menu->m_BKStyle = m % 4;  // none, frame, filled, filled and framed
            menu->m_BorderThick = 2;
            for (ItemStyle& style : menu->m_itemStyle) {
                style.ItemBorderStyle = 1;
                style.FRColor = kWhite;
                style.FontSize = 9;
            }
            menu->m_items[1]->m_label = "A" + std::to_string(m);
        }
        applet.m_menus[5]->m_itemStyle[0].ItemFillStyle = 0;  // the last one lets the others through
        applet.m_menus[3]->m_itemStyle[0].ItemFillStyle = 4;  // a gradient
        const MenuPath path{3, {1}};
        for (const QRect& dirty : {QRect(0, 0, 90, 70), QRect(12, 10, 30, 20), QRect(0, 20, 90, 6)}) {
            for (const bool pressed : {false, true}) {
                CPreviewImageCache images;
                CMenuRenderer renderer(images);
                CMenuLayout layout;
                layout.Build(applet, path);
                QImage whole(applet.m_appWidth, applet.m_appHeight, QImage::Format_RGB32);
                whole.fill(Qt::magenta);
                QImage parts = whole;
                {
                    QPainter painter(&whole);
                    renderer.DrawMenus(painter, layout, pressed, dirty);
                }
                QPainter painter(&parts);
                for (std::size_t m = 0; m < layout.Menus().size(); ++m) {
                    const ShownMenu& shown = layout.Menus()[m];
                    if (!shown.rect.intersects(dirty)) continue;
                    renderer.DrawMenuBackground(painter, *shown.menu, shown.rect);
                    for (std::size_t i = 0; i < shown.items.size(); ++i)
                        if (shown.items[i].rect.intersects(dirty))
                            renderer.DrawItem(painter, *shown.menu, *shown.items[i].item, shown.items[i].rect,
                                              CMenuRenderer::StateOf(layout, int(m), int(i), pressed));
                    renderer.DrawMenuFrame(painter, *shown.menu, shown.rect);
                }
                painter.end();
                QVERIFY2(whole == parts, qPrintable(QStringLiteral("dirty %1,%2 %3x%4 pressed %5")
                                                        .arg(dirty.x()).arg(dirty.y()).arg(dirty.width())
                                                        .arg(dirty.height()).arg(pressed)));
            }
        }
    }
};

QTEST_MAIN(PreviewRenderTest)
#include "tst_previewrender.moc"
