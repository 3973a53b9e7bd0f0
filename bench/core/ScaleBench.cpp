// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs shaped to cost the most per byte: one menu holding every item, laid out as
// `kestrune --layout` lays out a page; and a menu file whose keys all share one value of
// the standard string hash, read into the key table as `--check` and Open read it.
#include <benchmark/benchmark.h>

#include <string>

#include "../../tests/core/CollidingKeys.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/HtmlPageBuilder.h"
#include "output/PageLayout.h"
#include "persist/KeyTable.h"

using namespace kestrune;

namespace {

std::string OneMenuPage(int items) {
    CAppletParameters applet;
    applet.m_appWidth = 200;
    applet.m_appHeight = 400;
    CVorane* menu = applet.NewTopLevelMenu();
    for (int i = 0; i < items; ++i) menu->AddItem(std::make_unique<CVoraneItem>("Item " + std::to_string(i)), 0);
    return BuildPage(applet);
}

// The page's parameters read, the menus laid out and written as JSON: all `--layout`
// does between reading the file and writing its answer.
void BM_LayoutCommand_OneMenu(benchmark::State& state) {
    const std::string page = OneMenuPage(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PageLayout laidOut = LayOutPage(page, MenuPath{0, {}});
        if (!laidOut.read.Ok()) state.SkipWithError("the page was not read");
        benchmark::DoNotOptimize(laidOut.json.data());
    }
    state.counters["page_MB"] = static_cast<double>(page.size()) / 1e6;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void RunKeyTable(benchmark::State& state, bool collide) {
    const std::string text = test::FloodingMenuText(static_cast<std::size_t>(state.range(0)), collide);
    for (auto _ : state) {
        CKeyTable table;
        table.Parse(text);
        benchmark::DoNotOptimize(table.EntryCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_KeyTable_CollidingKeys(benchmark::State& state) { RunKeyTable(state, true); }
void BM_KeyTable_RandomKeys(benchmark::State& state) { RunKeyTable(state, false); }

}  // namespace

// 27,600 items make a page of about 1 MB; 441,000 about 17 MB.
BENCHMARK(BM_LayoutCommand_OneMenu)->Arg(27600)->Arg(110400)->Arg(441000)->Unit(benchmark::kMillisecond);
// Up to 16M keys: a file of about 320 MB.
BENCHMARK(BM_KeyTable_CollidingKeys)->RangeMultiplier(8)->Range(4096, 1 << 24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeyTable_RandomKeys)->RangeMultiplier(8)->Range(4096, 1 << 24)->Unit(benchmark::kMillisecond);
