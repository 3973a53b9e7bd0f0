// SPDX-License-Identifier: GPL-3.0-or-later
// What large or hostile input may cost: menus and items a file names without lines, warnings
// repeated for every item, keys chosen to collide, and a Cancel while the table is built.
#include <gtest/gtest.h>

#include "CollidingKeys.h"
#include "PersistTestSupport.h"
#include "base/TaskProgress.h"
#include "persist/MenuFileParts.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

std::string Repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Padding that the readers take as no entry, so a file's size admits many objects.
const std::string kPadding = "; " + std::string(400'000, 'x') + "\r\n";

}  // namespace

TEST(ScaleLimitsTest, MenusAndItemsWithoutLinesAreMadeOnlyUpToTheAllowance) {
    struct Shape {
        const char* name;
        std::string text;
    };
    const int menus = 5000;
    const Shape shapes[] = {
        {"one menu claiming a billion items", CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=1,999999999,-0,"}) + kPadding},
        {"thousands of top-level menus of one item",
         CrLf({"[Vorane2.0]", "Notice=Vorane2.0"}) + "Misc=" + std::to_string(menus) + "," + Repeated("1,", menus) +
             [] {
                 std::string tops;
                 for (int k = 0; k < menus; ++k) tops += "-" + std::to_string(k) + ",";
                 return tops;
             }() + "\r\n" + kPadding},
        {"the older layout claiming a billion items", CrLf({"[Menu Relation]", "Relation=1,999999999,"}) + kPadding +
                                                         Repeated("a=1234\r\n", 50'000)},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        CAppletParameters applet;
        std::vector<std::string> warnings;
        LoadMenuTable(applet, TableOf(shape.text), "Vorane2.0", false, "", &warnings);
        const TreeShape made = ShapeOf(applet);
        EXPECT_GT(made.items, 0);
        EXPECT_LE(made.items, int(kLinelessObjectAllowance));
        // Those made with their items, and as many again made of nothing.
        EXPECT_LE(applet.m_menus.size(), 2 * kLinelessObjectAllowance);
    }
}

TEST(ScaleLimitsTest, ItemsWithLinesAreAllReadAndTheLeftOutAreSaid) {
    // Every item has its line but one menu's count claims a thousand more.
    std::string text = CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "Misc=2,300,1001300,-0,-1,"});
    for (int menu = 0; menu < 2; ++menu)
        for (int j = 1; j <= 300; ++j)
            text += "I" + std::to_string(menu) + "-" + std::to_string(j) + "=Item,,,,,,,,,1\r\n";
    text += kPadding + kPadding + kPadding + kPadding + kPadding;
    CAppletParameters applet;
    std::vector<std::string> warnings;
    LoadMenuTable(applet, TableOf(text), "Vorane2.0", false, "", &warnings);
    ASSERT_EQ(applet.m_menus.size(), 2u);
    EXPECT_EQ(applet.m_menus[0]->CountItems(1), 300);
    EXPECT_EQ(applet.m_menus[1]->CountItems(1), 300 + int(kLinelessObjectAllowance));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(" items of the menu file are left out"), std::string::npos) << warnings[0];
}

TEST(ScaleLimitsTest, TheCheckSaysOneHundredWarningsOfAKindThenHowManyMore) {
    CAppletParameters applet;
    CVorane* menu = applet.NewTopLevelMenu();
    for (int i = 0; i < 250; ++i) {
        auto item = std::make_unique<CVoraneItem>(i % 2 ? "" : "Named");
        item->m_normalImage = "missing.gif";
        menu->AddItem(std::move(item), 0);
    }
    const std::string report = CheckParameters(applet, false).report;
    EXPECT_EQ(Occurrences(report, "\" not exist.\r\n"), 100u);
    EXPECT_EQ(Occurrences(report, " has an empty label.\r\n"), 100u);
    EXPECT_NE(report.find("Warning:\t\t... and 150 more warnings.\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Warning:\t\t... and 25 more warnings.\r\n"), std::string::npos) << report;
}

TEST(ScaleLimitsTest, KeysChosenToCollideCostNoMoreProbesThanOthers) {
    for (const bool collide : {false, true}) {
        CKeyTable table;
        table.Parse(FloodingMenuText(20'000, collide));
        ASSERT_EQ(table.EntryCount(), 20'000u);
        // Half full at most: a probe or two per key, not one per key before it.
        EXPECT_LT(table.ExtraProbes(), 10 * table.EntryCount()) << (collide ? "colliding" : "random");
    }
}

TEST(ScaleLimitsTest, ACancelWhileTheTableIsBuiltStopsTheRead) {
    TaskProgress cancelled;
    cancelled.Cancel();
    CKeyTable table;
    table.Parse(FloodingMenuText(200'000, false), &cancelled);
    EXPECT_TRUE(table.Cancelled());
    EXPECT_EQ(table.EntryCount(), 0u);

    TempDir dir;
    const std::string path = dir.File("menu.kst", FloodingMenuText(200'000, false));
    CKeyTable read;
    std::string error;
    EXPECT_FALSE(ReadKeyTable(path, read, &error, &cancelled));
    EXPECT_TRUE(read.Cancelled());
}
