// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "services/AppletClassFile.h"
#include "output/HtmlPageBuilder.h"
#include "output/LinkScheme.h"
#include "output/OutputTexts.h"
#include "output/PageLanguage.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

const std::string kDefaultItemStyles =
    "000000,ffffff,111,0,0,14,0,00,0,0,,,000000,ffffff,111,0,0,14,0,00,0,0,,,"
    "000000,ffffff,111,0,0,14,0,00,0,0,,,";

const std::string kWorkedParagraph =
    "<p align=\"Center\">\r\n"
    "<applet code=\"trelvix.class\" align=\"baseline\" width=\"400\" height=\"200\">\r\n"
    "\t<param name=\"ApStyle\" value=\"000000,000000,,0,0,0,\">\r\n"
    "\t<param name=\"MStyle-0\" value=\"000000,01,0,0,40,15,80,20,5,0\">\r\n"
    "\t<param name=\"IStyle-0\" value=\"" + kDefaultItemStyles + "\">\r\n"
    "\t<param name=\"I0-0\" value=\"Home,,,,,,,_self,index.html\">\r\n"
    "\t<param name=\"I0-1\" value=\"Products,,,,,,,_self,\">\r\n"
    "\t<param name=\"MStyle-1\" value=\"000000,01,0,0,40,15,80,20,5,0\">\r\n"
    "\t<param name=\"IStyle-1\" value=\"" + kDefaultItemStyles + "\">\r\n"
    "\t<param name=\"I1-0\" value=\"Tools,,,,,,,_self,tools.html\">\r\n"
    "\t<param name=\"Misc\" value=\"2,2,1,-0,1-1,\">\r\n"
    "</applet>\r\n"
    "</p>";

void BuildWorkedExample(CAppletParameters& applet) {
    CVorane& top = AddTopMenu(applet, {"Home", "Products"});
    ItemAt(top, 0).m_link = "index.html";
    AddItems(*ItemAt(top, 1).m_subMenu, {"Tools"})->m_link = "tools.html";
}

std::string LineAt(const std::string& page, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = page.find("\r\n", start) + 2;
    return page.substr(start, page.find("\r\n", start) - start);
}

}  // namespace

TEST(HtmlPageTest, WorkedExamplePageByteForByte) {
    CAppletParameters applet;
    BuildWorkedExample(applet);
    const std::string page = BuildHTML(applet);
    EXPECT_EQ(page, "<html>\r\n<head><title>Vorane Applet Properties</title></head>\r\n" + kWorkedParagraph +
                        "\r\n</html>");
    EXPECT_EQ(page.substr(page.size() - 7), "</html>");
}

TEST(HtmlPageTest, PageTakesAlignmentTitleAndSize) {
    CAppletParameters applet;
    applet.m_Align = 2;
    applet.m_HTMLTitle = "A <b>\"quoted\"</b> & title";
    applet.m_appWidth = 0;
    applet.m_appHeight = -5;
    const std::string page = BuildHTML(applet);
    // Only "<" is escaped: the title cannot open a tag or end the title element.
    EXPECT_EQ(LineAt(page, 1), "<head><title>A &lt;b>\"quoted\"&lt;/b> & title</title></head>");
    EXPECT_EQ(LineAt(page, 2), "<p align=\"Right\">");
    EXPECT_EQ(LineAt(page, 3), "<applet code=\"trelvix.class\" align=\"baseline\" width=\"0\" height=\"-5\">");
    // No visible menu: the block holds the applet and "Misc" lines only.
    EXPECT_EQ(LineAt(page, 5), "\t<param name=\"Misc\" value=\"0,\">");
    EXPECT_EQ(LineAt(page, 6), "</applet>");

    applet.m_Align = 1;
    EXPECT_EQ(LineAt(BuildHTML(applet), 2), "<p align=\"Left\">");
    applet.m_Align = 7;  // only a damaged file holds this
    EXPECT_EQ(LineAt(BuildHTML(applet), 2), "<p align=\"Center\">");
}

TEST(HtmlPageTest, AutoSizedCheckBeforeBuildSetsTheAppletLine) {
    const auto appletLineAfterCheck = [](CAppletParameters& applet) {
        CheckParameters(applet, true);
        return LineAt(BuildHTML(applet), 3);
    };
    const auto appletLine = [](int width, int height) {
        return "<applet code=\"trelvix.class\" align=\"baseline\" width=\"" + std::to_string(width) +
               "\" height=\"" + std::to_string(height) + "\">";
    };
    CAppletParameters applet;
    EXPECT_EQ(appletLineAfterCheck(applet), appletLine(4, 4));
    CVorane& menu = AddTopMenu(applet, {"a", "b", "c"});
    EXPECT_EQ(appletLineAfterCheck(applet), appletLine(84, 74));
    menu.m_BKStyle = 2;
    EXPECT_EQ(appletLineAfterCheck(applet), appletLine(85, 75));
    menu.m_BKStyle = 0;
    menu.m_Corner = 2;
    EXPECT_EQ(appletLineAfterCheck(applet), appletLine(84, 74));
    EXPECT_EQ(applet.m_appWidth, 84);
    EXPECT_EQ(applet.m_appHeight, 74);
}

TEST(HtmlPageTest, AppletParagraphRangeCoversParagraphOnly) {
    CAppletParameters applet;
    BuildWorkedExample(applet);
    const std::string page = BuildHTML(applet);
    const auto range = AppletParagraphRange(page);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(page.substr(range->begin, range->end - range->begin), kWorkedParagraph);
    EXPECT_EQ(AppletParagraph(page), kWorkedParagraph);

    // The user's edits in the dialog count; a "</p>" in the title does not end it early.
    applet.m_HTMLTitle = "x</p>y";
    const std::string edited = "junk " + BuildHTML(applet);
    EXPECT_EQ(AppletParagraph(edited), kWorkedParagraph);
    EXPECT_EQ(AppletParagraph("<p align=\"Left\">text</p></p>"), "<p align=\"Left\">text</p>");

    EXPECT_FALSE(AppletParagraphRange("<html></html>").has_value());
    EXPECT_FALSE(AppletParagraphRange("<p align=\"Left\"> no end").has_value());
    EXPECT_FALSE(AppletParagraphRange("</p> <p align").has_value());
    EXPECT_EQ(AppletParagraph(""), "");
}

TEST(AppletClassFileTest, CopyReplacesOlderCopyAndToleratesMissingSource) {
    TempDir dir;
    dir.File("program/trelvix.class", "new applet");
    dir.File("page/trelvix.class", "old applet");
    EXPECT_EQ(AppletClassSource(dir / "program"), dir / "program/trelvix.class");

    EXPECT_TRUE(CopyAppletClassFile(dir / "program", dir / "page"));
    EXPECT_EQ(ReadAll(dir / "page/trelvix.class"), "new applet");

    // Saving into the program folder itself leaves the class file whole.
    EXPECT_TRUE(CopyAppletClassFile(dir / "program", dir / "program"));
    EXPECT_EQ(ReadAll(dir / "program/trelvix.class"), "new applet");

    fs::create_directories(dir / "empty");
    fs::create_directories(dir / "other");
    EXPECT_FALSE(CopyAppletClassFile(dir / "empty", dir / "other"));
    EXPECT_FALSE(fs::exists(dir / "other/trelvix.class"));
}

TEST(HtmlPageTest, RuntimePageIsTodaysDocumentAndCopyTakesTheParagraphWithTheRuntimeLine) {
    CAppletParameters applet;
    BuildWorkedExample(applet);
    const std::string plain = BuildPage(applet);
    EXPECT_EQ(plain, BuildHTML(applet));
    EXPECT_EQ(plain, "<html>\r\n<head><title>Vorane Applet Properties</title></head>\r\n" + kWorkedParagraph +
                         "\r\n</html>");
    const std::string page = BuildPage(applet, true, "de-CH");
    const std::string line = "<script src=\"kestrune-menu.js\"></script>";
    const std::string fallback =
        "<nav aria-label=\"Vorane Applet Properties\">\r\n" + std::string(texts::kFallbackListStyle) +
        "<ul>\r\n"
        "<li><a href=\"index.html\" target=\"_self\">Home</a></li>\r\n"
        "<li>Products<ul>\r\n"
        "<li><a href=\"tools.html\" target=\"_self\">Tools</a></li>\r\n"
        "</ul></li>\r\n"
        "</ul>\r\n"
        "</nav>\r\n";
    std::string paragraph = kWorkedParagraph;
    paragraph.insert(paragraph.find("</applet>"), fallback);
    EXPECT_EQ(page, "<!DOCTYPE html>\r\n<html lang=\"de-CH\">\r\n<head><meta charset=\"windows-1252\">"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                    "<title>Vorane Applet Properties</title></head>\r\n<body>\r\n" +
                        paragraph + "\r\n" + line + "\r\n</body>\r\n</html>");
    EXPECT_EQ(AppletParagraph(page), paragraph + "\r\n" + line);
    // A malformed or missing language gives the default, never text in the attribute.
    EXPECT_NE(BuildPage(applet, true, "en\" onload=\"x").find("<html lang=\"en\">"), std::string::npos);
    EXPECT_NE(BuildPage(applet, true).find("<html lang=\"en\">"), std::string::npos);
    // The HTML dialog shows bare line feeds.
    std::string shown = page;
    for (std::size_t at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at)) shown.erase(at, 1);
    std::string bare = paragraph + "\n" + line;
    for (std::size_t at = bare.find("\r\n"); at != std::string::npos; at = bare.find("\r\n", at)) bare.erase(at, 1);
    EXPECT_EQ(AppletParagraph(shown), bare);
    // Another script, or the line further down, is not part of the paragraph.
    EXPECT_EQ(AppletParagraph("<p align=\"Left\">x</p>\r\n<script src=\"other.js\"></script>"),
              "<p align=\"Left\">x</p>");
    EXPECT_EQ(AppletParagraph("<p align=\"Left\">x</p>\r\n\r\n" + line), "<p align=\"Left\">x</p>");
}

TEST(HtmlPageTest, FallbackListEscapesTextsAndDropsScriptLinksAndHiddenItems) {
    CAppletParameters applet;
    applet.m_HTMLTitle = "A \"title\" </p><b>";
    CVorane& top = AddTopMenu(applet, {"Line\r\nbreak", "</applet><script>x()</script>", "Gone", "Tom & Jerry &amp; &#9733;"});
    ItemAt(top, 0).m_link = "a.htm?x=1&y=\"2\"";
    ItemAt(top, 0).m_target = "main\"x";
    ItemAt(top, 0).m_description = "<img src=x onerror=alert(1)>";
    ItemAt(top, 1).m_link = "java&#9;script:alert(1)";
    ItemAt(top, 2).m_visible = 0;
    ItemAt(top, 3).m_link = " &#1;javascript:alert(1)";
    CVorane& hidden = AddTopMenu(applet, {"Hidden menu"});
    hidden.m_visible = 0;
    AddTopMenu(applet, {"Across"}).m_MenuAlign = 1;
    const std::string page = BuildPage(applet, true);
    const std::size_t begin = page.find("<nav"), end = page.find("</nav>");
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(page.substr(begin, end - begin),
              "<nav aria-label=\"A &quot;title&quot; &lt;/p&gt;&lt;b&gt;\">\r\n" + std::string(texts::kFallbackListStyle) +
              "<ul>\r\n"
              "<li><a href=\"a.htm?x=1&amp;y=&quot;2&quot;\" target=\"main&quot;x\" "
              "title=\"&lt;img src=x onerror=alert(1)&gt;\">Line break</a></li>\r\n"
              "<li>&lt;/applet&gt;&lt;script&gt;x()&lt;/script&gt;</li>\r\n"
              "<li>Tom &amp; Jerry &amp; &#9733;</li>\r\n</ul>\r\n"
              // A menu whose items run across is a row without scripts too.
              "<ul class=\"km-across\">\r\n<li>Across</li>\r\n</ul>\r\n");
    // The copy still ends at the paragraph's own end.
    EXPECT_TRUE(AppletParagraph(page).ends_with("</nav>\r\n</applet>\r\n</p>\r\n<script src=\"kestrune-menu.js\"></script>"));
}

TEST(HtmlPageTest, ScriptLinksAreFoundAsTheBrowserParsesThem) {
    for (const char* link : {"javascript:x", "JavaScript:x", " javascript:x", "java\tscript:x", "java&#9;script:x",
                             "java&#x0A;script:x", "&#1;javascript:x", "\x01javascript:x", "vbscript:x", "data:text/html,x",
                             "DATA:x", "j&#97;vascript:x", "&#106avascript:x"})
        EXPECT_TRUE(IsScriptLink(link)) << link;
    for (const char* link : {"", "page.htm", "http://example.com/javascript:x", "./javascript:x", "javascript",
                             "mailto:a@b.c", "#javascript:x", "&#65345;javascript:x", "1javascript:x"})
        EXPECT_FALSE(IsScriptLink(link)) << link;
}

TEST(HtmlPageTest, LanguageTagsAreCheckedForForm) {
    for (const char* tag : {"en", "EN", "de-CH", "zh-Hant-TW", "sr-Latn-RS", "es-419", "de-CH-1996", "en-US-x-twain",
                            "x-private", "gsw", "zh-yue-HK", "en-a-bbb-x-a"})
        EXPECT_TRUE(IsWellFormedLanguageTag(tag)) << tag;
    for (const char* tag : {"", "e", "english1", "en_US", "en-", "-en", "en--US", "abcd", "en-US-a", "x-",
                            "x", "en-x", "en\" x=\"", "de-CH-x-toolongvalue"})
        EXPECT_FALSE(IsWellFormedLanguageTag(tag)) << tag;
}
