// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class CKestruneView;
class QMainWindow;
class QWidget;

// Which pane of the main window the commands go to (the tree or the message pane), F6 and
// Shift+F6 through the panes and a shown property frame, and the keyboard's way back to
// the tree when the window is activated again.
class CPaneFocus : public QObject {
    Q_OBJECT
public:
    // changed: the active pane changed, so the commands' enabling must be set again.
    CPaneFocus(QMainWindow& window, CKestruneView& tree, QWidget& messages, QWidget& findBar,
               std::function<void()> changed);

    QWidget* Active() const { return m_active; }
    bool IsTreeActive() const;
    void Activate(QWidget* pane);
    // F6 goes tree -> message pane -> property frame (while shown) -> tree; Shift+F6 back.
    void Cycle(int step);
    // Coming back to the window (from another program, a dialog or the property frame) the
    // keyboard goes to the tree unless the find line has it.
    void WindowActivationChanged();

private:
    void FocusChanged(QWidget* now);

    QMainWindow& m_window;
    CKestruneView& m_tree;
    QWidget& m_messages;
    QWidget& m_findBar;
    std::function<void()> m_changed;
    QWidget* m_active;
    bool m_chosen = false;  // by F6 from another window, before this one is active
};
