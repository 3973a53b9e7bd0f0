// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/WizardInfoView.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/ShellTexts.h"

CWizardInfoView::CWizardInfoView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("messagePane"));
    m_label = new QLabel(shelltexts::kMessagePaneLabel, this);
    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("messageEdit"));
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setFrameShape(QFrame::StyledPanel);
    // The report is the program's; typing into it would only be lost at the next check.
    m_edit->setReadOnly(true);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusProxy(m_edit);
    // Tab moves on to the next pane, as in every other box that takes no tab characters.
    m_edit->setTabChangesFocus(true);

    // The text box keeps its corner and fills the pane but for a small margin.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    layout->addWidget(m_label);
    layout->addWidget(m_edit, 1);
}

void CWizardInfoView::SetMessageText(const QString& text) {
    QString widgetText = text;
    widgetText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(widgetText);
}

void CWizardInfoView::ClearMessage() { m_edit->clear(); }
QString CWizardInfoView::MessageText() const { return m_edit->toPlainText(); }
void CWizardInfoView::SetMessageFont(const QFont& font) { m_edit->setFont(font); }
