// SPDX-License-Identifier: GPL-3.0-or-later
// The preview opened on a document of one menu that holds every item: the window is made
// and shown, follows the document, lays out the menus and paints its first screenful.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "base/SettingsStore.h"
#include "model/VoraneItem.h"
#include "preview/MenuPreviewWidget.h"
#include "preview/MenuPreviewWindow.h"

using namespace kestrune;

namespace {

void BM_PreviewFirstDraw_OneMenu(benchmark::State& state) {
    QtDialogService dialogs;
    MemorySettingsStore settings;
    CKestruneApp app{QStringLiteral("/nonexistent"), dialogs, settings};
    CKestruneDoc doc{app};
    app.m_applet.m_appWidth = 200;
    app.m_applet.m_appHeight = 400;
    CVorane* menu = app.m_applet.NewTopLevelMenu();
    for (int i = 0; i < state.range(0); ++i)
        menu->AddItem(std::make_unique<CVoraneItem>("Item " + std::to_string(i)), 0);
    QImage frame(QSize(1280, 900), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CMenuPreviewWindow window(doc);
        window.show();
        QPainter painter(&frame);
        window.Preview().Render(painter, frame.rect());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_PreviewFirstDraw_OneMenu)->Arg(27600)->Arg(110400)->Arg(441000)->Unit(benchmark::kMillisecond);
