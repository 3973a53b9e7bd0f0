// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class CContextHelpMode;
class CHelpWindow;
class CKestruneApp;
class QWidget;

// What the Help menu and F1 show: one help window per main window, made on first use and
// closed with it, and the context help mode of Shift+F1.
class CHelpCommands : public QObject {
    Q_OBJECT
public:
    CHelpCommands(CKestruneApp& app, QObject* parent);
    ~CHelpCommands() override;

    CHelpWindow& Window();
    void ShowTopic(const QString& topic);
    // The topic of the widget or its nearest parent with one; the main window's otherwise.
    void ShowFor(const QWidget* widget);
    // F1: the topic of what has the keyboard.
    void ShowForFocus();
    CContextHelpMode& ContextMode() const { return *m_contextMode; }
    void HideWindow();

private:
    CKestruneApp& m_app;
    // Without a parent window, so no dialog of the program blocks it.
    std::unique_ptr<CHelpWindow> m_window;
    CContextHelpMode* m_contextMode;
};
