// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CMainFrame;
class CMenuPreviewWindow;

// "View > Menu Preview" with its toolbar button: one preview window per main window,
// made on first use, shown and raised on every use.
void InstallMenuPreviewCommand(CMainFrame& frame);
CMenuPreviewWindow& ShowMenuPreview(CMainFrame& frame);
