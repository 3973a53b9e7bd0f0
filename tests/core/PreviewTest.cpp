// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "services/KnownBrowsers.h"
#include "services/PreviewBrowserSetting.h"
#include "services/PreviewFolder.h"
#include "services/PreviewLaunch.h"
#include "services/PreviewWriter.h"
#include "output/HtmlPageBuilder.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"

using namespace kestrune;
namespace fs = std::filesystem;

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = fs::temp_directory_path() / (std::string("kestrune-preview-") + info->name());
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    const fs::path& Path() const { return m_path; }
    std::string Str() const { return m_path.string(); }

private:
    fs::path m_path;
};

void WriteFile(const fs::path& path, const std::string& text = "x", bool executable = false) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
    if (executable) fs::permissions(path, fs::perms::owner_exec, fs::perm_options::add);
}

class FakeRegistry : public IRegistryReader {
public:
    std::map<std::tuple<RegistryHive, std::string, std::string>, std::string> values;
    std::string ReadValue(RegistryHive hive, const std::string& key, const std::string& name) const override {
        auto found = values.find({hive, key, name});
        return found == values.end() ? std::string() : found->second;
    }
};

const char* const kNavigatorKey = "SOFTWARE\\Netscape\\Netscape Navigator";

std::vector<std::string> Names(const KnownBrowserList& list) {
    std::vector<std::string> names;
    for (const auto& browser : list) names.push_back(browser.name);
    return names;
}

}  // namespace

TEST(KnownBrowsersTest, RegistryProbesKeepTheirNamesOrderAndPathRules) {
    FakeRegistry registry;
    registry.values[{RegistryHive::LocalMachine,
                     "SOFTWARE\\Microsoft\\windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE", ""}] = "C:\\IE\\iexplore.exe";
    registry.values[{RegistryHive::LocalMachine, kNavigatorKey, "CurrentVersion"}] = "4.7";
    registry.values[{RegistryHive::CurrentUser, std::string(kNavigatorKey) + "\\Main", "Install Directory"}] = "D:\\NS3";

    KnownBrowserList list = BuildKnownBrowserList(RegistryBrowserProbes(registry));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Internet Explorer", "Netscape Communicator 4",
                                                      "Netscape Navigator 3"}));
    EXPECT_EQ(list[0].path, "C:\\IE\\iexplore.exe");
    // A version without an install folder still lists the browser, with the bare suffix.
    EXPECT_EQ(list[1].path, "\\Program\\Netscape.exe");
    EXPECT_EQ(list[2].path, "D:\\NS3\\Program\\Netscape.exe");

    registry.values[{RegistryHive::LocalMachine, std::string(kNavigatorKey) + "\\4.7\\Main", "Install Directory"}] =
        "C:\\NS4";
    EXPECT_EQ(BuildKnownBrowserList(RegistryBrowserProbes(registry))[1].path, "C:\\NS4\\Program\\Netscape.exe");
}

TEST(KnownBrowsersTest, NoRegistryFindsNothingAndProbesWithoutPathAreLeftOut) {
    EXPECT_TRUE(BuildKnownBrowserList(RegistryBrowserProbes(NoRegistry())).empty());
    FakeRegistry onlyNavigator3;
    onlyNavigator3.values[{RegistryHive::CurrentUser, std::string(kNavigatorKey) + "\\Main", "Install Directory"}] = "E:";
    EXPECT_EQ(Names(BuildKnownBrowserList(RegistryBrowserProbes(onlyNavigator3))),
              (std::vector<std::string>{"Netscape Navigator 3"}));
}

TEST(KnownBrowsersTest, SearchPathFindsOnlyExecutableFilesInAbsoluteFolders) {
    ScratchFolder scratch;
    const fs::path first = scratch.Path() / "first";
    const fs::path second = scratch.Path() / "second";
    WriteFile(first / "firefox", "not runnable");           // no execute bit
    fs::create_directories(first / "falkon");              // a folder, not a program
    WriteFile(second / "firefox-esr", "#!/bin/sh\n", true);
    WriteFile(second / "chromium", "#!/bin/sh\n", true);
    WriteFile(first / "chromium", "#!/bin/sh\n", true);     // earlier folder wins
    fs::create_directories(scratch.Path() / "rel");
    WriteFile(scratch.Path() / "rel" / "konqueror", "#!/bin/sh\n", true);

    const fs::path savedCwd = fs::current_path();
    fs::current_path(scratch.Path());
    const std::string searchPath = "::" + first.string() + ":rel:" + second.string() + ":";
    KnownBrowserList list = BuildKnownBrowserList(SearchPathBrowserProbes(searchPath));
    fs::current_path(savedCwd);

    EXPECT_EQ(Names(list), (std::vector<std::string>{"Firefox", "Chromium"}));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, (second / "firefox-esr").string());
    EXPECT_EQ(list[1].path, (first / "chromium").string());
    EXPECT_EQ(FindOnSearchPath("../second/chromium", first.string()), "");
}

TEST(KnownBrowsersTest, StandardListPutsRegistryBrowsersBeforeSearchPathOnes) {
    ScratchFolder scratch;
    WriteFile(scratch.Path() / "epiphany-browser", "#!/bin/sh\n", true);
    WriteFile(scratch.Path() / "google-chrome", "#!/bin/sh\n", true);
    FakeRegistry registry;
    registry.values[{RegistryHive::LocalMachine, kNavigatorKey, "CurrentVersion"}] = "4";
    EXPECT_EQ(Names(BuildKnownBrowserList(registry, scratch.Str())),
              (std::vector<std::string>{"Netscape Communicator 4", "Google Chrome", "Epiphany"}));
}

TEST(PreviewLaunchTest, DefaultModeOpensThePageWithItsDefaultProgram) {
    const KnownBrowserList known{{"/usr/bin/firefox", "Firefox"}};
    BrowserChoice choice;  // mode 1
    choice.path = "/opt/appletviewer";
    EXPECT_EQ(PlanPreviewLaunch(choice, known, "/opt/kes"),
              (LaunchRequest{LaunchRequest::OpenDocument, "/opt/kes/tmp/~Kestrune.htm", "", ""}));
    EXPECT_EQ(PlanSampleLaunch(choice, known, "/opt/kes"),
              (LaunchRequest{LaunchRequest::OpenDocument, "/opt/kes/Sample/Samples.html", "", ""}));
}

TEST(PreviewLaunchTest, SpecifiedProgramGetsTheFullPageAsOneArgument) {
    BrowserChoice choice{BrowserChoice::kSpecified, "/home/u/My Browsers/Fox", 5};
    EXPECT_EQ(PlanPreviewLaunch(choice, {}, "/home/u/Kes trune"),
              (LaunchRequest{LaunchRequest::StartProgram, "/home/u/My Browsers/Fox",
                             "/home/u/Kes trune/tmp/~Kestrune.htm", ""}));
}

TEST(PreviewLaunchTest, AppletViewerInAnyCaseStartsInsideThePreviewFolder) {
    for (const char* viewer : {"/jdk/bin/appletviewer", "/JDK/BIN/AppletViewer.EXE", "/x/myAPPLETviewer2"}) {
        BrowserChoice choice{BrowserChoice::kSpecified, viewer, 0};
        EXPECT_EQ(PlanPreviewLaunch(choice, {}, "/opt/kes"),
                  (LaunchRequest{LaunchRequest::StartProgram, viewer, "~Kestrune.htm", "/opt/kes/tmp"}))
            << viewer;
        // View Sample has no applet-viewer rule.
        EXPECT_EQ(PlanSampleLaunch(choice, {}, "/opt/kes"),
                  (LaunchRequest{LaunchRequest::StartProgram, viewer, "/opt/kes/Sample/Samples.html", ""}));
    }
    EXPECT_FALSE(IsAppletViewer("/usr/bin/applet-viewer"));
}

TEST(PreviewLaunchTest, KnownBrowserIsTakenFromTheListOnlyInsideItsBounds) {
    const KnownBrowserList known{{"/usr/bin/firefox", "Firefox"}, {"/usr/bin/chromium", "Chromium"}};
    const LaunchRequest chromium{LaunchRequest::StartProgram, "/usr/bin/chromium", "/k/tmp/~Kestrune.htm", ""};
    EXPECT_EQ(PlanPreviewLaunch({BrowserChoice::kKnown, "", 1}, known, "/k"), chromium);
    EXPECT_EQ(PlanPreviewLaunch({-3, "", 1}, known, "/k"), chromium);  // any other mode means known
    const LaunchRequest fallback{LaunchRequest::OpenDocument, "/k/tmp/~Kestrune.htm", "", ""};
    EXPECT_EQ(PlanPreviewLaunch({BrowserChoice::kKnown, "", 2}, known, "/k"), fallback);
    EXPECT_EQ(PlanPreviewLaunch({BrowserChoice::kKnown, "", -1}, known, "/k"), fallback);
    EXPECT_EQ(PlanPreviewLaunch({BrowserChoice::kKnown, "", 0}, {}, "/k"), fallback);
    EXPECT_EQ(PlanSampleLaunch({BrowserChoice::kKnown, "", 9}, known, "/k").kind, LaunchRequest::OpenDocument);
    // A specified choice without a program cannot start anything: the default program opens it.
    EXPECT_EQ(PlanPreviewLaunch({BrowserChoice::kSpecified, "", 0}, known, "/k"), fallback);
}

TEST(PreviewFolderTest, CleanDeletesOnlyTheFilesThisRunWroteAndAFolderItMade) {
    ScratchFolder scratch;
    const std::string appDir = scratch.Str();
    PreviewWrites writes;
    EXPECT_EQ(CleanPreviewFolder(appDir, writes), 0);  // no tmp: nothing to do, no failure
    ASSERT_EQ(CreatePreviewFolder(appDir, &writes), 1);
    EXPECT_TRUE(writes.createdFolder);
    EXPECT_EQ(CreatePreviewFolder(appDir), 1);  // existing folder is reused
    const fs::path tmp = PreviewFolder(appDir);
    WriteFile(tmp / "~Kestrune.htm");
    WriteFile(tmp / "~Kestrune.kst");
    WriteFile(tmp / "unexpected");
    WriteFile(tmp / "keep" / "inner.gif");
    WriteFile(scratch.Path() / "Kestrune.tpl");
    writes.files = {"~Kestrune.htm", "~Kestrune.kst", "keep", "../Kestrune.tpl", "gone.gif"};

    EXPECT_EQ(CleanPreviewFolder(appDir, writes), 2);
    EXPECT_TRUE(fs::exists(tmp / "keep" / "inner.gif"));
    EXPECT_TRUE(fs::exists(tmp / "unexpected"));  // not ours: it stays, and so does the folder
    EXPECT_FALSE(fs::exists(tmp / "~Kestrune.htm"));
    EXPECT_TRUE(fs::exists(scratch.Path() / "Kestrune.tpl"));

    fs::remove_all(tmp / "keep");
    fs::remove(tmp / "unexpected");
    WriteFile(tmp / "trelvix.class");
    EXPECT_EQ(CleanPreviewFolder(appDir + "/", PreviewWrites{{"trelvix.class"}, true}), 1);
    EXPECT_FALSE(fs::exists(tmp));
    EXPECT_TRUE(fs::exists(scratch.Path() / "Kestrune.tpl"));
}

TEST(PreviewFolderTest, CleanRefusesUnsafeFoldersAndNeverFollowsLinks) {
    EXPECT_FALSE(IsSafeProgramFolder(""));
    EXPECT_FALSE(IsSafeProgramFolder("/"));
    EXPECT_FALSE(IsSafeProgramFolder("//"));
    EXPECT_FALSE(IsSafeProgramFolder("/usr/.."));
    EXPECT_TRUE(IsSafeProgramFolder("/usr"));
    const PreviewWrites ours{{"~Kestrune.htm", "letter.txt", "link.gif", "dirlink"}, true};
    EXPECT_EQ(CleanPreviewFolder("", ours), 0);
    EXPECT_EQ(CleanPreviewFolder("/", ours), 0);

    ScratchFolder scratch;
    const fs::path precious = scratch.Path() / "precious";
    WriteFile(precious / "letter.txt");
    WriteFile(scratch.Path() / "outside.gif");
    const fs::path app = scratch.Path() / "app";
    fs::create_directories(app);
    // tmp that is a link to some other folder: that folder's files are not ours.
    fs::create_directory_symlink(precious, app / "tmp");
    EXPECT_EQ(CleanPreviewFolder(app.string(), ours), 0);
    EXPECT_TRUE(fs::exists(precious / "letter.txt"));

    // A program folder that is a link to the root: its "tmp" is the system's, and even a
    // file named like one of ours that this run did not write there stays.
    const fs::path rootLink = scratch.Path() / "rootlink";
    fs::create_directory_symlink("/", rootLink);
    EXPECT_FALSE(IsSafeProgramFolder(rootLink.string()));
    EXPECT_EQ(CleanPreviewFolder(rootLink.string(), ours), 0);

    fs::remove(app / "tmp");
    fs::create_directories(app / "tmp");
    fs::create_symlink(scratch.Path() / "outside.gif", app / "tmp" / "link.gif");
    fs::create_directory_symlink(precious, app / "tmp" / "dirlink");
    EXPECT_EQ(CleanPreviewFolder(app.string(), ours), 0);  // links are never followed nor removed
    EXPECT_TRUE(fs::exists(scratch.Path() / "outside.gif"));
    EXPECT_TRUE(fs::exists(precious / "letter.txt"));
    EXPECT_TRUE(fs::is_symlink(app / "tmp" / "link.gif"));
}

namespace {
class RecordingSettings : public MemorySettingsStore {
public:
    mutable std::vector<std::string> writes;
    void SetString(const std::string& s, const std::string& k, const std::string& v) override {
        writes.push_back(k);
        MemorySettingsStore::SetString(s, k, v);
    }
    void SetInt(const std::string& s, const std::string& k, int v) override {
        writes.push_back(k);
        MemorySettingsStore::SetInt(s, k, v);
    }
};
}  // namespace

TEST(BrowserSettingTest, DefaultsAndWriteOrder) {
    RecordingSettings settings;
    BrowserChoice fresh = LoadBrowserChoice(settings);
    EXPECT_EQ(fresh.mode, 1);
    EXPECT_EQ(fresh.path, "");
    EXPECT_EQ(fresh.knownIndex, 0);

    StoreBrowserChoice(settings, {BrowserChoice::kKnown, "/usr/bin/falkon", -1});
    EXPECT_EQ(settings.writes, (std::vector<std::string>{"Use Default", "Specify Browser", "Known Browser"}));
    BrowserChoice loaded = LoadBrowserChoice(settings);
    EXPECT_EQ(loaded.mode, 2);
    EXPECT_EQ(loaded.path, "/usr/bin/falkon");
    EXPECT_EQ(loaded.knownIndex, -1);
    EXPECT_EQ(settings.GetInt("Web Browser", "Use Default"), 2);
}

namespace {
std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

TEST(PreviewWriterTest, WritesPageMenuFileClassFileAndMediaAndOverwritesThemNextTime) {
    ScratchFolder scratch;
    const fs::path app = scratch.Path() / "Kes trune";
    const fs::path media = scratch.Path() / "media";
    WriteFile(app / "trelvix.class", "CLASS");
    WriteFile(app / "kestrune-menu.js", "RUNTIME");
    WriteFile(media / "back.gif", "GIF89a");
    WriteFile(media / "over.jpg", "\xFF\xD8\xFF JPG");
    WriteFile(media / "click.au", ".snd AU");

    CAppletParameters applet;
    applet.m_appBKImagePath = (media / "back.gif").string();
    CVorane* menu = applet.NewTopLevelMenu();
    CVoraneItem* item = menu->InsertNewItem();
    item->m_label = "First";
    item->m_overImage = (media / "over.jpg").string();
    CVoraneItem* deep = item->m_subMenu->InsertNewItem();
    deep->m_clickAudio = (media / "click.au").string();
    deep->m_clickImage = (media / "missing.gif").string();

    std::string error;
    PreviewWrites writes;
    ASSERT_TRUE(WritePreviewFiles(applet, app.string(), &error, &writes)) << error;
    const fs::path tmp = app / "tmp";
    for (const char* name : {"~Kestrune.htm", "~Kestrune.kst", "trelvix.class", "kestrune-menu.js", "back.gif",
                             "over.jpg", "click.au"})
        EXPECT_TRUE(fs::is_regular_file(tmp / name)) << name;
    EXPECT_FALSE(fs::exists(tmp / "missing.gif"));
    // No browser runs the applet: the preview always carries the script runtime.
    EXPECT_EQ(ReadAll(tmp / "~Kestrune.htm"), BuildPage(applet, true));
    EXPECT_NE(ReadAll(tmp / "~Kestrune.htm").find("First"), std::string::npos);

    item->m_label = "Renamed";
    WriteFile(app / "trelvix.class", "CLASS2");
    ASSERT_TRUE(WritePreviewFiles(applet, app.string(), &error, &writes)) << error;
    EXPECT_NE(ReadAll(tmp / "~Kestrune.htm").find("Renamed"), std::string::npos);
    EXPECT_EQ(ReadAll(tmp / "~Kestrune.htm").find("First"), std::string::npos);
    EXPECT_EQ(ReadAll(tmp / "trelvix.class"), "CLASS2");
    EXPECT_NE(ReadAll(tmp / "~Kestrune.kst").find("Renamed"), std::string::npos);

    EXPECT_EQ(CleanPreviewFolder(app.string(), writes), 7);
    EXPECT_FALSE(fs::exists(tmp));
    EXPECT_TRUE(fs::exists(media / "back.gif"));
}

TEST(PreviewWriterTest, MissingClassFileIsIgnoredButAnUnwritableFolderFails) {
    ScratchFolder scratch;
    CAppletParameters applet;
    std::string error;
    ASSERT_TRUE(WritePreviewFiles(applet, scratch.Str(), &error)) << error;
    EXPECT_TRUE(fs::exists(scratch.Path() / "tmp" / "~Kestrune.htm"));
    EXPECT_TRUE(fs::exists(scratch.Path() / "tmp" / "~Kestrune.kst"));
    EXPECT_FALSE(fs::exists(scratch.Path() / "tmp" / "trelvix.class"));

    // "tmp" taken by a file: nothing can be written and the failure is reported.
    const fs::path other = scratch.Path() / "other";
    WriteFile(other / "tmp", "not a folder");
    EXPECT_FALSE(WritePreviewFiles(applet, other.string(), &error));
    EXPECT_EQ(error, "Save as file failed!");
    EXPECT_EQ(ReadAll(other / "tmp"), "not a folder");
}
