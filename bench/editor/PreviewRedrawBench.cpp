// SPDX-License-Identifier: GPL-3.0-or-later
// One edit and the preview's redraw after it: the preview follows the edit in its received
// applet, lays out what is shown and paints a screenful. A frame at 60 Hz is 16.7 ms.
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <functional>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/VoraneItem.h"
#include "common/MemorySettingsStore.h"
#include "preview/MenuPreviewWidget.h"
#include "preview/MenuPreviewWindow.h"
#include "../core/ModelGenerator.h"

using namespace kestrune;

namespace {

const QSize kScreen(1280, 900);

void StyleItems(CVorane& menu, int fill) {
    for (ItemStyle& style : menu.m_itemStyle) {
        style.ItemFillStyle = fill;
        style.ItemBorderStyle = 1;
        style.FontEffect = 4;
    }
    menu.m_BorderThick = 2;
}

// Ten horizontal top-level menus of ten items, each item opening nine more: 1,000 items.
void FillTree(CAppletParameters& applet) {
    applet.m_appWidth = 900;
    applet.m_appHeight = 400;
    for (int t = 0; t < 10; ++t) {
        auto menu = std::make_unique<CVorane>();
        menu->m_MenuAlign = 1;
        menu->m_xPos = 0;
        menu->m_yPos = t * 25;
        StyleItems(*menu, 3);
        for (int i = 0; i < 10; ++i) {
            auto item = std::make_unique<CVoraneItem>("Item " + std::to_string(t) + "." + std::to_string(i));
            item->m_link = "page" + std::to_string(i) + ".html";
            CVorane& sub = item->SubMenu();
            sub.m_xPos = 0;
            sub.m_yPos = 22;
            StyleItems(sub, 7);
            for (int s = 0; s < 9; ++s) sub.AddItem(std::make_unique<CVoraneItem>("Sub\r\nentry " + std::to_string(s)), 0);
            menu->AddItem(std::move(item), 0);
        }
        applet.AddTopLevelMenu(std::move(menu), 0);
    }
}

// One vertical menu holding all 1,000 items, every one of them on screen.
void FillLongMenu(CAppletParameters& applet) {
    applet.m_appWidth = 200;
    applet.m_appHeight = 800;
    CVorane* menu = applet.NewTopLevelMenu();
    StyleItems(*menu, 2);
    for (int i = 0; i < 1000; ++i) menu->AddItem(std::make_unique<CVoraneItem>("Entry " + std::to_string(i)), 0);
}

struct PreviewBench {
    QtDialogService dialogs;
    MemorySettingsStore settings;
    CKestruneApp app{QStringLiteral("/nonexistent"), dialogs, settings};
    CKestruneDoc doc{app};
    std::unique_ptr<CMenuPreviewWindow> window;
    QImage frame;

    explicit PreviewBench(void (*fill)(CAppletParameters&))
        : PreviewBench([fill](CAppletParameters& applet) { fill(applet); }) {}
    explicit PreviewBench(const std::function<void(CAppletParameters&)>& fill) {
        fill(app.m_applet);
        window = std::make_unique<CMenuPreviewWindow>(doc);
        window->show();  // a hidden preview puts off its work until shown
        CMenuPreviewWidget& preview = window->Preview();
        // Open a sub menu, as a user hovering while editing would have.
        const QPoint item = preview.ToWidget(preview.Layout().Menus().at(0).items.at(3).rect.center());
        QMouseEvent move(QEvent::MouseMove, item, preview.mapToGlobal(item), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&preview, &move);
        frame = QImage(preview.size().boundedTo(kScreen), QImage::Format_ARGB32_Premultiplied);
    }

    // What a window on this screen can show of the canvas: a redraw paints no more.
    void Redraw() {
        QPainter painter(&frame);
        window->Preview().Render(painter, frame.rect());
    }

    void EditLabel(int round) {
        CVoraneItem* item = app.m_applet.m_menus.at(0)->m_items.at(3).get();
        doc.EditProperties([item, round] { item->m_label = "Edited " + std::to_string(round); return true; },
                           app.m_applet.m_menus.at(0).get(), item);
    }
};

void RunEditAndRedraw(benchmark::State& state, void (*fill)(CAppletParameters&)) {
    PreviewBench bench(fill);
    int round = 0;
    for (auto _ : state) {
        bench.EditLabel(++round);
        bench.Redraw();
    }
    state.counters["menus_drawn"] = static_cast<double>(bench.window->Preview().Layout().Menus().size());
}

// One edit of a generated document of range(0) items: the label of an item changes, the
// preview follows it and a screenful is painted. throughEditLayer: the edit goes the way
// a property page writes it (its undo step included); otherwise it is only announced, as
// the edit layer announces it (the preview's own share).
void RunFollow(benchmark::State& state, bool redraw, bool throughEditLayer = false) {
    PreviewBench bench([&](CAppletParameters& applet) {
        kestrune::bench::GenerateApplet(applet, static_cast<int>(state.range(0)));
        applet.m_appWidth = 900;
        applet.m_appHeight = 400;
    });
    CVorane* menu = bench.app.m_applet.m_menus.at(0).get();
    CVoraneItem* item = menu->m_items.at(3).get();
    int round = 0;
    for (auto _ : state) {
        const std::string label = "Edited " + std::to_string(++round);
        if (throughEditLayer) {
            bench.doc.EditProperties([&] { item->m_label = label; return true; }, menu, item, {},
                                     CKestruneDoc::Reach::NamedObjects);
        } else {
            item->m_label = label;
            bench.doc.Announce({ModelChange::PropertiesChanged, menu, item, -1});
        }
        if (redraw) bench.Redraw();
    }
    state.counters["menus_drawn"] = static_cast<double>(bench.window->Preview().Layout().Menus().size());
}

void BM_PreviewFollowAndRedraw(benchmark::State& state) { RunFollow(state, true); }
// The same without the paint: following the edit and laying out what is shown.
void BM_PreviewFollowOnly(benchmark::State& state) { RunFollow(state, false); }
// The whole of what the user waits for after typing a label into the item page.
void BM_PageEditFollowAndRedraw(benchmark::State& state) { RunFollow(state, true, true); }

void BM_PreviewEditAndRedraw_Tree1000(benchmark::State& state) { RunEditAndRedraw(state, FillTree); }
void BM_PreviewEditAndRedraw_OneMenu1000(benchmark::State& state) { RunEditAndRedraw(state, FillLongMenu); }

void BM_PreviewRedrawOnly_Tree1000(benchmark::State& state) {
    PreviewBench bench(FillTree);
    for (auto _ : state) bench.Redraw();
}

void BM_PreviewEditOnly_OneMenu1000(benchmark::State& state) {
    PreviewBench bench(FillLongMenu);
    int round = 0;
    for (auto _ : state) bench.EditLabel(++round);
}

}  // namespace

BENCHMARK(BM_PreviewFollowAndRedraw)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFollowOnly)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageEditFollowAndRedraw)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewEditAndRedraw_Tree1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewEditAndRedraw_OneMenu1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRedrawOnly_Tree1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewEditOnly_OneMenu1000)->Unit(benchmark::kMillisecond);
