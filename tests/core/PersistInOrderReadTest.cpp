// SPDX-License-Identifier: GPL-3.0-or-later
// The front-to-back reader of menu files against the key-table reader: whenever it reads
// a file, the model is the one the table gives; any file it cannot vouch for is left to
// the table.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "PersistTestSupport.h"
#include "base/FileAccess.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"
#include "persist/InOrderMenuReader.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

void BuildModel(CAppletParameters& applet) {
    applet.m_HTMLTitle = "Shop, <Main>";
    applet.m_appBKImagePath = "/srv/art/back.jpg";
    CVorane& bar = AddTopMenu(applet, {"Home", "Products", "Hidden", "Empty styled"});
    bar.m_BKStyle = 3;
    ItemAt(bar, 0).m_link = "search.php?q=a=b";
    ItemAt(bar, 0).m_normalImage = "/srv/art/a long folder name/home.gif";
    ItemAt(bar, 2).m_visible = 0;
    ItemAt(bar, 3).SubMenu().m_BKColor = 0x00FF00;  // empty, but not of default style
    CVorane& products = ItemAt(bar, 1).SubMenu();
    products.m_itemStyle[1].FontEffect = 4;
    AddItems(products, {"Line one\r\nLine two", "Tools"});
    AddItems(ItemAt(products, 1).SubMenu(), {"Saws", "Drills"});
    AddTopMenu(applet, {"Contact"}).m_visible = 0;
}

std::string WrittenText() {
    CAppletParameters applet;
    BuildModel(applet);
    return DocumentText(applet);
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, const char* end = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text.append(line).append(end);
    return text;
}

// Reads text both ways, from a file and from memory. When the in-order reader reads it, the model and the warnings
// are the table's; when it does not, the model it was given is untouched. Either way
// LoadMenuFile gives what the table gives. Returns how the in-order reader answered.
InOrderRead ReadBothWays(const TempDir& dir, const std::string& text) {
    const std::string path = dir.File("menu.kst", text);
    CAppletParameters table;
    std::vector<std::string> tableWarnings;
    LoadMenuTable(table, TableOf(text), "Vorane2.0", false, "", &tableWarnings);

    CAppletParameters inOrder;
    inOrder.m_HTMLTitle = "untouched";
    std::vector<std::string> warnings;
    const InOrderRead how = ReadMenuFileInOrder(inOrder, path, "Vorane2.0", &warnings, nullptr);
    if (how == InOrderRead::Done) {
        EXPECT_EQ(DocumentText(inOrder), DocumentText(table));
        EXPECT_EQ(warnings, tableWarnings);
    } else {
        EXPECT_EQ(inOrder.m_HTMLTitle, "untouched");
        EXPECT_TRUE(warnings.empty());
    }
    // The same text held in memory reads alike.
    CAppletParameters fromText;
    fromText.m_HTMLTitle = "untouched";
    std::vector<std::string> textWarnings;
    EXPECT_EQ(ReadMenuTextInOrder(fromText, text, "Vorane2.0", &textWarnings), how);
    EXPECT_EQ(DocumentText(fromText), DocumentText(inOrder));
    EXPECT_EQ(textWarnings, warnings);

    CAppletParameters loaded;
    std::vector<std::string> loadWarnings;
    if (LoadMenuFile(loaded, path, "Vorane2.0", false, "", nullptr, &loadWarnings)) {
        EXPECT_EQ(DocumentText(loaded), DocumentText(table));
        EXPECT_EQ(loadWarnings, tableWarnings);
    }
    return how;
}

}  // namespace

TEST(InOrderReadTest, WrittenFilesAreReadInOrderWhateverTheirLineEnds) {
    TempDir dir;
    const std::vector<std::string> lines = LinesOf(WrittenText());
    EXPECT_EQ(ReadBothWays(dir, Joined(lines)), InOrderRead::Done);
    EXPECT_EQ(ReadBothWays(dir, Joined(lines, "\n")), InOrderRead::Done);
    EXPECT_EQ(ReadBothWays(dir, Joined(lines, "\r")), InOrderRead::Done);
    std::string spaced;
    for (const std::string& line : lines) spaced += "\r\n  " + line + " \t\n";
    EXPECT_EQ(ReadBothWays(dir, spaced), InOrderRead::Done);

    CAppletParameters empty;
    EXPECT_EQ(ReadBothWays(dir, DocumentText(empty)), InOrderRead::Done);
}

TEST(InOrderReadTest, LinesLongerThanAReadChunkAndTooDeepMenusReadAsTheTableReadsThem) {
    TempDir dir;
    CAppletParameters applet;
    CVorane* menu = &AddTopMenu(applet, {"top"});
    menu->GetItem(0)->m_label = std::string(3'000'000, 'x');
    for (int depth = 0; depth < kMaxMenuDepth + 3; ++depth) {
        AddItems(menu->GetItem(0)->SubMenu(), {"deeper"});
        menu = &menu->GetItem(0)->SubMenu();
    }
    EXPECT_EQ(ReadBothWays(dir, DocumentText(applet)), InOrderRead::Done);
}

TEST(InOrderReadTest, FilesNotAsWrittenAreLeftToTheTable) {
    TempDir dir;
    const std::vector<std::string> lines = LinesOf(WrittenText());
    const auto with = [&](auto change) {
        std::vector<std::string> changed = lines;
        change(changed);
        return Joined(changed);
    };
    const auto at = [&](const std::string& start) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].starts_with(start)) return i;
        ADD_FAILURE() << start;
        return std::size_t{0};
    };
    const std::size_t misc = at("Misc=");
    const std::vector<std::string> files = {
        with([](auto& l) { std::reverse(l.begin() + 1, l.end()); }),
        with([&](auto& l) { l.insert(l.begin() + misc, "I0-1=Later wins,,,,,,,,,1"); }),
        with([&](auto& l) { l.erase(l.begin() + at("I0-2=")); }),
        with([&](auto& l) { l.erase(l.begin() + at("IStyle-1=")); }),
        with([&](auto& l) { l.insert(l.begin() + at("I0-2="), "Unknown=1"); }),
        with([&](auto& l) { l[at("I0-2=")].insert(3, "0"); }),  // I0-02
        with([&](auto& l) { l[misc] = "Misc=1,4,-0,"; }),       // fewer menus than written
        with([&](auto& l) { l[misc].replace(l[misc].find(",4,"), 3, ",9,"); }),  // more items than written
        with([&](auto& l) { l[misc].replace(l[misc].find(",4,"), 3, ",2,"); }),  // fewer items
        with([&](auto& l) { l.erase(l.begin() + misc); }),
        with([&](auto& l) { l.push_back("[Vorane2.0]"); l.push_back("ApStyle=Reopened"); }),
        with([&](auto& l) { l.push_back("[Other]"); }),
        with([&](auto& l) { l.insert(l.begin(), "Orphan=1"); }),
        with([&](auto& l) { l[at("Notice=")] = "Notice=,"; }),
        with([&](auto& l) { l[0] = "[Vorane2.0"; }),
    };
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(ReadBothWays(dir, files[i]), InOrderRead::NotInOrder) << "file " << i;

    EXPECT_EQ(ReadMenuFileInOrder(*std::make_unique<CAppletParameters>(), (dir / "missing.kst").string(), "Vorane2.0",
                                  nullptr, nullptr),
              InOrderRead::NotInOrder);
}

TEST(InOrderReadTest, RandomlyDamagedFilesGiveTheTablesModel) {
    TempDir dir;
    const std::vector<std::string> lines = LinesOf(WrittenText());
    std::mt19937 random(15);
    int readInOrder = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> changed = lines;
        const auto pick = [&] { return std::uniform_int_distribution<std::size_t>(0, changed.size() - 1)(random); };
        for (int change = 1 + static_cast<int>(random() % 3); change > 0; --change) {
            std::string& line = changed[pick()];
            switch (random() % 5) {
                case 0: std::swap(line, changed[pick()]); break;
                case 1: changed.insert(changed.begin() + pick(), changed[pick()]); break;
                case 2: changed.erase(changed.begin() + pick()); break;
                case 3:  // a digit changed: keys, counts and relations
                    for (char& c : line)
                        if (c >= '0' && c <= '9' && random() % 4 == 0) c = static_cast<char>('0' + random() % 10);
                    break;
                default:  // a value changed, the key kept
                    line += ",x";
                    break;
            }
            if (changed.empty()) changed.push_back("[Vorane2.0]");
        }
        if (ReadBothWays(dir, Joined(changed)) == InOrderRead::Done) ++readInOrder;
    }
    // Values changed in place keep a file in order: both answers are exercised.
    EXPECT_GT(readInOrder, 10);
    EXPECT_LT(readInOrder, 290);
}

TEST(InOrderReadTest, ProgressCountsTheBytesAndACancelLeavesTheModel) {
    TempDir dir;
    const std::string text = WrittenText();
    const std::string path = dir.File("menu.kst", text);
    CAppletParameters applet;
    TaskProgress progress;
    EXPECT_EQ(ReadMenuFileInOrder(applet, path, "Vorane2.0", nullptr, &progress), InOrderRead::Done);
    EXPECT_EQ(progress.Fraction(), 1.0);

    CAppletParameters kept;
    kept.m_HTMLTitle = "kept";
    TaskProgress cancelled;
    cancelled.Cancel();
    EXPECT_EQ(ReadMenuFileInOrder(kept, path, "Vorane2.0", nullptr, &cancelled), InOrderRead::Cancelled);
    EXPECT_EQ(kept.m_HTMLTitle, "kept");
}

TEST(InOrderReadTest, AMenuBeyondTheCountOfMiscMakesTheFileDamagedAndItIsReadInItsOrder) {
    TempDir dir;
    CAppletParameters applet;
    AddTopMenu(applet, {"Home"});
    std::vector<std::string> lines = LinesOf(DocumentText(applet));
    std::size_t misc = 0;
    std::string menuStyle, itemStyles;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].starts_with("MStyle-1=")) menuStyle = lines[i].substr(9);
        if (lines[i].starts_with("IStyle-1=")) itemStyles = lines[i].substr(9);
        if (lines[i].starts_with("Misc=")) misc = i;
    }
    // The top-level menu and the empty sub menu of its item.
    ASSERT_EQ(lines[misc], "Misc=2,1,0,-0,0-1,");
    // A third, empty menu written in order, but "Misc" counts two menus and its relation
    // for the top level names the third.
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(misc), {"MStyle-2=" + menuStyle, "IStyle-2=" + itemStyles});
    lines[misc + 2] = "Misc=2,1,0,-2,0-1,";
    EXPECT_EQ(ReadBothWays(dir, Joined(lines)), InOrderRead::NotInOrder);

    // Not through the relation: the menu follows the top-level menu's tree in the file.
    CAppletParameters loaded;
    MenuFileDamage damage;
    ASSERT_TRUE(LoadMenuFile(loaded, dir.File("menu.kst", Joined(lines)), "Vorane2.0", false, "", nullptr, nullptr,
                             nullptr, &damage));
    EXPECT_TRUE(damage.damaged);
    ASSERT_EQ(loaded.m_menus.size(), 2u);
    EXPECT_EQ(loaded.m_menus[0]->m_items.size(), 1u);
    EXPECT_TRUE(loaded.m_menus[1]->m_items.empty());
}

TEST(InOrderReadTest, ATinyFileClaimingHugeCountsMakesNoMoreObjectsThanItsSizeAllows) {
    TempDir dir;
    for (const int menus : {1, 40}) {
        std::string misc = "Misc=" + std::to_string(menus);
        for (int k = 0; k < menus; ++k) misc += ",2000000000";
        for (int k = 0; k < menus; ++k) misc += ",-" + std::to_string(k);
        const std::string text = CrLf({"[Vorane2.0]", "Notice=Vorane2.0,1"}) + misc + "\r\n";
        ReadBothWays(dir, text);

        CAppletParameters loaded;
        ASSERT_TRUE(LoadMenuFile(loaded, dir.File("menu.kst", text), "Vorane2.0", false, "", nullptr, nullptr));
        std::size_t objects = loaded.m_menus.size();
        for (const auto& menu : loaded.m_menus) objects += menu->m_items.size();
        const std::size_t budget =
            text.size() / CKeyTable::kBytesPerModelObject + CKeyTable::kModelObjectSlack;
        EXPECT_EQ(loaded.m_menus.size(), std::size_t(menus));
        EXPECT_LE(objects, budget) << menus << " menus";
        EXPECT_GT(objects, budget / 2) << menus << " menus";
    }
}

// A document in the writer's order whose "Misc" asks for more menus and items than any
// model holds is refused with that reason, never opened cut to what its size admits. Only
// a file large enough to admit the cap is held against it: blank lines make it so.
TEST(InOrderReadTest, AnInOrderFileAskingForMoreThanAModelHoldsIsRefused) {
    TempDir dir;
    const std::string path = dir.File("menu.kst", CrLf({"[Vorane2.0]", "ApStyle=Big,0,400,200,0,0,,0,0,0,",
                                                        "Notice=Vorane2.0", "MStyle-0=", "IStyle-0=",
                                                        "Misc=9000000,0,"}));
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        const std::string blank(std::size_t{1} << 20, '\n');
        const std::size_t admitting = CKeyTable::kMaxModelObjects * CKeyTable::kBytesPerModelObject;
        for (std::size_t written = 0; written <= admitting; written += blank.size()) out << blank;
    }
    CAppletParameters applet;
    std::string error;
    EXPECT_FALSE(LoadMenuFile(applet, path, "Vorane2.0", false, "", &error, nullptr));
    EXPECT_EQ(error, FormatMessage(texts::kTooManyMenuObjects, path));
    EXPECT_TRUE(applet.m_menus.empty());
}
