// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "main/EditorShell.h"
#include "main/MainFrame.h"
#include "common/MemorySettingsStore.h"
#include "support/FlowSteps.h"
#include "support/FakeDialogService.h"
#include "tree/KestruneView.h"

// The whole editor in a program folder of its own, so saves and clean-ups touch nothing shared.
struct ProgramFixture {
    QTemporaryDir folder;
    FakeDialogService dialogs;
    kestrune::MemorySettingsStore settings;
    std::unique_ptr<CEditorShell> shell;

    ProgramFixture() {
        for (const char* name : {"Kestrune.tpl", "kestrune.html", "kestrune-menu.js"})
            QFile::copy(QStringLiteral(KESTRUNE_BIN_DIR "/") + QLatin1String(name),
                        folder.filePath(QLatin1String(name)));
    }
    bool Start(const QString& file = {}) {
        shell = std::make_unique<CEditorShell>(folder.path(), dialogs, settings);
        if (file.isEmpty()) return shell->Start();
        return Await([&](const CDocumentFlow::Then& then) { shell->Start(file, then); });
    }
    // A command, and the Open or Save it may have started, to its end.
    void Trigger(const char* id) {
        Action(id)->trigger();
        Settle(Frame().Flow());
    }
    CMainFrame& Frame() { return shell->Frame(); }
    CKestruneDoc& Doc() { return shell->Doc(); }
    CKestruneView& Tree() { return *Frame().TreeView(); }
    kestrune::CAppletParameters& Applet() { return shell->App().m_applet; }
    QAction* Action(const char* id) { return Frame().Action(QString::fromLatin1(id)); }
};
