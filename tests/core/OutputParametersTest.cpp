// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/AppletParameterEncoder.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

constexpr const char* kDefaultItemStyles =
    "000000,ffffff,111,0,0,14,0,00,0,0,,,000000,ffffff,111,0,0,14,0,00,0,0,,,"
    "000000,ffffff,111,0,0,14,0,00,0,0,,,";

// Home, Products -> (Tools), all default styles.
void BuildHomeProductsTools(CAppletParameters& applet) {
    CVorane& top = AddTopMenu(applet, {"Home", "Products"});
    ItemAt(top, 0).m_link = "index.html";
    CVoraneItem* tools = AddItems(*ItemAt(top, 1).m_subMenu, {"Tools"});
    tools->m_link = "tools.html";
}

// The value of the named parameter line, or "<absent>".
std::string ValueOf(const std::string& block, const std::string& name) {
    const std::string start = "\t<param name=\"" + name + "\" value=\"";
    const std::size_t at = block.find(start);
    if (at == std::string::npos) return "<absent>";
    const std::size_t valueAt = at + start.size();
    return block.substr(valueAt, block.find("\">\r\n", valueAt) - valueAt);
}

// The parameter names in block order.
std::vector<std::string> Names(const std::string& block) {
    std::vector<std::string> names;
    const std::string start = "<param name=\"";
    for (std::size_t at = block.find(start); at != std::string::npos; at = block.find(start, at + 1)) {
        const std::size_t nameAt = at + start.size();
        names.push_back(block.substr(nameAt, block.find('"', nameAt) - nameAt));
    }
    return names;
}

using Names_ = std::vector<std::string>;

}  // namespace

TEST(AppletParametersTest, WorkedExampleIsProducedByteForByte) {
    CAppletParameters applet;
    BuildHomeProductsTools(applet);
    const std::string expected =
        "\t<param name=\"ApStyle\" value=\"000000,000000,,0,0,0,\">\r\n"
        "\t<param name=\"MStyle-0\" value=\"000000,01,0,0,40,15,80,20,5,0\">\r\n"
        "\t<param name=\"IStyle-0\" value=\"" + std::string(kDefaultItemStyles) + "\">\r\n"
        "\t<param name=\"I0-0\" value=\"Home,,,,,,,_self,index.html\">\r\n"
        "\t<param name=\"I0-1\" value=\"Products,,,,,,,_self,\">\r\n"
        "\t<param name=\"MStyle-1\" value=\"000000,01,0,0,40,15,80,20,5,0\">\r\n"
        "\t<param name=\"IStyle-1\" value=\"" + std::string(kDefaultItemStyles) + "\">\r\n"
        "\t<param name=\"I1-0\" value=\"Tools,,,,,,,_self,tools.html\">\r\n"
        "\t<param name=\"Misc\" value=\"2,2,1,-0,1-1,\">\r\n";
    AppletParameterEncoder encoder(applet);
    EXPECT_EQ(encoder.Build(), expected);
    EXPECT_EQ(encoder.NumberOf(applet.m_menus[0].get()), 0);
    EXPECT_EQ(encoder.NumberOf(ItemAt(*applet.m_menus[0], 1).m_subMenu.get()), 1);
    EXPECT_EQ(encoder.NumberOf(ItemAt(*applet.m_menus[0], 0).m_subMenu.get()), -1);
    EXPECT_EQ(encoder.MenuCount(), 2);
    EXPECT_EQ(encoder.CountText(), "2,1,");
    EXPECT_EQ(encoder.EmittedItems().size(), 3u);
    EXPECT_EQ(encoder.Build(), expected);
    // A second build gives the same block: the working values start afresh.
    EXPECT_EQ(BuildAppletParameters(applet), expected);
}

TEST(AppletParametersTest, AppletWithoutEmittedMenusGivesOnlyAppletAndMisc) {
    CAppletParameters applet;
    EXPECT_EQ(BuildAppletParameters(applet),
              "\t<param name=\"ApStyle\" value=\"000000,000000,,0,0,0,\">\r\n"
              "\t<param name=\"Misc\" value=\"0,\">\r\n");
    AddTopMenu(applet, {});
    CVorane& hidden = AddTopMenu(applet, {"x"});
    hidden.m_visible = 0;
    EXPECT_EQ(Names(BuildAppletParameters(applet)), (Names_{"ApStyle", "Misc"}));
}

TEST(AppletParametersTest, DepthFirstNumberingWithTwoTopLevelMenus) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1", "a2"});
    AddItems(*ItemAt(a, 0).m_subMenu, {"s1"});
    CVorane& b = AddTopMenu(applet, {"b1"});
    AppletParameterEncoder encoder(applet);
    const std::string block = encoder.Build();
    EXPECT_EQ(Names(block), (Names_{"ApStyle", "MStyle-0", "IStyle-0", "I0-0", "I0-1", "MStyle-1", "IStyle-1",
                                    "I1-0", "MStyle-2", "IStyle-2", "I2-0", "Misc"}));
    EXPECT_EQ(ValueOf(block, "I1-0").substr(0, 3), "s1,");
    EXPECT_EQ(ValueOf(block, "I2-0").substr(0, 3), "b1,");
    EXPECT_EQ(ValueOf(block, "Misc"), "3,2,1,1,-0,-2,0-1,");
    EXPECT_EQ(encoder.NumberOf(&a), 0);
    EXPECT_EQ(encoder.NumberOf(ItemAt(a, 0).m_subMenu.get()), 1);
    EXPECT_EQ(encoder.NumberOf(&b), 2);
}

// Menus alike share one item-style text while being encoded: a menu styled otherwise
// between them must still get its own, and the ones after it theirs again.
TEST(AppletParametersTest, EachMenuGetsItsOwnItemStylesAmongAlikeOnes) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1"});
    CVorane& b = AddTopMenu(applet, {"b1"});
    CVorane& c = AddTopMenu(applet, {"c1"});
    b.m_itemStyle[kStateClicked].FontSize = 31;
    const std::string block = AppletParameterEncoder(applet).Build();
    EXPECT_EQ(ValueOf(block, "IStyle-0"), ItemStylesValue(a));
    EXPECT_EQ(ValueOf(block, "IStyle-1"), ItemStylesValue(b));
    EXPECT_EQ(ValueOf(block, "IStyle-2"), ItemStylesValue(c));
    EXPECT_NE(ValueOf(block, "IStyle-1"), ValueOf(block, "IStyle-2"));
    EXPECT_EQ(ValueOf(block, "IStyle-0"), ValueOf(block, "IStyle-2"));
}

TEST(AppletParametersTest, HiddenMenusAndItemsAreLeftOutAndNumbersCloseUp) {
    CAppletParameters applet;
    CVorane& hiddenTop = AddTopMenu(applet, {"h1"});
    hiddenTop.m_visible = 0;
    CVorane& allHidden = AddTopMenu(applet, {"x1", "x2"});
    for (auto& item : allHidden.m_items) item->m_visible = 0;
    AddItems(*ItemAt(allHidden, 0).m_subMenu, {"under hidden"});
    CVorane& shown = AddTopMenu(applet, {"v1", "gone", "v2"});
    CVoraneItem& gone = ItemAt(shown, 1);
    gone.m_visible = 0;
    AddItems(*gone.m_subMenu, {"below hidden item"});
    AddItems(*ItemAt(shown, 2).m_subMenu, {"deep"});

    AppletParameterEncoder encoder(applet);
    const std::string block = encoder.Build();
    EXPECT_EQ(Names(block),
              (Names_{"ApStyle", "MStyle-0", "IStyle-0", "I0-0", "I0-1", "MStyle-1", "IStyle-1", "I1-0", "Misc"}));
    EXPECT_EQ(ValueOf(block, "I0-1").substr(0, 3), "v2,");  // the hidden item takes no position
    EXPECT_EQ(ValueOf(block, "I1-0").substr(0, 5), "deep,");
    // Two menus; only the shown top-level menu is listed; v2 (emitted item 1) opens menu 1.
    EXPECT_EQ(ValueOf(block, "Misc"), "2,2,1,-0,1-1,");
    EXPECT_EQ(encoder.NumberOf(&shown), 0);
    EXPECT_EQ(encoder.NumberOf(&hiddenTop), -1);
    EXPECT_EQ(encoder.NumberOf(&allHidden), -1);
    EXPECT_EQ(block.find("under hidden"), std::string::npos);
    EXPECT_EQ(block.find("below hidden item"), std::string::npos);
}

TEST(AppletParametersTest, SecondBuildAfterHidingIgnoresStaleNumbers) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1", "a2"});
    CVorane& s = *ItemAt(a, 0).m_subMenu;
    AddItems(s, {"s1"});
    CVorane& b = AddTopMenu(applet, {"b1"});
    AddItems(*ItemAt(b, 0).m_subMenu, {"t1"});
    EXPECT_EQ(ValueOf(BuildAppletParameters(applet), "Misc"), "4,2,1,1,1,-0,-2,0-1,3-3,");

    // S loses its only visible item: the numbers close up behind it.
    ItemAt(s, 0).m_visible = 0;
    AppletParameterEncoder encoder(applet);
    EXPECT_EQ(ValueOf(encoder.Build(), "Misc"), "3,2,1,1,-0,-1,2-2,");
    EXPECT_EQ(encoder.NumberOf(&s), -1);

    // A is hidden; B takes the number 0.
    a.m_visible = 0;
    const std::string block = encoder.Build();
    EXPECT_EQ(ValueOf(block, "Misc"), "2,1,1,-0,0-1,");
    EXPECT_EQ(encoder.NumberOf(&a), -1);
    EXPECT_EQ(encoder.NumberOf(&b), 0);
}

TEST(AppletParametersTest, FieldFormsFollowTheAppletsReading) {
    CAppletParameters applet;
    applet.m_appBKColor = 0x00123456;
    applet.m_appBKImageMode = 1;
    applet.m_appBKImageX = -3;
    applet.m_appBKImageY = 7;
    CVorane& menu = AddTopMenu(applet, {"Line one\r\nLine two", "lone\nfeed", "a,b \"q\" <x>"});
    menu.m_BKColor = 0x000000FF;
    menu.m_BKStyle = 3;
    menu.m_MenuAlign = 1;
    menu.m_Corner = 2;
    menu.m_xPos = -10;
    menu.m_BorderThick = 2;
    ItemStyle& normal = menu.m_itemStyle[kStateNormal];
    normal.ItemBorderStyle = 2;
    normal.ItemFillStyle = 9;
    normal.GradientDirection = 0;
    normal.ImageAlign = 2;
    normal.TextAlign = 1;
    normal.ImageOffset = -4;
    normal.TextOffset = 6;
    normal.FontEffect = 4;
    normal.FontName = 2;
    normal.FontSize = 9;
    normal.FontStyle = 1;
    normal.BKColor = 0x00FF0000;
    normal.Spare = "never written";
    ItemAt(menu, 0).m_target = "_blank";
    ItemAt(menu, 0).m_description = "desc";
    ItemAt(menu, 2).m_link = "http://x/?a=1,2";

    const std::string block = BuildAppletParameters(applet);
    EXPECT_EQ(ValueOf(block, "ApStyle"), "563412,563412,,1,-3,7,");
    EXPECT_EQ(ValueOf(block, "MStyle-0"), "ff0000,12,1,2,-10,15,80,20,5,2");
    EXPECT_EQ(ValueOf(block, "IStyle-0"),
              "0000ff,ffffff,093,4,2,9,1,21,-4,6,,,"
              "000000,ffffff,111,0,0,14,0,00,0,0,,,000000,ffffff,111,0,0,14,0,00,0,0,,,");
    EXPECT_EQ(ValueOf(block, "I0-0"), "Line one|_#`Line two,desc,,,,,,_blank,");
    EXPECT_EQ(ValueOf(block, "I0-1"), "lone\nfeed,,,,,,,_self,");
    EXPECT_EQ(ValueOf(block, "I0-2"), "a,b &quot;q&quot; <x>,,,,,,,_self,http://x/?a=1,2");
    EXPECT_EQ(block.find("never written"), std::string::npos);

    const std::vector<std::pair<int, const char*>> codes = {{0, "01"}, {1, "02"}, {2, "11"}, {3, "12"}};
    for (const auto& [style, code] : codes) {
        menu.m_BKStyle = style;
        EXPECT_EQ(ValueOf(BuildAppletParameters(applet), "MStyle-0").substr(7, 2), code) << style;
    }
}

TEST(AppletParametersTest, LabelTokenReplacesOnlyWholeCrLfPairs) {
    EXPECT_EQ(EncodeLabel("a\r\nb\r\nc"), "a|_#`b|_#`c");
    EXPECT_EQ(EncodeLabel("\r\r\n\n"), "\r|_#`\n");
    EXPECT_EQ(EncodeLabel("end\r"), "end\r");
    EXPECT_EQ(EncodeLabel(""), "");
}

TEST(AppletParametersTest, MediaFieldsCarryTheFoundNameOrNothing) {
    TempDir dir;
    const std::string logo = dir.File("art/logo.gif");
    dir.File("art/Click.GIF");
    const std::string sound = dir.File("snd/over.au");
    dir.File("bg/Back.JPG");
    fs::create_directories(dir / "art/folder.gif");

    CAppletParameters applet;
    applet.m_appBKImagePath = (dir / "bg/back.jpg").string();
    applet.m_appBKAudioPath = (dir / "snd/missing.au").string();
    CVorane& menu = AddTopMenu(applet, {"item"});
    CVoraneItem& item = ItemAt(menu, 0);
    item.m_normalImage = logo;
    item.m_overImage = (dir / "art/folder.gif").string();
    item.m_clickImage = (dir / "art/click.gif").string();
    item.m_overAudio = sound;
    item.m_clickAudio = (dir / "snd/deleted.au").string();

    const std::string block = BuildAppletParameters(applet);
    EXPECT_EQ(ValueOf(block, "ApStyle"), "000000,000000,Back.JPG,0,0,0,");
    EXPECT_EQ(ValueOf(block, "I0-0"), "item,,logo.gif,,Click.GIF,over.au,,_self,");
}
