// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include "main/CommandTable.h"

// What the enabling of the commands depends on, gathered from the panes and the document.
struct CommandContext {
    bool treePaneActive = true;  // false while the message pane is the active pane
    bool hasSelection = false;
    int selectionKind = 0;       // treenodes::Kind of the selected node; no selection: root
    bool selectionVisible = false;
    bool clipboardHasItem = false;
    bool autoChangeSize = false;
    bool scriptRuntime = false;
    bool toolbarShown = true;
    bool statusBarShown = true;
    int recentFileCount = 0;
    bool findActive = false;  // the find line holds a text
    bool fileWorkRunning = false;  // an Open or Save reads or writes
    bool saving = false;           // a Save reads the model: it must not change meanwhile
    QString undoName;  // the step Undo would undo; empty: nothing to undo
    QString redoName;
};

// "&Undo Delete Item"; the prefix alone when there is no step.
QString StepEntryText(const QString& prefix, const QString& stepName);

// The enabling, check marks and visibility of every standard command, in one place.
QHash<QString, CommandState> ComputeCommandStates(const CommandContext& context);
