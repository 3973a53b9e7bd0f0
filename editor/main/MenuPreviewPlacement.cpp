// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/MenuPreviewPlacement.h"

#include <QScreen>

#include "app/ScreenFit.h"
#include "preview/MenuPreviewWindow.h"

CMenuPreviewWindow& ShowMenuPreview(QWidget& mainWindow, CKestruneDoc& doc) {
    auto* window = mainWindow.findChild<CMenuPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CMenuPreviewWindow(doc, &mainWindow);
        // Beside the main window, so the tree and the menus are seen together.
        if (const QScreen* screen = mainWindow.screen()) {
            const QSize outer = window->size() + (mainWindow.frameGeometry().size() - mainWindow.size());
            PlaceFrame(*window, BesideGeometry(mainWindow.frameGeometry(), outer, screen->availableGeometry()),
                       &mainWindow);
        }
    }
    window->show();
    KeepFrameOnScreen(*window);
    window->raise();
    window->activateWindow();
    return *window;
}
