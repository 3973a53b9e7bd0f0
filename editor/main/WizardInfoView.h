// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QLabel;
class QPlainTextEdit;
class QToolButton;

// The message pane under the tree: the report of Check Parameters. It handles no commands;
// a message may offer one beside its label, until the next message.
class CWizardInfoView : public QWidget {
    Q_OBJECT
public:
    explicit CWizardInfoView(QWidget* parent = nullptr);

    // Replaces the whole text; CR LF from the report becomes the widget's LF. A long text
    // fills the pane over several turns of the event loop.
    void SetMessageText(const QString& text);
    void ClearMessage();
    // Offers the command that answers the message shown.
    void ShowAction(QAction* action);
    QToolButton* ActionButton() const { return m_actionButton; }
    QString MessageText() const;
    // The text box takes this font (the tree's) before a report is shown.
    void SetMessageFont(const QFont& font);

    QPlainTextEdit* m_edit = nullptr;

private:
    static constexpr int kLinesPerTurn = 500;
    void AppendPendingPart();
    void ClearPending();

    QLabel* m_label = nullptr;
    QToolButton* m_actionButton = nullptr;
    QString m_pending;  // the text still to go into the pane, from m_pendingFrom on
    qsizetype m_pendingFrom = 0;
};
