// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "PersistTestSupport.h"
#include "base/FileCopy.h"
#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "persist/TemplateNames.h"
#include "services/TemplateStore.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kBuiltIn = {
    "Normal",        "Group Buttons", "Sensitive Button", "Image Map",     "Hot Spot",
    "ToolBar",       "CoolBar",       "Horizontal Menu",  "Vertical Menu", "Vertical Menu2",
    "Standard Window Menu", "Hot Spot Menu", "Multi-level Menu"};

struct StoreFixture {
    TempDir dir;
    MemorySettingsStore settings;
    std::string appDir = (dir / "app").string();
    CTemplateStore store{settings, appDir};

    StoreFixture() { fs::create_directories(dir / "app"); }
    std::string List() const { return settings.GetString("TEMPLATE", "TemplateKey"); }
    std::string File() const { return ReadAll(dir / "app/Kestrune.tpl"); }
    // Saves a one-menu template whose only item carries the label.
    void SaveNamed(const std::string& name, int position, const std::string& label) {
        CAppletParameters applet;
        applet.m_HTMLTitle = name;
        AddTopMenu(applet, {label.c_str()});
        ASSERT_TRUE(store.SaveTemplate(applet, name, position));
    }
    std::string LoadedTitle(int position) {
        CAppletParameters applet;
        store.LoadTemplate(applet, position);
        return applet.m_HTMLTitle;
    }
};

}  // namespace

TEST(TemplateListTest, SeedingWritesTheBuiltInNamesOnlyWhenTheListIsMissingOrEmpty) {
    StoreFixture f;
    EXPECT_EQ(f.store.ListTemplateNames(), std::vector<std::string>{"Normal"});
    f.store.SeedTemplateList();
    EXPECT_EQ(f.store.ListTemplateNames(), kBuiltIn);

    f.settings.SetString("TEMPLATE", "TemplateKey", "");
    EXPECT_TRUE(f.store.ListTemplateNames().empty());
    f.store.SeedTemplateList();
    EXPECT_EQ(f.store.ListTemplateNames().size(), 13u);

    f.settings.SetString("TEMPLATE", "TemplateKey", "Mine,");
    f.store.SeedTemplateList();
    EXPECT_EQ(f.List(), "Mine,");
}

TEST(TemplateListTest, ListingStopsAtTheFirstEmptyName) {
    StoreFixture f;
    f.settings.SetString("TEMPLATE", "TemplateKey", "A,B,,C,");
    EXPECT_EQ(f.store.ListTemplateNames(), (std::vector<std::string>{"A", "B"}));
    f.settings.SetString("TEMPLATE", "TemplateKey", "A,B");
    EXPECT_EQ(f.store.ListTemplateNames(), (std::vector<std::string>{"A", "B"}));
}

TEST(TemplateStoreTest, SavedTemplatesGoIntoTheListAtTheirPositionAndTheFileInSaveOrder) {
    StoreFixture f;
    f.store.SeedTemplateList();
    f.SaveNamed("Second", 1, "a");
    f.SaveNamed("Last", 99, "b");
    auto names = f.store.ListTemplateNames();
    ASSERT_EQ(names.size(), 15u);
    EXPECT_EQ(names[1], "Second");
    EXPECT_EQ(names[2], "Group Buttons");
    EXPECT_EQ(names.back(), "Last");
    EXPECT_EQ(names[13], "Multi-level Menu");
    EXPECT_LT(f.File().find("[Second]\r\n"), f.File().find("[Last]\r\n"));
    EXPECT_EQ(f.File().find("Notice"), std::string::npos);
    EXPECT_EQ(f.LoadedTitle(1), "Second");
    EXPECT_EQ(f.LoadedTitle(14), "Last");
    // Listed names without a section, and positions beyond the list, give no menus.
    CAppletParameters applet;
    f.store.LoadTemplate(applet, 0);
    EXPECT_EQ(applet.m_HTMLTitle, "My Vorane");
    EXPECT_TRUE(applet.m_menus.empty());
    f.store.LoadTemplate(applet, 40);
    EXPECT_EQ(applet.m_HTMLTitle, "My Vorane");
}

TEST(TemplateStoreTest, MediaAreCopiedIntoTheSampleFoldersAndNamedByBareName) {
    StoreFixture f;
    CAppletParameters applet;
    applet.m_appBKImagePath = f.dir.File("art/Map.JPG", "\xFF\xD8\xFF jpeg");
    applet.m_appBKAudioPath = (f.dir / "art/missing.au").string();
    CVorane& menu = AddTopMenu(applet, {"Spot"});
    ItemAt(menu, 0).m_normalImage = f.dir.File("art/spot.gif", "GIF89a gif");
    ItemAt(menu, 0).m_overAudio = f.dir.File("art/tick.au", ".snd au");
    ItemAt(menu, 0).m_clickImage = (f.dir / "art/nothing.gif").string();
    ASSERT_TRUE(f.store.SaveTemplate(applet, "Spots", 0));

    EXPECT_EQ(ReadAll(f.dir / "app/Sample/Image/Map.JPG"), "\xFF\xD8\xFF jpeg");
    EXPECT_EQ(ReadAll(f.dir / "app/Sample/Image/spot.gif"), "GIF89a gif");
    EXPECT_EQ(ReadAll(f.dir / "app/Sample/Audio/tick.au"), ".snd au");
    const std::string missingAudio = (f.dir / "art/missing.au").string();
    EXPECT_NE(f.File().find("ApStyle=Vorane Applet Properties,0,400,200,0,0,Map.JPG,0,0,0," + missingAudio + "\r\n"),
              std::string::npos);
    EXPECT_NE(f.File().find("I0-1=Spot,,,,spot.gif,,,tick.au,,1\r\n"), std::string::npos);

    CAppletParameters loaded;
    f.store.LoadTemplate(loaded, 0);
    EXPECT_EQ(loaded.m_appBKImagePath, f.appDir + "/Sample/Image/Map.JPG");
    // An applet file that was missing keeps its stored path behind the prefix.
    EXPECT_EQ(loaded.m_appBKAudioPath, f.appDir + "/Sample/Audio/" + missingAudio);
    const CVoraneItem& spot = ItemAt(*loaded.m_menus[0], 0);
    EXPECT_EQ(spot.m_normalImage, f.appDir + "/Sample/Image/spot.gif");
    EXPECT_EQ(spot.m_overAudio, f.appDir + "/Sample/Audio/tick.au");
    EXPECT_EQ(spot.m_clickImage, "");
    EXPECT_TRUE(IsRegularFile(fs::path(spot.m_normalImage)));

    // Saving a loaded template again copies its media onto themselves: they stay whole.
    ASSERT_TRUE(f.store.SaveTemplate(loaded, "Spots again", 1));
    EXPECT_EQ(ReadAll(f.dir / "app/Sample/Image/spot.gif"), "GIF89a gif");
    EXPECT_EQ(ReadAll(f.dir / "app/Sample/Image/Map.JPG"), "\xFF\xD8\xFF jpeg");
}

TEST(TemplateStoreTest, DeleteRemovesOnlyTheNamedSections) {
    StoreFixture f;
    f.settings.SetString("TEMPLATE", "TemplateKey", "");
    f.SaveNamed("Hot Spot Menu", 0, "menu");
    f.SaveNamed("Hot Spot", 0, "spot");
    f.SaveNamed("Vertical Menu2", 9, "v2");
    f.SaveNamed("Hot Spot", 9, "again");
    ASSERT_EQ(f.store.ListTemplateNames(), (std::vector<std::string>{"Hot Spot", "Hot Spot Menu", "Vertical Menu2", "Hot Spot"}));

    ASSERT_TRUE(f.store.DeleteTemplate(0));
    EXPECT_EQ(f.store.ListTemplateNames(), (std::vector<std::string>{"Hot Spot Menu", "Vertical Menu2", "Hot Spot"}));
    EXPECT_EQ(f.File().find("[Hot Spot]"), std::string::npos);
    EXPECT_NE(f.File().find("[Hot Spot Menu]\r\n"), std::string::npos);
    EXPECT_EQ(f.File().find("spot,"), std::string::npos);
    EXPECT_EQ(f.LoadedTitle(0), "Hot Spot Menu");
    EXPECT_EQ(f.LoadedTitle(1), "Vertical Menu2");

    std::string error;
    EXPECT_FALSE(f.store.DeleteTemplate(7, &error));
    EXPECT_EQ(error, texts::kSelectTemplateFirst);
}

TEST(TemplateStoreTest, RenameChangesOneEntryAndTheFirstHeader) {
    StoreFixture f;
    f.settings.SetString("TEMPLATE", "TemplateKey", "");
    f.SaveNamed("Hot Spot", 0, "spot");
    f.SaveNamed("Hot Spot Menu", 1, "menu");
    ASSERT_TRUE(f.store.RenameTemplate(0, "Warm Spot"));
    EXPECT_EQ(f.store.ListTemplateNames(), (std::vector<std::string>{"Warm Spot", "Hot Spot Menu"}));
    EXPECT_EQ(f.File().find("[Hot Spot]"), std::string::npos);
    EXPECT_NE(f.File().find("[Warm Spot]\r\n"), std::string::npos);
    EXPECT_EQ(f.LoadedTitle(0), "Hot Spot");  // the title is the template's content, not its name
    EXPECT_EQ(f.LoadedTitle(1), "Hot Spot Menu");

    std::string error;
    EXPECT_FALSE(f.store.RenameTemplate(1, "Bad, name", &error));
    EXPECT_EQ(error, texts::kTemplateNameBadCharacter);
    EXPECT_EQ(f.store.ListTemplateNames()[1], "Hot Spot Menu");
}

TEST(TemplateStoreTest, MovingDownAndUpRestoresTheListAndEndsAreRefused) {
    StoreFixture f;
    f.store.SeedTemplateList();
    EXPECT_FALSE(f.store.MoveTemplate(0, true));
    EXPECT_FALSE(f.store.MoveTemplate(12, false));
    EXPECT_FALSE(f.store.MoveTemplate(-1, false));
    ASSERT_TRUE(f.store.MoveTemplate(3, false));
    EXPECT_EQ(f.store.ListTemplateNames()[4], "Image Map");
    EXPECT_EQ(f.store.ListTemplateNames()[3], "Hot Spot");
    ASSERT_TRUE(f.store.MoveTemplate(4, true));
    EXPECT_EQ(f.List(), texts::kBuiltInTemplateList);
    EXPECT_FALSE(fs::exists(f.dir / "app/Kestrune.tpl"));
}

TEST(TemplateStoreTest, AnUnreadableTemplateFileChangesNothing) {
    StoreFixture f;
    f.store.SeedTemplateList();
    fs::create_directories(f.dir / "app/Kestrune.tpl");
    std::string error;
    EXPECT_FALSE(f.store.DeleteTemplate(2, &error));
    EXPECT_EQ(error, "Open template failure!");
    EXPECT_FALSE(f.store.RenameTemplate(2, "Other", &error));
    EXPECT_EQ(error, "Open template failure!");
    CAppletParameters applet;
    EXPECT_FALSE(f.store.SaveTemplate(applet, "New one", 0, &error));
    EXPECT_EQ(error, "Save as file failed!");
    EXPECT_EQ(f.List(), texts::kBuiltInTemplateList);
    // Loading from it gives the reset model, and says it is no template.
    AddTopMenu(applet, {"x"});
    EXPECT_FALSE(f.store.LoadTemplate(applet, 0, &error));
    EXPECT_NE(error.find("Kestrune.tpl"), std::string::npos);
    EXPECT_TRUE(applet.m_menus.empty());
    EXPECT_EQ(applet.m_HTMLTitle, "Vorane Applet Properties");
}

TEST(TemplateStoreTest, AMissingTemplateFileIsCreatedByDeleteAndRename) {
    StoreFixture f;
    f.store.SeedTemplateList();
    ASSERT_TRUE(f.store.DeleteTemplate(0));
    EXPECT_EQ(f.store.ListTemplateNames().front(), "Group Buttons");
    EXPECT_TRUE(fs::exists(f.dir / "app/Kestrune.tpl"));
    ASSERT_TRUE(f.store.RenameTemplate(0, "Buttons"));
    EXPECT_EQ(f.store.ListTemplateNames().front(), "Buttons");
}

TEST(TemplateNameTest, NewNamesMustBeNonEmptyCarriableAndNoPrefixOfAnExistingName) {
    EXPECT_EQ(CheckNewTemplateName(kBuiltIn, ""), texts::kTemplateNameEmpty);
    EXPECT_EQ(CheckNewTemplateName(kBuiltIn, "Hot"), texts::kTemplateNameExists);
    EXPECT_EQ(CheckNewTemplateName(kBuiltIn, "normal"), texts::kTemplateNameExists);
    EXPECT_EQ(CheckNewTemplateName(kBuiltIn, "VERTICAL MENU"), texts::kTemplateNameExists);
    EXPECT_EQ(CheckNewTemplateName(kBuiltIn, "Normal Plus"), std::nullopt);
    for (const char* bad : {"a,b", "[x", "y]", "two\nlines", "cr\rhere"})
        EXPECT_EQ(CheckNewTemplateName(kBuiltIn, bad), texts::kTemplateNameBadCharacter) << bad;

    EXPECT_EQ(CheckRenamedTemplateName(kBuiltIn, ""), texts::kTemplateRenameInvalid);
    EXPECT_EQ(CheckRenamedTemplateName(kBuiltIn, "Hot Spot"), texts::kTemplateRenameInvalid);
    EXPECT_EQ(CheckRenamedTemplateName(kBuiltIn, "toolbar"), texts::kTemplateRenameInvalid);
    EXPECT_EQ(CheckRenamedTemplateName(kBuiltIn, "x]"), texts::kTemplateNameBadCharacter);
    EXPECT_EQ(CheckRenamedTemplateName(kBuiltIn, "Toolbox"), std::nullopt);

    StoreFixture f;
    CAppletParameters applet;
    std::string error;
    EXPECT_FALSE(f.store.SaveTemplate(applet, "a[b]", 0, &error));
    EXPECT_EQ(error, texts::kTemplateNameBadCharacter);
    EXPECT_FALSE(fs::exists(f.dir / "app/Kestrune.tpl"));
}
