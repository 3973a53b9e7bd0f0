// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/ContextHelpMode.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>

#include "help/HelpTopics.h"

CContextHelpMode::CContextHelpMode(QObject* parent) : QObject(parent) {}

CContextHelpMode::~CContextHelpMode() {
    if (m_active) End();
}

void CContextHelpMode::Begin() {
    if (m_active) return;
    m_active = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    emit activeChanged(true);
}

void CContextHelpMode::End() {
    if (!m_active) return;
    m_active = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    emit activeChanged(false);
}

void CContextHelpMode::Cancel() { End(); }

QString CContextHelpMode::TopicAt(QWidget* widget, const QPoint& localPos) {
    if (auto* menu = qobject_cast<QMenu*>(widget))
        if (QAction* action = menu->actionAt(localPos)) return HelpTopicOf(action);
    if (auto* button = qobject_cast<QToolButton*>(widget))
        if (QAction* action = button->defaultAction()) return HelpTopicOf(action);
    return HelpTopicOf(widget);
}

bool CContextHelpMode::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        End();
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    // The menu bar only opens its pop-up; the entry clicked in it is what counts.
    if (qobject_cast<QMenuBar*>(widget)) return false;
    const QString topic = TopicAt(widget, static_cast<QMouseEvent*>(event)->position().toPoint());
    if (auto* menu = qobject_cast<QMenu*>(widget)) menu->close();
    End();
    emit topicChosen(topic.isEmpty() ? helptopic::kContents : topic);
    return true;
}
