// SPDX-License-Identifier: GPL-3.0-or-later
// Behaviours that files and users rely on and that small slips in the core would break
// without any other test noticing: bounds one past a list, a count that ends a whole step,
// sizes taken from the menu rather than the defaults, numbering of sibling sub menus and a
// write that fails halfway.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PersistTestSupport.h"
#include "output/AppletParameterEncoder.h"
#include "output/ParameterReader.h"
#include "base/FileAccess.h"
#include "persist/MenuFileReader.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

void LoadTable(CAppletParameters& applet, const std::string& text) {
    LoadMenuTable(applet, TableOf(text), "Vorane2.0", false, "");
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

TEST(OlderLayoutContract, ASubMenuCountOfZeroEndsTheWholeStep) {
    CAppletParameters applet;
    LoadTable(applet, CrLf({"[Main Menu Style]", "m_mmWidth=80", "m_mmHeight=20", "[Menu Relation]",
                            "Relation=3,2,0,1,1-2,", "[Item]", "I0-0=a,,,", "I0-1=b,,,"}));
    ASSERT_EQ(applet.m_menus.size(), 1u);
    const CVorane& main = *applet.m_menus[0];
    ASSERT_EQ(main.CountItems(1), 2);
    // Sub menu 1 counts 0, so sub menu 2 is never reached although it counts 1.
    EXPECT_TRUE(ItemAt(main, 0).SubMenu().m_items.empty());
    EXPECT_TRUE(ItemAt(main, 1).SubMenu().m_items.empty());
}

TEST(OlderLayoutContract, SubMenusArePlacedFromTheMainMenusOwnSize) {
    CAppletParameters applet;
    LoadTable(applet, CrLf({"[Main Menu Style]", "m_mmWidth=120", "m_mmHeight=40", "[Sub Menu Style]",
                            "m_smWidth=70", "m_smHeight=18", "[Menu Relation]", "Relation=2,1,1,0-1,", "[Item]",
                            "I0-0=a,,,", "I1-0=s,,,"}));
    ASSERT_EQ(applet.m_menus.size(), 1u);
    const CVorane& sub = ItemAt(*applet.m_menus[0], 0).SubMenu();
    ASSERT_EQ(sub.CountItems(1), 1);
    EXPECT_EQ(sub.m_xPos, 60);
    EXPECT_EQ(sub.m_yPos, 30);
}

TEST(PageContract, AnAlignmentOnePastTheListWritesCenter) {
    CAppletParameters applet;
    applet.m_Align = 3;
    const std::string page = BuildHTML(applet);
    EXPECT_NE(page.find("<p align=\"Center\">\r\n"), std::string::npos);
    applet.m_Align = -1;
    EXPECT_NE(BuildHTML(applet).find("<p align=\"Center\">\r\n"), std::string::npos);
}

TEST(ParametersContract, SiblingSubMenusAreNumberedInItemOrder) {
    CAppletParameters applet;
    CVorane& a = AddTopMenu(applet, {"a1", "a2"});
    AddItems(ItemAt(a, 0).SubMenu(), {"s1"});
    AddItems(ItemAt(a, 1).SubMenu(), {"t1"});
    AppletParameterEncoder encoder(applet);
    const std::string block = encoder.Build();
    EXPECT_EQ(encoder.NumberOf(&ItemAt(a, 0).SubMenu()), 1);
    EXPECT_EQ(encoder.NumberOf(&ItemAt(a, 1).SubMenu()), 2);
    EXPECT_LT(block.find("name=\"I1-0\" value=\"s1,"), block.find("name=\"I2-0\" value=\"t1,"));
    EXPECT_NE(block.find("\t<param name=\"Misc\" value=\"3,2,1,1,-0,0-1,1-2,\">\r\n"), std::string::npos);
}

TEST(ModelContract, GetItemAtTheSizeIsNull) {
    CVorane menu;
    EXPECT_EQ(menu.GetItem(0), nullptr);
    AddItems(menu, {"a", "b"});
    EXPECT_NE(menu.GetItem(1), nullptr);
    EXPECT_EQ(menu.GetItem(2), nullptr);
    EXPECT_EQ(menu.GetItem(-1), nullptr);
}

TEST(ReaderContract, AMiscEntryNamingTheMenuOnePastTheLastIsPassedOver) {
    CAppletParameters applet;
    LoadTable(applet, CrLf({"[Vorane2.0]", "Notice=Vorane2.0", "MStyle-0=0,0,0,0,40,15,80,20,5,0,top,1",
                            "I0-1=a,,,,,,,,,1", "Misc=2,1,1,-0,0-2,"}));
    ASSERT_EQ(applet.m_menus.size(), 1u);
    ASSERT_EQ(applet.m_menus[0]->CountItems(1), 1);
    EXPECT_TRUE(ItemAt(*applet.m_menus[0], 0).SubMenu().m_items.empty());

    const std::string page =
        "<param name=\"ApStyle\" value=\"000000,000000,,0,0,0,\">\r\n"
        "<param name=\"MStyle-0\" value=\"000000,01,0,0,40,15,80,20,5,0\">\r\n"
        "<param name=\"IStyle-0\" value=\"000000,ffffff,111,0,0,14,0,00,0,0,,,000000,ffffff,111,0,0,14,0,00,0,0,,,"
        "000000,ffffff,111,0,0,14,0,00,0,0,,,\">\r\n"
        "<param name=\"I0-0\" value=\"a,,,,,,,_self,\">\r\n"
        "<param name=\"Misc\" value=\"1,1,-0,0-1,\">\r\n";
    // A page is read strictly: it is refused, with the reason.
    const AppletReadResult read = ReadAppletParameters(page);
    EXPECT_FALSE(read.Ok());
    EXPECT_EQ(read.error, "\"Misc\" names menu 1, but there are only 1.");
}

TEST(AtomicWriteContract, AWriteThatFailsHalfwayKeepsTheOldBytesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string target = dir.File("menu.kst", "old content");
    const std::string link = (dir / "hard.kst").string();
    ASSERT_EQ(::link(target.c_str(), link.c_str()), 0);

    // A file-size limit below the new content makes the write fail partway, in a child so
    // the limit and its signal stay out of the test program.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = WriteFileAtomically(target, std::string(64 * 1024, 'x'));
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as success";

    EXPECT_EQ(ReadBytes(target), "old content");
    EXPECT_EQ(ReadBytes(link), "old content");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2) << "a temporary file was left behind";
}
