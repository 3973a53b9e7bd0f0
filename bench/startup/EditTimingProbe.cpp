// SPDX-License-Identifier: GPL-3.0-or-later
// The editor run as a user runs it, reporting on stderr how long each edit key (Enter ending
// a rename, Insert, Delete, Ctrl+Up/Down, undo, redo, paste) keeps the window busy and when
// the Menu Preview paints after it. Driven from outside (a real display and its keyboard),
// so nothing of the edit is simulated.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTimer>
#include <cstdio>

#include "EditorMain.h"
#include "preview/MenuPreviewWidget.h"

namespace {

// The keys of the edits: Enter (ending a rename), Insert, Delete, Ctrl+Up/Down, Ctrl+Z/Y,
// Ctrl+Shift+Z, Ctrl+V, Ctrl+Shift+V for Visible.
bool IsEditKey(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Insert:
    case Qt::Key_Delete: return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Z:
    case Qt::Key_Y:
    case Qt::Key_V: return key.modifiers() & Qt::ControlModifier;
    default: return false;
    }
}

class EditWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool keyEvent = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
        if (keyEvent && !m_timing && IsEditKey(*static_cast<QKeyEvent*>(event))) {
            m_timing = true;
            m_painted = false;
            m_key = QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()).toString();
            m_clock.start();
            // An edit may itself be posted (a rename ends in a queued call): the report is
            // posted twice over, to run after it.
            QTimer::singleShot(0, this, [this] {
                QTimer::singleShot(0, this, [this] {
                    std::fprintf(stderr, "%s: window free after %.1f ms\n", qPrintable(m_key),
                                 m_clock.nsecsElapsed() / 1e6);
                    m_timing = false;
                });
            });
        } else if (event->type() == QEvent::Paint && m_clock.isValid() && !m_painted &&
                   qobject_cast<CMenuPreviewWidget*>(watched)) {
            m_painted = true;
            std::fprintf(stderr, "%s: preview painted after %.1f ms\n", qPrintable(m_key),
                         m_clock.nsecsElapsed() / 1e6);
        }
        return false;
    }

private:
    QElapsedTimer m_clock;
    bool m_timing = false;
    bool m_painted = true;
    QString m_key;
};

}  // namespace

int main(int argc, char** argv) {
    EditWatch watch;
    return RunEditor(argc, argv, [&watch] { qApp->installEventFilter(&watch); });
}
