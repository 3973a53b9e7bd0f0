// SPDX-License-Identifier: GPL-3.0-or-later
// Open of a big document in the editor: the whole Open as the user waits for it, and how
// well the event loop answers while the worker reads (the longest pause between two turns
// of a 1 ms timer while the worker runs, and the turns counted meanwhile).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

#include "../core/ModelGenerator.h"
#include "app/DialogService.h"
#include "main/DocumentFlow.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "base/SettingsStore.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;

namespace {

void BM_OpenDocumentInTheEditor(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string page = folder.filePath(QStringLiteral("menu.htm")).toStdString();
    {
        CAppletParameters applet;
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
        if (!SaveMenuFile(applet, page, folder.path().toStdString(), BuildHTML(applet), false, "", "")) {
            state.SkipWithError("document not written");
            return;
        }
    }
    QtDialogService dialogs;
    MemorySettingsStore settings;
    CEditorShell shell(QCoreApplication::applicationDirPath(), dialogs, settings);
    if (!shell.Start()) state.SkipWithError("start failed");
    CDocumentFlow& flow = shell.Frame().Flow();

    double longestPause = 0;
    double turns = 0;
    QElapsedTimer sinceTurn;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (flow.IsWorking()) {
            longestPause = std::max(longestPause, static_cast<double>(sinceTurn.nsecsElapsed()) / 1e6);
            ++turns;
        }
        sinceTurn.restart();
    });
    for (auto _ : state) {
        sinceTurn.start();
        ticker.start(1);
        if (!flow.OpenDocumentFile(QString::fromStdString(page))) state.SkipWithError("open failed");
        ticker.stop();
    }
    state.counters["items"] = static_cast<double>(state.range(0));
    state.counters["longest_pause_ms"] = longestPause;
    state.counters["turns_per_open"] = turns / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OpenDocumentInTheEditor)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
