// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing the club's menu into a site of 1,000 and 10,000 pages: the first publish adds
// the menu to every page, the second finds nothing to change. The peak memory's growth
// over the run shows whether memory grows with the number of pages.
#include <sys/resource.h>

#include <benchmark/benchmark.h>
#include <filesystem>

#include "../../tests/common/ClubSite.h"
#include "site/SitePages.h"
#include "site/SitePublish.h"

using namespace kestrune;

namespace {

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::size_t PublishAll(const CAppletParameters& applet, const std::filesystem::path& top) {
    SitePublisher publisher(applet, top);
    std::size_t written = 0;
    PublishPages(publisher, ScanSite(top, clubsite::kDocumentPage), true, [&written](const PageReport& report) {
        written += report.outcome == PageReport::Outcome::Added || report.outcome == PageReport::Outcome::Updated;
    });
    return written;
}

void BM_PublishSite(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const bool again = state.range(1) != 0;
    const std::filesystem::path top = std::filesystem::temp_directory_path() / ("kestrune-site-bench-" + std::to_string(pages));
    const long before = PeakKilobytes();
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(top);
        CAppletParameters applet;
        clubsite::WriteClubSite(top, applet, pages - 15);
        if (again) PublishAll(applet, top);
        state.ResumeTiming();
        written = PublishAll(applet, top);
    }
    std::filesystem::remove_all(top);
    state.counters["pages"] = pages;
    state.counters["written"] = static_cast<double>(written);
    state.counters["peak_growth_kb"] = static_cast<double>(PeakKilobytes() - before);
}
BENCHMARK(BM_PublishSite)
    ->ArgNames({"pages", "again"})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
