// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "OutputTestSupport.h"
#include "fuzz/LinkFuzzChecks.h"
#include "output/CharacterReferences.h"
#include "output/FallbackMenuList.h"
#include "output/LinkScheme.h"
#include "output/NamedReferenceTable.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

const std::vector<std::string> kScriptLinks = {"javascript:alert(1)", "JavaScript:alert(1)", "vbscript:msgbox(1)",
                                               "VBSCRIPT:x", "data:text/html;base64,PHNjcmlwdD4=", "Data:x"};

// The text a reference stands for, when all of it is ASCII.
std::optional<std::string> AsciiOf(const NamedReference& entry) {
    std::string text;
    for (const char32_t c : {entry.first, entry.second})
        if (c >= 0x80) return std::nullopt;
        else if (c != 0) text += static_cast<char>(c);
    return text;
}

// Each script link with one of its scheme's characters (or the colon) spelled as the
// reference, and, for characters the URL parser removes, the reference put anywhere in it.
std::vector<std::string> SpelledWith(const NamedReference& entry, const std::string& text) {
    const std::string reference = "&" + std::string(entry.name) + ";";
    std::vector<std::string> links;
    for (const std::string& link : kScriptLinks) {
        const std::size_t schemeEnd = link.find(':') + 1;
        for (std::size_t at = link.find(text); at != std::string::npos && at < schemeEnd; at = link.find(text, at + 1))
            links.push_back(link.substr(0, at) + reference + link.substr(at + text.size()));
        if (text == "\t" || text == "\n")
            for (std::size_t at = 0; at <= schemeEnd; ++at) links.push_back(link.substr(0, at) + reference + link.substr(at));
    }
    return links;
}

}  // namespace

TEST(ScriptLinkTest, TheTableHoldsEveryNamedReferenceInOrder) {
    const auto table = NamedReferences();
    const auto legacy = std::count_if(table.begin(), table.end(), [](const NamedReference& e) { return e.withoutSemicolon; });
    EXPECT_EQ(table.size() + static_cast<std::size_t>(legacy), 2231u);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end(), [](const auto& a, const auto& b) { return a.name < b.name; }));
    const auto decoded = [](const char* text) { return DecodeCharacterReferences(text, ReferencePlace::AttributeValue); };
    EXPECT_EQ(decoded("a&colon;b&Tab;c&NewLine;d&comma;&fjlig;&nbsp;&nbsp&amp;"), "a:b\tc\nd,fj\xA0\xA0&");
    EXPECT_EQ(decoded("&colon &nbspx &nbsp= &ampcolon;"), "&colon &nbspx &nbsp= &ampcolon;");
}

TEST(ScriptLinkTest, EveryReferenceToASchemeCharacterIsReadAsTheBrowserReadsIt) {
    std::size_t generated = 0;
    for (const NamedReference& entry : NamedReferences()) {
        const std::optional<std::string> text = AsciiOf(entry);
        if (!text) continue;
        for (const std::string& link : SpelledWith(entry, *text)) {
            ++generated;
            EXPECT_TRUE(IsScriptLink(link)) << link;
            EXPECT_FALSE(FallbackHref(link)) << link;
            EXPECT_TRUE(fuzz::WrittenLinkIsSafe(link)) << link;
        }
    }
    EXPECT_GT(generated, 100u);
}

TEST(ScriptLinkTest, OtherLinksAreWrittenAsJudgedAndKeptFromFuzzing) {
    for (const char* link : {"page.htm?a=1&amp;b=2", "&copy;x.htm", "mailto:a@b.c", "java&Tab", "javascript&colon",
                             "javascript&ampcolon;x", "#javascript&colon;x", "http://x/?javascript&colon;"}) {
        EXPECT_TRUE(FallbackHref(link)) << link;
        EXPECT_TRUE(fuzz::WrittenLinkIsSafe(link)) << link;
    }
    for (const auto& input : std::filesystem::directory_iterator(std::filesystem::path(KESTRUNE_TEST_DATA) / "fuzz" / "link_writer"))
        EXPECT_TRUE(fuzz::WrittenLinkIsSafe(ReadAll(input.path()))) << input.path();
}

TEST(ScriptLinkTest, TheCheckNamesEachItemWhoseScriptLinkIsLeftOut) {
    CAppletParameters applet;
    CVorane& top = AddTopMenu(applet, {"One", "Two", "Three"});
    ItemAt(top, 0).m_link = "javascript&colon;document.title='PWN1'";
    ItemAt(top, 1).m_link = "page.htm";
    ItemAt(top, 2).m_link = "&NewLine;&Tab;vbscript&colon;x";
    const std::string report = CheckParameters(applet, false).report;
    EXPECT_NE(report.find("Warning:\t\tItem 1.1 link \"javascript&colon;document.title='PWN1'\" is a script link; "
                          "the page's plain list of links leaves it out.\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Item 1.3 link \"&NewLine;&Tab;vbscript&colon;x\""), std::string::npos) << report;
    EXPECT_EQ(report.find("Item 1.2"), std::string::npos) << report;
}
