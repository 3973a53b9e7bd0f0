// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QWidget;
namespace kestrune {
class ISettingsStore;
}

// Where the tool windows (the property frame, the menu preview) stood, kept in the settings
// per screen: under the window's name and the screen's geometry, so a window opens where
// the user put it on that screen, in this run and the next ones.
namespace toolwindow {

// The key of a window's place on a screen: "Menu Preview 0,0,1366x768".
QString PlaceKey(const QString& name, const QRect& screen);
// The frame rectangle saved for the window on that screen, when there is one.
std::optional<QRect> SavedPlace(const kestrune::ISettingsStore& settings, const QString& name, const QRect& screen);
// From now on the window's frame rectangle is written whenever it moves, is resized or is
// hidden; placeable: a window not yet shown is first put at its saved place, else at
// fallback (frame rectangles; reference gives the frame's size, see PlaceFrame).
void Remember(QWidget& window, kestrune::ISettingsStore& settings, const QString& name, const QRect& fallback,
              const QWidget* reference);

}  // namespace toolwindow
