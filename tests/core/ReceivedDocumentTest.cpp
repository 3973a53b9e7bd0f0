// SPDX-License-Identifier: GPL-3.0-or-later
// Saves and reads of documents that may come from strangers or meet another save: the
// pair on disk is always one written together, and a reader keeps what a file holds.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "PersistTestSupport.h"
#include "base/FileTexts.h"
#include "base/FolderLock.h"
#include "output/HtmlPageBuilder.h"
#include "output/MediaCheck.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "services/DocumentFile.h"
#include "services/MenuFileWriter.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void MakeMenu(CAppletParameters& applet, const char* title, std::initializer_list<const char*> labels) {
    applet.m_HTMLTitle = title;
    AddTopMenu(applet, labels);
}

}  // namespace

TEST(ReceivedDocumentTest, MediaNeedTheExtensionOfTheirKindInAnyCase) {
    for (const char* name : {"a.gif", "A.GIF", "b.Jpg", "c.jpeg", "d.png"}) EXPECT_TRUE(HasMediaExtension(name, MediaKind::Image)) << name;
    for (const char* name : {"kestrune-menu.js", "evil.html", "x.gif.html", "gif", "x.au"})
        EXPECT_FALSE(HasMediaExtension(name, MediaKind::Image)) << name;
    for (const char* name : {"t.au", "T.SND"}) EXPECT_TRUE(HasMediaExtension(name, MediaKind::Audio)) << name;
    EXPECT_FALSE(HasMediaExtension("t.gif", MediaKind::Audio));
}

TEST(ReceivedDocumentTest, ASecondLockOnAFolderWaitsAndThenFailsWithAReason) {
    TempDir dir;
    FolderLock first;
    ASSERT_TRUE(first.Acquire(dir.Root(), 0ms, nullptr));
    FolderLock second;
    std::string error;
    EXPECT_FALSE(second.Acquire(dir.Root(), 100ms, &error));
    EXPECT_NE(error.find("Another save is writing into the folder"), std::string::npos) << error;
}

TEST(ReceivedDocumentTest, ASaveWaitsForAnotherSaveIntoTheSameFolder) {
    TempDir dir;
    CAppletParameters applet;
    MakeMenu(applet, "Waited", {"Home"});
    auto held = std::make_unique<FolderLock>();
    ASSERT_TRUE(held->Acquire(dir.Root(), 0ms, nullptr));
    bool saved = false;
    std::thread save([&] {
        RecordingHost host;
        saved = SaveDocument(applet, (dir / "menu.htm").string(), "", host);
    });
    std::this_thread::sleep_for(300ms);
    // Still waiting: nothing of the pair is there while the other save holds the folder.
    EXPECT_FALSE(fs::exists(dir / "menu.htm"));
    held.reset();
    save.join();
    EXPECT_TRUE(saved);
    EXPECT_TRUE(fs::exists(dir / "menu.kst"));
}

TEST(ReceivedDocumentTest, AnOpenCompletesASaveCutOffBeforeItsPageWasRenamedWhateverThePageHeld) {
    TempDir dir;
    const std::string page = (dir / "menu.htm").string();
    CAppletParameters a;
    MakeMenu(a, "A", {"Old"});
    CAppletParameters b;
    MakeMenu(b, "B", {"New", "Newer"});
    RecordingHost host;
    ASSERT_TRUE(SaveDocument(a, page, "", host));
    // b's save was killed after the menu file's rename: its page, written with the
    // runtime's line, waits under its temporary name.
    const std::string bPage = BuildPage(b, true);
    dir.File("." + std::string("menu.htm") + ".tmp0123456789ab", bPage);
    ASSERT_TRUE(SaveDocument(b, (dir / "other.htm").string(), "", host));
    fs::copy_file(dir / "other.kst", dir / "menu.kst", fs::copy_options::overwrite_existing);

    // A read that only reads leaves the folder alone.
    DocumentRead looked = ReadDocumentFile(page);
    ASSERT_TRUE(looked.applet);
    EXPECT_EQ(ReadAll(page), BuildPage(a));

    DocumentRead opened = ReadDocumentFile(page, nullptr, FolderRepair::CompleteInterruptedSave);
    ASSERT_TRUE(opened.applet);
    EXPECT_EQ(ReadAll(page), bPage);

    // A leftover that belongs to no save of this menu stays out, and the next save
    // clears it away.
    dir.File(".menu.htm.tmpfedcba987654", BuildPage(a));
    dir.File(".menu.kst.tmpfedcba987654", "half a menu file");
    EXPECT_FALSE(CompleteInterruptedSave(page, b));
    EXPECT_EQ(ReadAll(page), bPage);
    ASSERT_TRUE(SaveDocument(b, page, "", host));
    EXPECT_EQ(NamesIn(dir.Root()), (std::vector<std::string>{"menu.htm", "menu.kst", "other.htm", "other.kst"}));
}

TEST(ReceivedDocumentTest, TheItemBudgetComesFromTheFilesSizeAndEveryDroppedItemIsReported) {
    TempDir dir;
    std::string text = CrLf({"[Vorane2.0]", "ApStyle=T,0,400,200,0,,", "Notice=Vorane2.0"});
    for (int j = 1; j <= 100; ++j) text += "I0-" + std::to_string(j) + "=Item " + std::to_string(j) + "\r\n";
    text += "Misc=1,100,-0,\r\n";
    CAppletParameters applet;
    std::vector<std::string> warnings;
    ASSERT_TRUE(LoadMenuFile(applet, dir.File("many.kst", text), "Vorane2.0", false, {}, nullptr, &warnings));
    EXPECT_EQ(ShapeOf(applet).items, 100);
    EXPECT_TRUE(warnings.empty());

    // A small file claiming a billion items keeps to its size, and says what it left out.
    CAppletParameters claimed;
    warnings.clear();
    const std::string tiny = CrLf({"[Vorane2.0]", "ApStyle=T,0,400,200,0,,", "Notice=Vorane2.0", "Misc=1,1000000000,-0,"});
    ASSERT_TRUE(LoadMenuFile(claimed, dir.File("tiny.kst", tiny), "Vorane2.0", false, {}, nullptr, &warnings));
    EXPECT_LE(static_cast<std::size_t>(ShapeOf(claimed).items), tiny.size() / 16 + 256);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("items of the menu file are left out"), std::string::npos) << warnings[0];

    // Items of a menu that no relation attaches are lost to the model: said, not hidden.
    CAppletParameters unattached;
    warnings.clear();
    const std::string orphan = CrLf({"[Vorane2.0]", "ApStyle=T,0,400,200,0,,", "Notice=Vorane2.0", "I1-1=Lost",
                                     "I1-2=Lost too", "Misc=2,0,2,-0,"});
    ASSERT_TRUE(LoadMenuFile(unattached, dir.File("orphan.kst", orphan), "Vorane2.0", false, {}, nullptr, &warnings));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("2 items", 0), 0u) << warnings[0];
}

TEST(ReceivedDocumentTest, AFailedWriteNamesTheSystemsReason) {
    // A page name that fits the file system, whose temporary name beside it does not:
    // the write fails for every user, root included.
    TempDir dir;
    const std::string page = (dir / (std::string(250, 'n') + ".htm")).string();
    CAppletParameters applet;
    MakeMenu(applet, "T", {"Home"});
    std::string error;
    EXPECT_FALSE(SaveMenuFile(applet, page, dir.Root().string(), "page", false, {}, {}, &error));
    EXPECT_EQ(error.rfind(texts::kSaveFailed, 0), 0u) << error;
    EXPECT_NE(error.find(std::strerror(ENAMETOOLONG)), std::string::npos) << error;
}
