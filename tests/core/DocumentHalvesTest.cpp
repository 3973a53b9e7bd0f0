// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "PersistTestSupport.h"
#include "base/TaskProgress.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "services/DocumentFile.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

// Open and Save split into the half a worker thread runs and the half that tells the host.

namespace {

// A saved document of a few menus beside an unsaved model that differs from it.
struct TwoDocuments {
    TempDir dir;
    std::string appDir = (dir / "app").string();
    std::string page = (dir / "site/menu.htm").string();
    std::string menuFile = (dir / "site/menu.kst").string();
    CAppletParameters saved;
    CAppletParameters open;
    RecordingHost host;

    TwoDocuments() {
        fs::create_directories(dir / "site");
        dir.File("app/trelvix.class", "class bytes");
        for (int m = 0; m < 50; ++m) AddTopMenu(saved, {"Saved", "On disk"});
        EXPECT_TRUE(SaveDocument(saved, page, appDir, host));
        AddTopMenu(open, {"Open", "In memory"});
        host.modified = true;
    }
};

bool HasTemporaryFiles(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().front() == '.') return true;
    return false;
}

// A chain of sub menus deeper than the reader keeps, in the file layout.
std::string DeepChainFile() {
    const int chain = kMaxMenuDepth + 10;
    std::string misc = "Misc=" + std::to_string(chain) + ",";
    for (int k = 0; k < chain; ++k) misc += "1,";
    misc += "-0,";
    for (int k = 0; k + 1 < chain; ++k) misc += std::to_string(k) + "-" + std::to_string(k + 1) + ",";
    std::string lines = "[Vorane2.0]\r\nNotice=Vorane2.0\r\n" + misc + "\r\n";
    for (int k = 0; k < chain; ++k) lines += "I" + std::to_string(k) + "-1=Item,,,,,,,,,1\r\n";
    return lines;
}

}  // namespace

TEST(DocumentReadTest, AReadOnAnotherThreadIsTakenInWholeWithItsWarnings) {
    TempDir dir;
    const std::string page = dir.File("deep.htm", "<html></html>");
    dir.File("deep.kst", DeepChainFile());
    CAppletParameters applet;
    AddTopMenu(applet, {"Before"});
    RecordingHost host;

    TaskProgress progress;
    DocumentRead read;
    std::thread worker([&] { read = ReadDocumentFile(page, &progress); });
    worker.join();
    EXPECT_EQ(progress.Fraction(), 1.0);
    ASSERT_TRUE(read.applet);
    // Nothing is told and nothing changes before the host's half runs.
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(applet.m_menus[0]->m_items[0]->m_label, "Before");

    ASSERT_TRUE(AcceptDocumentRead(applet, read, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("2000"), std::string::npos);
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(applet.m_menus[0]->m_items[0]->m_label, "Item");
    EXPECT_EQ(applet.m_documentFolder, fs::path(page).parent_path().lexically_normal().string());
}

TEST(DocumentReadTest, ACancelledReadTellsNothingAndKeepsTheOpenModel) {
    TwoDocuments d;
    const std::string before = DocumentText(d.open);
    TaskProgress progress;
    progress.Cancel();
    DocumentRead read = ReadDocumentFile(d.page, &progress);
    EXPECT_TRUE(read.cancelled);
    EXPECT_FALSE(read.applet);
    EXPECT_FALSE(AcceptDocumentRead(d.open, read, d.host));
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_TRUE(d.host.modified);
    EXPECT_EQ(DocumentText(d.open), before);

    // A file of the older layout, read without a look at the progress, is cancelled too.
    TempDir old;
    old.File("old.kst", "[General]\r\nm_HTMLTitle=From the old days\r\n");
    EXPECT_TRUE(ReadDocumentFile(old.File("old.htm", ""), &progress).cancelled);
}

TEST(DocumentReadTest, AFailedReadReportsItsMessageOnlyThroughTheHost) {
    TempDir dir;
    DocumentRead read = ReadDocumentFile(dir.File("plain.htm", "<html></html>"));
    EXPECT_FALSE(read.cancelled);
    EXPECT_EQ(read.error.rfind(texts::kNotSavedByKestrune, 0), 0u);
    CAppletParameters applet;
    AddTopMenu(applet, {"Keep"});
    RecordingHost host;
    EXPECT_FALSE(AcceptDocumentRead(applet, read, host));
    EXPECT_EQ(host.messages, std::vector<std::string>{read.error});
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(applet.m_menus[0]->m_items[0]->m_label, "Keep");
}

TEST(DocumentWriteTest, ACancelledSaveLeavesTheOldFilesAndTheMark) {
    TwoDocuments d;
    const std::string oldPage = ReadAll(d.page);
    const std::string oldMenu = ReadAll(d.menuFile);
    TaskProgress progress;
    progress.Cancel();
    const DocumentWrite write = WriteDocumentFiles(d.open, d.page, d.appDir, false, &progress);
    EXPECT_TRUE(write.cancelled);
    EXPECT_FALSE(write.saved);
    EXPECT_FALSE(AcceptDocumentWrite(d.open, d.page, write, d.host));
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_TRUE(d.host.modified);
    EXPECT_EQ(ReadAll(d.page), oldPage);
    EXPECT_EQ(ReadAll(d.menuFile), oldMenu);
    EXPECT_FALSE(HasTemporaryFiles(d.dir / "site"));
}

TEST(DocumentWriteTest, ASaveOnAnotherThreadWritesWhatTheHostsHalfThenConfirms) {
    TwoDocuments d;
    TaskProgress progress;
    DocumentWrite write;
    std::thread worker([&] { write = WriteDocumentFiles(d.open, d.page, d.appDir, false, &progress); });
    worker.join();
    EXPECT_TRUE(write.saved);
    EXPECT_EQ(progress.Fraction(), 1.0);
    // The files are there; the mark is the host's half's to clear.
    EXPECT_EQ(ReadAll(d.page), BuildHTML(d.open));
    EXPECT_TRUE(d.host.modified);
    EXPECT_TRUE(AcceptDocumentWrite(d.open, d.page, write, d.host));
    EXPECT_FALSE(d.host.modified);
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_FALSE(HasTemporaryFiles(d.dir / "site"));

    // A save that fails says so through the host, with the mark kept.
    RecordingHost host;
    const DocumentWrite refused = WriteDocumentFiles(d.open, (d.dir / "no/folder/menu.htm").string(), d.appDir, false);
    EXPECT_FALSE(refused.saved);
    EXPECT_FALSE(refused.cancelled);
    EXPECT_FALSE(AcceptDocumentWrite(d.open, (d.dir / "no/folder/menu.htm").string(), refused, host));
    EXPECT_EQ(host.messages, std::vector<std::string>{texts::kSaveFailed});
    EXPECT_TRUE(host.modified);
}
