// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CKestruneDoc;
class CMenuPreviewWindow;
class QWidget;

// One preview window per main window, made on first use beside it, shown and raised on
// every use ("View > Menu Preview").
CMenuPreviewWindow& ShowMenuPreview(QWidget& mainWindow, CKestruneDoc& doc);
