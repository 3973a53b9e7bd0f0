// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/HelpCommands.h"

#include <QApplication>
#include <QWidget>

#include "app/KestruneApp.h"
#include "app/ShellTexts.h"
#include "help/ContextHelpMode.h"
#include "help/HelpTopics.h"
#include "help/HelpWindow.h"

CHelpCommands::CHelpCommands(CKestruneApp& app, QObject* parent)
    : QObject(parent), m_app(app), m_contextMode(new CContextHelpMode(this)) {
    connect(m_contextMode, &CContextHelpMode::topicChosen, this, &CHelpCommands::ShowTopic);
}

CHelpCommands::~CHelpCommands() = default;

CHelpWindow& CHelpCommands::Window() {
    if (!m_window)
        m_window = std::make_unique<CHelpWindow>(m_app.m_strAppDir + QLatin1Char('/') + shelltexts::kHelpFile, nullptr);
    return *m_window;
}

void CHelpCommands::ShowTopic(const QString& topic) { Window().ShowTopic(topic); }

void CHelpCommands::ShowFor(const QWidget* widget) {
    const QString topic = HelpTopicOf(widget);
    ShowTopic(topic.isEmpty() ? helptopic::kMainWindow : topic);
}

void CHelpCommands::ShowForFocus() {
    QWidget* focus = QApplication::focusWidget();
    ShowFor(focus ? focus : QApplication::activeWindow());
}

void CHelpCommands::HideWindow() {
    if (m_window) m_window->hide();
}
