// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are not what they claim: pipes, devices, links, huge or sparse files, odd
// line ends, saves cut off half way. Nothing hangs, nothing aborts, nothing is lost.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "FailingRename.h"
#include "PersistTestSupport.h"
#include "output/ParameterReader.h"
#include "base/SafeFile.h"
#include "services/DocumentFile.h"
#include "base/FileAccess.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "services/MenuFileWriter.h"
#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;
using namespace kestrune::test;
namespace fs = std::filesystem;

namespace {

// How far the peak memory of a child process running work rises above what it held when
// it started, in bytes; -1 when the child did not finish.
long PeakGrowth(const std::function<void()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        work();
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        const long growth = (after.ru_maxrss - before.ru_maxrss) * 1024;
        (void)!::write(channel[1], &growth, sizeof growth);
        ::_exit(0);
    }
    ::close(channel[1]);
    long growth = -1;
    if (::read(channel[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? growth : -1;
}

std::string SparseFile(const TempDir& dir, const std::string& name, off_t size) {
    const std::string path = dir.File(name, "[Vorane2.0]\r\nNotice=Vorane2.0\r\n");
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    return path;
}

std::string MakeFifo(const TempDir& dir, const std::string& name) {
    const fs::path path = dir / name;
    fs::create_directories(path.parent_path());
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path.string();
}

std::string SavedMenuText() {
    CAppletParameters applet;
    CVorane& menu = AddTopMenu(applet, {"One", "Two", "Three"});
    AddItems(ItemAt(menu, 1).SubMenu(), {"Below"});
    return DocumentText(applet);
}

}  // namespace

TEST(UntrustedFilesTest, HugeAndSparseFilesAreRefusedBeforeTheyAreRead) {
    TempDir dir;
    const std::string huge = SparseFile(dir, "site/huge.kst", off_t{1} << 40);
    CAppletParameters applet;
    std::string error;
    EXPECT_FALSE(LoadMenuFile(applet, huge, "Vorane2.0", false, "", &error));
    EXPECT_NE(error.find("is larger than 1 GB"), std::string::npos) << error;

    RecordingHost host;
    AddTopMenu(applet, {"kept"});
    EXPECT_FALSE(OpenDocument(applet, huge, host));
    ASSERT_EQ(applet.m_menus.size(), 1u);  // the open document stays
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("larger than 1 GB"), std::string::npos);

    // A template file of a terabyte: no template, and a reason.
    SparseFile(dir, "app/Kestrune.tpl", off_t{1} << 40);
    MemorySettingsStore settings;
    CTemplateStore store(settings, (dir / "app").string());
    store.SeedTemplateList();
    EXPECT_FALSE(store.LoadTemplate(applet, 0, &error));
    EXPECT_NE(error.find("larger than 1 GB"), std::string::npos);
    EXPECT_TRUE(applet.m_menus.empty());
}

TEST(UntrustedFilesTest, PipesAndDevicesAreRefusedWithoutWaiting) {
    TempDir dir;
    const std::string pipe = MakeFifo(dir, "site/menu.htm");
    RecordingHost host;
    CAppletParameters applet;
    EXPECT_FALSE(OpenDocument(applet, pipe, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("is not a regular file"), std::string::npos);

    const std::string menuPipe = MakeFifo(dir, "other/menu.kst");
    std::string error;
    EXPECT_FALSE(LoadMenuFile(applet, menuPipe, "Vorane2.0", false, "", &error));
    EXPECT_NE(error.find("is not a regular file"), std::string::npos);
    std::string content;
    EXPECT_EQ(ReadRegularFile("/dev/zero", 1000, content), FileCheck::NotRegular);
    EXPECT_EQ(ReadRegularFile(dir / "missing", 1000, content), FileCheck::Missing);
}

TEST(UntrustedFilesTest, WritesNeverReplaceDevicesPipesFoldersOrFilesBehindFarLinks) {
    TempDir dir;
    const std::string pipe = MakeFifo(dir, "site/pipe.htm");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(pipe, "page", &error));
    EXPECT_NE(error.find("is not a regular file"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(pipe));

    // Saving onto a device: refused before anything is copied or written.
    RecordingHost host;
    CAppletParameters applet;
    AddTopMenu(applet, {"x"});
    const std::string secret = dir.File("elsewhere/secret.txt", "secret");
    fs::create_symlink(secret, dir / "site/menu.htm");
    dir.File("app/trelvix.class", "class");
    EXPECT_FALSE(SaveDocument(applet, (dir / "site/menu.htm").string(), (dir / "app").string(), host));
    EXPECT_EQ(ReadAll(secret), "secret");
    EXPECT_FALSE(fs::exists(dir / "site/trelvix.class"));
    EXPECT_FALSE(fs::exists(dir / "site/menu.kst"));
    if (::geteuid() == 0) {  // only root may write where devices live
        EXPECT_FALSE(WriteFileAtomically("/dev/null", "x", &error));
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
}

TEST(UntrustedFilesTest, AFailedSaveCopiesNothingAndLeavesNoTemporaryFiles) {
    TempDir dir;
    dir.File("app/trelvix.class", "class");
    CAppletParameters applet;
    AddTopMenu(applet, {"x"}).m_items[0]->m_normalImage = dir.File("art/a.gif");
    RecordingHost host;
    fs::create_directories(dir / "site/page.htm");  // DEST is a folder
    EXPECT_FALSE(SaveDocument(applet, (dir / "site/page.htm").string(), (dir / "app").string(), host));
    EXPECT_FALSE(SaveDocument(applet, "", (dir / "app").string(), host));
    EXPECT_FALSE(SaveDocument(applet, (dir / "site/").string(), (dir / "app").string(), host));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir / "site")) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"page.htm"});

    // A menu file that cannot be replaced makes the page stay as it was, without litter.
    dir.File("full/menu.htm", "old page");
    fs::create_directories(dir / "full/menu.kst");
    EXPECT_FALSE(SaveDocument(applet, (dir / "full/menu.htm").string(), (dir / "app").string(), host));
    EXPECT_EQ(ReadAll(dir / "full/menu.htm"), "old page");
    left.clear();
    for (const auto& entry : fs::directory_iterator(dir / "full")) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"menu.htm", "menu.kst"}));
}

namespace {
// Open as the editor opens: a save cut off between its renames is completed.
bool OpenRepairing(CAppletParameters& applet, const std::string& page, IDocumentHost& host) {
    DocumentRead read = ReadDocumentFile(page, nullptr, FolderRepair::CompleteInterruptedSave);
    return AcceptDocumentRead(applet, read, host);
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A site holding an older document's pair, as the saves and opens below find it.
struct OlderSite {
    TempDir dir;
    std::string appDir = (dir / "app").string();
    std::string page = (dir / "site/menu.htm").string();
    RecordingHost host;
    CAppletParameters older;
    std::string olderPage;

    // withRuntime: the program folder ships the runtime and the class file, and the save
    // writes the runtime too.
    bool Save(bool withRuntime = false) {
        if (withRuntime) {
            dir.File("app/trelvix.class", "class");
            dir.File("app/kestrune-menu.js", "// runtime");
        }
        fs::create_directories(dir / "site");
        AddTopMenu(older, {"Old"});
        if (!SaveDocument(older, page, appDir, host, withRuntime)) return false;
        olderPage = ReadAll(page);
        return true;
    }
};
}  // namespace

TEST(UntrustedFilesTest, AFolderLeftByASaveCutOffBetweenItsRenamesReopensAsTheNewerPair) {
    OlderSite site;
    ASSERT_TRUE(site.Save());
    auto& [dir, appDir, page, host, older, olderPage] = site;

    // The newer save got as far as both temporary files and the menu file's rename.
    CAppletParameters newer;
    AddTopMenu(newer, {"New", "Items"});
    newer.m_documentFolder = older.m_documentFolder;
    const std::string newerPage = BuildHTML(newer);
    PendingFile pagePending;
    ASSERT_TRUE(pagePending.Write(page, newerPage, nullptr));
    const std::string leftOver = pagePending.Temporary().string();
    ASSERT_TRUE(WriteFileAtomically((dir / "site/menu.kst").string(), DocumentText(newer)));
    // The process dies here: its temporary page stays on disk.
    ASSERT_EQ(::link(leftOver.c_str(), (leftOver + "-kept").c_str()), 0);
    pagePending.Discard();
    ASSERT_EQ(::rename((leftOver + "-kept").c_str(), leftOver.c_str()), 0);
    ASSERT_EQ(ReadAll(page), olderPage);

    CAppletParameters reopened;
    ASSERT_TRUE(OpenRepairing(reopened, page, host));
    EXPECT_EQ(ReadAll(page), newerPage);
    EXPECT_EQ(BuildHTML(reopened), newerPage);
    EXPECT_FALSE(fs::exists(leftOver));

    // Cut off before the menu file's rename: the older pair is still whole and stays.
    CAppletParameters third;
    AddTopMenu(third, {"Third"});
    PendingFile unfinished;
    ASSERT_TRUE(unfinished.Write(page, BuildHTML(third), nullptr));
    CAppletParameters again;
    ASSERT_TRUE(OpenRepairing(again, page, host));
    EXPECT_EQ(ReadAll(page), newerPage);
    EXPECT_EQ(BuildHTML(again), newerPage);
}

TEST(UntrustedFilesTest, ASaveWhoseRenamesFailLeavesTheOldPairAndNoTemporaryFile) {
    OlderSite site;
    ASSERT_TRUE(site.Save(true));
    auto& [dir, appDir, page, host, older, olderPage] = site;
    const std::string olderMenu = ReadAll(dir / "site/menu.kst");
    const std::vector<std::string> olderFiles = FilesIn(dir / "site");

    CAppletParameters newer;
    AddTopMenu(newer, {"New", "Items"});
    host.modified = true;
    // The menu file's rename fails after the runtime's went through; then the first
    // rename of all fails, with every temporary file written.
    for (const char* refused : {"menu.kst", "kestrune-menu.js"}) {
        FailingRename failing(refused);
        EXPECT_FALSE(SaveDocument(newer, page, appDir, host, true)) << refused;
        EXPECT_EQ(ReadAll(page), olderPage) << refused;
        EXPECT_EQ(ReadAll(dir / "site/menu.kst"), olderMenu) << refused;
        EXPECT_EQ(FilesIn(dir / "site"), olderFiles) << refused;
    }
    EXPECT_TRUE(host.modified);
}

TEST(UntrustedFilesTest, ALeftoverPageThatIsNotTheMenuFilesPageNeverReplacesThePage) {
    OlderSite site;
    ASSERT_TRUE(site.Save());
    auto& [dir, appDir, page, host, older, olderPage] = site;

    // The menu file is newer than the page, as after a save cut off between its renames.
    const auto newer = [&](const std::string& title, const char* label) {
        auto applet = std::make_unique<CAppletParameters>();
        AddTopMenu(*applet, {"New", label});
        applet->m_HTMLTitle = title;
        applet->m_documentFolder = older.m_documentFolder;
        return applet;
    };
    ASSERT_TRUE(WriteFileAtomically((dir / "site/menu.kst").string(), DocumentText(*newer("Newer", "Items"))));
    // Leftovers of other saves: the same title over other menus, the same menus under
    // another title.
    const std::string leftOver = (dir / "site" / (TemporaryPrefixFor(page) + "a1b2c3")).string();
    for (const auto& other : {newer("Newer", "Others"), newer("Older", "Items")}) {
        ASSERT_TRUE(WriteFileAtomically(leftOver, BuildHTML(*other)));
        CAppletParameters reopened;
        ASSERT_TRUE(OpenRepairing(reopened, page, host));
        EXPECT_EQ(reopened.m_menus[0]->m_items[1]->m_label, "Items");
        EXPECT_EQ(ReadAll(page), olderPage) << other->m_HTMLTitle;
        EXPECT_TRUE(fs::exists(leftOver));
    }
}

TEST(UntrustedFilesTest, LinesEndInCrLfLfOrALoneCr) {
    const std::string crlf = SavedMenuText();
    std::string lf;
    std::string cr;
    for (char c : crlf) {
        if (c != '\r') lf += c;
        if (c != '\n') cr += c;
    }
    for (const std::string* text : {&lf, &cr}) {
        CAppletParameters applet;
        LoadMenuTable(applet, TableOf(*text), "Vorane2.0", false, "");
        EXPECT_EQ(DocumentText(applet), crlf);
    }
    std::vector<std::string> lines;
    ForEachLine("a\rb\r\nc\n\rd", [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "", "d"}));
}

TEST(UntrustedFilesTest, AFileWithTextButNoMenuIsReportedNotOpenedEmpty) {
    TempDir dir;
    dir.File("site/menu.htm", "<html></html>");
    const std::string text = dir.File("site/menu.kst", "Just some notes\r\nthat are not a menu.\r\n");
    RecordingHost host;
    CAppletParameters applet;
    AddTopMenu(applet, {"kept"});
    EXPECT_FALSE(OpenDocument(applet, (dir / "site/menu.htm").string(), host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("holds text but no menu"), std::string::npos);
    EXPECT_EQ(applet.m_menus.size(), 1u);
    EXPECT_EQ(ReadAll(text), "Just some notes\r\nthat are not a menu.\r\n");
}

TEST(UntrustedFilesTest, MemoryStaysWithinFiftyTimesTheInput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator keeps freed memory and pads every block";
#endif
    // "Misc" claims two thousand million items and backs them with commas.
    std::string commas = "[Vorane2.0]\r\nNotice=Vorane2.0\r\nMisc=1,2000000000,-0" + std::string(3000000, ',') + "\r\n";
    const long commasGrowth = PeakGrowth([&] {
        CAppletParameters applet;
        LoadMenuTable(applet, TableOf(commas), "Vorane2.0", false, "");
    });
    ASSERT_GT(commasGrowth, 0);
    EXPECT_LT(commasGrowth, 50L * static_cast<long>(commas.size())) << commasGrowth;

    // One line just under the size limit.
    const std::string line = "[Vorane2.0]\r\nNotice=Vorane2.0\r\nI0-1=" + std::string(30u << 20, 'x');
    const long lineGrowth = PeakGrowth([&] {
        CAppletParameters applet;
        LoadMenuTable(applet, TableOf(line), "Vorane2.0", false, "");
    });
    ASSERT_GT(lineGrowth, 0);
    EXPECT_LT(lineGrowth, 50L * static_cast<long>(line.size())) << lineGrowth;

    // Many short item lines in the older layout.
    std::string legacy = "[Menu Relation]\r\nRelation=1,90000000,\r\n[Item]\r\n";
    for (int i = 0; i < 200000; ++i) legacy += std::to_string(i) + "\r\n";
    const long legacyGrowth = PeakGrowth([&] {
        CAppletParameters applet;
        LoadMenuTable(applet, TableOf(legacy), "Vorane2.0", false, "");
    });
    ASSERT_GT(legacyGrowth, 0);
    EXPECT_LT(legacyGrowth, 50L * static_cast<long>(legacy.size())) << legacyGrowth;
}

TEST(UntrustedFilesTest, ThePageReaderKeepsItsMemoryProportionalToThePage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator keeps freed memory and pads every block";
#endif
    constexpr long kLimit = 200L << 20;
    // A value made of quotes, each followed by what reads as another attribute.
    const long quotes = PeakGrowth([] {
        std::string page = "<param name=\"ApStyle\" value=\"";
        page.reserve(64u << 20);
        while (page.size() + 8 < (64u << 20)) page += "\" name=";
        ReadAppletParameters(page);
    });
    ASSERT_GT(quotes, 0);
    EXPECT_LT(quotes, kLimit) << quotes;

    // Millions of item lines, each a whole item in memory: taken only as far as a page of
    // this size that the program wrote could carry them (which admits every such page).
    const long items = PeakGrowth([] {
        std::string page = "<param name=ApStyle value=\"000000,,,0,0,0,\">\n"
                           "<param name=MStyle-0 value=\"000000,01,0,0,0,0,80,20,5,1\">\n"
                           "<param name=IStyle-0 value=\"";
        for (int i = 0; i < 3; ++i) page += "000000,000000,111,0,0,9,0,00,0,0,,,";
        page += "\">\n<param name=Misc value=\"1,3000000,-0,\">\n";
        page.reserve(64u << 20);
        for (int j = 0; page.size() + 32 < (64u << 20); ++j) page += "<param name=I0-" + std::to_string(j) + ">\n";
        ReadAppletParameters(page);
    });
    ASSERT_GT(items, 0);
    EXPECT_LT(items, 20L * (64L << 20)) << items;
}
