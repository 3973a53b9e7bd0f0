// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// Where windows go on the screen, so every window opens wholly on it at any scale.

// The first window of a run, without a saved placement: about two thirds of the screen's
// free area (never less than minimum, never more than the area), centred on it.
QRect FirstWindowGeometry(const QRect& available, const QSize& minimum);
// The rectangle moved, and shrunk if need be, so it lies wholly inside the free area.
QRect KeptOnScreen(const QRect& wanted, const QRect& available);
// A window of the given size beside the anchor window: right of it, else left of it,
// always wholly on the screen.
QRect BesideGeometry(const QRect& anchor, const QSize& size, const QRect& available);
