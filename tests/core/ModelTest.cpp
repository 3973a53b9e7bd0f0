// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/AppletParameters.h"
#include "model/Color.h"
#include "model/VoraneItem.h"
#include "common/MenuLabels.h"

using namespace kestrune;

namespace {

CVorane MenuWith(std::initializer_list<const char*> labels) {
    CVorane menu;
    for (const char* label : labels) menu.AddItem(std::make_unique<CVoraneItem>(label), 0);
    return menu;
}
}  // namespace

TEST(ColorTest, TextIsRedGreenBlueAndIgnoresTopByte) {
    EXPECT_EQ(ColorText(0x00123456), "563412");
    EXPECT_EQ(ColorText(0x000000FF), "ff0000");
    EXPECT_EQ(ColorText(0x00FF0000), "0000ff");
    EXPECT_EQ(ColorText(0x01FFFFFF), "ffffff");
    EXPECT_EQ(ColorText(0), "000000");
}

TEST(MenuTest, FreshMenuHasDefaultStylesInAllStates) {
    CVorane menu;
    EXPECT_EQ(menu.m_name, "Menu");
    EXPECT_EQ(menu.m_xPos, 40);
    EXPECT_EQ(menu.m_yPos, 15);
    for (const ItemStyle& style : menu.m_itemStyle) {
        EXPECT_EQ(style.FRColor, 0x00FFFFFF);
        EXPECT_EQ(style.ItemFillStyle, 1);
        EXPECT_EQ(style.GradientDirection, 1);
        EXPECT_EQ(style.FontSize, 14);
    }
}

TEST(MenuTest, InsertMoveAndRemoveKeepOrderAndReportBounds) {
    CVorane menu = MenuWith({"A", "B"});
    menu.InsertNewItem();
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"item", "A", "B"}));

    CVorane abc = MenuWith({"A", "B", "C"});
    EXPECT_EQ(abc.MoveItemUp(0), 0);
    EXPECT_EQ(abc.MoveItemDown(2), 0);
    EXPECT_EQ(abc.MoveItemUp(3), 0);
    EXPECT_EQ(Labels(abc), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(abc.MoveItemDown(0), 1);
    EXPECT_EQ(Labels(abc), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(abc.MoveItemUp(abc.GetItem(2)), 1);
    EXPECT_EQ(Labels(abc), (std::vector<std::string>{"B", "C", "A"}));

    CVoraneItem stranger;
    EXPECT_EQ(abc.RemoveItem(&stranger), 0);
    EXPECT_EQ(abc.MoveItemDown(&stranger), 0);
    EXPECT_EQ(abc.RemoveItemAt(-1), 0);
    EXPECT_EQ(abc.RemoveItemAt(3), 0);
    EXPECT_EQ(abc.RemoveItem(abc.GetItem(1)), 1);
    EXPECT_EQ(Labels(abc), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(abc.GetItem(5), nullptr);
    EXPECT_EQ(abc.AddItem(nullptr, 1), 0);
}

TEST(MenuTest, SetItemCountKeepsOrReplaces) {
    CVorane one = MenuWith({"A"});
    one.SetItemCount(3, 1);
    EXPECT_EQ(Labels(one), (std::vector<std::string>{"A", "item2", "item3"}));
    CVorane three = MenuWith({"A", "B", "C"});
    three.SetItemCount(1, 1);
    EXPECT_EQ(Labels(three), (std::vector<std::string>{"A"}));
    CVorane replaced = MenuWith({"A"});
    replaced.SetItemCount(2, 0);
    EXPECT_EQ(Labels(replaced), (std::vector<std::string>{"item1", "item2"}));
}

TEST(MenuTest, CountItemsSeparatesVisible) {
    CVorane menu = MenuWith({"A", "B"});
    for (auto& item : menu.m_items) item->m_visible = 0;
    EXPECT_EQ(menu.CountItems(0), 0);
    EXPECT_EQ(menu.CountItems(1), 2);
}

TEST(MenuTest, CopiesAreDeepAndCopyStyleLeavesItems) {
    CVoraneItem source("top");
    source.m_subMenu->AddItem(std::make_unique<CVoraneItem>("child"), 0);
    source.m_subMenu->GetItem(0)->m_subMenu->AddItem(std::make_unique<CVoraneItem>("grandchild"), 0);

    CVoraneItem copy(source);
    copy.m_subMenu->GetItem(0)->m_subMenu->GetItem(0)->m_label = "changed";
    EXPECT_EQ(source.m_subMenu->GetItem(0)->m_subMenu->GetItem(0)->m_label, "grandchild");

    CVorane target = MenuWith({"x"});
    target.m_visible = 0;
    CVorane styled;
    styled.m_name = "styled";
    styled.m_Width = 123;
    styled.m_itemStyle[2].Spare = "spare";
    target.CopyStyle(styled);
    EXPECT_EQ(target.m_name, "styled");
    EXPECT_EQ(target.m_Width, 123);
    EXPECT_EQ(target.m_itemStyle[2].Spare, "spare");
    EXPECT_EQ(target.m_visible, 0);
    EXPECT_EQ(Labels(target), (std::vector<std::string>{"x"}));
}

TEST(MenuTest, AssignFromOwnSubtreeIsSafe) {
    CVorane menu = MenuWith({"A"});
    menu.GetItem(0)->m_subMenu->AddItem(std::make_unique<CVoraneItem>("inner"), 0);
    menu.Assign(*menu.GetItem(0)->m_subMenu);
    EXPECT_EQ(Labels(menu), (std::vector<std::string>{"inner"}));
}

TEST(MenuTest, InsertCopyOfOwnAncestorIsFinite) {
    CVorane menu = MenuWith({"A"});
    CVoraneItem* a = menu.GetItem(0);
    CVoraneItem* copy = a->m_subMenu->InsertCopy(a);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_label, "A");
    EXPECT_EQ(copy->m_subMenu->CountItems(1), 0);
    EXPECT_EQ(menu.InsertCopy(nullptr), nullptr);
}

TEST(GeometryTest, MenuRectFollowsCornerAlignAndBackground) {
    CVorane menu = MenuWith({"A", "B", "C"});
    EXPECT_EQ(menu.MenuRect(0, 0), (Rect{40, 15, 120, 85}));
    menu.m_Corner = 2;
    EXPECT_EQ(menu.MenuRect(0, 0), (Rect{-40, -55, 40, 15}));
    menu.m_Corner = 1;
    menu.m_MenuAlign = 1;
    EXPECT_EQ(menu.MenuRect(10, 10), (Rect{50 - 250, 25, 50, 45}));
    menu.m_Corner = 3;
    menu.m_xPos = -5;
    EXPECT_EQ(menu.MenuRect(0, 0), (Rect{-5, -5, 245, 15}));
    EXPECT_EQ(menu.ItemCorner(2, 0, 0), (Point{-5 + 2 * 85, -5}));

    CVorane empty;
    empty.m_BKStyle = 2;
    empty.m_ItemGap = 0;
    const Rect thin = empty.MenuRect(0, 0);
    EXPECT_EQ(thin, (Rect{40, 15, 121, 16}));
    EXPECT_FALSE(thin.IsEmpty());
    empty.m_BKStyle = 3;
    EXPECT_TRUE(empty.MenuRect(0, 0).IsEmpty());
}

TEST(GeometryTest, ItemCornersCountOnlyVisibleItems) {
    CVorane menu = MenuWith({"A", "B", "C"});
    menu.GetItem(0)->m_visible = 0;
    EXPECT_EQ(menu.MenuRect(0, 0), (Rect{40, 15, 120, 60}));
    EXPECT_EQ(menu.ItemCorner(1, 0, 0), (Point{40, 40}));
}

TEST(GeometryTest, UnionIgnoresEmptyRectangles) {
    EXPECT_EQ(UnionRect(Rect{}, Rect{}), Rect{});
    EXPECT_EQ(UnionRect(Rect{5, 5, 5, 9}, Rect{1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
    EXPECT_EQ(UnionRect(Rect{0, 0, 2, 2}, Rect{-1, 1, 1, 5}), (Rect{-1, 0, 2, 5}));
}

TEST(AppletTest, NewTopLevelMenuPlacesBesideExistingMenus) {
    CAppletParameters applet;
    CVorane* first = applet.NewTopLevelMenu();
    EXPECT_EQ(first->m_xPos, 0);
    EXPECT_EQ(first->m_yPos, 0);
    EXPECT_EQ(first->m_Width, 80);
    EXPECT_EQ(first->m_name, "top-level Menu");

    CAppletParameters one;
    auto menu = std::make_unique<CVorane>(0, "old");
    menu->SetItemCount(3, 0);
    menu->m_BKColor = 0x123456;
    one.AddTopLevelMenu(std::move(menu), 0);
    EXPECT_EQ(one.m_menus[0]->m_name, "top-level Menu");
    CVorane* placed = one.NewTopLevelMenu();
    EXPECT_EQ(one.m_menus.front().get(), placed);
    EXPECT_EQ(placed->m_xPos, 120);
    EXPECT_EQ(placed->m_yPos, 0);
    EXPECT_EQ(placed->m_BKColor, 0x123456);
    EXPECT_EQ(placed->CountItems(1), 0);

    one.m_menus[1]->m_MenuAlign = 1;
    placed->m_MenuAlign = 1;
    placed->SetItemCount(1, 0);
    CVorane* below = one.NewTopLevelMenu();
    EXPECT_EQ(below->m_xPos, 0);
    EXPECT_EQ(below->m_yPos, one.TopLevelBounds().bottom);
}

TEST(AppletTest, FindParentMenuAndMenuAtDepthSearchDepthFirst) {
    CAppletParameters applet;
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);  // no items: skipped by MenuAtDepth
    auto top = std::make_unique<CVorane>();
    top->SetItemCount(2, 0);
    CVoraneItem* second = top->GetItem(1);
    second->m_subMenu->SetItemCount(1, 0);
    CVoraneItem* deep = second->m_subMenu->GetItem(0);
    deep->m_subMenu->SetItemCount(1, 0);
    deep->m_visible = 0;
    CVorane* topPtr = top.get();
    applet.AddTopLevelMenu(std::move(top), 0);

    EXPECT_EQ(applet.FindParentMenu(deep), second->m_subMenu.get());
    EXPECT_EQ(CAppletParameters::FindParentMenu(topPtr, second), topPtr);
    EXPECT_EQ(CAppletParameters::FindParentMenu(applet.m_menus[0].get(), second), nullptr);
    EXPECT_EQ(CAppletParameters::FindParentMenu(nullptr, second), nullptr);
    EXPECT_EQ(applet.MenuAtDepth(0), topPtr);
    EXPECT_EQ(applet.MenuAtDepth(1), second->m_subMenu.get());
    EXPECT_EQ(applet.MenuAtDepth(2), deep->m_subMenu.get());
    EXPECT_EQ(applet.MenuAtDepth(3), nullptr);
}

TEST(AppletTest, SetItemMediaReachesHiddenItemsAndDepthOnlyWhenRecursive) {
    CVorane menu;
    menu.SetItemCount(2, 0);
    menu.GetItem(1)->m_visible = 0;
    menu.GetItem(0)->m_subMenu->SetItemCount(1, 0);
    CAppletParameters::SetItemImages("n", "o", "c", &menu, 0);
    EXPECT_EQ(menu.GetItem(1)->m_overImage, "o");
    EXPECT_EQ(menu.GetItem(0)->m_subMenu->GetItem(0)->m_normalImage, "");
    CAppletParameters::SetItemAudio("oa", "ca", &menu, 1);
    EXPECT_EQ(menu.GetItem(0)->m_subMenu->GetItem(0)->m_clickAudio, "ca");
    CAppletParameters::SetItemAudio("x", "y", nullptr, 1);
}

TEST(AppletTest, ResetRestoresDefaultsAndDropsMenus) {
    CAppletParameters applet;
    applet.m_HTMLTitle = "t";
    applet.m_appWidth = 1;
    applet.NewTopLevelMenu();
    EXPECT_EQ(applet.Reset(), 1);
    EXPECT_TRUE(applet.m_menus.empty());
    EXPECT_EQ(applet.m_HTMLTitle, "Vorane Applet Properties");
    EXPECT_EQ(applet.m_appWidth, 400);
    EXPECT_EQ(applet.RemoveTopLevelMenu(nullptr), 0);
}
