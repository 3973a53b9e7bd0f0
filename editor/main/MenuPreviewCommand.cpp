// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/MenuPreviewCommand.h"

#include <QScreen>

#include "app/ScreenFit.h"
#include "main/MainFrame.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewTexts.h"

void InstallMenuPreviewCommand(CMainFrame& frame) {
    CommandEntry entry;
    entry.id = QString::fromLatin1(previewtexts::kCommandId);
    entry.text = QString::fromLatin1(previewtexts::kCommandText);
    entry.prompt = QString::fromLatin1(previewtexts::kCommandPrompt);
    entry.tooltip = QString::fromLatin1(previewtexts::kCommandTooltip);
    entry.icon = QString::fromLatin1(previewtexts::kCommandIcon);
    entry.menu = MenuGroup::View;
    entry.keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)};
    entry.toolbarPosition = 1;  // after the standard buttons
    entry.helpTopic = QString::fromLatin1(previewtexts::kHelpTopic);
    entry.isEnabled = [] { return true; };
    frame.AddCommand(entry, [&frame] { ShowMenuPreview(frame); });
}

CMenuPreviewWindow& ShowMenuPreview(CMainFrame& frame) {
    auto* window = frame.findChild<CMenuPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CMenuPreviewWindow(frame.Doc(), &frame);
        // Beside the main window, so the tree and the menus are seen together.
        if (const QScreen* screen = frame.screen()) {
            const QSize outer = window->size() + (frame.frameGeometry().size() - frame.size());
            PlaceFrame(*window, BesideGeometry(frame.frameGeometry(), outer, screen->availableGeometry()), &frame);
        }
    }
    window->show();
    KeepFrameOnScreen(*window);
    window->raise();
    window->activateWindow();
    return *window;
}
