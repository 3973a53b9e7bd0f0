// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ScreenFit.h"

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

QRect BesideGeometry(const QRect& anchor, const QSize& size, const QRect& available) {
    const QSize fitted = size.boundedTo(available.size());
    const int gap = 8;
    QRect placed(QPoint(anchor.right() + 1 + gap, anchor.top()), fitted);
    // Right of the anchor when it fits, else left of it, else over it, always on the screen.
    if (placed.right() > available.right()) placed.moveRight(anchor.left() - 1 - gap);
    return KeptOnScreen(placed, available);
}
