// SPDX-License-Identifier: GPL-3.0-or-later
// Menu file writing and reading at 1,000 to 1,000,000 items, with media paths of every
// kind, from a file on disk as the program does it.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ModelGenerator.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "services/MenuFileWriter.h"

namespace {

using namespace kestrune;

// A folder for the written files, removed when the benchmark ends.
class ScratchFolder {
public:
    ScratchFolder() : m_path(std::filesystem::temp_directory_path() / ("kestrune-bench-persist-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    std::string Str() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

void BM_SaveMenuFile(benchmark::State& state) {
    bench::MediaFolder media;
    ScratchFolder folder;
    CAppletParameters applet;
    bench::GenerateApplet(applet, static_cast<int>(state.range(0)), &media);
    const std::string page = "<html></html>";
    for (auto _ : state) {
        if (!SaveMenuFile(applet, folder.Path("menu.htm"), folder.Str(), page, false, "", media.Folder().string()))
            state.SkipWithError("save failed");
    }
    state.SetComplexityN(state.range(0));
}

void BM_FormatMenuSection(benchmark::State& state) {
    CAppletParameters applet;
    bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
    MenuSectionForm form;
    form.section = "Vorane2.0";
    for (auto _ : state) benchmark::DoNotOptimize(FormatMenuSection(applet, form));
    state.SetComplexityN(state.range(0));
}

void BM_LoadMenuFile(benchmark::State& state) {
    bench::MediaFolder media;
    ScratchFolder folder;
    {
        CAppletParameters applet;
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)), &media);
        SaveMenuFile(applet, folder.Path("menu.htm"), folder.Str(), "", false, "", folder.Str());
    }
    const std::string menuFile = folder.Path("menu.kst");
    CAppletParameters applet;
    for (auto _ : state) {
        if (!LoadMenuFile(applet, menuFile, "Vorane2.0", false, "")) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(menuFile)));
    state.SetComplexityN(state.range(0));
}

// The same file read through its key table, as a file whose lines are not in the
// written order is read.
void BM_LoadMenuFileByTable(benchmark::State& state) {
    bench::MediaFolder media;
    ScratchFolder folder;
    {
        CAppletParameters applet;
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)), &media);
        SaveMenuFile(applet, folder.Path("menu.htm"), folder.Str(), "", false, "", folder.Str());
    }
    CAppletParameters applet;
    for (auto _ : state) {
        CKeyTable table;
        if (!ReadKeyTable(folder.Path("menu.kst"), table)) state.SkipWithError("read failed");
        LoadMenuTable(applet, table, "Vorane2.0", false, "");
    }
    state.SetComplexityN(state.range(0));
}

void BM_ReadKeyTable(benchmark::State& state) {
    ScratchFolder folder;
    {
        CAppletParameters applet;
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
        SaveMenuFile(applet, folder.Path("menu.htm"), folder.Str(), "", false, "", folder.Str());
    }
    for (auto _ : state) {
        CKeyTable table;
        ReadKeyTable(folder.Path("menu.kst"), table);
        benchmark::DoNotOptimize(table.EntryCount());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_SaveMenuFile)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_FormatMenuSection)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_LoadMenuFile)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_LoadMenuFileByTable)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadKeyTable)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();
