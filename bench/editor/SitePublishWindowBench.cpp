// SPDX-License-Identifier: GPL-3.0-or-later
// Publish to Site on the club's site with ten thousand pages in the shown main window: how
// long it takes from the command to the report in the message pane, and the longest pause
// of the event loop meanwhile (reading the pages, the dialog's list, publishing, the report).
#include <QTemporaryDir>
#include <QCheckBox>
#include <benchmark/benchmark.h>

#include "../../tests/common/ClubSite.h"
#include "../../tests/editor/support/FakeDialogService.h"
#include "PauseMeter.h"
#include "common/MemorySettingsStore.h"
#include "main/DlgPublishSite.h"
#include "main/DocumentFlow.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "main/SitePublishing.h"
#include "output/HtmlPageBuilder.h"
#include "services/MenuFileWriter.h"

using namespace kestrune;

namespace {

void BM_PublishToSiteInTheWindow(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    FakeDialogService dialogs;
    MemorySettingsStore settings;
    CEditorShell shell(QCoreApplication::applicationDirPath(), dialogs, settings);
    if (!shell.Start()) state.SkipWithError("start failed");
    shell.Show();
    dialogs.onDialog = [](QDialog* dialog) {
        dialog->findChild<QCheckBox*>()->setChecked(true);
        return int(QDialog::Accepted);
    };
    double wholeMs = 0;
    double pause = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const std::filesystem::path top = folder.path().toStdString();
        {
            CAppletParameters applet;
            clubsite::WriteClubSite(top, applet, pages - 15);
            SaveMenuFile(applet, (top / clubsite::kDocumentPage).string(), top.string(), BuildHTML(applet), false, "",
                         top.string());
        }
        const QString page = QString::fromStdString((top / clubsite::kDocumentPage).string());
        std::optional<bool> opened;
        shell.Frame().Flow().OpenDocumentFile(page, [&](bool done) { opened = done; });
        while (!opened) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.ResumeTiming();

        bench::PauseMeter meter;
        bool finished = false;
        const auto connection = QObject::connect(&shell.Frame().Publishing(), &CSitePublishing::finished,
                                                 [&](const QString&) { finished = true; });
        QElapsedTimer whole;
        meter.Start();
        whole.start();
        shell.Frame().Action(QString::fromLatin1(cmd::FilePublish))->trigger();
        while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wholeMs = static_cast<double>(whole.nsecsElapsed()) / 1e6;
        meter.Stop();
        pause = meter.Longest();
        QObject::disconnect(connection);
    }
    state.counters["pages"] = pages;
    state.counters["publish_ms"] = wholeMs;
    state.counters["longest_pause_ms"] = pause;
}
BENCHMARK(BM_PublishToSiteInTheWindow)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
