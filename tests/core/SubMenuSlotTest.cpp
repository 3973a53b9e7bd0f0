// SPDX-License-Identifier: GPL-3.0-or-later
// Items make their sub menu only when asked for it; readers and copies must neither lose
// a sub menu that differs from the empty default one nor make the ones that do not.
#include <gtest/gtest.h>

#include "PersistTestSupport.h"
#include "model/Archive.h"
#include "persist/MenuFileReader.h"
#include "services/ParameterCheck.h"
#include "output/HtmlPageBuilder.h"

namespace kestrune::test {
namespace {

// Top-level menu: "plain" without a sub menu, "styled" with an empty sub menu of its own
// style, "opens" with a sub menu holding "leaf".
void FillSample(CAppletParameters& applet) {
    CVorane* top = applet.NewTopLevelMenu();
    for (const char* label : {"opens", "styled", "plain"}) top->AddItem(std::make_unique<CVoraneItem>(label), 0);
    CVorane& styled = *top->GetItem(1)->m_subMenu;
    styled.m_xPos = 77;
    styled.m_itemStyle[kStateMouseOver].FontSize = 31;
    top->GetItem(0)->m_subMenu->AddItem(std::make_unique<CVoraneItem>("leaf"), 0);
}

TEST(SubMenuSlotTest, AnItemAlwaysAnswersWithOneLastingMenu) {
    CVoraneItem item;
    EXPECT_EQ(item.m_subMenu.Existing(), nullptr);
    EXPECT_TRUE(item.m_subMenu.Read().m_items.empty());
    EXPECT_EQ(item.m_subMenu.Existing(), nullptr);  // reading made nothing
    CVorane* made = item.m_subMenu.get();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->m_name, kSubMenuName);
    EXPECT_EQ(&item.SubMenu(), made);
    EXPECT_EQ(item.m_subMenu.Existing(), made);
    EXPECT_TRUE(IsUntouchedEmptyMenu(*made));
    made->m_Width = 90;
    EXPECT_FALSE(IsUntouchedEmptyMenu(*made));

    const CVoraneItem copy(item);
    ASSERT_NE(copy.m_subMenu.Existing(), nullptr);
    EXPECT_NE(copy.m_subMenu.Existing(), made);
    EXPECT_EQ(copy.m_subMenu.Existing()->m_Width, 90);
    EXPECT_EQ(CVoraneItem(CVoraneItem("bare")).m_subMenu.Existing(), nullptr);
}

TEST(SubMenuSlotTest, MenuFilesKeepStyledEmptyMenusAndMakeNoDefaultOnes) {
    CAppletParameters applet;
    FillSample(applet);
    const std::string text = DocumentText(applet);

    CAppletParameters loaded;
    LoadMenuTable(loaded, TableOf(text), "Vorane2.0", false, "");
    ASSERT_EQ(loaded.m_menus.size(), 1u);
    const CVorane& top = *loaded.m_menus[0];
    ASSERT_EQ(top.m_items.size(), 3u);
    ASSERT_NE(top.m_items[0]->m_subMenu.Existing(), nullptr);
    EXPECT_EQ(top.m_items[0]->m_subMenu.Existing()->m_items.size(), 1u);
    EXPECT_EQ(top.m_items[0]->m_subMenu.Existing()->m_items[0]->m_subMenu.Existing(), nullptr);
    const CVorane* styled = top.m_items[1]->m_subMenu.Existing();
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->m_xPos, 77);
    EXPECT_EQ(styled->m_itemStyle[kStateMouseOver].FontSize, 31);
    EXPECT_EQ(top.m_items[2]->m_subMenu.Existing(), nullptr);
    EXPECT_EQ(DocumentText(loaded), text);
}

TEST(SubMenuSlotTest, ClipboardRecordsKeepStyledEmptyMenusAndMakeNoDefaultOnes) {
    CAppletParameters applet;
    FillSample(applet);
    CVoraneItem root("root");
    root.m_subMenu->Assign(*applet.m_menus[0]);
    const std::vector<std::uint8_t> bytes = WriteItemRecord(root);

    const auto copy = ReadItemRecord(bytes.data(), bytes.size());
    ASSERT_NE(copy, nullptr);
    const CVorane& menu = copy->m_subMenu.Read();
    ASSERT_EQ(menu.m_items.size(), 3u);
    ASSERT_NE(menu.m_items[1]->m_subMenu.Existing(), nullptr);
    EXPECT_EQ(menu.m_items[1]->m_subMenu.Existing()->m_xPos, 77);
    EXPECT_EQ(menu.m_items[2]->m_subMenu.Existing(), nullptr);
    EXPECT_EQ(WriteItemRecord(*copy), bytes);
}

// Whatever only reads the whole tree (page, check report, menu file) makes no sub menu:
// a big document would otherwise gain an empty menu object per item.
TEST(SubMenuSlotTest, WholeTreeReadersMakeNoSubMenus) {
    CAppletParameters applet;
    FillSample(applet);
    const CVorane& top = *applet.m_menus[0];
    top.m_items[2]->m_label.clear();  // the check reports empty labels, walking every item
    const std::string page = BuildHTML(applet);
    const std::string report = CheckParameters(applet, false).report;
    const std::string text = DocumentText(applet);
    // Each walked the whole tree: the sub menu's item is in both.
    for (const std::string* written : {&page, &text}) EXPECT_NE(written->find("leaf"), std::string::npos);
    EXPECT_NE(report.find("1.3"), std::string::npos);
    EXPECT_EQ(top.m_items[2]->m_subMenu.Existing(), nullptr);
    EXPECT_EQ(top.m_items[0]->m_subMenu.Existing()->m_items[0]->m_subMenu.Existing(), nullptr);
}

}  // namespace
}  // namespace kestrune::test
