// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "model/LayoutEstimate.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

std::string Header(const std::string& title) {
    return std::string(17, '-') + "Checking " + title + " Parameters" + std::string(14, '-') + "\r\n\r\n";
}

std::string Trailer() { return "\r\n" + std::string(34, '-') + "End Message" + std::string(32, '-') + "\r\n\r\n"; }

std::string Recommend(int width, int height) {
    return "Recommend:\tApplet Width:" + std::to_string(width) + ",\tApplet Height:" + std::to_string(height) +
           "\r\n";
}

std::string ItemWarning(const std::string& label, const std::string& kind, const std::string& path) {
    return "Warning:\t\tItem \"" + label + "\" " + kind + " file \"" + path + "\" not exist.\r\n";
}

// The report lines between the recommendation and the trailer.
std::string Warnings(const std::string& report) {
    const std::size_t start = report.find("Height:");
    const std::size_t from = report.find("\r\n", start) + 2;
    return report.substr(from, report.rfind(Trailer()) - from);
}

Rect Bounds(const CVorane& menu, int ox = 0, int oy = 0) {
    Rect bounds;
    MenuExtent(bounds, &menu, ox, oy);
    return bounds;
}

}  // namespace

TEST(ParameterCheckTest, ValidAppletReportIsHeaderRecommendationAndTrailer) {
    CAppletParameters applet;
    applet.m_HTMLTitle = "My <Menu>";
    ParameterCheckResult result = CheckParameters(applet, false);
    EXPECT_EQ(result.report, Header("My <Menu>") + Recommend(4, 4) + Trailer());
    EXPECT_EQ(applet.m_appWidth, 400);
    EXPECT_EQ(applet.m_appHeight, 200);

    result = CheckParameters(applet, true);
    EXPECT_EQ(result.recommendedWidth, 4);
    EXPECT_EQ(applet.m_appWidth, 4);
    EXPECT_EQ(applet.m_appHeight, 4);
}

TEST(ParameterCheckTest, RecommendationMeasuresOnlyTheCoveredArea) {
    CAppletParameters applet;
    CVorane& menu = AddTopMenu(applet, {"a", "b", "c"});
    ParameterCheckResult result = CheckParameters(applet, false);
    // The menu spans x 40..120: 80 wide, not 120, plus the margin.
    EXPECT_EQ(result.report, Header("Vorane Applet Properties") + Recommend(84, 74) + Trailer());
    EXPECT_EQ(result.menuBounds, (Rect{40, 15, 120, 85}));

    menu.m_BKStyle = 2;
    result = CheckParameters(applet, false);
    EXPECT_EQ(result.recommendedWidth, 85);
    EXPECT_EQ(result.recommendedHeight, 75);

    menu.m_BKStyle = 0;
    menu.m_Corner = 2;
    result = CheckParameters(applet, true);
    EXPECT_EQ(result.menuBounds, (Rect{-40, -55, 40, 15}));
    EXPECT_EQ(result.recommendedWidth, 84);
    EXPECT_EQ(result.recommendedHeight, 74);
    EXPECT_EQ(applet.m_appWidth, 84);
    EXPECT_EQ(applet.m_appHeight, 74);
}

TEST(ParameterCheckTest, HiddenMenusAndItemsTakeNoSpace) {
    CAppletParameters applet;
    CVorane& hidden = AddTopMenu(applet, {"far"});
    hidden.m_visible = 0;
    hidden.m_xPos = 1000;
    CVorane& top = AddTopMenu(applet, {"hidden", "shown"});
    CVoraneItem& hiddenItem = ItemAt(top, 0);
    hiddenItem.m_visible = 0;
    AddItems(*hiddenItem.m_subMenu, {"wide"});
    hiddenItem.m_subMenu->m_Width = 5000;
    // "shown" is the first visible item: its sub menu hangs from (40, 15).
    AddItems(*ItemAt(top, 1).m_subMenu, {"sub"});
    EXPECT_EQ(CheckParameters(applet, false).menuBounds, (Rect{40, 15, 160, 50}));
}

TEST(ParameterCheckTest, MenuExtentFollowsItemCornersCornersAndEmptyRectangles) {
    CVorane top;
    AddItems(top, {"a", "b"});
    CVorane& sub = *ItemAt(top, 1).m_subMenu;
    AddItems(sub, {"s"});
    // The second item's corner is (40, 40); the sub menu's anchor lies 40, 15 further.
    EXPECT_EQ(Bounds(top), (Rect{40, 15, 160, 75}));

    sub.m_xPos = -100;
    sub.m_yPos = -50;
    EXPECT_EQ(Bounds(top), (Rect{-60, -10, 120, 60}));
    sub.m_Corner = 1;  // anchor on its top-right corner: extends left
    EXPECT_EQ(Bounds(top), (Rect{-140, -10, 120, 60}));
    sub.m_Corner = 3;  // bottom-left: extends up
    EXPECT_EQ(Bounds(top), (Rect{-60, -30, 120, 60}));

    // A horizontal menu hands its items' corners along the row.
    top.m_MenuAlign = 1;
    sub.m_Corner = 0;
    sub.m_xPos = 0;
    sub.m_yPos = 20;
    EXPECT_EQ(Bounds(top, 10, 10), (Rect{50, 25, 215, 65}));

    // An empty rectangle adds nothing, but the sub menus below it still count.
    top.m_MenuAlign = 0;
    top.m_Width = 0;
    EXPECT_EQ(Bounds(top), (Rect{40, 60, 120, 80}));

    // No items at all: nothing, whatever the style.
    CVorane empty;
    empty.m_BKStyle = 2;
    EXPECT_EQ(Bounds(empty), Rect{});
    Rect untouched{1, 2, 3, 4};
    MenuExtent(untouched, nullptr, 0, 0);
    EXPECT_EQ(untouched, (Rect{1, 2, 3, 4}));
}

TEST(ParameterCheckTest, MenuOfHiddenItemsCountsOnlyAsItsFilledOnePixelLine) {
    CVorane menu;
    AddItems(menu, {"a"});
    ItemAt(menu, 0).m_visible = 0;
    EXPECT_EQ(Bounds(menu), Rect{});
    menu.m_BKStyle = 2;
    menu.m_ItemGap = 0;
    EXPECT_EQ(Bounds(menu), (Rect{40, 15, 121, 16}));
}

TEST(ParameterCheckTest, MissingFilesAreReportedInWalkOrder) {
    TempDir dir;
    const std::string present = dir.File("img/here.gif");
    const std::string missingImage = (dir / "img/gone.gif").string();
    const std::string missingAudio = (dir / "snd/gone.au").string();

    CAppletParameters applet;
    applet.m_appBKImagePath = missingImage;
    applet.m_appBKAudioPath = missingAudio;
    CVorane& a = AddTopMenu(applet, {"Two\r\nlines", "a2", "hidden"});
    CVoraneItem& first = ItemAt(a, 0);
    first.m_normalImage = missingImage;
    first.m_overImage = present;
    first.m_clickAudio = missingAudio;
    CVoraneItem* deep = AddItems(*first.m_subMenu, {"deep"});
    deep->m_clickImage = missingImage;
    deep->m_overAudio = missingAudio;
    ItemAt(a, 1).m_overImage = missingImage;
    ItemAt(a, 2).m_visible = 0;
    ItemAt(a, 2).m_normalImage = missingImage;
    CVorane& b = AddTopMenu(applet, {"b1"});
    b.m_visible = 0;
    ItemAt(b, 0).m_overAudio = (dir / "img").string();  // a folder is not a media file

    const ParameterCheckResult result = CheckParameters(applet, false);
    const std::string& report = result.report;
    EXPECT_EQ(Warnings(report),
              "Warning:\t\tApplet background image file \"" + missingImage + "\" not exist.\r\n" +
                  "Warning:\t\tApplet background audio file \"" + missingAudio + "\" not exist.\r\n" +
                  ItemWarning("Two\r\nlines", "normal image", missingImage) +
                  ItemWarning("Two\r\nlines", "mouse click audio", missingAudio) +
                  ItemWarning("deep", "mouse click image", missingImage) +
                  ItemWarning("deep", "mouse over audio", missingAudio) +
                  ItemWarning("a2", "mouse over image", missingImage) +
                  ItemWarning("hidden", "normal image", missingImage) +
                  ItemWarning("b1", "mouse over audio", (dir / "img").string()));
    // The hidden menu and item take no space.
    EXPECT_EQ(result.menuBounds, (Rect{40, 15, 160, 60}));
}

TEST(ParameterCheckTest, PresentFilesAndCaseVariantsRaiseNoWarning) {
    TempDir dir;
    dir.File("media/Logo.GIF");
    dir.File("media/back.au");
    CAppletParameters applet;
    applet.m_appBKImagePath = (dir / "media/logo.gif").string();
    applet.m_appBKAudioPath = (dir / "media/BACK.AU").string();
    ItemAt(AddTopMenu(applet, {"i"}), 0).m_normalImage = (dir / "media/LOGO.gif").string();
    EXPECT_EQ(Warnings(CheckParameters(applet, false).report), "");
}

TEST(LayoutEstimateTest, EstimatesMenuAndFirstSubMenuLevel) {
    CVorane menu;
    AddItems(menu, {"a", "b", "c"});
    EXPECT_EQ(LayoutEstimate(&menu), (Rect{0, 0, 162, 85}));

    // Hidden items count; a horizontal sub menu is offset along the row by its item index.
    ItemAt(menu, 0).m_visible = 0;
    CVorane& row = *ItemAt(menu, 1).m_subMenu;
    row.m_MenuAlign = 1;
    row.m_Width = 50;
    row.m_ItemGap = 2;
    AddItems(row, {"x", "y", "z"});
    // right = 154 + 1 * 85 + 40 + 40 + 2, bottom = 15 + 20 + 15 + 2
    EXPECT_EQ(LayoutEstimate(&menu), (Rect{0, 0, 321, 85}));

    // A horizontal menu with vertical sub menus still steps them downwards by index.
    CVorane horizontal;
    horizontal.m_MenuAlign = 1;
    AddItems(horizontal, {"a", "b", "c"});
    EXPECT_EQ(LayoutEstimate(&horizontal), (Rect{0, 0, 290, 77}));

    // Divisions truncate toward zero.
    CVorane odd;
    odd.m_Width = 81;
    odd.m_Height = -5;
    odd.m_yPos = 100;
    AddItems(*AddItems(odd, {"a"})->m_subMenu, {"p", "q"});
    // right = 80 + 40 + 40 + 2; bottom = -3 + 45 + 100 + 2
    EXPECT_EQ(LayoutEstimate(&odd), (Rect{0, 0, 162, 144}));

    CVorane none;
    EXPECT_EQ(LayoutEstimate(&none), (Rect{0, 0, 120, 10}));
    EXPECT_EQ(LayoutEstimate(nullptr), Rect{});
}

TEST(ParameterCheckTest, ItemsWithEmptyLabelsAreWarnedByPlace) {
    CAppletParameters applet;
    auto menu = std::make_unique<CVorane>(0, "top-level Menu");
    auto first = std::make_unique<CVoraneItem>("first");
    first->m_subMenu->AddItem(std::make_unique<CVoraneItem>("deep"), 0);
    first->m_subMenu->AddItem(std::make_unique<CVoraneItem>(""), 0);
    auto hidden = std::make_unique<CVoraneItem>("");
    hidden->m_visible = 0;
    menu->AddItem(std::move(first), 0);
    menu->AddItem(std::move(hidden), 0);
    applet.m_menus.push_back(std::move(menu));
    applet.m_menus.push_back(std::make_unique<CVorane>(0, "top-level Menu"));
    applet.m_menus.back()->AddItem(std::make_unique<CVoraneItem>(""), 0);
    const ParameterCheckResult result = CheckParameters(applet, false);
    // Items are appended, so menu 1 holds [first [deep, ""], ""]; depth first in model order.
    EXPECT_EQ(Warnings(result.report), "Warning:\t\tItem 1.1.2 has an empty label.\r\n"
                                       "Warning:\t\tItem 1.2 has an empty label.\r\n"
                                       "Warning:\t\tItem 2.1 has an empty label.\r\n");
}
