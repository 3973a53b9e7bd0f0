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
// A window of the given size beside the anchor window: right of it, else left of it, else
// (no room on either side, as beside a maximized window) over the anchor right of
// keepClear (the part of the tree its nodes take), its top at keepClear's top, else in the
// free area's lower right corner, away from the anchor's menu bar and tree; always wholly
// on the screen.
QRect BesideGeometry(const QRect& anchor, const QSize& size, const QRect& available, const QRect& keepClear = {});

class QWidget;
// Places a window not yet shown so that its frame, title bar included, takes frameRect:
// the frame's size is taken from reference (a window already framed) when it has one.
void PlaceFrame(QWidget& window, const QRect& frameRect, const QWidget* reference);
// For a shown window: its frame, title bar included, is moved (and a resizable window
// shrunk) onto its screen's free area; again once the window manager has framed it, which
// it may do only after the window shows.
void KeepFrameOnScreen(QWidget& window);
