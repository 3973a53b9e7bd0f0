// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/PageLayout.h"
#include "output/ParameterReader.h"
#include "output/AppletParameterEncoder.h"

using namespace kestrune;

namespace {

const char* const kDefaultItemStyles =
    "000000,ffffff,111,0,0,14,0,00,0,0,,,000000,ffffff,111,0,0,14,0,00,0,0,,,"
    "000000,ffffff,111,0,0,14,0,00,0,0,,,";

std::string Param(const std::string& name, const std::string& value) {
    return "\t<param name=\"" + name + "\" value=\"" + value + "\">\r\n";
}

std::string MenuLines(int number, const std::vector<std::string>& items,
                      const std::string& style = "000000,01,0,0,40,15,80,20,5,0") {
    std::string text = Param("MStyle-" + std::to_string(number), style) +
                       Param("IStyle-" + std::to_string(number), kDefaultItemStyles);
    for (std::size_t j = 0; j < items.size(); ++j)
        text += Param("I" + std::to_string(number) + "-" + std::to_string(j), items[j]);
    return text;
}

// The two-menu example of the parameter encoding: "Home", and "Products" opening "Tools".
std::string WorkedExample() {
    return Param("ApStyle", "000000,000000,,0,0,0,") +
           MenuLines(0, {"Home,,,,,,,_self,index.html", "Products,,,,,,,_self,"}) +
           MenuLines(1, {"Tools,,,,,,,_self,tools.html"}) + Param("Misc", "2,2,1,-0,1-1,");
}

std::string Page(const std::string& block) {
    return "<html>\r\n<head><title>Vorane Applet Properties</title></head>\r\n<p align=\"Center\">\r\n"
           "<applet code=\"trelvix.class\" align=\"baseline\" width=\"400\" height=\"200\">\r\n" +
           block + "</applet>\r\n</p>\r\n</html>";
}

std::string ErrorOf(const std::string& text) {
    const AppletReadResult result = ReadAppletParameters(text);
    EXPECT_FALSE(result.Ok()) << text;
    EXPECT_FALSE(result.error.empty());
    return result.error;
}

bool Mentions(const std::vector<std::string>& warnings, const std::string& part) {
    for (const std::string& warning : warnings)
        if (warning.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(ParameterReaderTest, WorkedExampleGivesMenusItemsAndTheSubMenuOfProducts) {
    const AppletReadResult read = ReadAppletParameters(Page(WorkedExample()));
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_TRUE(read.warnings.empty());
    const CAppletParameters& applet = *read.applet;
    EXPECT_EQ(applet.m_appWidth, 400);
    EXPECT_EQ(applet.m_HTMLTitle, "Vorane Applet Properties");
    ASSERT_EQ(applet.m_menus.size(), 1u);
    const CVorane& top = *applet.m_menus[0];
    EXPECT_EQ(top.m_name, "top-level Menu");
    EXPECT_EQ(top.m_xPos, 40);
    ASSERT_EQ(top.m_items.size(), 2u);
    EXPECT_EQ(top.m_items[0]->m_label, "Home");
    EXPECT_EQ(top.m_items[0]->m_link, "index.html");
    EXPECT_FALSE(top.m_items[0]->SubMenu().HasVisibleItem());
    const CVorane& tools = top.m_items[1]->SubMenu();
    ASSERT_EQ(tools.m_items.size(), 1u);
    EXPECT_EQ(tools.m_items[0]->m_label, "Tools");
    EXPECT_EQ(tools.m_items[0]->m_target, "_self");
    EXPECT_EQ(top.m_itemStyle[2].FRColor, 0x00FFFFFF);
    EXPECT_EQ(top.m_itemStyle[0].ItemBorderStyle, 0);
}

TEST(ParameterReaderTest, RelationsUseTheRunningItemIndexAcrossMenus) {
    // A (a1 opens S, a2) and B (b1): numbers A 0, S 1, B 2; emitted items a1 a2 s1 b1.
    const std::string block = Param("ApStyle", "000000,000000,,0,0,0,") +
                              MenuLines(0, {"a1,,,,,,,_self,", "a2,,,,,,,_self,"}) +
                              MenuLines(1, {"s1,,,,,,,_self,"}) + MenuLines(2, {"b1,,,,,,,_self,"}) +
                              Param("Misc", "3,2,1,1,-0,-2,0-1,");
    const AppletReadResult read = ReadAppletParameters(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.applet->m_menus.size(), 2u);
    const CVorane& a = *read.applet->m_menus[0];
    EXPECT_EQ(a.m_items[0]->SubMenu().m_items.at(0)->m_label, "s1");
    EXPECT_FALSE(a.m_items[1]->SubMenu().HasVisibleItem());
    EXPECT_EQ(read.applet->m_menus[1]->m_items.at(0)->m_label, "b1");
    EXPECT_EQ(BuildAppletParameters(*read.applet), block);
}

TEST(ParameterReaderTest, StyleFieldsAreDecodedFromTheirPackedForms) {
    const std::string styles =
        "123456,abcdef,093,4,2,9,1,21,-3,7,,,"
        "000000,ffffff,111,0,0,14,0,00,0,0,,,"
        "FFFFFF,000000,020,1,1,10,2,12,0,0,,,";
    const std::string block = Param("ApStyle", "0000ff,0000ff,,1,-5,6,") +
                              Param("MStyle-0", "ff0000,12,1,2,-10,15,90,25,3,2") +
                              Param("IStyle-0", styles) + Param("I0-0", "One|_#`Two,d,,,,,,_blank,x") +
                              Param("Misc", "1,1,-0,");
    const AppletReadResult read = ReadAppletParameters(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.applet->m_appBKColor, 0x00FF0000);  // blue
    EXPECT_EQ(read.applet->m_appBKImageMode, 1);
    EXPECT_EQ(read.applet->m_appBKImageX, -5);
    const CVorane& menu = *read.applet->m_menus.at(0);
    EXPECT_EQ(menu.m_BKColor, 0x000000FF);  // red
    EXPECT_EQ(menu.m_BKStyle, 3);
    EXPECT_EQ(menu.m_MenuAlign, 1);
    EXPECT_EQ(menu.m_Corner, 2);
    EXPECT_EQ(menu.m_xPos, -10);
    EXPECT_EQ(menu.m_BorderThick, 2);
    const ItemStyle& normal = menu.m_itemStyle[0];
    EXPECT_EQ(normal.BKColor, 0x00563412);
    EXPECT_EQ(normal.GradientDirection, 0);
    EXPECT_EQ(normal.ItemFillStyle, 9);
    EXPECT_EQ(normal.ItemBorderStyle, 2);
    EXPECT_EQ(normal.FontEffect, 4);
    EXPECT_EQ(normal.FontName, 2);
    EXPECT_EQ(normal.FontSize, 9);
    EXPECT_EQ(normal.FontStyle, 1);
    EXPECT_EQ(normal.ImageAlign, 2);
    EXPECT_EQ(normal.TextAlign, 1);
    EXPECT_EQ(normal.ImageOffset, -3);
    EXPECT_EQ(normal.TextOffset, 7);
    EXPECT_EQ(menu.m_itemStyle[2].BKColor, 0x00FFFFFF);
    EXPECT_EQ(menu.m_itemStyle[2].ItemFillStyle, 2);
    EXPECT_EQ(menu.m_itemStyle[2].ItemBorderStyle, -1);
    EXPECT_EQ(menu.m_items.at(0)->m_label, "One\r\nTwo");
    EXPECT_EQ(menu.m_items.at(0)->m_target, "_blank");
}

TEST(ParameterReaderTest, HandWrittenTagsAreReadInAnyOrderQuotingAndCase) {
    const std::string page =
        "<HTML><BODY><P ALIGN=right>\n"
        "<APPLET WIDTH = 320 HEIGHT='90' CODE=trelvix.class>\n"
        "  <PARAM VALUE='000000,000000,,0,0,0,' NAME=ApStyle>\n"
        "  <param\n     name = \"mstyle-0\"\n     value = \"000000,01,1,0,0,0,60,20,0,0\" />\n"
        "  <Param Name=IStyle-0 Value=\"" + std::string(kDefaultItemStyles) + "\">"
        "<param name=i0-0 value=\"Start,,,,,,,_top,start.html\"><param name=I0-1 value='Stop,,,,,,,_self,'>\n"
        "  <param name=\"MISC\" value=\"1,2,-0,\">\n"
        "  Your browser does not run Java.\n"
        "</APPLET></P></BODY></HTML>";
    const AppletReadResult read = ReadAppletParameters(page);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    EXPECT_EQ(read.applet->m_appWidth, 320);
    EXPECT_EQ(read.applet->m_appHeight, 90);
    EXPECT_EQ(read.applet->m_Align, 2);
    const CVorane& menu = *read.applet->m_menus.at(0);
    EXPECT_EQ(menu.m_MenuAlign, 1);
    ASSERT_EQ(menu.m_items.size(), 2u);
    EXPECT_EQ(menu.m_items[0]->m_link, "start.html");
    EXPECT_EQ(menu.m_items[1]->m_label, "Stop");
}

TEST(ParameterReaderTest, QuotesAndBracketsInsideWrittenValuesStayInTheirFields) {
    const std::string block =
        Param("ApStyle", "000000,000000,,0,0,0,") +
        MenuLines(0, {"say \"hi\">now,a \"b\" <i>c</i>,,,,,,_self,\"x\".html",
                      "<b>Bold</b>,two\r\nlines \"q\",,,,,,_self,end\""}) +
        Param("Misc", "1,2,-0,");
    const AppletReadResult read = ReadAppletParameters(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    const CVorane& menu = *read.applet->m_menus.at(0);
    EXPECT_EQ(menu.m_items.at(0)->m_label, "say \"hi\">now");
    EXPECT_EQ(menu.m_items.at(0)->m_description, "a \"b\" <i>c</i>");
    EXPECT_EQ(menu.m_items.at(0)->m_link, "\"x\".html");
    EXPECT_EQ(menu.m_items.at(1)->m_description, "two\r\nlines \"q\"");
    EXPECT_EQ(menu.m_items.at(1)->m_link, "end\"");
    // Written again, each quote inside a value is a reference.
    const std::string rewritten = BuildAppletParameters(*read.applet);
    EXPECT_NE(rewritten.find("value=\"say &quot;hi&quot;>now,a &quot;b&quot; <i>c</i>,,,,,,_self,&quot;x&quot;.html\">"),
              std::string::npos);
    const AppletReadResult again = ReadAppletParameters(rewritten);
    ASSERT_TRUE(again.Ok()) << again.error;
    EXPECT_EQ(BuildAppletParameters(*again.applet), rewritten);
}

// The browser hands the script runtime what its tokenizer reads; the layout must read the
// same, while the editor still reads an old page's unescaped quotes as their writer meant.
TEST(ParameterReaderTest, TheLayoutReadsTagsAsTheBrowserDoes) {
    struct Case {
        std::string item;
        std::string browser;   // the label a browser gives the runtime
        std::string oldWriter;  // the label the default reading gives
    };
    const Case cases[] = {
        {"<param name=\"I0-0\" value=\"say \"hi\" to=me,,,,,,,_self,\">", "say ", "say \"hi\" to=me"},
        {"<param name=\"I0-0\" value=\"a\"b\">", "a", "a\"b"},
        {"<param name=I0-0 \"value=\"evil\">", "", "evil"},
        {std::string("<param name=\"I0-0\" value=\"x") + '\0' + "y\">", "x&#65533;y", "x&#65533;y"},
        {"<param name=\"I0-0\" value=\"x&#0;y\">", "x&#65533;y", "x&#65533;y"},
        {"<param name=\"I0-0\" value=\"two\r\nlines\rend\">", "two\nlines\nend", "two\r\nlines\rend"},
        {"<param name=\"I0-0\" value='q\"r'>", "q\"r", "q\"r"},
    };
    for (const Case& test : cases) {
        const std::string block = Param("ApStyle", "000000,000000,,0,0,0,") + MenuLines(0, {}) + "\t" + test.item + "\r\n" +
                                  Param("I0-1", "Next") + Param("Misc", "1,2,-0,");
        const PageLayout laidOut = LayOutPage(Page(block), MenuPath{});
        ASSERT_TRUE(laidOut.read.Ok()) << test.item << ": " << laidOut.read.error;
        EXPECT_EQ(laidOut.read.applet->m_menus.at(0)->m_items.at(0)->m_label, test.browser) << test.item;
        EXPECT_EQ(laidOut.read.applet->m_menus.at(0)->m_items.at(1)->m_label, "Next") << test.item;
        const AppletReadResult edited = ReadAppletParameters(Page(block));
        ASSERT_TRUE(edited.Ok()) << test.item << ": " << edited.error;
        EXPECT_EQ(edited.applet->m_menus.at(0)->m_items.at(0)->m_label, test.oldWriter) << test.item;
    }
    // The JSON gives characters beyond the code page as the browser shows them.
    const PageLayout stars = LayOutPage(
        Page(Param("ApStyle", "000000,000000,,0,0,0,") + MenuLines(0, {"&#0; &#9733; &#128512; &#x80;"}) +
             Param("Misc", "1,1,-0,")),
        MenuPath{});
    ASSERT_TRUE(stars.read.Ok()) << stars.read.error;
    EXPECT_NE(stars.json.find(R"("label":"\ufffd \u2605 \ud83d\ude00 \u20ac")"), std::string::npos) << stars.json;
}

TEST(ParameterReaderTest, ACommaInALabelSplitsItAsTheAppletDoesAndIsReported) {
    const std::string block = Param("ApStyle", "000000,000000,,0,0,0,") +
                              MenuLines(0, {"Products, Services,more,,,,,,_self,p.html"}) +
                              Param("Misc", "1,1,-0,");
    const AppletReadResult read = ReadAppletParameters(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    const CVoraneItem& item = *read.applet->m_menus.at(0)->m_items.at(0);
    EXPECT_EQ(item.m_label, "Products");
    EXPECT_EQ(item.m_description, " Services,more");
    EXPECT_EQ(item.m_link, "p.html");
    EXPECT_TRUE(Mentions(read.warnings, "I0-0"));
    EXPECT_EQ(BuildAppletParameters(*read.applet), block);
}

TEST(ParameterReaderTest, OddButReadableTextIsReadWithWarnings) {
    const std::string block = Param("ApStyle", "000000,000000,,0,0,0,") + Param("Foo", "bar") +
                              MenuLines(0, {"A,,,,,,,_self,", "B"}) + Param("I0-0", "again,,,,,,,_self,") +
                              MenuLines(1, {"orphan,,,,,,,_self,"}) + Param("I7-0", "x") +
                              Param("Misc", "2,2,1,-0");
    const AppletReadResult read = ReadAppletParameters(block);
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_TRUE(Mentions(read.warnings, "\"Foo\""));
    EXPECT_TRUE(Mentions(read.warnings, "more than once"));
    EXPECT_TRUE(Mentions(read.warnings, "\"I0-1\" has 1 fields"));
    EXPECT_TRUE(Mentions(read.warnings, "\"I7-0\""));
    EXPECT_TRUE(Mentions(read.warnings, "Menu 1 is neither"));
    EXPECT_TRUE(Mentions(read.warnings, "comma"));
    EXPECT_EQ(read.applet->m_menus.size(), 1u);
    EXPECT_EQ(read.applet->m_menus[0]->m_items.at(0)->m_label, "A");
}

TEST(ParameterReaderTest, MissingOrInconsistentPartsAreErrors) {
    const std::string apStyle = Param("ApStyle", "000000,000000,,0,0,0,");
    const std::string menu0 = MenuLines(0, {"A,,,,,,,_self,"});
    EXPECT_NE(ErrorOf("").find("no applet parameters"), std::string::npos);
    EXPECT_NE(ErrorOf("<html><applet code=x.class></applet></html>").find("no applet parameters"),
              std::string::npos);
    EXPECT_NE(ErrorOf(menu0 + Param("Misc", "1,1,-0,")).find("ApStyle"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0).find("Misc"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "2,1,1,-0,")).find("2 menus"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,2,-0,")).find("I0-1"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,0,-0,")).find("no items"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,1,-3,")).find("menu 3"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,1,-0,-0,")).find("twice"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,1,-0,x,")).find("\"x\""), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,1,-0,5-0,")).find("item 5"), std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + menu0 + Param("Misc", "1,")).find("item counts"), std::string::npos);
}

TEST(ParameterReaderTest, DamagedNumbersColoursAndCodesAreErrors) {
    const std::string apStyle = Param("ApStyle", "000000,000000,,0,0,0,");
    const std::string items = Param("I0-0", "A,,,,,,,_self,") + Param("Misc", "1,1,-0,");
    auto withMenuStyle = [&](const std::string& style) {
        return apStyle + Param("MStyle-0", style) + Param("IStyle-0", kDefaultItemStyles) + items;
    };
    auto withItemStyles = [&](const std::string& styles) {
        return apStyle + Param("MStyle-0", "000000,01,0,0,40,15,80,20,5,0") + Param("IStyle-0", styles) + items;
    };
    std::string styles = kDefaultItemStyles;
    EXPECT_NE(ErrorOf(withMenuStyle("000000,01,0,0,forty,15,80,20,5,0")).find("\"forty\""), std::string::npos);
    EXPECT_NE(ErrorOf(withMenuStyle("000000,01,0,0,99999999999,15,80,20,5,0")).find("whole number"),
              std::string::npos);
    EXPECT_NE(ErrorOf(withMenuStyle("00000g,01,0,0,40,15,80,20,5,0")).find("colour"), std::string::npos);
    EXPECT_NE(ErrorOf(withMenuStyle("000000,03,0,0,40,15,80,20,5,0")).find("background style"),
              std::string::npos);
    EXPECT_NE(ErrorOf(withMenuStyle("000000,01,0,0,40,15")).find("fields"), std::string::npos);
    EXPECT_NE(ErrorOf(withItemStyles(styles.replace(14, 3, "1101"))).find("3 digits"), std::string::npos);
    EXPECT_NE(ErrorOf(withItemStyles("000000,ffffff,111,0,0,14,")).find("fields"), std::string::npos);
    EXPECT_NE(ErrorOf(Param("ApStyle", "black,000000,,0,0,0,") + Param("Misc", "0,")).find("colour"),
              std::string::npos);
}

TEST(ParameterReaderTest, CyclesAndRunawayNestingAreRefused) {
    const std::string apStyle = Param("ApStyle", "000000,000000,,0,0,0,");
    const std::string three = MenuLines(0, {"a,,,,,,,_self,"}) + MenuLines(1, {"b,,,,,,,_self,"}) +
                              MenuLines(2, {"c,,,,,,,_self,"});
    // Menu 1's item opens menu 2 and menu 2's item opens menu 1: a loop off to the side.
    EXPECT_NE(ErrorOf(apStyle + three + Param("Misc", "3,1,1,1,-0,1-2,2-1,")).find("open itself"),
              std::string::npos);
    // An item that opens its own menu.
    EXPECT_NE(ErrorOf(apStyle + three + Param("Misc", "3,1,1,1,-0,-1,2-2,")).find("open itself"),
              std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + three + Param("Misc", "3,1,1,1,-0,0-1,0-2,")).find("more than one sub menu"),
              std::string::npos);
    EXPECT_NE(ErrorOf(apStyle + three + Param("Misc", "3,1,1,1,-0,0-1,1-1,")).find("twice"),
              std::string::npos);

    // A chain of 40 menus, each opened by the single item of the one before.
    std::string chain = apStyle;
    std::string misc = "40,";
    for (int k = 0; k < 40; ++k) {
        chain += MenuLines(k, {"m" + std::to_string(k) + ",,,,,,,_self,"});
        misc += "1,";
    }
    misc += "-0,";
    for (int k = 1; k < 40; ++k) misc += std::to_string(k - 1) + "-" + std::to_string(k) + ",";
    chain += Param("Misc", misc);
    ParameterReadOptions shallow;
    shallow.maxDepth = 10;
    const AppletReadResult refused = ReadAppletParameters(chain, shallow);
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.error.find("nested"), std::string::npos);
    const AppletReadResult accepted = ReadAppletParameters(chain);
    ASSERT_TRUE(accepted.Ok()) << accepted.error;
    EXPECT_EQ(BuildAppletParameters(*accepted.applet), chain);
}

TEST(ParameterReaderTest, EveryTruncationAndRandomDamageIsReadOrRefusedSafely) {
    const std::string page = Page(WorkedExample());
    int refused = 0;
    for (std::size_t length = 0; length <= page.size(); ++length) {
        const AppletReadResult result = ReadAppletParameters(std::string_view(page).substr(0, length));
        EXPECT_NE(result.Ok(), !result.error.empty()) << length;
        if (!result.Ok()) ++refused;
    }
    EXPECT_GT(refused, 0);

    std::mt19937 random(7u);
    const char alphabet[] = {'<', '>', '"', '\'', ',', '-', '=', '0', '9', 'f', ' ', '\n', '\0', '\xff'};
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = page;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % damaged.size();
            switch (random() % 3) {
            case 0: damaged[at] = alphabet[random() % sizeof alphabet]; break;
            case 1: damaged.erase(at, 1 + random() % 12); break;
            default: damaged.insert(at, damaged.substr(random() % damaged.size(), random() % 40)); break;
            }
            if (damaged.empty()) damaged = "<";
        }
        const AppletReadResult result = ReadAppletParameters(damaged);
        ASSERT_NE(result.Ok(), !result.error.empty()) << damaged;
        if (result.Ok()) BuildAppletParameters(*result.applet);  // what was read is a usable model
    }
}

TEST(ParameterReaderTest, PathologicalTextIsReadInOnePass) {
    // Quotes that never close a tag: a reader that searched ahead anew for every value
    // would take hours here.
    std::string text = "<applet><param name=\"x\" value=\"";
    for (int i = 0; i < 200000; ++i) text += "a=\"b\" ";
    text += "\n";
    for (int i = 0; i < 200000; ++i) text += "<param name=\"q\" value=\"\"x";
    const AppletReadResult result = ReadAppletParameters(text);
    EXPECT_FALSE(result.Ok());
    EXPECT_LE(result.warnings.size(), 101u);

    ParameterReadOptions small;
    small.maxTextSize = 100;
    EXPECT_NE(ReadAppletParameters(Page(WorkedExample()), small).error.find("too large"), std::string::npos);
}
