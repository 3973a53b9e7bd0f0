// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "output/MenuLayout.h"
#include "output/MenuLayoutJson.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

Rect R(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }

// A vertical top-level menu at (10, 10), 100 x 20 items 2 apart; its second item opens a
// horizontal menu anchored at its bottom-right corner, whose first item opens another.
struct ThreeLevels {
    CAppletParameters applet;
    CVorane* top;
    CVorane* second;
    CVorane* third;
    ThreeLevels() {
        top = &AddTopMenu(applet, {"A", "B", "C"});
        top->m_xPos = 10, top->m_yPos = 10, top->m_Width = 100, top->m_Height = 20, top->m_ItemGap = 2;
        second = &ItemAt(*top, 1).SubMenu();
        AddItems(*second, {"B1", "B2"});
        second->m_MenuAlign = 1, second->m_Corner = 2, second->m_xPos = 30, second->m_yPos = 5;
        second->m_Width = 50, second->m_Height = 10, second->m_ItemGap = 0, second->m_BKStyle = 2;
        third = &ItemAt(*second, 0).SubMenu();
        AddItems(*third, {"X"});
    }
};

}  // namespace

TEST(MenuLayoutTest, OpenPathLaysOutEachLevelFromTheCornerOfItsItem) {
    ThreeLevels f;
    MenuLayout layout;
    const MenuPath held = layout.Build(f.applet, MenuPath{0, {1, 0}});
    EXPECT_EQ(held, (MenuPath{0, {1, 0}}));
    ASSERT_EQ(layout.Menus().size(), 3u);
    const LaidOutMenu& top = layout.Menus()[0];
    EXPECT_EQ(top.rect, R(10, 10, 100, 64));
    ASSERT_EQ(top.items.size(), 3u);
    EXPECT_EQ(top.items[2].rect, R(10, 54, 100, 20));
    // Anchored by its bottom-right corner 30, 5 from item B's corner (10, 32); the filled
    // background style is one pixel larger each way.
    const LaidOutMenu& second = layout.Menus()[1];
    EXPECT_EQ(second.chainLevel, 1);
    EXPECT_EQ(second.rect, R(40 - 101, 37 - 11, 101, 11));
    ASSERT_EQ(second.items.size(), 2u);
    EXPECT_EQ(second.items[1].rect, R(-61 + 50, 26, 50, 10));
    EXPECT_EQ(layout.Menus()[2].rect, R(-61 + 40, 26 + 15, 80, 20));
    EXPECT_EQ(layout.ChainMenu(2), 2);
    EXPECT_EQ(layout.ChainMenu(3), -1);
}

TEST(MenuLayoutTest, PathIsCutWhereItNoLongerLeadsAndHitsFindTheTopmostMenu) {
    ThreeLevels f;
    MenuLayout layout;
    EXPECT_EQ(layout.Build(f.applet, MenuPath{0, {1, 7, 0}}), (MenuPath{0, {1}}));
    EXPECT_EQ(layout.Menus().size(), 2u);
    EXPECT_EQ(layout.Build(f.applet, MenuPath{0, {2, 0}}), (MenuPath{0, {2}}));
    EXPECT_EQ(layout.Menus().size(), 1u);
    EXPECT_EQ(layout.Build(f.applet, MenuPath{4, {0}}), MenuPath{});

    layout.Build(f.applet, MenuPath{0, {1}});
    const LayoutHit onB1 = layout.HitTest(Point{-60, 30});
    EXPECT_EQ(onB1.menu, 1);
    EXPECT_EQ(onB1.item, 0);
    EXPECT_EQ(layout.PathTo(onB1), (MenuPath{0, {1, 0}}));
    // Right and bottom edges are outside; the gap between items is the menu's own.
    EXPECT_FALSE(layout.HitTest(Point{110, 12}).IsMenu());
    const LayoutHit gap = layout.HitTest(Point{50, 31});
    EXPECT_TRUE(gap.IsMenu());
    EXPECT_FALSE(gap.IsItem());
}

TEST(MenuLayoutTest, FarPositionsAreClampedAndEmptyMenusAreNotShown) {
    CAppletParameters applet;
    CVorane& far = AddTopMenu(applet, {"far"});
    far.m_xPos = 2147483000;
    far.m_Width = 2147483000;
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);  // no items: not shown
    MenuLayout layout;
    layout.Build(applet, {});
    ASSERT_EQ(layout.Menus().size(), 1u);
    EXPECT_EQ(layout.Menus()[0].rect, Rect{});  // all beyond the limit: empty
    EXPECT_EQ(MenuLayout::Clamped(Rect{-(1 << 23), 0, 5, 5}), (Rect{-(1 << 22), 0, 5, 5}));
    EXPECT_EQ(MenuLayout::FullExtent(applet), (Rect{0, 0, 400, 200}));
}

TEST(MenuLayoutJsonTest, PrintsAppletOpenPathMenusAndEscapedLabels) {
    CAppletParameters applet;
    applet.m_appWidth = 120;
    applet.m_appHeight = 40;
    CVorane& menu = AddTopMenu(applet, {"a\"b\\c", "line\r\nbreak"});
    ItemAt(menu, 0).m_label += "\x80\xE9";
    MenuLayout layout;
    layout.Build(applet, MenuPath{0, {1}});
    EXPECT_EQ(MenuLayoutJson(applet, layout),
              "{\"applet\":{\"width\":120,\"height\":40},\n"
              " \"open\":[0,1],\n"
              " \"menus\":[\n"
              "  {\"top\":0,\"level\":0,\"rect\":{\"x\":40,\"y\":15,\"width\":80,\"height\":45},\"items\":[\n"
              "    {\"index\":0,\"label\":\"a\\\"b\\\\c\\u20ac\\u00e9\",\"rect\":{\"x\":40,\"y\":15,\"width\":80,"
              "\"height\":20}},\n"
              "    {\"index\":1,\"label\":\"line\\u000d\\u000abreak\",\"rect\":{\"x\":40,\"y\":40,\"width\":80,"
              "\"height\":20}}]}]}\n");
    layout.Build(applet, {});
    EXPECT_NE(MenuLayoutJson(applet, layout).find("\"open\":[],"), std::string::npos);
}
