// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "ModelGenerator.h"
#include "model/AppletParameters.h"
#include "model/Vorane.h"

using namespace kestrune;

namespace {

// A whole copy of the model, as a save that wrote from a snapshot would take on the
// program's thread before handing the snapshot to its worker.
void BM_SnapshotModel(benchmark::State& state) {
    CAppletParameters applet;
    bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::unique_ptr<CVorane>> copy;
        copy.reserve(applet.m_menus.size());
        for (const auto& menu : applet.m_menus) copy.push_back(std::make_unique<CVorane>(*menu));
        benchmark::DoNotOptimize(copy.data());
        state.PauseTiming();
        copy.clear();  // freeing is not part of the snapshot
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_SnapshotModel)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
