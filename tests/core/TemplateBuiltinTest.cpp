// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "PersistTestSupport.h"
#include "services/ParameterCheck.h"
#include "base/FileAccess.h"
#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

const std::string kDataDir = KESTRUNE_SOURCE_DATA;

struct BuiltinStore {
    MemorySettingsStore settings;
    CTemplateStore store{settings, kDataDir};
    BuiltinStore() { store.SeedTemplateList(); }
    void Load(CAppletParameters& applet, int position) const { store.LoadTemplate(applet, position); }
};

void ForEachItem(const CAppletParameters& applet, const std::function<void(const CVoraneItem&, int)>& visit) {
    std::vector<std::pair<const CVorane*, int>> pending;
    for (const auto& menu : applet.m_menus) pending.emplace_back(menu.get(), 0);
    while (!pending.empty()) {
        auto [menu, depth] = pending.back();
        pending.pop_back();
        for (const auto& item : menu->m_items) {
            visit(*item, depth);
            pending.emplace_back(item->m_subMenu.get(), depth + 1);
        }
    }
}

std::vector<std::string> MediaPaths(const CAppletParameters& applet) {
    std::vector<std::string> paths = {applet.m_appBKImagePath, applet.m_appBKAudioPath};
    ForEachItem(applet, [&](const CVoraneItem& item, int) {
        for (const std::string* path : {&item.m_normalImage, &item.m_overImage, &item.m_clickImage,
                                        &item.m_overAudio, &item.m_clickAudio})
            paths.push_back(*path);
    });
    return paths;
}

// The text of the section "[name]" of a template file, header included.
std::string SectionText(const std::string& file, const std::string& name) {
    const std::size_t start = file.find("[" + name + "]\r\n");
    if (start == std::string::npos) return {};
    const std::size_t end = file.find("\r\n[", start);
    return file.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
}

bool AllItems(const CVorane& menu, const std::function<bool(const CVoraneItem&)>& test) {
    if (menu.m_items.empty()) return false;
    for (const auto& item : menu.m_items)
        if (!test(*item)) return false;
    return true;
}

}  // namespace

TEST(BuiltinTemplateTest, EveryBuiltInTemplateLoadsWithMenusAndChecksClean) {
    BuiltinStore builtin;
    const auto names = builtin.store.ListTemplateNames();
    ASSERT_EQ(names.size(), 13u);
    std::set<std::string> designs;
    for (int position = 0; position < 13; ++position) {
        CAppletParameters applet;
        builtin.Load(applet, position);
        SCOPED_TRACE(names[static_cast<std::size_t>(position)]);
        EXPECT_FALSE(applet.m_menus.empty());
        EXPECT_GT(applet.m_appWidth, 0);
        EXPECT_GT(applet.m_appHeight, 0);
        const std::string report = CheckParameters(applet, false).report;
        EXPECT_EQ(report.find("Warning:"), std::string::npos) << report;
        for (const std::string& path : MediaPaths(applet)) {
            if (path.empty()) continue;
            EXPECT_TRUE(fs::is_regular_file(path)) << path;
            const bool image = path.ends_with(".gif") || path.ends_with(".jpg");
            EXPECT_TRUE(image || path.ends_with(".au")) << path;
            EXPECT_TRUE(path.starts_with(kDataDir + (image ? "/Sample/Image/" : "/Sample/Audio/"))) << path;
        }
        // Distinct designs: the menus differ even with the titles set aside.
        applet.m_HTMLTitle.clear();
        designs.insert(DocumentText(applet));
    }
    EXPECT_EQ(designs.size(), 13u);
}

TEST(BuiltinTemplateTest, EachTemplateReadsBackToItsOwnTextWhenSavedAgain) {
    BuiltinStore builtin;
    const std::string original = ReadAll(kDataDir + "/Kestrune.tpl");
    const auto names = builtin.store.ListTemplateNames();
    for (int position = 0; position < 13; ++position) {
        const std::string& name = names[static_cast<std::size_t>(position)];
        CAppletParameters applet;
        builtin.Load(applet, position);
        TempDir copy;
        MemorySettingsStore settings;
        CTemplateStore store(settings, copy.Root().string());
        ASSERT_TRUE(store.SaveTemplate(applet, name, 0));
        const std::string expected = SectionText(original, name);
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_EQ(ReadAll(copy / "Kestrune.tpl"), expected) << name;
    }
}

TEST(BuiltinTemplateTest, TemplatesAreTrueToTheirNames) {
    BuiltinStore builtin;
    auto load = [&](const char* name) {
        auto applet = std::make_unique<CAppletParameters>();
        const auto names = builtin.store.ListTemplateNames();
        const auto found = std::find(names.begin(), names.end(), name);
        EXPECT_NE(found, names.end()) << name;
        builtin.Load(*applet, static_cast<int>(found - names.begin()));
        EXPECT_FALSE(applet->m_menus.empty()) << name;  // else the loops below check nothing
        return applet;
    };
    auto hasImage = [](const CVoraneItem& item) { return !item.m_normalImage.empty(); };
    auto opensMenu = [](const CVoraneItem& item) { return !item.m_subMenu->m_items.empty(); };

    auto horizontal = load("Horizontal Menu");
    const CVorane& bar = *horizontal->m_menus[0];
    EXPECT_TRUE(bar.IsHorizontal());
    int dropDowns = 0;
    for (const auto& item : bar.m_items)
        if (opensMenu(*item) && !item->m_subMenu->IsHorizontal() && item->m_subMenu->m_yPos >= bar.m_Height)
            ++dropDowns;
    EXPECT_GE(dropDowns, 3);

    int deepest = 0;
    ForEachItem(*load("Multi-level Menu"), [&](const CVoraneItem&, int depth) { deepest = std::max(deepest, depth); });
    EXPECT_GE(deepest, 2) << "at least three levels of items";

    for (const char* name : {"Image Map", "Hot Spot", "Hot Spot Menu"}) {
        auto applet = load(name);
        EXPECT_FALSE(applet->m_appBKImagePath.empty()) << name;
        for (const auto& menu : applet->m_menus) {
            EXPECT_EQ(menu->m_itemStyle[0].ItemFillStyle, 0) << name;
            EXPECT_LE(menu->m_BKStyle, 1) << name;
        }
    }
    auto hotSpotMenu = load("Hot Spot Menu");
    for (const auto& menu : hotSpotMenu->m_menus) EXPECT_TRUE(AllItems(*menu, opensMenu));

    for (const char* name : {"ToolBar", "CoolBar"}) {
        auto applet = load(name);
        for (const auto& menu : applet->m_menus) {
            EXPECT_TRUE(menu->IsHorizontal()) << name;
            EXPECT_TRUE(AllItems(*menu, hasImage)) << name;
        }
    }
    auto cool = load("CoolBar");
    EXPECT_NE(ItemAt(*cool->m_menus[0], 0).m_normalImage, ItemAt(*cool->m_menus[0], 0).m_overImage);

    auto sensitive = load("Sensitive Button");
    EXPECT_TRUE(AllItems(*sensitive->m_menus[0], [](const CVoraneItem& item) { return !item.m_overAudio.empty(); }));

    auto window = load("Standard Window Menu");
    const CVorane& menuBar = *window->m_menus[0];
    EXPECT_TRUE(menuBar.IsHorizontal());
    EXPECT_EQ(ItemAt(menuBar, 0).m_label, "File");
    EXPECT_EQ(menuBar.m_items.back()->m_label, "Help");
    EXPECT_TRUE(AllItems(menuBar, opensMenu));

    EXPECT_GE(load("Group Buttons")->m_menus.size(), 2u);
}

TEST(BuiltinTemplateTest, TheSamplePagePresentsEveryTemplateAndItsFilesExist) {
    const std::string page = ReadAll(kDataDir + "/Sample/Samples.html");
    for (const char* name : {"Normal", "Group Buttons", "Sensitive Button", "Image Map", "Hot Spot", "ToolBar",
                             "CoolBar", "Horizontal Menu", "Vertical Menu2", "Standard Window Menu",
                             "Hot Spot Menu", "Multi-level Menu"})
        EXPECT_NE(page.find(std::string(">") + name + "</h2>"), std::string::npos) << name;
    for (const char* attribute : {"src=\"", "href=\"Audio/"}) {
        for (std::size_t at = page.find(attribute); at != std::string::npos; at = page.find(attribute, at + 1)) {
            const std::size_t start = page.find('"', at) + 1;
            const std::string target = page.substr(start, page.find('"', start) - start);
            EXPECT_TRUE(fs::is_regular_file(kDataDir + "/Sample/" + target)) << target;
        }
    }
}
