// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/PaneFocus.h"

#include <QApplication>
#include <QMainWindow>
#include <utility>

#include "properties/PropertyFrame.h"
#include "tree/KestruneView.h"

CPaneFocus::CPaneFocus(QMainWindow& window, CKestruneView& tree, QWidget& messages, QWidget& findBar,
                       std::function<void()> changed)
    : QObject(&window),
      m_window(window),
      m_tree(tree),
      m_messages(messages),
      m_findBar(findBar),
      m_changed(std::move(changed)),
      m_active(&tree) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

bool CPaneFocus::IsTreeActive() const { return m_active == &m_tree; }

void CPaneFocus::Activate(QWidget* pane) {
    if (pane != &m_tree && pane != &m_messages) return;
    m_active = pane;
    pane->setFocus(Qt::OtherFocusReason);
    m_changed();
}

void CPaneFocus::FocusChanged(QWidget* now) {
    if (!now) return;
    QWidget* pane = nullptr;
    if (now == &m_tree || m_tree.isAncestorOf(now))
        pane = &m_tree;
    else if (now == &m_messages || m_messages.isAncestorOf(now))
        pane = &m_messages;
    if (!pane || pane == m_active) return;
    m_active = pane;
    m_changed();
}

void CPaneFocus::Cycle(int step) {
    CPropertyFrame* frame = m_tree.IsPropertyFrameShown() ? m_tree.m_pPropertyFrame : nullptr;
    const int count = frame ? 3 : 2;
    const int at = frame && frame->HasFocus() ? 2 : IsTreeActive() ? 0 : 1;
    const int next = (at + step + count) % count;
    if (next == 2) {
        frame->FocusActivePage();
        return;
    }
    // The window's activation may come after the pane is chosen: it keeps the choice.
    m_chosen = QApplication::activeWindow() != &m_window;
    m_window.activateWindow();
    Activate(next == 0 ? static_cast<QWidget*>(&m_tree) : &m_messages);
}

void CPaneFocus::WindowActivationChanged() {
    const bool keep = std::exchange(m_chosen, false);
    if (QApplication::activeWindow() != &m_window || keep) return;
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != &m_window ||
        !(focus == &m_tree || m_tree.isAncestorOf(focus) || m_findBar.isAncestorOf(focus)))
        Activate(&m_tree);
}
