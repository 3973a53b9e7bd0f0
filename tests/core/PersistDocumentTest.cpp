// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "PersistTestSupport.h"
#include "services/DocumentFile.h"
#include "output/HtmlPageBuilder.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "base/SettingsStore.h"
#include "base/TextRoutines.h"
#include "services/TemplateStore.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

// Media files start like what they are: saves copy nothing else.
const std::string kJpeg = "\xFF\xD8\xFF\xE0 jpeg";
const std::string kGif = "GIF89a gif";
const std::string kDeepGif = "GIF87a deep";
const std::string kAu = ".snd au";

// A program folder with a class file, media files elsewhere and a model that names them.
struct SaveFixture {
    TempDir dir;
    std::string appDir = (dir / "app").string();
    CAppletParameters applet;
    RecordingHost host;

    SaveFixture() {
        dir.File("app/trelvix.class", "class bytes");
        applet.m_appBKImagePath = dir.File("art/Back.JPG", kJpeg);
        applet.m_appBKAudioPath = (dir / "art/gone.au").string();
        CVorane& menu = AddTopMenu(applet, {"Home", "Sounds"});
        ItemAt(menu, 0).m_normalImage = dir.File("art/home.gif", kGif);
        ItemAt(menu, 1).m_overAudio = dir.File("art/tick.au", kAu);
        AddItems(ItemAt(menu, 1).SubMenu(), {"Deep"});
        ItemAt(ItemAt(menu, 1).SubMenu(), 0).m_clickImage = dir.File("art/deep.gif", kDeepGif);
    }
    std::string Page(const std::string& relative) const { return (dir / relative).string(); }
};

bool HasTemporaryFiles(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().front() == '.') return true;
    return false;
}

// Item labels in the order a menu file writes them: a menu's items, then each one's sub menu.
std::vector<std::string> LabelsInFileOrder(const CAppletParameters& applet) {
    std::vector<std::string> labels;
    std::vector<const CVorane*> pending;
    for (auto menu = applet.m_menus.rbegin(); menu != applet.m_menus.rend(); ++menu) pending.push_back(menu->get());
    while (!pending.empty()) {
        const CVorane* menu = pending.back();
        pending.pop_back();
        for (const auto& item : menu->m_items) labels.push_back(item->m_label);
        for (auto item = menu->m_items.rbegin(); item != menu->m_items.rend(); ++item)
            pending.push_back((*item)->m_subMenu.get());
    }
    return labels;
}

// The labels of a menu file's item lines, in order.
std::vector<std::string> ItemLineLabels(std::string_view text) {
    std::vector<std::string> labels;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2) {
        const std::string_view line = text.substr(start, end - start);
        if (line.size() > 1 && line[0] == 'I' && line[1] >= '0' && line[1] <= '9')
            labels.push_back(ReplaceAll(ExtractField(line.substr(line.find('=') + 1), 0, ','), "|_#`", "\r\n"));
    }
    return labels;
}

// Where each line of a text ends, the empty text first.
std::vector<std::size_t> LineBoundaries(const std::string& text) {
    std::vector<std::size_t> cuts = {0};
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", end + 2))
        cuts.push_back(end + 2);
    return cuts;
}

}  // namespace

TEST(DocumentSaveTest, WritesPageMenuFileClassFileAndMediaIntoThePageFolder) {
    SaveFixture f;
    fs::create_directories(f.dir / "site");
    f.dir.File("site/trelvix.class", "old class");
    ASSERT_TRUE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host));
    EXPECT_EQ(f.host.commits, 1);
    EXPECT_FALSE(f.host.modified);
    EXPECT_TRUE(f.host.messages.empty());

    EXPECT_EQ(ReadAll(f.dir / "site/menu.htm"), BuildHTML(f.applet));
    EXPECT_EQ(ReadAll(f.dir / "site/menu.kst"), DocumentText(f.applet));
    EXPECT_EQ(ReadAll(f.dir / "site/trelvix.class"), "class bytes");
    EXPECT_EQ(ReadAll(f.dir / "site/Back.JPG"), kJpeg);
    EXPECT_EQ(ReadAll(f.dir / "site/home.gif"), kGif);
    EXPECT_EQ(ReadAll(f.dir / "site/tick.au"), kAu);
    EXPECT_EQ(ReadAll(f.dir / "site/deep.gif"), kDeepGif);
    EXPECT_FALSE(HasTemporaryFiles(f.dir / "site"));
    // Documents keep the stored paths.
    EXPECT_NE(ReadAll(f.dir / "site/menu.kst").find(f.applet.m_appBKImagePath), std::string::npos);
}

TEST(DocumentSaveTest, ASavedPageOpensAgainToTheSameModel) {
    for (const char* page : {"site/menu.htm", "site/menu", "my.site/menu", "my.site/menu.v2.htm"}) {
        SaveFixture f;
        fs::create_directories(fs::path(f.Page(page)).parent_path());
        ASSERT_TRUE(SaveDocument(f.applet, f.Page(page), f.appDir, f.host)) << page;
        CAppletParameters reread;
        RecordingHost host;
        ASSERT_TRUE(OpenDocument(reread, f.Page(page), host)) << page;
        EXPECT_FALSE(host.modified);
        EXPECT_EQ(DocumentText(reread), DocumentText(f.applet)) << page;
    }
}

TEST(DocumentSaveTest, AnHtmlPageAndTheMenuFileItselfOpenTheSameMenuFile) {
    SaveFixture f;
    fs::create_directories(f.dir / "site");
    ASSERT_TRUE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host));
    f.dir.File("site/menu.html", "<html>any text</html>");
    for (const char* page : {"site/menu.html", "site/menu.kst"}) {
        CAppletParameters reread;
        RecordingHost host;
        ASSERT_TRUE(OpenDocument(reread, f.Page(page), host)) << page;
        EXPECT_EQ(DocumentText(reread), DocumentText(f.applet));
    }
}

TEST(DocumentSaveTest, AFailedSaveReportsLeavesOldFilesWholeAndKeepsTheModifiedMark) {
    SaveFixture f;
    f.dir.File("site/page.kst", "old menu file");
    fs::create_directories(f.dir / "site/page.htm");  // the page cannot be written
    EXPECT_FALSE(SaveDocument(f.applet, f.Page("site/page.htm"), f.appDir, f.host));
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Save as file failed!"});
    EXPECT_TRUE(f.host.modified);
    EXPECT_EQ(ReadAll(f.dir / "site/page.kst"), "old menu file");
    EXPECT_FALSE(HasTemporaryFiles(f.dir / "site"));

    RecordingHost host;
    EXPECT_FALSE(SaveDocument(f.applet, f.Page("no/such/folder/page.htm"), f.appDir, host));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Save as file failed!"});
}

TEST(DocumentSaveTest, SavingBesideItsOwnMediaLeavesThemIntact) {
    SaveFixture f;
    CAppletParameters applet;
    applet.m_appBKImagePath = f.dir.File("site/back.gif", "background bytes");
    CVorane& menu = AddTopMenu(applet, {"Home"});
    ItemAt(menu, 0).m_normalImage = f.dir.File("site/home.gif", "home bytes");
    // The same file under another spelling of its path.
    ItemAt(menu, 0).m_overImage = (f.dir / "site/../site/home.gif").string();
    ASSERT_TRUE(SaveDocument(applet, f.Page("site/menu.htm"), f.appDir, f.host));
    EXPECT_EQ(ReadAll(f.dir / "site/back.gif"), "background bytes");
    EXPECT_EQ(ReadAll(f.dir / "site/home.gif"), "home bytes");
}

TEST(DocumentSaveTest, WithoutAClassFileThePageAndMenuFileAreStillWritten) {
    SaveFixture f;
    fs::remove(f.dir / "app/trelvix.class");
    fs::create_directories(f.dir / "site");
    EXPECT_TRUE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host));
    EXPECT_TRUE(fs::exists(f.dir / "site/menu.kst"));
    EXPECT_FALSE(fs::exists(f.dir / "site/trelvix.class"));
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(DocumentSaveTest, ReplacedFilesKeepTheirPermissionsAndLinksWithinTheirFolder) {
    SaveFixture f;
    f.dir.File("site/versions/menu.kst", "old");
    f.dir.File("site/real-menu.kst", "old");
    f.dir.File("site/menu.htm", "old page");
    fs::permissions(f.dir / "site/menu.htm", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A link to a file in another folder is not written through: it could lead anywhere.
    fs::create_symlink(f.dir / "site/versions/menu.kst", f.dir / "site/menu.kst");
    EXPECT_FALSE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host));
    EXPECT_EQ(ReadAll(f.dir / "site/versions/menu.kst"), "old");
    EXPECT_EQ(ReadAll(f.dir / "site/menu.htm"), "old page");
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_NE(f.host.messages[0].find("is a link that does not name a regular file in its own folder"), std::string::npos);

    fs::remove(f.dir / "site/menu.kst");
    fs::create_symlink("real-menu.kst", f.dir / "site/menu.kst");
    ASSERT_TRUE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host));
    EXPECT_TRUE(fs::is_symlink(f.dir / "site/menu.kst"));
    EXPECT_EQ(ReadAll(f.dir / "site/real-menu.kst"), DocumentText(f.applet));
    EXPECT_EQ(fs::status(f.dir / "site/menu.htm").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(DocumentSaveTest, APageNamedLikeItsMenuFileIsRefused) {
    SaveFixture f;
    fs::create_directories(f.dir / "site");
    EXPECT_FALSE(SaveDocument(f.applet, f.Page("site/menu.kst"), f.appDir, f.host));
    EXPECT_EQ(f.host.messages, std::vector<std::string>{texts::kPageIsMenuFile});
    EXPECT_FALSE(fs::exists(f.dir / "site/menu.kst"));
}

TEST(DocumentOpenTest, RefusedOpensReportAndLeaveTheModelAlone) {
    TempDir dir;
    CAppletParameters applet;
    AddTopMenu(applet, {"Keep me"});
    const std::string before = DocumentText(applet);

    RecordingHost noPage;
    EXPECT_FALSE(OpenDocument(applet, (dir / "none.htm").string(), noPage));
    ASSERT_EQ(noPage.messages.size(), 1u);
    EXPECT_NE(noPage.messages[0].find("none.htm"), std::string::npos);

    RecordingHost noMenu;
    EXPECT_FALSE(OpenDocument(applet, dir.File("plain.htm", "<html></html>"), noMenu));
    EXPECT_EQ(noMenu.messages, std::vector<std::string>{"This File is not saved by Kestrune!\nSystem can't open it.\n"
                                                        "Its menu file \"plain.kst\" is not in the same folder."});

    RecordingHost unreadable;
    fs::create_directories(dir / "broken.kst");
    EXPECT_FALSE(OpenDocument(applet, dir.File("broken.htm", "<html></html>"), unreadable));
    ASSERT_EQ(unreadable.messages.size(), 1u);
    EXPECT_NE(unreadable.messages[0].find("broken.kst"), std::string::npos);

    EXPECT_TRUE(noPage.modified && noMenu.modified && unreadable.modified);
    EXPECT_EQ(DocumentText(applet), before);
}

TEST(DocumentOpenTest, AnOlderLayoutFileOpensThroughThePage) {
    TempDir dir;
    dir.File("old.kst", "[General]\r\nm_HTMLTitle=From the old days\r\n");
    CAppletParameters applet;
    RecordingHost host;
    ASSERT_TRUE(OpenDocument(applet, dir.File("old.htm", ""), host));
    EXPECT_EQ(applet.m_HTMLTitle, "From the old days");
    ASSERT_EQ(applet.m_menus.size(), 1u);
}

TEST(DocumentSaveTest, WithTheRuntimeThePageNamesItAndItIsCopiedBesideThePage) {
    SaveFixture f;
    f.dir.File("app/kestrune-menu.js", "runtime bytes");
    fs::create_directories(f.dir / "plain");
    fs::create_directories(f.dir / "site");
    ASSERT_TRUE(SaveDocument(f.applet, f.Page("plain/menu.htm"), f.appDir, f.host));
    EXPECT_EQ(ReadAll(f.dir / "plain/menu.htm"), BuildHTML(f.applet));
    EXPECT_FALSE(fs::exists(f.dir / "plain/kestrune-menu.js"));

    ASSERT_TRUE(SaveDocument(f.applet, f.Page("site/menu.htm"), f.appDir, f.host, true, "fr"));
    const std::string page = ReadAll(f.dir / "site/menu.htm");
    EXPECT_EQ(page, BuildPage(f.applet, true, "fr"));
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\r\n<html lang=\"fr\">"));
    EXPECT_NE(page.find("</p>\r\n<script src=\"kestrune-menu.js\"></script>\r\n</body>\r\n</html>"), std::string::npos);
    EXPECT_EQ(ReadAll(f.dir / "site/kestrune-menu.js"), "runtime bytes");
    EXPECT_EQ(ReadAll(f.dir / "site/menu.kst"), DocumentText(f.applet));
}

// A menu file cut at any line (its "Misc" lost with the tail, or nothing left) gives back
// every item before the cut, in order, says so and comes up modified; the save that
// follows keeps the damaged page and menu file beside the new ones.
TEST(DocumentOpenTest, AMenuFileCutAtAnyLineGivesItsItemsBackAndItsSaveKeepsTheOriginals) {
    SaveFixture f;
    MemorySettingsStore settings;
    CTemplateStore store{settings, KESTRUNE_SOURCE_DATA};
    store.SeedTemplateList();
    CAppletParameters multiLevel;
    ASSERT_TRUE(store.LoadTemplate(multiLevel, texts::kBuiltInTemplateCount - 1));
    fs::create_directories(f.dir / "site");
    const std::string page = f.Page("site/menu.htm");
    const std::string menu = f.Page("site/menu.kst");
    ASSERT_TRUE(SaveDocument(multiLevel, page, f.appDir, f.host));
    const std::string pageBytes = ReadAll(page);
    const std::string whole = ReadAll(menu);

    const std::vector<std::size_t> cuts = LineBoundaries(whole);
    ASSERT_GT(cuts.size(), 20u);
    for (const std::size_t cut : cuts) {
        const std::string kept = whole.substr(0, cut);
        SCOPED_TRACE(std::to_string(cut) + " of " + std::to_string(whole.size()) + " bytes");
        fs::remove(page + ".damaged");
        fs::remove(menu + ".damaged");
        f.dir.File("site/menu.htm", pageBytes);
        f.dir.File("site/menu.kst", kept);
        DocumentRead read = ReadDocumentFile(page);
        ASSERT_TRUE(read.applet) << read.error;
        EXPECT_EQ(LabelsInFileOrder(*read.applet), ItemLineLabels(kept));
        if (cut == whole.size()) {
            EXPECT_EQ(read.damage, "");
            continue;
        }
        EXPECT_NE(read.damage.find(menu), std::string::npos) << read.damage;

        EXPECT_EQ(read.damagedFiles, (std::vector<std::string>{page, menu}));
        CAppletParameters opened;
        RecordingHost host;
        ASSERT_TRUE(AcceptDocumentRead(opened, read, host));
        EXPECT_TRUE(host.modified);
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back(), read.damage);
        ASSERT_TRUE(SaveDocument(opened, page, f.appDir, host, false, {}, &read.damagedFiles)) << host.messages.back();
        EXPECT_EQ(ReadAll(menu + ".damaged"), kept);
        EXPECT_EQ(ReadAll(page + ".damaged"), pageBytes);
        EXPECT_NE(host.messages.back().find(menu + ".damaged"), std::string::npos) << host.messages.back();
        EXPECT_TRUE(read.damagedFiles.empty());
        // The pair written is whole again, and a second save keeps nothing more.
        const DocumentRead again = ReadDocumentFile(page);
        ASSERT_TRUE(again.applet);
        EXPECT_EQ(again.damage, "");
        EXPECT_EQ(LabelsInFileOrder(*again.applet), ItemLineLabels(kept));
        ASSERT_TRUE(SaveDocument(opened, page, f.appDir, host, false, {}, &read.damagedFiles));
        EXPECT_FALSE(fs::exists(menu + ".damaged2"));
    }
}
