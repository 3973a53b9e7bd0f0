// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/CommandEnabling.h"

#include "main/CommandTable.h"
#include "tree/TreeNodes.h"
#include "app/UndoTexts.h"

using namespace treenodes;

QString StepEntryText(const QString& prefix, const QString& stepName) {
    return stepName.isEmpty() ? prefix : prefix + QLatin1Char(' ') + stepName;
}

QHash<QString, CommandState> ComputeCommandStates(const CommandContext& context) {
    QHash<QString, CommandState> states;
    for (const CommandEntry& entry : CCommandTable::StandardCommands()) states.insert(entry.id, CommandState{});

    const int kind = context.selectionKind;
    const bool isItem = IsItemKind(kind);
    auto set = [&states](const char* id, bool enabled, bool checked = false) {
        CommandState& state = states[QString::fromLatin1(id)];
        state.enabled = enabled;
        state.checked = checked;
    };

    set(cmd::MenuInsert, true);
    set(cmd::MenuInsertMenu, true);
    set(cmd::MenuInsertAfter, isItem || kind == kKindMenu);
    set(cmd::MenuApplyStyleToSubMenus, isItem || kind == kKindMenu);
    set(cmd::MenuDelete, true);
    set(cmd::MenuVisible, kind != kKindRoot, (kind == kKindMenu || isItem) && context.selectionVisible);
    set(cmd::MenuMoveUp, isItem);
    set(cmd::MenuMoveDown, isItem);
    set(cmd::MenuProperty, kind != kKindMenu);
    set(cmd::EditCut, context.hasSelection && isItem);
    set(cmd::EditCopy, context.hasSelection && isItem);
    set(cmd::EditPaste, context.hasSelection && kind != kKindRoot && context.clipboardHasItem);
    set(cmd::EditRename, context.hasSelection && (kind == kKindRoot || isItem));
    set(cmd::EditFind, true);
    set(cmd::EditFindNext, context.findActive);

    // The message pane handles no commands, so whatever the tree carries out is disabled
    // there; while a save reads the model, every command that edits it is.
    if (!context.treePaneActive || context.saving) {
        for (const CommandEntry& entry : CCommandTable::StandardCommands())
            if (entry.route == CommandRoute::Tree) states[entry.id].enabled = false;
    }

    set(cmd::ViewToolbar, true, context.toolbarShown);
    set(cmd::ViewStatusBar, true, context.statusBarShown);
    set(cmd::OptionsAutoChange, true, context.autoChangeSize);
    set(cmd::OptionsScriptRuntime, true, context.scriptRuntime);

    set(cmd::EditUndo, !context.undoName.isEmpty() && !context.saving);
    set(cmd::EditRedo, !context.redoName.isEmpty() && !context.saving);
    states[QString::fromLatin1(cmd::EditUndo)].text = StepEntryText(undotexts::kUndoPrefix, context.undoName);
    states[QString::fromLatin1(cmd::EditRedo)].text = StepEntryText(undotexts::kRedoPrefix, context.redoName);

    // The first recent entry stands in, disabled, for the empty list.
    const char* recent[] = {cmd::FileMru1, cmd::FileMru2, cmd::FileMru3, cmd::FileMru4};
    for (int i = 0; i < 4; ++i) {
        CommandState& state = states[QString::fromLatin1(recent[i])];
        state.enabled = i < context.recentFileCount;
        state.visible = i == 0 || i < context.recentFileCount;
    }
    // One Open or Save at a time; Exit stays, as a close stops the running one first.
    if (context.fileWorkRunning) {
        for (const CommandEntry& entry : CCommandTable::StandardCommands())
            if (entry.menu == MenuGroup::File && entry.id != QLatin1String(cmd::AppExit)) states[entry.id].enabled = false;
    }
    return states;
}
