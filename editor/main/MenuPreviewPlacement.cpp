// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/MenuPreviewPlacement.h"

#include <QScreen>

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "app/ScreenFit.h"
#include "app/ToolWindowPlace.h"
#include "preview/MenuPreviewWindow.h"
#include "preview/PreviewTexts.h"
#include "tree/KestruneView.h"

namespace {
// Beside the main window, so the tree and the menus are seen together; where the screen
// has no room for that, right of the tree's nodes at the foot of the screen (the property
// frame takes the place level with the tree's top).
QRect FirstPlace(const QWidget& mainWindow, const QSize& outer) {
    const QRect available = mainWindow.screen()->availableGeometry();
    QRect nodes;
    if (const auto* tree = mainWindow.findChild<CKestruneView*>()) {
        nodes = tree->NodesArea();
        nodes.setTop(available.bottom() + 1 - outer.height());
    }
    return BesideGeometry(mainWindow.frameGeometry(), outer, available, nodes);
}
}  // namespace

CMenuPreviewWindow& ShowMenuPreview(QWidget& mainWindow, CKestruneDoc& doc) {
    auto* window = mainWindow.findChild<CMenuPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CMenuPreviewWindow(doc, &mainWindow);
        // A tool window of the main window: it stays above it while the tree is worked in.
        window->setWindowFlag(Qt::Tool);
        if (mainWindow.screen()) {
            const QSize outer = window->size() + (mainWindow.frameGeometry().size() - mainWindow.size());
            toolwindow::Remember(*window, doc.App().Settings(), QString::fromLatin1(previewtexts::kWindowTitle),
                                 FirstPlace(mainWindow, outer), &mainWindow);
        }
    }
    window->show();
    KeepFrameOnScreen(*window);
    window->raise();
    window->activateWindow();
    return *window;
}
