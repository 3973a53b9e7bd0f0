// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <string>

#include "ModelGenerator.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/MediaWalk.h"
#include "output/ParameterReader.h"
#include "output/OwnPageReader.h"
#include "output/ReceivedApplet.h"
#include "services/ParameterCheck.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;
using namespace kestrune::bench;

namespace {

const MediaFolder& SharedMedia() {
    static const MediaFolder media;
    return media;
}

void SetItemsProcessed(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_BuildHTML(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    for (auto _ : state) {
        std::string page = BuildHTML(applet);
        benchmark::DoNotOptimize(page.data());
    }
    SetItemsProcessed(state);
}

void BM_CheckParameters(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    for (auto _ : state) {
        ParameterCheckResult result = CheckParameters(applet, true);
        benchmark::DoNotOptimize(result.report.data());
    }
    SetItemsProcessed(state);
}

void BM_ArchiveRoundTrip(benchmark::State& state) {
    const auto tree = GenerateItemTree(static_cast<int>(state.range(0)), &SharedMedia());
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = WriteItemRecord(*tree);
        auto copy = ReadItemRecord(bytes.data(), bytes.size());
        if (!copy) state.SkipWithError("the record did not read back");
        benchmark::DoNotOptimize(copy.get());
    }
    SetItemsProcessed(state);
}

// Copy mode as a save runs it: every top-level menu through one walker into a page folder.
void BM_MediaWalkCopy(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    const std::filesystem::path page = SharedMedia().Folder() / "page";
    std::filesystem::create_directories(page);
    for (auto _ : state) {
        MediaWalker walker(MediaDestination{page, false, {}}, {});
        std::string report;
        for (const auto& menu : applet.m_menus) walker.Walk(menu.get(), report);
        benchmark::DoNotOptimize(report.data());
    }
    SetItemsProcessed(state);
}

// What the live preview pays for one edit: the label of one item changes, and the applet
// the page would give is built and read back whole.
void BM_PreviewEditRoundTrip(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    CVoraneItem& edited = *applet.m_menus.front()->m_items.front();
    int edit = 0;
    for (auto _ : state) {
        edited.m_label = "Edited " + std::to_string(edit++);
        // The model's own page, built and read back whole with its media found.
        AppletReadResult received = ReadOwnPage(applet);
        if (!received.Ok()) state.SkipWithError("the page did not read back");
        benchmark::DoNotOptimize(received.applet.get());
    }
    SetItemsProcessed(state);
}

// What the live preview pays for one edit when it follows edits locally: the received
// applet is read whole once, then each edit patches it. Edit 0: the label of one item;
// 1: one item hidden or shown again; 2: one item inserted or removed again.
void BM_PreviewEdit(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    ReceivedApplet received;
    if (received.Rebuild(applet).outcome != ReceivedApplet::Outcome::Rebuilt) state.SkipWithError("no whole read");
    CVorane& menu = *applet.m_menus.front();
    CVoraneItem& edited = *menu.m_items[1];
    const int kind = static_cast<int>(state.range(1));
    int edit = 0;
    for (auto _ : state) {
        ModelChange change;
        if (kind == 0) {
            edited.m_label = "Edited, " + std::to_string(edit);
            change = {ModelChange::PropertiesChanged, &menu, &edited};
        } else if (kind == 1) {
            edited.m_visible = edit % 2;
            change = {ModelChange::VisibilityChanged, nullptr, &edited};
        } else if (edit % 2 == 0) {
            menu.m_items.insert(menu.m_items.begin(), std::make_unique<CVoraneItem>("Inserted"));
            change = {ModelChange::ItemInserted, &menu, menu.m_items.front().get(), 0};
        } else {
            auto removed = std::move(menu.m_items.front());
            menu.m_items.erase(menu.m_items.begin());
            change = {ModelChange::ItemRemoved, &menu, removed.get(), 0};
            if (received.Apply(applet, change).outcome != ReceivedApplet::Outcome::Patched)
                state.SkipWithError("the edit was not followed locally");
            ++edit;
            continue;
        }
        ++edit;
        if (received.Apply(applet, change).outcome != ReceivedApplet::Outcome::Patched)
            state.SkipWithError("the edit was not followed locally");
    }
    state.SetComplexityN(state.range(0));
}

// The preview's whole read, on opening or when shown again: what BM_PreviewEditRoundTrip
// pays per edit, done through the received applet that then follows edits locally.
void BM_PreviewWholeRead(benchmark::State& state) {
    CAppletParameters applet;
    GenerateApplet(applet, static_cast<int>(state.range(0)), &SharedMedia());
    for (auto _ : state) {
        ReceivedApplet received;
        if (received.Rebuild(applet).outcome != ReceivedApplet::Outcome::Rebuilt) state.SkipWithError("no whole read");
        benchmark::DoNotOptimize(received.Applet());
    }
    SetItemsProcessed(state);
}

}  // namespace

BENCHMARK(BM_PreviewWholeRead)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewEdit)
    ->ArgNames({"items", "edit"})
    ->ArgsProduct({{1000, 10000, 100000, 1000000}, {0, 1, 2}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewEditRoundTrip)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_BuildHTML)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_CheckParameters)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ArchiveRoundTrip)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_MediaWalkCopy)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
