// SPDX-License-Identifier: GPL-3.0-or-later
// Every reader and writer at the deepest nesting a model may hold, run on a call stack far
// smaller than a thread's default: a walk whose call depth follows the nesting runs out.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "PersistTestSupport.h"
#include "model/VoraneItem.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuLayout.h"
#include "output/PageLayout.h"
#include "output/ParameterReader.h"
#include "output/AppletParameterEncoder.h"
#include "persist/InOrderMenuReader.h"
#include "persist/MenuFileReader.h"
#include "services/DocumentFile.h"
#include "services/ParameterCheck.h"

using namespace kestrune;
using namespace kestrune::test;

namespace {

constexpr std::size_t kSmallStack = 256 * 1024;

// Runs work on a thread of a small stack; exits the (forked) process with 0 when it ended
// and work said yes.
[[noreturn]] void ExitAfterSmallStackRun(const std::function<bool()>& work) {
    struct Task {
        const std::function<bool()>* work;
        bool ok = false;
    } task{&work};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kSmallStack);
    pthread_t thread;
    const auto run = [](void* argument) -> void* {
        auto* t = static_cast<Task*>(argument);
        t->ok = (*t->work)();
        return nullptr;
    };
    if (pthread_create(&thread, &attributes, run, &task) != 0) std::_Exit(2);
    pthread_join(thread, nullptr);
    std::_Exit(task.ok ? 0 : 1);
}

// A top-level menu and below it a chain of sub menus as deep as a model may nest them.
void MakeChain(CAppletParameters& applet) {
    CVorane* menu = &AddTopMenu(applet, {"Level 0"});
    for (int depth = 1; depth <= kMaxMenuDepth; ++depth) {
        CVorane& sub = menu->GetItem(0)->SubMenu();
        AddItems(sub, {"Deeper"});
        sub.m_xPos = 10;
        menu = &sub;
    }
}

MenuPath PathDownTheChain() { return MenuPath{0, std::vector<int>(kMaxMenuDepth, 0)}; }

bool SameDocument(CAppletParameters& read, const std::string& expected) {
    return ShapeOf(read).depth == kMaxMenuDepth + 1 && DocumentText(read) == expected;
}

bool HoldsCopy(std::unique_ptr<CVorane> menu, const std::string& expected) {
    CAppletParameters copy;
    copy.AddTopLevelMenu(std::move(menu), 0);
    return SameDocument(copy, expected);
}

struct Walk {
    const char* name;
    std::function<bool(CAppletParameters& chain, const std::string& text, const TempDir& dir)> run;
};

const Walk kWalks[] = {
    {"menu copy and destruction",
     [](CAppletParameters& chain, const std::string& text, const TempDir&) {
         return HoldsCopy(std::make_unique<CVorane>(*chain.m_menus[0]), text);
     }},
    {"item copy",
     [](CAppletParameters& chain, const std::string& text, const TempDir&) {
         auto menu = std::make_unique<CVorane>(0);
         menu->CopyStyle(*chain.m_menus[0]);
         menu->InsertCopy(chain.m_menus[0]->GetItem(0));
         return HoldsCopy(std::move(menu), text);
     }},
    {"menu assignment",
     [](CAppletParameters& chain, const std::string& text, const TempDir&) {
         auto menu = std::make_unique<CVorane>(3);
         menu->Assign(*chain.m_menus[0]);
         return HoldsCopy(std::move(menu), text);
     }},
    {"clipboard record",
     [](CAppletParameters& chain, const std::string& text, const TempDir&) {
         const std::vector<std::uint8_t> record = WriteItemRecord(*chain.m_menus[0]->GetItem(0));
         auto menu = std::make_unique<CVorane>(0);
         menu->CopyStyle(*chain.m_menus[0]);
         menu->AddItem(ReadItemRecord(record.data(), record.size()), 0);
         return HoldsCopy(std::move(menu), text);
     }},
    {"menu file read in order",
     [](CAppletParameters&, const std::string& text, const TempDir&) {
         CAppletParameters read;
         return ReadMenuTextInOrder(read, text, "Vorane2.0", nullptr) == InOrderRead::Done &&
                SameDocument(read, text);
     }},
    {"menu file read through the key table",
     [](CAppletParameters&, const std::string& text, const TempDir&) {
         CAppletParameters read;
         LoadMenuTable(read, TableOf(text), "Vorane2.0", false, "");
         return SameDocument(read, text);
     }},
    {"page parameters and fallback list",
     [](CAppletParameters& chain, const std::string&, const TempDir&) {
         const std::string page = BuildPage(chain, true);
         const AppletReadResult read = ReadAppletParameters(page, {});
         return read.Ok() && BuildAppletParameters(*read.applet) == BuildAppletParameters(chain) &&
                page.find("<ul>\r\n<li>Deeper</li>\r\n</ul>") != std::string::npos;
     }},
    {"layout, check and --layout",
     [](CAppletParameters& chain, const std::string&, const TempDir&) {
         MenuLayout layout;
         const MenuPath open = layout.Build(chain, PathDownTheChain());
         const PageLayout page = LayOutPage(BuildPage(chain), PathDownTheChain());
         const ParameterCheckResult check = CheckParameters(chain, false);
         return open == PathDownTheChain() && layout.Menus().size() == kMaxMenuDepth + 1 &&
                page.layout.Menus().size() == kMaxMenuDepth + 1 &&
                MenuLayout::FullExtent(chain).right == check.menuBounds.right;
     }},
    {"save and open",
     [](CAppletParameters& chain, const std::string& text, const TempDir& dir) {
         RecordingHost host;
         const std::string page = (dir / "site/menu.htm").string();
         if (!SaveDocument(chain, page, (dir / "app").string(), host)) {
             for (const std::string& message : host.messages) ADD_FAILURE() << message;
             return false;
         }
         DocumentRead read = ReadDocumentFile(page);
         if (!read.applet) ADD_FAILURE() << read.error;
         return read.applet && SameDocument(*read.applet, text);
     }},
};

}  // namespace

TEST(DeepNestingTest, EveryReaderAndWriterWalksTheDeepestChainOnASmallStack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    dir.File("app/trelvix.class", "class bytes");
    std::filesystem::create_directories(dir / "site");
    CAppletParameters chain;
    MakeChain(chain);
    const std::string text = DocumentText(chain);
    for (const Walk& walk : kWalks) {
        SCOPED_TRACE(walk.name);
        // In a child process, so that a walk that overflows its stack fails only itself.
        EXPECT_EXIT(ExitAfterSmallStackRun([&] { return walk.run(chain, text, dir); }), testing::ExitedWithCode(0),
                    "");
        // The same on the default stack, where a failure is told rather than a crash.
        EXPECT_TRUE(walk.run(chain, text, dir));
    }
}
