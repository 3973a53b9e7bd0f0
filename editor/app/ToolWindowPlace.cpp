// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolWindowPlace.h"

#include <QEvent>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "app/ScreenFit.h"
#include "app/ShellTexts.h"
#include "base/SettingsStore.h"

namespace toolwindow {

namespace {
QRect ScreenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen->geometry() : QRect();
}

// Writes the window's place whenever the user may have changed it.
class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget& window, kestrune::ISettingsStore& settings, QString name)
        : QObject(&window), m_window(window), m_settings(settings), m_name(std::move(name)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        // Moves made while hidden are the program's own placing, not the user's.
        if (watched == &m_window &&
            (type == QEvent::Hide || (m_window.isVisible() && (type == QEvent::Move || type == QEvent::Resize))))
            Write();
        return false;
    }

private:
    void Write() {
        const QRect frame = m_window.frameGeometry();
        const QString text = QStringLiteral("%1,%2,%3,%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
        m_settings.SetString(shelltexts::kWindowsSection, PlaceKey(m_name, ScreenOf(m_window)).toStdString(),
                             text.toStdString());
    }

    QWidget& m_window;
    kestrune::ISettingsStore& m_settings;
    QString m_name;
};
}  // namespace

QString PlaceKey(const QString& name, const QRect& screen) {
    return QStringLiteral("%1 %2,%3,%4x%5").arg(name).arg(screen.x()).arg(screen.y()).arg(screen.width()).arg(screen.height());
}

std::optional<QRect> SavedPlace(const kestrune::ISettingsStore& settings, const QString& name, const QRect& screen) {
    const QStringList fields = QString::fromStdString(
        settings.GetString(shelltexts::kWindowsSection, PlaceKey(name, screen).toStdString())).split(QLatin1Char(','));
    if (fields.size() != 4) return std::nullopt;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = fields[i].trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) return std::nullopt;
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

void Remember(QWidget& window, kestrune::ISettingsStore& settings, const QString& name, const QRect& fallback,
              const QWidget* reference) {
    const QScreen* screen = reference ? reference->screen() : window.screen();
    const QRect available = screen ? screen->availableGeometry() : fallback;
    const std::optional<QRect> saved = SavedPlace(settings, name, screen ? screen->geometry() : QRect());
    // A fixed-size window (the property frame) keeps its size; only its place comes back.
    QRect frame = saved ? *saved : fallback;
    if (window.minimumSize() == window.maximumSize()) frame.setSize(fallback.size());
    PlaceFrame(window, KeptOnScreen(frame, available), reference);
    new PlaceKeeper(window, settings, name);
}

}  // namespace toolwindow
