// SPDX-License-Identifier: GPL-3.0-or-later
// Every edit the tree offers, on a big generated document with the Menu Preview open,
// carried out as the user does it: through the main window's commands, the in-place
// editor and the drag's transfer. Each case times one edit (or its undo, or its redo)
// from the command up to the preview having painted it. A frame at 60 Hz is 16.7 ms.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogService.h"
#include "app/KestruneDoc.h"
#include "common/MemorySettingsStore.h"
#include "main/CommandTable.h"
#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "main/MenuPreviewPlacement.h"
#include "model/VoraneItem.h"
#include "preview/MenuPreviewWidget.h"
#include "preview/MenuPreviewWindow.h"
#include "tree/KestruneView.h"
#include "tree/TreeTransfer.h"
#include "../core/ModelGenerator.h"

using namespace kestrune;

namespace {

// Questions are answered with their first button; no dialog is run.
class AnsweringDialogs : public IDialogService {
public:
    Answer ShowMessage(QWidget*, const QString&, Buttons buttons, Icon) override {
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QColor> GetColor(QWidget*, const QColor&) override { return std::nullopt; }
    int ExecDialog(QDialog*) override { return QDialog::Rejected; }
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The program's main window with a generated document and the Menu Preview beside it,
// the first item's sub menu of the first menu opened by the pointer.
class EditorWithPreview {
public:
    explicit EditorWithPreview(int items) : m_items(items) {
        m_shell = std::make_unique<CEditorShell>(QCoreApplication::applicationDirPath(), m_dialogs, m_settings);
        m_shell->CreateFrame();
        m_shell->Doc().ReplaceModel([&](CAppletParameters& applet) {
            bench::GenerateApplet(applet, items, &m_media);
            applet.m_appWidth = 900;
            applet.m_appHeight = 400;
            return true;
        });
        m_shell->Show();
        Settle();
        m_preview = &ShowMenuPreview(Frame(), Doc());
        Settle();
        // The pointer opens the fourth item's sub menu and, below it, the first items' down
        // to a menu of plain items.
        CMenuPreviewWidget& widget = m_preview->Preview();
        std::size_t row = 3;
        for (std::size_t depth = 0; depth < 3; ++depth) {
            const auto& shown = widget.Layout().Menus().at(depth);
            const QPoint at = widget.ToWidget(shown.items.at(row).rect.center());
            QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QCoreApplication::sendEvent(&widget, &move);
            row = 0;
        }
        widget.installEventFilter(&m_paints);
        Frame().ActivatePane(&Tree());
        m_menu = m_shell->App().m_applet.m_menus.at(0).get();
        m_item = m_menu->m_items.at(3).get();
        m_plainItem = m_item->m_subMenu->m_items.at(0)->m_subMenu->m_items.at(0)->m_subMenu->m_items.at(0).get();
        Settle();
    }

    int Items() const { return m_items; }
    CMainFrame& Frame() { return m_shell->Frame(); }
    CKestruneView& Tree() { return *Frame().TreeView(); }
    CKestruneDoc& Doc() { return m_shell->Doc(); }
    CVorane* Menu() const { return m_menu; }
    CVoraneItem* Item() const { return m_item; }
    // An item without sub menu, shown in an open menu.
    CVoraneItem* PlainItem() const { return m_plainItem; }

    void Trigger(const char* id) { Frame().Action(QString::fromLatin1(id))->trigger(); }
    void Select(const void* object) { Tree().SelectNode(Tree().NodeOfItem(object)); }

    // Runs what the window would run after the command: posted events, zero timers, the
    // paints. True once the preview has painted.
    bool UntilPreviewPainted() {
        const int before = m_paints.paints;
        for (int round = 0; round < 50 && m_paints.paints == before; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        return m_paints.paints != before;
    }
    void Settle() {
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }

private:
    int m_items;
    AnsweringDialogs m_dialogs;
    MemorySettingsStore m_settings;
    bench::MediaFolder m_media{0};
    PaintCounter m_paints;
    std::unique_ptr<CEditorShell> m_shell;
    CMenuPreviewWindow* m_preview = nullptr;
    CVorane* m_menu = nullptr;
    CVoraneItem* m_item = nullptr;
    CVoraneItem* m_plainItem = nullptr;
};

// One document kept for every case of a size: building it is what takes long. It goes
// with the last case; windows cannot outlive the application object.
struct KeptEditor {
    std::unique_ptr<EditorWithPreview> editor;
    ~KeptEditor() {
        if (!QCoreApplication::instance()) static_cast<void>(editor.release());
    }
};
KeptEditor& Kept() {
    static KeptEditor kept;
    return kept;
}
EditorWithPreview& EditorOf(int items) {
    std::unique_ptr<EditorWithPreview>& editor = Kept().editor;
    if (!editor || editor->Items() != items) {
        editor.reset();
        editor = std::make_unique<EditorWithPreview>(items);
    }
    return *editor;
}

// One kind of edit: what selects its subject (untimed) and the edit itself.
struct EditKind {
    const char* name;
    std::function<void(EditorWithPreview&)> prepare;
    std::function<void(EditorWithPreview&, int round)> edit;
};

void Rename(EditorWithPreview& e, int round) {
    e.Trigger(cmd::EditRename);  // F2
    auto* editor = e.Tree().viewport()->findChild<QLineEdit*>();
    if (!editor) return;
    editor->setText(QStringLiteral("Renamed %1").arg(round));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &enter);
}

void DropBelowItem7(EditorWithPreview& e) {
    CTreeTransfer& transfer = e.Tree().Transfer();
    const QModelIndex target = e.Tree().NodeOfItem(e.Menu()->m_items.at(7).get());
    transfer.BeginDrag(e.Tree().NodeOfItem(e.Item()));
    transfer.DragOver(target, false, CTreeTransfer::Place::Below);
    const Qt::DropAction action = transfer.Drop(target, false, CTreeTransfer::Place::Below);
    transfer.EndDrag(action);
}

const std::vector<EditKind>& EditKinds() {
    static const std::vector<EditKind> kinds = {
        {"Rename", [](EditorWithPreview& e) { e.Select(e.Item()); }, Rename},
        {"InsertItem", [](EditorWithPreview& e) { e.Select(e.Menu()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuInsert); }},
        // The first item below a plain item: its sub menu is made and styled like its level.
        {"InsertSubItem", [](EditorWithPreview& e) { e.Select(e.PlainItem()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuInsert); }},
        {"InsertMenu", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuInsertMenu); }},
        {"Delete", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuDelete); }},
        {"HideShow", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuVisible); }},
        {"MoveDown", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuMoveDown); }},
        {"MoveUp", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::MenuMoveUp); }},
        {"Paste",
         [](EditorWithPreview& e) {
             e.Select(e.Item());
             e.Trigger(cmd::EditCopy);
             e.Select(e.Menu());
         },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::EditPaste); }},
        {"PasteIntoPlainItem",
         [](EditorWithPreview& e) {
             e.Select(e.Item());
             e.Trigger(cmd::EditCopy);
             e.Select(e.PlainItem());
         },
         [](EditorWithPreview& e, int) { e.Trigger(cmd::EditPaste); }},
        {"Drop", [](EditorWithPreview& e) { e.Select(e.Item()); },
         [](EditorWithPreview& e, int) { DropBelowItem7(e); }},
    };
    return kinds;
}

enum class Phase { Edit, Undo, Redo };

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Times the phase of the kind; every round leaves the document as it found it.
void RunEditKind(benchmark::State& state, const EditKind& kind, Phase phase, int items) {
    EditorWithPreview& e = EditorOf(items);
    std::vector<double> samples;
    int round = 0;
    int unpainted = 0;
    for (auto _ : state) {
        ++round;
        kind.prepare(e);
        e.Settle();
        const std::size_t stepsBefore = static_cast<std::size_t>(e.Doc().UndoStack().index());
        if (phase != Phase::Edit) {
            kind.edit(e, round);
            e.UntilPreviewPainted();
        }
        if (phase == Phase::Redo) {
            e.Trigger(cmd::EditUndo);
            e.UntilPreviewPainted();
        }
        e.Settle();
        const auto start = std::chrono::steady_clock::now();
        switch (phase) {
        case Phase::Edit: kind.edit(e, round); break;
        case Phase::Undo: e.Trigger(cmd::EditUndo); break;
        case Phase::Redo: e.Trigger(cmd::EditRedo); break;
        }
        if (!e.UntilPreviewPainted()) ++unpainted;
        const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(ms / 1000.0);
        samples.push_back(ms);
        const std::size_t stepsAfter = static_cast<std::size_t>(e.Doc().UndoStack().index());
        const bool stepped = phase == Phase::Undo ? stepsAfter == stepsBefore : stepsAfter == stepsBefore + 1;
        if (!stepped) {
            state.SkipWithError("the edit made no step");
            break;
        }
        if (phase != Phase::Undo) {
            e.Trigger(cmd::EditUndo);
            e.UntilPreviewPainted();
        }
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) state.counters["median_ms"] = samples[samples.size() / 2];
    state.counters["max_ms"] = samples.empty() ? 0.0 : samples.back();
    state.counters["unpainted"] = unpainted;
}

// All cases of one size run together, so each document is built once.
[[maybe_unused]] const bool kRegistered = [] {
    benchmark::internal::Benchmark* last = nullptr;
    for (const int items : {100000, 1000000}) {
        for (const EditKind& kind : EditKinds()) {
            for (const auto& [phase, prefix] : {std::pair{Phase::Edit, "Edit"}, std::pair{Phase::Undo, "Undo"},
                                                 std::pair{Phase::Redo, "Redo"}}) {
                const std::string name =
                    std::string("BM_EditWithPreview/") + prefix + kind.name + "/" + std::to_string(items);
                last = benchmark::RegisterBenchmark(name.c_str(), [&kind, phase, items](benchmark::State& state) {
                    RunEditKind(state, kind, phase, items);
                })
                    ->UseManualTime()
                    ->Iterations(7)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    last->Teardown([](const benchmark::State&) { Kept().editor.reset(); });
    return true;
}();

}  // namespace
