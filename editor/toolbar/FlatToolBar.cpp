// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolbar/FlatToolBar.h"

#include <QAction>
#include <QActionEvent>

#include "toolbar/FlatToolBarStyle.h"

CFlatToolBar::CFlatToolBar(const QString& title, QWidget* parent) : QToolBar(title, parent) {
    setObjectName(QStringLiteral("flatToolBar"));
    m_flatStyle = new CFlatToolBarStyle;
    m_flatStyle->setParent(this);
    setStyle(m_flatStyle);
    setIconSize(QSize(16, 16));
    setMovable(true);
    setFloatable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

std::vector<CFlatToolBar::ButtonState> CFlatToolBar::CurrentStates() const {
    std::vector<ButtonState> states;
    for (const QAction* action : actions())
        if (!action->isSeparator()) states.push_back({action, action->isEnabled(), action->isChecked()});
    return states;
}

bool CFlatToolBar::SyncButtonStates() {
    std::vector<ButtonState> now = CurrentStates();
    const bool changed = now != m_savedStates;
    m_savedStates = std::move(now);
    if (!changed) return false;
    // Repaint what lies behind the bar too, so no trace of an old button frame stays.
    if (QWidget* behind = parentWidget()) behind->update(geometry());
    update();
    return true;
}

void CFlatToolBar::actionEvent(QActionEvent* event) {
    QToolBar::actionEvent(event);
    // Separators are child widgets that paint with their own style: give them the flat one.
    if (event->type() == QEvent::ActionAdded && event->action()->isSeparator())
        if (QWidget* separator = widgetForAction(event->action())) separator->setStyle(m_flatStyle);
}
