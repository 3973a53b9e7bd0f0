// SPDX-License-Identifier: GPL-3.0-or-later
// Open and Save of a big document in the shown main window: how long the user waits for
// each, and how well the event loop answers meanwhile (the longest pause between two turns
// of a 1 ms timer from the command until a moment after its end, the model swap, the
// tree's reset and the reports included), and how long the Save call itself holds the
// program's thread before its worker takes over.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <benchmark/benchmark.h>

#include "../core/ModelGenerator.h"
#include "PauseMeter.h"
#include "../../tests/editor/support/FakeDialogService.h"
#include "main/DocumentFlow.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "common/MemorySettingsStore.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"

using namespace kestrune;
using bench::PauseMeter;

namespace {

void BM_OpenAndSaveInTheEditor(benchmark::State& state) {
    QTemporaryDir folder;
    const bench::MediaFolder media;
    const std::string page = folder.filePath(QStringLiteral("menu.htm")).toStdString();
    {
        CAppletParameters applet;
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)), &media);
        if (!SaveMenuFile(applet, page, folder.path().toStdString(), BuildHTML(applet), false, "", "")) {
            state.SkipWithError("document not written");
            return;
        }
    }
    FakeDialogService dialogs;  // warnings are counted, not shown
    MemorySettingsStore settings;
    CEditorShell shell(QCoreApplication::applicationDirPath(), dialogs, settings);
    if (!shell.Start()) state.SkipWithError("start failed");
    shell.Show();
    CDocumentFlow& flow = shell.Frame().Flow();

    double openPause = 0;
    double savePause = 0;
    double openMs = 0;
    double saveMs = 0;
    double openCallMs = 0;
    double saveCallMs = 0;
    double reopenPause = 0;
    double reopenMs = 0;
    double reopenCallMs = 0;
    for (auto _ : state) {
        PauseMeter openMeter;
        const QString path = QString::fromStdString(page);
        if (!openMeter.Measure([&](const CDocumentFlow::Then& then) { flow.OpenDocumentFile(path, then); },
                               openCallMs, openMs))
            state.SkipWithError("open failed");
        openPause = openMeter.Longest();

        shell.Doc().SetModifiedFlag(true);
        PauseMeter saveMeter;
        if (!saveMeter.Measure([&](const CDocumentFlow::Then& then) { flow.Save(false, then); }, saveCallMs, saveMs))
            state.SkipWithError("save failed");
        savePause = saveMeter.Longest();

        // Opened again: now a model as big takes the open one's place.
        PauseMeter reopenMeter;
        if (!reopenMeter.Measure([&](const CDocumentFlow::Then& then) { flow.OpenDocumentFile(path, then); },
                                 reopenCallMs, reopenMs))
            state.SkipWithError("second open failed");
        reopenPause = reopenMeter.Longest();
    }
    state.counters["items"] = static_cast<double>(state.range(0));
    state.counters["open_ms"] = openMs;
    state.counters["open_longest_pause_ms"] = openPause;
    state.counters["save_ms"] = saveMs;
    state.counters["save_longest_pause_ms"] = savePause;
    state.counters["messages"] = static_cast<double>(dialogs.messages.size());
    state.counters["open_call_ms"] = openCallMs;
    state.counters["save_call_ms"] = saveCallMs;
    state.counters["reopen_ms"] = reopenMs;
    state.counters["reopen_longest_pause_ms"] = reopenPause;
}
BENCHMARK(BM_OpenAndSaveInTheEditor)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
