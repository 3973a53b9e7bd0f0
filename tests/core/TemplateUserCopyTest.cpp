// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "PersistTestSupport.h"
#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

// An installed layout: the shipped folder holds the built-in template file and a sample
// image; the user's folder starts empty.
struct InstalledFixture {
    TempDir dir;
    MemorySettingsStore settings;
    std::string shippedDir = (dir / "share/kestrune").string();
    std::string userDir = (dir / "home/data/Quellary/Kestrune").string();
    CTemplateStore store{settings, shippedDir, userDir};

    InstalledFixture() {
        fs::create_directories(dir / "share/kestrune/Sample/Image");
        MemorySettingsStore shippingSettings;
        CTemplateStore shipping{shippingSettings, shippedDir};
        const std::string art = dir.File("art/logo.gif", GifBytes(" shipped gif"));
        for (const char* name : {"Normal", "Hot Spot", "Hot Spot Menu"}) {
            CAppletParameters applet;
            applet.m_HTMLTitle = std::string("Built-in ") + name;
            CVorane& menu = AddTopMenu(applet, {name});
            ItemAt(menu, 0).m_normalImage = art;
            EXPECT_TRUE(shipping.SaveTemplate(applet, name, 99));
        }
        store.SeedTemplateList();
        shippedText = ShippedFile();
    }
    std::string ShippedFile() const { return ReadAll(dir / "share/kestrune/Kestrune.tpl"); }
    std::string UserFile() const { return ReadAll(dir / "home/data/Quellary/Kestrune/Kestrune.tpl"); }
    std::string List() const { return settings.GetString("TEMPLATE", "TemplateKey"); }
    std::unique_ptr<CAppletParameters> Load(int position) {
        auto applet = std::make_unique<CAppletParameters>();
        store.LoadTemplate(*applet, position);
        return applet;
    }
    std::string shippedText;
};

}  // namespace

TEST(TemplateUserCopyTest, ReadsComeFromTheShippedFileUntilTheFirstWriteMakesTheUserCopy) {
    InstalledFixture f;
    EXPECT_EQ(f.store.TemplateFilePath(), f.shippedDir + "/Kestrune.tpl");
    EXPECT_EQ(f.Load(0)->m_HTMLTitle, "Built-in Normal");
    EXPECT_FALSE(fs::exists(f.dir / "home"));

    CAppletParameters own;
    own.m_HTMLTitle = "Own";
    CVorane& menu = AddTopMenu(own, {"Mine"});
    ItemAt(menu, 0).m_overImage = f.dir.File("art/own.gif", GifBytes(" own gif"));
    ASSERT_TRUE(f.store.SaveTemplate(own, "Own", 1));

    EXPECT_EQ(f.ShippedFile(), f.shippedText);
    EXPECT_FALSE(fs::exists(f.dir / "share/kestrune/Sample/Image/own.gif"));
    EXPECT_EQ(ReadAll(f.dir / "home/data/Quellary/Kestrune/Sample/Image/own.gif"), GifBytes(" own gif"));
    EXPECT_TRUE(fs::is_directory(f.dir / "home/data/Quellary/Kestrune/Sample/Audio"));
    EXPECT_EQ(f.store.TemplateFilePath(), f.userDir + "/Kestrune.tpl");
    // The copy keeps every shipped section and appends the new one.
    EXPECT_EQ(f.UserFile().substr(0, f.shippedText.size()), f.shippedText);
    EXPECT_NE(f.UserFile().find("[Own]\r\n"), std::string::npos);

    // A built-in template's media stay where they shipped; the user's are in the user's folder.
    const auto normal = f.Load(0);
    EXPECT_EQ(ItemAt(*normal->m_menus[0], 0).m_normalImage, f.shippedDir + "/Sample/Image/logo.gif");
    const auto loadedOwn = f.Load(1);
    EXPECT_EQ(loadedOwn->m_HTMLTitle, "Own");
    EXPECT_EQ(ItemAt(*loadedOwn->m_menus[0], 0).m_overImage, f.userDir + "/Sample/Image/own.gif");
}

TEST(TemplateUserCopyTest, DeleteAndRenameChangeOnlyTheUserCopy) {
    InstalledFixture f;
    ASSERT_TRUE(f.store.DeleteTemplate(4));  // "Hot Spot"
    EXPECT_EQ(f.UserFile().find("[Hot Spot]"), std::string::npos);
    EXPECT_NE(f.UserFile().find("[Hot Spot Menu]"), std::string::npos);
    ASSERT_TRUE(f.store.RenameTemplate(0, "First"));
    EXPECT_EQ(f.store.ListTemplateNames().front(), "First");
    EXPECT_EQ(f.Load(0)->m_HTMLTitle, "Built-in Normal");
    EXPECT_EQ(f.ShippedFile(), f.shippedText);
}

TEST(TemplateUserCopyTest, RestoreBringsBackMissingBuiltInsAtTheirPlacesAndKeepsTheUsersOwn) {
    InstalledFixture f;
    CAppletParameters own;
    own.m_HTMLTitle = "Own";
    ASSERT_TRUE(f.store.SaveTemplate(own, "Own", 0));
    ASSERT_TRUE(f.store.DeleteTemplate(1));                // "Normal"
    ASSERT_TRUE(f.store.RenameTemplate(4, "My Spot"));     // "Hot Spot", now changed by the user
    ASSERT_TRUE(f.store.DeleteTemplate(3));                // "Image Map": no shipped section here
    const std::string userBefore = f.UserFile();

    int restored = -1;
    ASSERT_TRUE(f.store.RestoreBuiltInTemplates(&restored));
    EXPECT_EQ(restored, 2);
    const auto names = f.store.ListTemplateNames();
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(names[0], "Normal");
    EXPECT_EQ(names[1], "Own");
    EXPECT_EQ(names[4], "Hot Spot");
    EXPECT_EQ(names[5], "My Spot");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Image Map"), 0);
    EXPECT_EQ(f.Load(0)->m_HTMLTitle, "Built-in Normal");
    EXPECT_EQ(f.Load(1)->m_HTMLTitle, "Own");
    EXPECT_EQ(f.Load(4)->m_HTMLTitle, "Built-in Hot Spot");
    EXPECT_EQ(f.Load(5)->m_HTMLTitle, "Built-in Hot Spot");  // the user's renamed copy stays
    EXPECT_EQ(f.ShippedFile(), f.shippedText);
    EXPECT_NE(f.UserFile(), userBefore);

    // Nothing missing: nothing written.
    const std::string list = f.List();
    const std::string file = f.UserFile();
    ASSERT_TRUE(f.store.RestoreBuiltInTemplates(&restored));
    EXPECT_EQ(restored, 0);
    EXPECT_EQ(f.List(), list);
    EXPECT_EQ(f.UserFile(), file);
}

TEST(TemplateUserCopyTest, RestoreReplacesAnUnlistedSectionOfABuiltInName) {
    InstalledFixture f;
    // A stale section "Normal" that the list no longer names is unreachable; the
    // restored template is the shipped one.
    CAppletParameters stale;
    stale.m_HTMLTitle = "Stale";
    ASSERT_TRUE(f.store.SaveTemplate(stale, "Normal", 99));
    f.settings.SetString("TEMPLATE", "TemplateKey", "Hot Spot,");
    ASSERT_TRUE(f.store.RestoreBuiltInTemplates());
    EXPECT_EQ(f.store.ListTemplateNames().front(), "Normal");
    EXPECT_EQ(f.Load(0)->m_HTMLTitle, "Built-in Normal");
    EXPECT_EQ(f.UserFile().find("Stale"), std::string::npos);
}

TEST(TemplateUserCopyTest, PortableRestoreUsesTheSectionsStillInTheOneFile) {
    InstalledFixture f;
    MemorySettingsStore settings;
    CTemplateStore portable{settings, f.shippedDir};
    settings.SetString("TEMPLATE", "TemplateKey", "Hot Spot Menu,");
    int restored = 0;
    ASSERT_TRUE(portable.RestoreBuiltInTemplates(&restored));
    EXPECT_EQ(restored, 2);
    EXPECT_EQ(settings.GetString("TEMPLATE", "TemplateKey"), "Normal,Hot Spot,Hot Spot Menu,");
    CAppletParameters applet;
    portable.LoadTemplate(applet, 1);
    EXPECT_EQ(applet.m_HTMLTitle, "Built-in Hot Spot");
    EXPECT_EQ(ReadAll(f.dir / "share/kestrune/Kestrune.tpl").find("[Normal]"),
              ReadAll(f.dir / "share/kestrune/Kestrune.tpl").rfind("[Normal]"));
}
