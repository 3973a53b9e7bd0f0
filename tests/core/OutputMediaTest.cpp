// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "OutputTestSupport.h"
#include "model/VoraneItem.h"
#include "base/FileCopy.h"
#include "base/MediaFileSearch.h"
#include "services/MediaWalk.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

std::string FoundName(const std::string& path) {
    const auto found = FindMediaFile(path);
    return found ? found->name : "<none>";
}

// Names of the entries of a folder, sorted.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(MediaFileSearchTest, ExactFileFirstThenCaseInsensitiveMatchInSortedOrder) {
    TempDir dir;
    const std::string exact = dir.File("m/Photo.jpg");
    dir.File("m/photo.JPG");
    dir.File("m/PHOTO.JPG");
    dir.File("m/b/inner.gif");

    const auto found = FindMediaFile(exact);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "Photo.jpg");
    EXPECT_EQ(found->path, fs::path(exact));

    // No exact file: of the three case variants the first in byte order is found.
    const auto variant = FindMediaFile((dir / "m/photo.jpg").string());
    ASSERT_TRUE(variant);
    EXPECT_EQ(variant->name, "PHOTO.JPG");
    EXPECT_EQ(ReadAll(variant->path), GifBytes("media"));
    EXPECT_EQ(FoundName((dir / "m/B/inner.gif").string()), "<none>");  // only the name ignores case

    EXPECT_EQ(MediaFileName(exact), "Photo.jpg");
    EXPECT_EQ(MediaFileName((dir / "m/missing.gif").string()), "");
    EXPECT_EQ(MediaFileName(""), "");
    EXPECT_EQ(FoundName((dir / "nowhere/x.gif").string()), "<none>");
    EXPECT_EQ(FoundName((dir / "m/").string()), "<none>");
}

TEST(MediaFileSearchTest, OnlyRegularFilesAreFound) {
    TempDir dir;
    fs::create_directories(dir / "m/Folder.gif");
    dir.File("m/target.gif", "linked");
    fs::create_symlink(dir / "m/target.gif", dir / "m/link.gif");
    ASSERT_EQ(::mkfifo((dir / "m/pipe.au").c_str(), 0600), 0);

    EXPECT_EQ(FoundName((dir / "m/Folder.gif").string()), "<none>");
    EXPECT_EQ(FoundName((dir / "m/folder.gif").string()), "<none>");
    EXPECT_EQ(FoundName((dir / "m/pipe.au").string()), "<none>");
    EXPECT_EQ(FoundName((dir / "m/PIPE.au").string()), "<none>");
    EXPECT_EQ(FoundName("/dev/zero"), "<none>");
    EXPECT_EQ(FoundName("/dev/ZERO"), "<none>");
    EXPECT_EQ(FoundName((dir / "m/LINK.GIF").string()), "link.gif");
}

TEST(MediaFileSearchTest, RemembersLookUpsUntilTheFolderIsForgotten) {
    TempDir dir;
    fs::create_directories(dir / "m");
    MediaFileSearch search;
    const std::string path = (dir / "m/late.gif").string();
    EXPECT_FALSE(search.Find(path));
    dir.File("m/LATE.gif");
    EXPECT_FALSE(search.Find(path));  // remembered for this run
    search.Forget(dir / "m/./");
    EXPECT_EQ(search.FileName(path), "LATE.gif");
}

TEST(FileCopyTest, CopyReplacesTargetWholeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string source = dir.File("src/a.gif", std::string(100000, 'n'));
    dir.File("dst/a.gif", "old");
    EXPECT_TRUE(CopyFileReplacing(source, dir / "dst/a.gif"));
    EXPECT_EQ(ReadAll(dir / "dst/a.gif"), std::string(100000, 'n'));
    EXPECT_EQ(Entries(dir / "dst"), std::vector<std::string>{"a.gif"});

    EXPECT_TRUE(CopyFileReplacing(source, dir / "dst/new.gif"));
    EXPECT_EQ(ReadAll(dir / "dst/new.gif"), std::string(100000, 'n'));

    EXPECT_FALSE(CopyFileReplacing(source, dir / "no/such/folder/a.gif"));
    EXPECT_FALSE(CopyFileReplacing(dir / "src/missing.gif", dir / "dst/m.gif"));
    EXPECT_FALSE(fs::exists(dir / "dst/m.gif"));
}

TEST(FileCopyTest, CopyOntoItselfKeepsTheFile) {
    TempDir dir;
    const std::string source = dir.File("src/a.gif", "precious");
    fs::create_symlink(source, dir / "src/alias.gif");
    fs::create_hard_link(source, dir / "src/hard.gif");

    EXPECT_TRUE(CopyFileReplacing(source, source));
    EXPECT_TRUE(CopyFileReplacing(source, dir / "src/./a.gif"));
    EXPECT_TRUE(CopyFileReplacing(source, dir / "src/alias.gif"));
    EXPECT_TRUE(CopyFileReplacing(dir / "src/alias.gif", source));
    EXPECT_TRUE(CopyFileReplacing(source, dir / "src/hard.gif"));
    EXPECT_EQ(ReadAll(source), "precious");
    EXPECT_TRUE(fs::is_symlink(dir / "src/alias.gif"));
    EXPECT_EQ(Entries(dir / "src"), (std::vector<std::string>{"a.gif", "alias.gif", "hard.gif"}));
}

TEST(FileCopyTest, NonRegularSourcesAndTargetsAreRefused) {
    TempDir dir;
    fs::create_directories(dir / "dst/taken.gif");
    const std::string source = dir.File("src/a.gif");
    ASSERT_EQ(::mkfifo((dir / "src/pipe.au").c_str(), 0600), 0);

    EXPECT_FALSE(CopyFileReplacing("/dev/zero", dir / "dst/zero.au"));
    EXPECT_FALSE(CopyFileReplacing(dir / "src/pipe.au", dir / "dst/pipe.au"));
    EXPECT_FALSE(CopyFileReplacing(dir / "src", dir / "dst/folder"));
    EXPECT_FALSE(CopyFileReplacing(source, dir / "dst/taken.gif"));
    EXPECT_TRUE(fs::is_directory(dir / "dst/taken.gif"));
    EXPECT_EQ(Entries(dir / "dst"), std::vector<std::string>{"taken.gif"});
    EXPECT_FALSE(CopyFileReplacing(source, ""));
    EXPECT_FALSE(CopyFileReplacing("", dir / "dst/x"));
}

TEST(MediaWalkTest, CopyModePlacesFoundFilesAndStillReportsMissingOnes) {
    TempDir dir;
    const std::string image = dir.File("art/Logo.GIF", GifBytes("logo"));
    const std::string sound = dir.File("snd/click.au", AuBytes("click"));
    const std::string hiddenImage = dir.File("art/hidden.jpg", GifBytes("hidden"));
    fs::create_directories(dir / "page");

    CVorane menu;
    CVoraneItem* first = AddItems(menu, {"first", "second"});
    first->m_normalImage = (dir / "art/logo.gif").string();  // found as Logo.GIF
    first->m_clickAudio = sound;
    first->m_overImage = (dir / "art/gone.gif").string();
    ItemAt(menu, 1).m_visible = 0;
    AddItems(*ItemAt(menu, 1).m_subMenu, {"below hidden"})->m_overImage = hiddenImage;

    std::string report;
    MediaWalk((dir / "page").string(), &menu, report, 0, 0);
    EXPECT_EQ(report, "Warning:\t\tItem \"first\" mouse over image file \"" + (dir / "art/gone.gif").string() +
                          "\" not exist.\r\n");
    EXPECT_EQ(Entries(dir / "page"), (std::vector<std::string>{"Logo.GIF", "click.au", "hidden.jpg"}));
    EXPECT_EQ(ReadAll(dir / "page/Logo.GIF"), GifBytes("logo"));

    // Check mode copies nothing.
    std::string checkReport;
    MediaWalk((dir / "other").string(), &menu, checkReport, 1, 0);
    EXPECT_EQ(checkReport, report);
    EXPECT_FALSE(fs::exists(dir / "other"));
}

TEST(MediaWalkTest, SampleLayoutSortsImagesAndSoundsIntoTheirFolders) {
    TempDir dir;
    const std::string image = dir.File("art/a.gif", GifBytes("image"));
    const std::string sound = dir.File("snd/b.au", AuBytes("sound"));
    fs::create_directories(dir / "tpl/Sample/Image");
    fs::create_directories(dir / "tpl/Sample/Audio");

    CVorane menu;
    CVoraneItem* item = AddItems(menu, {"i"});
    item->m_clickImage = image;
    item->m_overAudio = sound;
    MediaWalker walker(MediaDestination{dir / "tpl", true, {}}, {});
    std::string report;
    walker.Walk(&menu, report);
    EXPECT_EQ(ReadAll(dir / "tpl/Sample/Image/a.gif"), GifBytes("image"));
    EXPECT_EQ(ReadAll(dir / "tpl/Sample/Audio/b.au"), AuBytes("sound"));
    EXPECT_FALSE(fs::exists(dir / "tpl/a.gif"));

    // The applet's own media go the same way.
    const std::string background = dir.File("art/Back.jpg", GifBytes("back"));
    const auto visit = walker.VisitFile((dir / "art/back.JPG").string(), MediaKind::Image);
    ASSERT_TRUE(visit.Usable());
    EXPECT_EQ(visit.found->name, "Back.jpg");
    EXPECT_EQ(ReadAll(dir / "tpl/Sample/Image/Back.jpg"), GifBytes("back"));
    EXPECT_FALSE(walker.VisitFile((dir / "art/none.jpg").string(), MediaKind::Image).found);

    // Without the subfolders the copies fail, and each failure is reported.
    fs::create_directories(dir / "bare");
    std::string bareReport;
    MediaWalk((dir / "bare").string(), &menu, bareReport, 0, 1);
    EXPECT_EQ(bareReport, "Warning:\t\tItem \"i\" mouse click image file \"" + image + "\" could not be copied.\r\n" +
                              "Warning:\t\tItem \"i\" mouse over audio file \"" + sound + "\" could not be copied.\r\n");
    EXPECT_TRUE(Entries(dir / "bare").empty());
}

TEST(MediaWalkTest, CopyingIntoTheMediaFolderItselfKeepsTheFiles) {
    TempDir dir;
    const std::string image = dir.File("site/pic.gif", GifBytes("picture"));
    dir.File("elsewhere/pic.gif", GifBytes("other picture"));
    CVorane menu;
    AddItems(menu, {"a"})->m_normalImage = image;
    std::string report;
    MediaWalk((dir / "site").string(), &menu, report, 0, 0);
    EXPECT_EQ(ReadAll(image), GifBytes("picture"));

    // Two different files of one name: the first in walk order is copied, the clash is
    // reported, and the document's own picture is never replaced by the other.
    AddItems(menu, {"b"})->m_overImage = (dir / "elsewhere/pic.gif").string();
    fs::create_directories(dir / "out");
    std::string clash;
    MediaWalk((dir / "out").string(), &menu, clash, 0, 0);
    EXPECT_EQ(ReadAll(dir / "out/pic.gif"), GifBytes("picture"));
    EXPECT_EQ(clash, "Warning:\t\tItem \"b\" mouse over image file \"" + (dir / "elsewhere/pic.gif").string() +
                         "\" has the name of another media file of this menu; it is not copied.\r\n");
    std::string intoSite;
    MediaWalker walker(MediaDestination{dir / "site", false, {}}, {});
    walker.ProtectSources({image});
    walker.Walk(&menu, intoSite);
    EXPECT_EQ(ReadAll(image), GifBytes("picture"));
    EXPECT_NE(intoSite.find("has the name of another media file"), std::string::npos);
}

TEST(MediaWalkTest, LaterLookUpsSeeFilesTheWalkCreated) {
    TempDir dir;
    const std::string source = dir.File("src/new.gif", GifBytes("n"));
    fs::create_directories(dir / "page");
    CVorane menu;
    AddItems(menu, {"before", "copier", "after"});
    ItemAt(menu, 0).m_normalImage = (dir / "page/NEW.gif").string();
    ItemAt(menu, 1).m_normalImage = source;
    ItemAt(menu, 2).m_normalImage = (dir / "page/NEW.gif").string();
    std::string report;
    MediaWalker walker(MediaDestination{dir / "page", false, {}}, {});
    walker.Walk(&menu, report);
    // Only the look-up made before the copy misses.
    EXPECT_EQ(report, "Warning:\t\tItem \"before\" normal image file \"" + (dir / "page/NEW.gif").string() +
                          "\" not exist.\r\n");
}
