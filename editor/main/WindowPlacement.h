// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

class QRect;
class QWidget;

// The "WindowPos" setting: flags, show state, minimized and maximized positions and the
// normal rectangle (left, top, right, bottom; right and bottom exclusive).
struct WindowPlacement {
    static constexpr unsigned kRestoreToMaximized = 2;
    enum ShowState : unsigned { kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };

    unsigned flags = 0;
    unsigned showState = kShowNormal;
    int minX = -1, minY = -1, maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// Exactly ten comma-separated whole numbers, the first two unsigned; anything else is none.
// A normal rectangle without area is none too: restoring it would hide the window.
std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text);
std::string FormatWindowPlacement(const WindowPlacement& placement);

// The placement of a top-level window as it is now.
WindowPlacement CaptureWindowPlacement(const QWidget& window);
// The rectangle made to fit the area: no larger, and moved inside it.
QRect ClampToArea(const QRect& wanted, const QRect& area);
// The rectangle made to fit the available area of the screen it lies on (else the primary).
QRect ClampToScreens(const QRect& wanted);
// Puts the window at the normal rectangle, fitted to the screens, and shows it in the
// saved state.
void ShowWithPlacement(QWidget& window, const WindowPlacement& placement);
