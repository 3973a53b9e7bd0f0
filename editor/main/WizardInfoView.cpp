// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/WizardInfoView.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QHBoxLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ShellTexts.h"

namespace {
// A part ends at a line's end, so no CR LF is ever cut in two.
QString WidgetText(QString part) { return part.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
}  // namespace

CWizardInfoView::CWizardInfoView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("messagePane"));
    m_label = new QLabel(shelltexts::kMessagePaneLabel, this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("messageEdit"));
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setFrameShape(QFrame::StyledPanel);
    // The report is the program's; typing into it would only be lost at the next check.
    m_edit->setReadOnly(true);
    m_edit->setUndoRedoEnabled(false);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusProxy(m_edit);
    // Tab moves on to the next pane, as in every other box that takes no tab characters.
    m_edit->setTabChangesFocus(true);

    // The text box keeps its corner and fills the pane but for a small margin.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    m_actionButton = new QToolButton(this);
    m_actionButton->setObjectName(QStringLiteral("messageAction"));
    m_actionButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actionButton->hide();
    // Once taken, the offer has been answered.
    connect(m_actionButton, &QToolButton::triggered, m_actionButton, &QWidget::hide);
    auto* head = new QHBoxLayout;
    head->addWidget(m_label, 1);
    head->addWidget(m_actionButton);
    layout->addLayout(head);
    layout->addWidget(m_edit, 1);
}

void CWizardInfoView::SetMessageText(const QString& text) {
    ClearMessage();
    m_pending = text;
    AppendPendingPart();
}

// The report of a big document runs to a hundred thousand lines: it goes in a part per turn
// of the event loop, so the window keeps answering while the pane fills.
void CWizardInfoView::AppendPendingPart() {
    qsizetype end = m_pendingFrom;
    for (int line = 0; line < kLinesPerTurn && end < m_pending.size(); ++line) {
        const qsizetype lineEnd = m_pending.indexOf(QLatin1Char('\n'), end);
        end = lineEnd < 0 ? m_pending.size() : lineEnd + 1;
    }
    QTextCursor cursor(m_edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(WidgetText(m_pending.mid(m_pendingFrom, end - m_pendingFrom)));
    m_pendingFrom = end;
    if (m_pendingFrom < m_pending.size())
        QTimer::singleShot(0, this, &CWizardInfoView::AppendPendingPart);
    else
        ClearPending();
}

void CWizardInfoView::ClearPending() {
    m_pending.clear();
    m_pendingFrom = 0;
}

void CWizardInfoView::ClearMessage() {
    ClearPending();
    m_edit->clear();
    m_actionButton->hide();
}

void CWizardInfoView::ShowAction(QAction* action) {
    m_actionButton->setDefaultAction(action);
    m_actionButton->show();
}

QString CWizardInfoView::MessageText() const {
    return m_edit->toPlainText() + WidgetText(m_pending.mid(m_pendingFrom));
}
void CWizardInfoView::SetMessageFont(const QFont& font) { m_edit->setFont(font); }
