// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScreenFit.h"

#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

QRect FirstWindowGeometry(const QRect& available, const QSize& minimum) {
    QSize size = (available.size() * 2 / 3).expandedTo(minimum).boundedTo(available.size());
    QRect placed(QPoint(), size);
    placed.moveCenter(available.center());
    return placed;
}

QRect KeptOnScreen(const QRect& wanted, const QRect& available) {
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
    return placed;
}

QRect BesideGeometry(const QRect& anchor, const QSize& size, const QRect& available, const QRect& keepClear) {
    const QSize fitted = size.boundedTo(available.size());
    const int gap = 8;
    QRect placed(QPoint(anchor.right() + 1 + gap, anchor.top()), fitted);
    if (placed.right() > available.right()) placed.moveRight(anchor.left() - 1 - gap);
    if (placed.left() >= available.left()) return KeptOnScreen(placed, available);
    placed.moveTopLeft(QPoint(keepClear.right() + 1 + gap, keepClear.top()));
    if (keepClear.isEmpty() || placed.right() > available.right()) placed.moveBottomRight(available.bottomRight());
    return KeptOnScreen(placed, available);
}

namespace {
QSize FrameExtra(const QWidget* window) {
    if (!window || !window->isVisible()) return {};
    return window->frameGeometry().size() - window->size();
}

void FitFrameNow(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen || !window.isVisible() || window.isMaximized() || window.isFullScreen() || window.isMinimized())
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (available.contains(frame)) return;
    const QRect kept = KeptOnScreen(frame, available);
    if (kept.size() != frame.size()) window.resize(kept.size() - FrameExtra(&window));
    window.move(kept.topLeft());
}
}  // namespace

void PlaceFrame(QWidget& window, const QRect& frameRect, const QWidget* reference) {
    window.resize(frameRect.size() - FrameExtra(reference));
    window.move(frameRect.topLeft());  // a window's position is its frame's
}

void KeepFrameOnScreen(QWidget& window) {
    FitFrameNow(window);
    for (int delay : {0, 250, 1000}) QTimer::singleShot(delay, &window, [&window] { FitFrameNow(window); });
}
