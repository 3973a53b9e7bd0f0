// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "PersistTestSupport.h"
#include "persist/LegacyLayoutReader.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

const std::string kExampleFile = CrLf({
    "[Vorane2.0]",
    "ApStyle=Vorane Applet Properties,0,400,200,0,0,,0,0,0,",
    "Notice=Vorane2.0",
    "MStyle-0=0,0,0,0,40,15,80,20,5,0,top-level Menu,1",
    "IStyle-0=0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,"
    "1,0,,,",
    "I0-1=item,,,,,,,,,1",
    "I0-2=item,,,,,,,,,1",
    "MStyle-1=0,0,0,0,40,15,80,20,5,0,Menu,1",
    "IStyle-1=0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,"
    "1,0,,,",
    "MStyle-2=0,0,0,0,40,15,80,20,5,0,Menu,1",
    "IStyle-2=0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,1,0,,,0,16777215,1,0,0,14,0,0,0,0,0,"
    "1,0,,,",
    "Misc=3,2,0,0,-0,0-1,1-2,",
});

void Load(CAppletParameters& applet, const std::string& text) {
    LoadMenuTable(applet, TableOf(text), "Vorane2.0", false, "");
}

// A model that uses every field with a value of its own.
void BuildRichModel(CAppletParameters& applet) {
    applet.m_HTMLTitle = "Shop <Main>";
    applet.m_Align = 2;
    applet.m_appWidth = 640;
    applet.m_appHeight = 120;
    applet.m_appBKColor = 0x00336699;
    applet.m_appBKImagePath = "/srv/art/back.jpg";
    applet.m_appBKImageMode = 1;
    applet.m_appBKImageX = -3;
    applet.m_appBKImageY = 7;
    applet.m_appBKAudioPath = "/srv/art/hum.au";

    CVorane& bar = AddTopMenu(applet, {"Home", "Products", "Hidden"});
    bar.m_MenuAlign = 1;
    bar.m_BKStyle = 3;
    bar.m_Corner = 2;
    bar.m_xPos = -10;
    bar.m_BorderThick = 2;
    bar.m_itemStyle[1].FontEffect = 4;
    bar.m_itemStyle[2].ItemBorderStyle = 2;
    bar.m_itemStyle[2].TextOffset = 9;
    bar.m_itemStyle[0].ImageOffset = -4;
    ItemAt(bar, 0).m_link = "search.php?q=a=b";
    ItemAt(bar, 0).m_target = "_blank";
    ItemAt(bar, 0).m_description = "Start page";
    ItemAt(bar, 0).m_normalImage = "/srv/art/home.gif";
    ItemAt(bar, 0).m_overAudio = "/srv/art/tick.au";
    ItemAt(bar, 2).m_visible = 0;

    CVorane& products = ItemAt(bar, 1).SubMenu();
    products.m_name = "Products list";
    AddItems(products, {"Line one\r\nLine two", "Tools"});
    CVorane& tools = ItemAt(products, 1).SubMenu();
    AddItems(tools, {"Saws", "Drills"});
    ItemAt(tools, 1).SubMenu().m_BKColor = 0x00FFFFFF;
    AddItems(ItemAt(tools, 1).SubMenu(), {"Cordless"});

    CVorane& side = AddTopMenu(applet, {"Contact"});
    side.m_visible = 0;
}

}  // namespace

TEST(MenuFileTest, ExampleIsWrittenByteForByteAndReadsBackToTheSameText) {
    CAppletParameters applet;
    AddTopMenu(applet, {"item", "item"});
    EXPECT_EQ(DocumentText(applet), kExampleFile);

    CAppletParameters reread;
    Load(reread, kExampleFile);
    ASSERT_EQ(reread.m_menus.size(), 1u);
    EXPECT_EQ(reread.m_menus[0]->m_name, "top-level Menu");
    EXPECT_EQ(reread.m_menus[0]->CountItems(1), 2);
    EXPECT_EQ(ItemAt(*reread.m_menus[0], 1).SubMenu().m_name, "Menu");
    EXPECT_EQ(DocumentText(reread), kExampleFile);
}

TEST(MenuFileTest, EveryFieldSurvivesARoundTrip) {
    CAppletParameters applet;
    BuildRichModel(applet);
    const std::string text = DocumentText(applet);

    CAppletParameters reread;
    Load(reread, text);
    EXPECT_EQ(DocumentText(reread), text);
    EXPECT_EQ(reread.m_HTMLTitle, "Shop <Main>");
    EXPECT_EQ(reread.m_appBKImagePath, "/srv/art/back.jpg");
    EXPECT_EQ(reread.m_appBKImageX, -3);
    ASSERT_EQ(reread.m_menus.size(), 2u);
    const CVorane& bar = *reread.m_menus[0];
    EXPECT_EQ(bar.m_xPos, -10);
    EXPECT_EQ(bar.m_itemStyle, applet.m_menus[0]->m_itemStyle);
    EXPECT_EQ(ItemAt(bar, 0).m_link, "search.php?q=a=b");
    EXPECT_EQ(ItemAt(bar, 2).m_visible, 0);
    EXPECT_EQ(reread.m_menus[1]->m_visible, 0);
    const CVorane& products = ItemAt(bar, 1).SubMenu();
    EXPECT_EQ(products.m_name, "Products list");
    EXPECT_EQ(ItemAt(products, 0).m_label, "Line one\r\nLine two");
    EXPECT_EQ(ItemAt(ItemAt(ItemAt(products, 1).SubMenu(), 1).SubMenu(), 0).m_label, "Cordless");
}

TEST(MenuFileTest, LabelBreaksBecomeTheTokenAndTabsBecomeBlanks) {
    CAppletParameters applet;
    AddTopMenu(applet, {"Two\r\nlines", "a\tb", "lone\nLF"});
    const std::string text = DocumentText(applet);
    EXPECT_NE(text.find("I0-1=Two|_#`lines,"), std::string::npos);
    EXPECT_NE(text.find("I0-2=a    b,"), std::string::npos);

    CAppletParameters reread;
    Load(reread, text);
    EXPECT_EQ(ItemAt(*reread.m_menus[0], 0).m_label, "Two\r\nlines");
    EXPECT_EQ(ItemAt(*reread.m_menus[0], 1).m_label, "a    b");
}

TEST(MenuFileTest, MenusAreNumberedDepthFirstAndEveryItemHasARelation) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1", "a2"});
    AddItems(ItemAt(a, 0).SubMenu(), {"s1"});
    AddTopMenu(applet, {"b1"});
    const std::string text = DocumentText(applet);
    // a 0, a1's menu 1, s1's menu 2, a2's menu 3, b 4, b1's menu 5.
    EXPECT_NE(text.find("Misc=6,2,1,0,0,1,0,-0,-4,0-1,1-3,2-2,3-5,\r\n"), std::string::npos) << text;
    EXPECT_LT(text.find("I1-1=s1"), text.find("MStyle-3="));
}

TEST(MenuFileTest, MissingEntriesReadAsTheirDefaults) {
    CAppletParameters noApStyle;
    Load(noApStyle, CrLf({"[Vorane2.0]", "Notice=Vorane2.0"}));
    EXPECT_EQ(noApStyle.m_HTMLTitle, "My Vorane");
    EXPECT_EQ(noApStyle.m_appWidth, 400);
    EXPECT_EQ(noApStyle.m_appHeight, 200);
    EXPECT_EQ(noApStyle.m_appBKImagePath, "");
    EXPECT_TRUE(noApStyle.m_menus.empty());

    CAppletParameters noMisc;
    Load(noMisc, CrLf({"[Vorane2.0]", "ApStyle=Kept,1,300,90,255,255,/a.gif,1,2,3,/b.au", "Notice=Vorane2.0",
                       "MStyle-0=0,0,0,0,40,15,80,20,5,0,top-level Menu,1"}));
    EXPECT_EQ(noMisc.m_HTMLTitle, "Kept");
    EXPECT_EQ(noMisc.m_appBKAudioPath, "/b.au");
    EXPECT_EQ(noMisc.m_appBKImageY, 3);
    // Its menu line, which no "Misc" reaches, makes it a damaged file read in its order.
    EXPECT_EQ(noMisc.m_menus.size(), 1u);

    CAppletParameters shortApStyle;
    Load(shortApStyle, CrLf({"[Vorane2.0]", "ApStyle=Short,2", "Notice=Vorane2.0"}));
    EXPECT_EQ(shortApStyle.m_HTMLTitle, "Short");
    EXPECT_EQ(shortApStyle.m_Align, 2);
    EXPECT_EQ(shortApStyle.m_appWidth, 0);
    EXPECT_EQ(shortApStyle.m_appBKAudioPath, "");

    CAppletParameters noSubStyle;
    Load(noSubStyle, CrLf({"[Vorane2.0]", "Notice=Vorane2.0,old,fields", "MStyle-0=1,2,1,3,4,5,6,7,8,9,Bar,1",
                           "I0-1=Only,,,,,,,,,1", "Misc=2,1,0,-0,0-1,"}));
    ASSERT_EQ(noSubStyle.m_menus.size(), 1u);
    EXPECT_EQ(noSubStyle.m_menus[0]->m_Corner, 3);
    const CVorane& sub = ItemAt(*noSubStyle.m_menus[0], 0).SubMenu();
    EXPECT_EQ(sub.m_name, "");
    EXPECT_EQ(sub.m_visible, 0);
    EXPECT_EQ(sub.m_Width, 0);
    EXPECT_EQ(sub.m_itemStyle[0].FontSize, 0);
    EXPECT_EQ(noSubStyle.m_menus[0]->m_itemStyle[2].FRColor, 0);
}

TEST(MenuFileTest, ValuesLongerThanTheOldBufferAreReadWhole) {
    CAppletParameters applet;
    const std::string longLabel(20000, 'x');
    const std::string longLink = "http://example.org/" + std::string(15000, 'y');
    CVorane& menu = AddTopMenu(applet, {longLabel.c_str()});
    ItemAt(menu, 0).m_link = longLink;
    CAppletParameters reread;
    Load(reread, DocumentText(applet));
    EXPECT_EQ(ItemAt(*reread.m_menus[0], 0).m_label, longLabel);
    EXPECT_EQ(ItemAt(*reread.m_menus[0], 0).m_link, longLink);
}

TEST(MenuFileTest, ProgressReachesTheEndAndACancelledLoadSaysSo) {
    CAppletParameters applet;
    for (int m = 0; m < 3000; ++m) AddTopMenu(applet, {"a", "b"});
    TempDir dir;
    const std::string path = dir.File("menu.kst", DocumentText(applet));

    CAppletParameters read;
    TaskProgress progress;
    std::string error;
    ASSERT_TRUE(LoadMenuFile(read, path, "Vorane2.0", false, "", &error, nullptr, &progress));
    EXPECT_EQ(progress.Fraction(), 1.0);
    EXPECT_EQ(DocumentText(read), DocumentText(applet));

    TaskProgress cancelled;
    cancelled.Cancel();
    EXPECT_FALSE(LoadMenuFile(read, path, "Vorane2.0", false, "", &error, nullptr, &cancelled));
    EXPECT_EQ(error, texts::kLoadCancelled);
}

TEST(MenuFileDamageTest, HugeCountsAreCutToWhatTheFileDescribes) {
    CAppletParameters manyMenus;
    // The relations would lie two billion fields on: none is there.
    Load(manyMenus, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=2000000000,1,-0,"}));
    EXPECT_TRUE(manyMenus.m_menus.empty());

    // Items take from what the file's size can describe, not from the count's claim.
    CAppletParameters manyItems;
    const std::string claim = CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=1,2000000000,-0,"});
    Load(manyItems, claim);
    ASSERT_EQ(manyItems.m_menus.size(), 1u);
    EXPECT_LE(static_cast<std::size_t>(manyItems.m_menus[0]->CountItems(1)), CKeyTable::ModelObjectBudgetFor(claim.size()));

    CAppletParameters negative;
    Load(negative, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=-5,-3,-0,"}));
    EXPECT_TRUE(negative.m_menus.empty());
}

TEST(MenuFileDamageTest, AMenuGetsOneOwnerAndCyclesAreNeverBuilt) {
    // Menu 2 is claimed by item 0 and again by item 1; menu 0 twice as a top-level menu.
    CAppletParameters twice;
    Load(twice, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "I2-1=deep,,,,,,,,,1",
                      "Misc=4,1,1,1,0,-0,-0,0-2,1-2,"}));
    ASSERT_EQ(twice.m_menus.size(), 1u);
    EXPECT_EQ(ItemAt(ItemAt(*twice.m_menus[0], 0).SubMenu(), 0).m_label, "deep");
    EXPECT_EQ(ShapeOf(twice).menus, 3);

    // Item 1 of menu 1 tries to own the top-level menu 0, its own ancestor.
    CAppletParameters ancestor;
    Load(ancestor, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=2,1,1,-0,0-1,1-0,"}));
    ASSERT_EQ(ancestor.m_menus.size(), 1u);
    EXPECT_EQ(ShapeOf(ancestor).items, 2);
    EXPECT_EQ(ShapeOf(ancestor).depth, 2);

    // Menus 1 and 2 own each other and hang below nothing: both are discarded.
    CAppletParameters loop;
    Load(loop, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=3,1,1,1,-0,1-2,2-1,"}));
    ASSERT_EQ(loop.m_menus.size(), 1u);
    EXPECT_EQ(ShapeOf(loop).items, 1);

    // Menu 0 is its own sub menu.
    CAppletParameters self;
    Load(self, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=2,1,0,0-0,-1,"}));
    ASSERT_EQ(self.m_menus.size(), 1u);
    EXPECT_EQ(ShapeOf(self).items, 0);

    // Entries outside the menus or items read, and entries without "-", are passed over.
    CAppletParameters outside;
    Load(outside, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=2,1,0,-7,5-1,0,-0,"}));
    EXPECT_TRUE(outside.m_menus.empty());
}

TEST(MenuFileDamageTest, ChainsDeeperThanTheLimitAreCutAndLoadFast) {
    const int chain = kMaxMenuDepth + 500;
    std::string misc = "Misc=" + std::to_string(chain) + ",";
    for (int k = 0; k < chain; ++k) misc += "1,";
    misc += "-0,";
    for (int k = 0; k + 1 < chain; ++k) misc += std::to_string(k) + "-" + std::to_string(k + 1) + ",";
    // Every menu and item has its line, as in a saved file.
    std::string lines = "[Vorane2.0]\r\nNotice=Vorane2.0\r\n" + misc + "\r\n";
    for (int k = 0; k < chain; ++k) {
        lines += "MStyle-" + std::to_string(k) + "=0,0,0,0,0,0,80,20,5,1,Sub,1\r\n";
        lines += "I" + std::to_string(k) + "-1=Item,,,,,,,,,1\r\n";
    }
    CAppletParameters applet;
    std::vector<std::string> warnings;
    LoadMenuTable(applet, TableOf(lines), "Vorane2.0", false, "", &warnings);
    // The cut is said, not made in silence.
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("more than 2000 levels deep"), std::string::npos);
    const TreeShape shape = ShapeOf(applet);
    // Attached menus reach the limit; the last one's item keeps its own empty sub menu.
    EXPECT_EQ(shape.depth, kMaxMenuDepth + 1);
    EXPECT_EQ(shape.menus, kMaxMenuDepth + 2);
    // The cut chain saves and reads back the same.
    const std::string text = DocumentText(applet);
    CAppletParameters reread;
    Load(reread, text);
    EXPECT_EQ(DocumentText(reread), text);
}

TEST(LegacyLayoutTest, AnEmptyFileGivesOneEmptyMainMenu) {
    CAppletParameters applet;
    Load(applet, "");
    EXPECT_EQ(applet.m_HTMLTitle, "Untitled");
    EXPECT_EQ(applet.m_appWidth, 400);
    EXPECT_EQ(applet.m_appHeight, 200);
    ASSERT_EQ(applet.m_menus.size(), 1u);
    const CVorane& main = *applet.m_menus[0];
    EXPECT_EQ(main.m_name, "top-level Menu");
    EXPECT_TRUE(main.m_items.empty());
    EXPECT_EQ(main.m_Width, 0);
    EXPECT_EQ(main.m_xPos, 0);
    for (const ItemStyle& style : main.m_itemStyle) {
        EXPECT_EQ(style.FontSize, 0);
        EXPECT_EQ(style.FRColor, 0);
    }
}

TEST(LegacyLayoutTest, MainMenuSubMenusTextsAndSizeAreRead) {
    CAppletParameters applet;
    Load(applet, CrLf({"[General]", "m_HTMLTitle=Old Site,ignored", "m_Align=1", "m_appBKColor=255", "m_xPos=10",
                       "m_yPos=20", "[Main Menu Style]", "m_mmBKColor=65280", "m_mmBKStyle=2", "m_mmMenuAlign=1",
                       "m_mmWidth=80", "m_mmHeight=20", "m_mmItemGap=5", "m_mmBorderThick=1", "[Main Item Style1]",
                       "m_miFRColor1=16777215", "m_miFontSize1=3", "m_miAlign1=5", "[Sub Menu Style]",
                       "m_smWidth=100", "m_smHeight=18", "m_smItemGap=2", "[Sub Item Style2]", "m_siFontSize2=0",
                       "[Menu Relation]", "Relation=3,3,2,1,0-1,2-2,", "[Item]", "I0-0=Home,home.gif,_top,index.html",
                       "I0-1=Products,,,", "I0-2=About,,,about.html", "I1-0=Tools,,,tools.html", "I1-1=Parts,,,",
                       "I2-0=Team,,,team.html"}));
    EXPECT_EQ(applet.m_HTMLTitle, "Old Site");
    EXPECT_EQ(applet.m_Align, 1);
    EXPECT_EQ(applet.m_appBKColor, 255);
    ASSERT_EQ(applet.m_menus.size(), 1u);
    const CVorane& main = *applet.m_menus[0];
    EXPECT_EQ(main.m_xPos, 10);
    EXPECT_EQ(main.m_MenuAlign, 1);
    EXPECT_EQ(main.m_itemStyle[0].FontSize, 16);
    EXPECT_EQ(main.m_itemStyle[0].TextAlign, 2);
    EXPECT_EQ(main.m_itemStyle[0].ImageAlign, 1);
    EXPECT_EQ(main.m_itemStyle[1].FontSize, 0);
    ASSERT_EQ(main.CountItems(1), 3);

    const CVoraneItem& home = ItemAt(main, 0);
    EXPECT_EQ(home.m_label, "Home");
    EXPECT_EQ(home.m_clickImage, "home.gif");
    EXPECT_EQ(home.m_target, "_top");
    EXPECT_EQ(home.m_description, "index.html");
    const CVorane& tools = home.SubMenu();
    EXPECT_EQ(tools.m_name, "SubMenu");
    EXPECT_EQ(tools.m_xPos, 40);
    EXPECT_EQ(tools.m_yPos, 15);
    EXPECT_EQ(tools.m_Width, 100);
    EXPECT_EQ(tools.m_itemStyle[1].FontSize, 9);
    ASSERT_EQ(tools.CountItems(1), 2);
    EXPECT_EQ(ItemAt(tools, 1).m_label, "Parts");
    EXPECT_TRUE(ItemAt(main, 1).SubMenu().m_items.empty());
    ASSERT_EQ(ItemAt(main, 2).SubMenu().CountItems(1), 1);
    EXPECT_EQ(ItemAt(ItemAt(main, 2).SubMenu(), 0).m_link, "team.html");
    EXPECT_EQ(applet.m_appWidth, 260);
    EXPECT_EQ(applet.m_appHeight, 105);
}

TEST(LegacyLayoutTest, HugeRelationsStayBounded) {
    std::string relation = "Relation=2000000000,2000000000";
    for (int i = 0; i < 20000; ++i) relation += ",5";
    for (int i = 0; i < 20000; ++i) relation += ",0-" + std::to_string(i + 1);
    CAppletParameters applet;
    Load(applet, CrLf({"[Menu Relation]", relation.c_str()}));
    const TreeShape shape = ShapeOf(applet);
    EXPECT_LE(shape.items, 2 + 256);
}
