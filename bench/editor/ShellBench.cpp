// SPDX-License-Identifier: GPL-3.0-or-later
// The editor shell: showing the menu tree afresh after a load (costs what is on screen, not
// what the document holds) and start-up to the first shown main window, next to an empty Qt main window.
#include <QCoreApplication>
#include <QMainWindow>
#include <benchmark/benchmark.h>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "tree/KestruneView.h"

using namespace kestrune;

namespace {

// Top-level menus of 100 items, each opening a sub menu of 9 items: 1,000 items per menu.
void FillApplet(CAppletParameters& applet, int items) {
    applet.Reset();
    for (int placed = 0; placed < items;) {
        auto menu = std::make_unique<CVorane>(0, "top-level Menu");
        for (int i = 0; i < 100 && placed < items; ++i, ++placed) {
            auto item = std::make_unique<CVoraneItem>("item label");
            for (int j = 0; j < 9 && placed + 1 < items; ++j, ++placed)
                item->m_subMenu->AddItem(std::make_unique<CVoraneItem>("sub item"), 0);
            menu->AddItem(std::move(item), 0);
        }
        applet.m_menus.push_back(std::move(menu));
    }
}

// What the user waits for after a load: the tree thrown away and shown again, up to the
// first screen laid out and painted.
void BM_RebuildTree(benchmark::State& state) {
    QtDialogService dialogs;
    MemorySettingsStore settings;
    CKestruneApp app(QStringLiteral("/nonexistent"), dialogs, settings);
    CKestruneDoc doc(app);
    CKestruneView view(doc);
    FillApplet(app.m_applet, static_cast<int>(state.range(0)));
    view.resize(400, 800);
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        view.RebuildTree();
        view.viewport()->repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(view.SelectedNode());
    }
    state.SetComplexityN(state.range(0));
    state.counters["items"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_RebuildTree)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

// From the shell's construction to the main window shown with the first template loaded.
void BM_StartupToFirstShownWindow(benchmark::State& state) {
    QtDialogService dialogs;
    const QString appDir = QCoreApplication::applicationDirPath();
    for (auto _ : state) {
        MemorySettingsStore settings;
        CEditorShell shell(appDir, dialogs, settings);
        if (!shell.Start()) state.SkipWithError("start failed");
        shell.Show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(shell.Frame().isVisible());
        state.PauseTiming();
        shell.Frame().hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstShownWindow)->Unit(benchmark::kMillisecond);

void BM_EmptyMainWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow window;
        window.resize(640, 480);
        window.show();
        window.repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EmptyMainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace
