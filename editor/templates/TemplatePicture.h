// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

namespace kestrune {
class CAppletParameters;
}

// The applet's menus drawn by the preview's renderer, the first sub menu that has items
// open so its look shows too, scaled down (never up) to fit bound and centred in it.
QImage DrawMenuPicture(const kestrune::CAppletParameters& applet, const QSize& bound, qreal devicePixelRatio);
