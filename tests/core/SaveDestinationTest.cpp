// SPDX-License-Identifier: GPL-3.0-or-later
// What a save may replace in the page's folder, and what it reads from the document's:
// the user's own files stay, the check says beforehand what the save will say, and a
// folder swapped for a link while saves run never leads a copy outside.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "PersistTestSupport.h"
#include "output/HtmlPageBuilder.h"
#include "output/OutputTexts.h"
#include "services/DocumentFile.h"
#include "services/MenuFileWriter.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

bool Says(const std::vector<std::string>& messages, const std::string& part) {
    for (const std::string& message : messages)
        if (message.find(part) != std::string::npos) return true;
    return false;
}

const std::string kKept = std::string("photo.gif") + texts::kReportExistsOther;

struct ReceivedPhoto {
    TempDir dir;
    std::string appDir = (dir / "app").string();
    std::string page = (dir / "site/index.htm").string();
    CAppletParameters applet;
    RecordingHost host;

    explicit ReceivedPhoto(const std::string& stored = "photo.gif") {
        dir.File("recv/photo.gif", GifBytes("theirs"));
        fs::create_directories(dir / "app");
        fs::create_directories(dir / "site");
        AddTopMenu(applet, {"Home"}).m_items[0]->m_normalImage = stored;
        applet.m_documentFolder = (dir / "recv").string();
    }
    std::string Site() const { return ReadAll(dir / "site/photo.gif"); }
};

}  // namespace

TEST(SaveDestinationTest, TheUsersOwnFileOfTheSameNameIsKeptAndNamed) {
    struct Case {
        const char* site;       // site/photo.gif before the save, none when null
        bool publishedBefore;   // site/index.kst of an earlier save names photo.gif
        const char* after;      // site/photo.gif after the save
        bool kept;              // the save says it is kept
    };
    const Case cases[] = {{nullptr, false, "theirs", false},
                          {"mine", false, "mine", true},
                          {"theirs", false, "theirs", false},
                          {"older", true, "theirs", false}};
    for (const Case& c : cases) {
        ReceivedPhoto d;
        if (c.publishedBefore) {
            CAppletParameters earlier;
            AddTopMenu(earlier, {"Old"}).m_items[0]->m_normalImage = "/elsewhere/PHOTO.GIF";
            ASSERT_TRUE(SaveDocument(earlier, d.page, d.appDir, d.host));
        }
        if (c.site) d.dir.File("site/photo.gif", GifBytes(c.site));
        ASSERT_TRUE(SaveDocument(d.applet, d.page, d.appDir, d.host)) << (d.host.messages.empty() ? "" : d.host.messages.back());
        EXPECT_EQ(d.Site(), GifBytes(c.after)) << (c.site ? c.site : "none");
        EXPECT_EQ(Says(d.host.messages, kKept), c.kept) << (c.site ? c.site : "none");
    }
}

TEST(SaveDestinationTest, TheCheckNamesWhatASaveIntoTheFolderWouldKeepOrPublishFromOutside) {
    ReceivedPhoto d;
    TempDir& dir = d.dir;
    const std::string secret = dir.File("private/secret.jpg", "\xFF\xD8\xFF\xE0 secret");
    CAppletParameters applet;
    CVorane& menu = AddTopMenu(applet, {"Photo", "Secret"});
    menu.m_items[0]->m_normalImage = (dir / "recv/photo.gif").string();
    menu.m_items[1]->m_normalImage = secret;
    applet.m_documentFolder = (dir / "site").string();
    dir.File("site/photo.gif", GifBytes("mine"));
    const std::string report = CheckParameters(applet, false, {true, d.appDir, d.page}).report;
    EXPECT_NE(report.find(kKept), std::string::npos) << report;
    EXPECT_NE(report.find(secret + texts::kReportOutsideFolders), std::string::npos) << report;
    // The save says the same.
    ASSERT_TRUE(SaveDocument(applet, d.page, d.appDir, d.host));
    EXPECT_TRUE(Says(d.host.messages, kKept));
    EXPECT_TRUE(Says(d.host.messages, secret + texts::kReportOutsideFolders));
    // Without the place the check stays as it was.
    EXPECT_EQ(CheckParameters(applet, false).report.find(kKept), std::string::npos);
}

TEST(SaveDestinationTest, AFolderSwappedForALinkWhileSavingNeverLeaksTheFileBehindIt) {
    ReceivedPhoto d("d/photo.gif");
    TempDir& dir = d.dir;
    dir.File("recv/d/photo.gif", GifBytes("public"));
    dir.File("private/photo.gif", GifBytes("secret"));
    fs::create_directory_symlink("../private", dir / "recv/link");
    // The folder and the link trade places atomically, over and over: "d" is always one of them.
    const std::string folder = (dir / "recv/d").string(), link = (dir / "recv/link").string();
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        while (!done) ::renameat2(AT_FDCWD, folder.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
    });
    int leaks = 0, copied = 0;
    for (int save = 0; save < 300; ++save) {
        d.applet.m_documentFolder = (dir / "recv").string();  // a save makes the page's folder the document's
        SaveDocument(d.applet, d.page, d.appDir, d.host);
        const std::string site = d.Site();
        leaks += site == GifBytes("secret");
        copied += site == GifBytes("public");
    }
    done = true;
    swapper.join();
    EXPECT_EQ(leaks, 0) << "of 300 saves";
    EXPECT_GT(copied, 0);
}

TEST(SaveDestinationTest, TheOpenRepairReplacesOnlyThePagesOwnFile) {
    for (const char* linkTarget : {"index.kst", "notes.txt"}) {
        TempDir dir;
        const std::string page = (dir / "index.htm").string();
        CAppletParameters applet;
        AddTopMenu(applet, {"Home"});
        RecordingHost host;
        ASSERT_TRUE(SaveDocument(applet, page, "", host));
        dir.File("notes.txt", "the user's notes");
        const std::string linked = ReadAll(dir / linkTarget);
        fs::remove(page);
        fs::create_symlink(linkTarget, page);
        // A save of this menu cut off before its page's rename.
        dir.File(".index.htm.tmp0123456789ab", BuildPage(applet));
        DocumentRead read = ReadDocumentFile(page, nullptr, FolderRepair::CompleteInterruptedSave);
        EXPECT_EQ(ReadAll(dir / linkTarget), linked) << linkTarget;
        EXPECT_TRUE(fs::is_symlink(page)) << linkTarget;
    }
}
