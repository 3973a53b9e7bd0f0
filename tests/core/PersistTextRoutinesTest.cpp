// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "PersistTestSupport.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileText.h"
#include "base/FoldedSearch.h"
#include "base/TextRoutines.h"

using namespace kestrune;
using namespace kestrune::test;

TEST(TextRoutinesTest, ExtractFieldCountsFromZeroAndIsEmptyBeyondTheLast) {
    EXPECT_EQ(ExtractField("a,b,,d", 0, ','), "a");
    EXPECT_EQ(ExtractField("a,b,,d", 2, ','), "");
    EXPECT_EQ(ExtractField("a,b,,d", 3, ','), "d");
    EXPECT_EQ(ExtractField("a,b,,d", 4, ','), "");
    EXPECT_EQ(ExtractField("a,b,", 2, ','), "");
    EXPECT_EQ(ExtractField("12-3", 1, '-'), "3");
    EXPECT_EQ(ExtractField("a,b", -1, ','), "");
}

TEST(TextRoutinesTest, ReplaceAllScansLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("x\r\ny\r\n", "\r\n", "|_#`"), "x|_#`y|_#`");
    // A replacement that contains the searched text is not searched again.
    EXPECT_EQ(ReplaceAll("ab", "a", "aa"), "aab");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(TextRoutinesTest, InsertListEntryPlacesTheNameBeforeThePosition) {
    const std::string list = "Normal,Group Buttons,Hot Spot,";
    EXPECT_EQ(InsertListEntry(list, "New", 0, ','), "New,Normal,Group Buttons,Hot Spot,");
    EXPECT_EQ(InsertListEntry(list, "New", 1, ','), "Normal,New,Group Buttons,Hot Spot,");
    EXPECT_EQ(InsertListEntry(list, "New", 3, ','), "Normal,Group Buttons,Hot Spot,New,");
    EXPECT_EQ(InsertListEntry(list, "New", 99, ','), "Normal,Group Buttons,Hot Spot,New,");
    // A last entry without its separator gets one when the insertion passes it.
    EXPECT_EQ(InsertListEntry("A,B", "New", 5, ','), "A,B,New,");
    EXPECT_EQ(InsertListEntry("A,B", "New", 1, ','), "A,New,B");
    EXPECT_EQ(InsertListEntry("", "New", 3, ','), "New,");
}

TEST(TextRoutinesTest, RemoveListEntryTakesTheEntryAndItsSeparator) {
    EXPECT_EQ(RemoveListEntry("A,B,C,", 1, ','), "A,C,");
    EXPECT_EQ(RemoveListEntry("A,B,C,", 0, ','), "B,C,");
    EXPECT_EQ(RemoveListEntry("A,B,C", 2, ','), "A,B,");
    EXPECT_EQ(RemoveListEntry("A,B,C,", 3, ','), "A,B,C,");
    EXPECT_EQ(RemoveListEntry("A,B,C,", -1, ','), "A,B,C,");
}

TEST(TextRoutinesTest, NumbersFollowTheFileRuleAndSaturate) {
    EXPECT_EQ(ParseNumber("42"), 42);
    EXPECT_EQ(ParseNumber("  -17xyz"), -17);
    EXPECT_EQ(ParseNumber("\t+8"), 8);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("-"), 0);
    EXPECT_EQ(ParseNumber("3 4"), 3);
    EXPECT_EQ(ParseNumber("16777215"), 16777215);
    EXPECT_EQ(ParseNumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseNumber("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseNumber("-99999999999"), -2147483647 - 1);
}

TEST(MenuFileNameTest, TheMenuFileComesFromThePageFileNameOnly) {
    EXPECT_EQ(MenuFilePathFor("/web/site/menu.htm"), "/web/site/menu.kst");
    EXPECT_EQ(MenuFilePathFor("/web/site/menu.html"), "/web/site/menu.kst");
    EXPECT_EQ(MenuFilePathFor("/web/site/menu.kst"), "/web/site/menu.kst");
    EXPECT_EQ(MenuFilePathFor("/web/site/menu"), "/web/site/menu.kst");
    EXPECT_EQ(MenuFilePathFor("/web/my.site/menu"), "/web/my.site/menu.kst");
    EXPECT_EQ(MenuFilePathFor("/web/my.site/menu.v2.htm"), "/web/my.site/menu.v2.kst");
    EXPECT_EQ(MenuFilePathFor("menu.htm"), "menu.kst");
    EXPECT_EQ(MenuFilePathFor("menu"), "menu.kst");
}

TEST(KeyTableTest, LinesAreTrimmedAndSplitAtTheFirstEquals) {
    const CKeyTable table = TableOf(
        "Orphan=never found\r\n"
        "  [Vorane2.0]  \r\n"
        "\r\n"
        "   Link = a=b=c \r\n"
        "NoEquals\n"
        "Twice=first\n"
        "Twice=second\n"
        "[Other]\n"
        "Link=other\n"
        "Last=no line end");
    ASSERT_NE(table.Find("Vorane2.0", "Link"), std::nullopt);
    EXPECT_EQ(*table.Find("Vorane2.0", "Link"), " a=b=c");
    EXPECT_EQ(*table.Find("Vorane2.0", "NoEquals"), "");
    EXPECT_EQ(*table.Find("Vorane2.0", "Twice"), "second");
    EXPECT_EQ(*table.Find("Other", "Link"), "other");
    EXPECT_EQ(*table.Find("Other", "Last"), "no line end");
    EXPECT_EQ(table.Find("Vorane2.0", "link"), std::nullopt);
    EXPECT_EQ(table.Find("", "Orphan"), std::nullopt);
    EXPECT_EQ(table.Find("vorane2.0", "Link"), std::nullopt);
}

TEST(KeyTableTest, AnyLookupOrderFindsTheLastEntryOfASectionOpenedAgain) {
    std::string text = "[A]\nk=first\n[B\nk=unnamed\n[B]\n";
    for (int i = 0; i < 500; ++i) text += "n" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    text += "[A]\nk=second\nk2=x\n";
    const CKeyTable table = TableOf(text);
    EXPECT_EQ(table.EntryCount(), 503u);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(*table.Find("A", "k"), "second");
        for (int i : {0, 1, 2, 499, 250, 251, 7})
            EXPECT_EQ(*table.Find("B", "n" + std::to_string(i)), std::to_string(i));
        EXPECT_EQ(table.Find("B", "k"), std::nullopt);
        EXPECT_EQ(table.Find("B", "k2"), std::nullopt);
        EXPECT_EQ(table.Find("A", "n0"), std::nullopt);
        EXPECT_EQ(*table.Find("A", "k2"), "x");
    }
    EXPECT_EQ(table.Find("B", "n500"), std::nullopt);
}

TEST(KeyTableTest, GetKeyFieldsGivesExactlyNFields) {
    const CKeyTable table = TableOf("[S]\nTwo=a,b,\nMany=1,2,3,4\nEmpty=\n");
    EXPECT_EQ(GetKeyFields("S", "Two", "", table, 4), (std::vector<std::string>{"a", "b", "", ""}));
    EXPECT_EQ(GetKeyFields("S", "Many", "", table, 2), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(GetKeyFields("S", "Empty", "x,y", table, 1), (std::vector<std::string>{""}));
    EXPECT_EQ(GetKeyFields("S", "Missing", "x,y", table, 3), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(GetKeyFields("S", "Two", "", table, 0).size(), 0u);
}

TEST(KeyTableTest, UnreadablePathsAreReportedNotRead) {
    TempDir dir;
    CKeyTable table;
    EXPECT_FALSE(ReadKeyTable((dir / "missing.kst").string(), table));
    EXPECT_FALSE(ReadKeyTable(dir.Root().string(), table));
    EXPECT_FALSE(ReadKeyTable("/dev/zero", table));
    EXPECT_TRUE(ReadKeyTable(dir.File("ok.kst", "[A]\nk=v\n"), table));
    EXPECT_EQ(*table.Find("A", "k"), "v");
}

TEST(TextRoutinesTest, FoldedSearchIgnoresLetterCaseOfTheCodePageOnly) {
    EXPECT_TRUE(FoldedNeedle("item 12").FoundIn("Menu ITEM 125"));
    EXPECT_TRUE(FoldedNeedle("\xC9lan \x8A\x8C\x8E\x9F").FoundIn("x \xE9LAN \x9A\x9C\x9E\xFF"));  // Élan ŠŒŽŸ
    EXPECT_FALSE(FoldedNeedle("\xD7").FoundIn("\xF7"));  // × and ÷ are no letters
    EXPECT_FALSE(FoldedNeedle("@").FoundIn("`"));
    EXPECT_FALSE(FoldedNeedle("abc").FoundIn("ab"));
    EXPECT_TRUE(FoldedNeedle("").FoundIn(""));
    EXPECT_TRUE(FoldedNeedle("aab").FoundIn("aaab"));
    EXPECT_FALSE(FoldedNeedle("b").FoundIn(std::string_view("ab", 1)));
}

