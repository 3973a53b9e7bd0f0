// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/ParameterReader.h"
#include "output/HtmlPageBuilder.h"
#include "output/AppletParameterEncoder.h"

using namespace kestrune;
namespace fs = std::filesystem;

namespace {

// Random applets with the texts people really type (commas, quotes, brackets, line
// breaks, non-ASCII) and media that exist, exist under another letter case, or are gone.
class AppletGenerator {
public:
    AppletGenerator(unsigned seed, fs::path mediaFolder)
        : m_random(seed), m_media(std::move(mediaFolder)) {}

    void Fill(CAppletParameters& applet) {
        applet.m_HTMLTitle = Text(3);
        applet.m_Align = Between(0, 2);
        applet.m_appWidth = Between(0, 2000);
        applet.m_appHeight = Between(0, 2000);
        applet.m_appBKColor = AnyColor();
        applet.m_appBKImagePath = MediaPath();
        applet.m_appBKImageMode = Between(0, 1);
        applet.m_appBKImageX = Between(-300, 300);
        applet.m_appBKImageY = Between(-300, 300);
        applet.m_appBKAudioPath = MediaPath();
        const int menus = Between(0, 4);
        for (int i = 0; i < menus; ++i) {
            auto menu = std::make_unique<CVorane>();
            FillMenu(*menu, 0);
            menu->m_visible = Chance(85) ? 1 : 0;
            applet.AddTopLevelMenu(std::move(menu), 0);
        }
    }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    template <typename List>
    auto Pick(const List& list) {
        return list[static_cast<std::size_t>(Between(0, static_cast<int>(std::size(list)) - 1))];
    }

    Color AnyColor() {
        // The top byte is not part of the colour the applet gets.
        return static_cast<Color>(static_cast<std::uint32_t>(Between(0, 0xFFFFFF)) |
                                  (Chance(10) ? 0x01000000u : 0u));
    }

    // Texts may even hold the page's own tags, quotes and references of the editor's form.
    std::string Text(int maxWords) {
        static const char* const kWords[] = {
            "Home", "Products", "About us", "a,b", "say \"hi\"", "<b>bold</b>", "x > y", "|_#`",
            "R&D", "&#9733;", "Caf\xE9 \x80", "Gr\xFC\xDF" "e", "\x81\x8D\x8F\x90\x9D", "'single'", "tab\tstop", "two\r\nlines", "50%", "C++",
            "=", "end.", "(1)", "#top", "~", "<applet code=x>", "</applet>", "<param name=\"Misc\">"};
        const int pool = static_cast<int>(std::size(kWords));
        std::string text;
        const int words = Between(0, maxWords);
        for (int i = 0; i < words; ++i) text += (i ? " " : "") + std::string(kWords[Between(0, pool - 1)]);
        return text;
    }

    std::string Link() {
        static const char* const kLinks[] = {"", "index.html", "page.php?id=3&x=4", "http://example.org/a b",
                                             "mailto:me@example.org", "#anchor", "\"quoted\".html"};
        return Pick(kLinks);
    }

    std::string Target() {
        static const char* const kTargets[] = {"", "_self", "_parent", "_top", "_blank", "main frame"};
        return Pick(kTargets);
    }

    std::string MediaPath() {
        static const char* const kStored[] = {"logo.gif", "LOGO.GIF", "Button Over.gif", "click.au",
                                              "sp\xC3\xA4\xC3\x9F.jpg", "over.AU"};
        switch (Between(0, 3)) {
        case 0: return {};
        case 1: return "/no/such/folder/gone.gif";
        default: return (m_media / Pick(kStored)).string();
        }
    }

    void FillMenu(CVorane& menu, int depth) {
        menu.m_BKColor = AnyColor();
        menu.m_BKStyle = Between(0, 3);
        menu.m_MenuAlign = Between(0, 1);
        menu.m_Corner = Between(0, 3);
        menu.m_xPos = Between(-200, 400);
        menu.m_yPos = Between(-200, 400);
        menu.m_Width = Between(0, 200);
        menu.m_Height = Between(0, 60);
        menu.m_ItemGap = Between(-5, 20);
        menu.m_BorderThick = Between(0, 6);
        for (ItemStyle& style : menu.m_itemStyle) {
            style.BKColor = AnyColor();
            style.FRColor = AnyColor();
            style.ItemBorderStyle = Between(0, 2);
            style.ItemFillStyle = Between(0, 9);
            style.GradientDirection = Between(0, 1);
            style.FontEffect = Between(0, 4);
            style.FontName = Between(0, 2);
            style.FontSize = Between(1, 72);
            style.FontStyle = Between(0, 2);
            style.TextAlign = Between(0, 2);
            style.TextOffset = Between(-30, 30);
            style.ImageAlign = Between(0, 2);
            style.ImageOffset = Between(-30, 30);
        }
        const int items = Between(0, depth == 0 ? 6 : 4);
        for (int i = 0; i < items; ++i) {
            auto item = std::make_unique<CVoraneItem>(Text(3));
            item->m_description = Text(4);
            item->m_normalImage = MediaPath();
            item->m_overImage = MediaPath();
            item->m_clickImage = MediaPath();
            item->m_overAudio = MediaPath();
            item->m_clickAudio = MediaPath();
            item->m_target = Target();
            item->m_link = Link();
            item->m_visible = Chance(90) ? 1 : 0;
            if (depth < 4 && Chance(35)) FillMenu(item->SubMenu(), depth + 1);
            menu.AddItem(std::move(item), 0);
        }
    }

    std::mt19937 m_random;
    fs::path m_media;
};

bool OpensSubMenu(const CVorane& menu) {
    for (const auto& item : menu.m_items)
        if (item->SubMenu().HasVisibleItem()) return true;
    return false;
}

bool HasOpenedSubMenu(const CAppletParameters& applet) {
    for (const auto& menu : applet.m_menus)
        if (OpensSubMenu(*menu)) return true;
    return false;
}

class ParameterReaderRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        m_media = fs::temp_directory_path() /
                  ("kestrune-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(m_media);
        for (const char* name : {"logo.gif", "Button Over.gif", "click.au", "sp\xC3\xA4\xC3\x9F.jpg", "over.au"})
            std::ofstream(m_media / name) << "x";
    }
    void TearDown() override { fs::remove_all(m_media); }

    AppletReadResult ReadBack(const std::string& text) {
        ParameterReadOptions options;
        options.resolveMedia = MediaInFolder(m_media);
        return ReadAppletParameters(text, options);
    }

    fs::path m_media;
};

TEST_F(ParameterReaderRoundTrip, GeneratedAppletsWriteTheSameBlockAndPageAgain) {
    AppletGenerator generator(20240611u, m_media);
    int withSubMenus = 0;
    int withWarnings = 0;
    for (int round = 0; round < 400; ++round) {
        CAppletParameters original;
        generator.Fill(original);
        const std::string block = BuildAppletParameters(original);
        const std::string page = BuildHTML(original);

        const AppletReadResult fromBlock = ReadBack(block);
        ASSERT_TRUE(fromBlock.Ok()) << "round " << round << ": " << fromBlock.error << "\n" << block;
        ASSERT_EQ(BuildAppletParameters(*fromBlock.applet), block) << "round " << round;
        if (HasOpenedSubMenu(*fromBlock.applet)) ++withSubMenus;
        if (!fromBlock.warnings.empty()) ++withWarnings;

        const AppletReadResult fromPage = ReadBack(page);
        ASSERT_TRUE(fromPage.Ok()) << "round " << round << ": " << fromPage.error;
        ASSERT_EQ(BuildHTML(*fromPage.applet), page) << "round " << round;
        EXPECT_EQ(fromPage.applet->m_HTMLTitle, original.m_HTMLTitle);
    }
    // The generator must really exercise nesting and the texts the applet splits.
    EXPECT_GT(withSubMenus, 50);
    EXPECT_GT(withWarnings, 20);
}

TEST_F(ParameterReaderRoundTrip, MediaNamesResolveInThePageFolderUnderTheirNameOnDisk) {
    CAppletParameters original;
    original.m_appBKImagePath = (m_media / "LOGO.GIF").string();
    CVorane* menu = original.NewTopLevelMenu();
    auto item = std::make_unique<CVoraneItem>("Home");
    item->m_overAudio = (m_media / "over.AU").string();
    item->m_clickImage = "/no/such/folder/gone.gif";
    menu->AddItem(std::move(item), 0);

    const AppletReadResult read = ReadBack(BuildAppletParameters(original));
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.applet->m_appBKImagePath, (m_media / "logo.gif").string());
    const CVoraneItem& home = *read.applet->m_menus.at(0)->m_items.at(0);
    EXPECT_EQ(home.m_overAudio, (m_media / "over.au").string());
    EXPECT_EQ(home.m_clickImage, "");
}

}  // namespace
