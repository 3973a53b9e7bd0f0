// SPDX-License-Identifier: GPL-3.0-or-later
// Find in the main window on a big menu. The steps type "Item 12", a text found nowhere,
// then empty the line, as a user searching and giving up would. BM_FindKeystroke: what a
// key costs, painted (on a big document the tree waits for a pause in the typing);
// BM_FindFilterShown: each step's filter applied, laid out and painted, as after a pause.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "app/DialogService.h"
#include "app/KestruneDoc.h"
#include "common/MemorySettingsStore.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "tree/TreeFindBar.h"
#include "../core/ModelGenerator.h"

using namespace kestrune;

namespace {

void RunFind(benchmark::State& state, bool waitForPause) {
    QtDialogService dialogs;
    MemorySettingsStore settings;
    CEditorShell shell(QCoreApplication::applicationDirPath(), dialogs, settings);
    if (!shell.Start()) state.SkipWithError("start failed");
    shell.Doc().ReplaceModel([&](CAppletParameters& applet) {
        bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
        return true;
    });
    shell.Frame().resize(1000, 800);
    shell.Show();
    QCoreApplication::processEvents();
    CTreeFindBar& find = *shell.Frame().FindBar();
    find.Open();
    const QStringList steps = {QStringLiteral("I"),      QStringLiteral("It"),      QStringLiteral("Ite"),
                               QStringLiteral("Item"),   QStringLiteral("Item "),   QStringLiteral("Item 1"),
                               QStringLiteral("Item 12"), QStringLiteral("Item 12x"), QStringLiteral("")};
    std::vector<double> slowest(static_cast<std::size_t>(steps.size()), 0.0);
    qsizetype step = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        find.Edit()->setText(steps[step]);
        if (waitForPause && find.IsWaiting()) find.ApplyFilter();
        shell.Frame().repaint();
        QCoreApplication::processEvents();
        double& before = slowest[static_cast<std::size_t>(step)];
        before = std::max(before, timer.nsecsElapsed() / 1e6);
        step = (step + 1) % steps.size();
    }
    // The slowest time of each step, named by what the line holds after it.
    for (qsizetype i = 0; i < steps.size(); ++i)
        state.counters[(steps[i].isEmpty() ? QStringLiteral("(empty)") : steps[i]).toStdString()] =
            slowest[static_cast<std::size_t>(i)];
}
void BM_FindKeystroke(benchmark::State& state) { RunFind(state, false); }
void BM_FindFilterShown(benchmark::State& state) { RunFind(state, true); }
BENCHMARK(BM_FindKeystroke)->Arg(100000)->Arg(1000000)->Iterations(27)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFilterShown)->Arg(100000)->Arg(1000000)->Iterations(27)->Unit(benchmark::kMillisecond);

}  // namespace
