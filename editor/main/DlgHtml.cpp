// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/DlgHtml.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTextCursor>

#include "app/ShellTexts.h"
#include "help/HelpTopics.h"
#include "output/HtmlPageBuilder.h"
#include "ui_dlg_html.h"

CDlgHtml::CDlgHtml(const QString& pageText, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::DlgHtml>()) {
    m_ui->setupUi(this);
    SetHelpTopic(this, helptopic::kHtmlDialog);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_ui->htmlEdit->setFont(fixed);
    m_ui->copyButton->setToolTip(shelltexts::kCopyTooltip);
    SetPageText(pageText);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgHtml::accept);
    connect(m_ui->copyButton, &QPushButton::clicked, this, &CDlgHtml::OnCopy);
    connect(m_ui->helpButton, &QPushButton::clicked, this, [this] { emit helpRequested(helptopic::kHtmlDialog); });
}

CDlgHtml::~CDlgHtml() = default;

QString CDlgHtml::PageText() const { return m_ui->htmlEdit->toPlainText(); }

void CDlgHtml::SetPageText(const QString& text) {
    QString widgetText = text;
    widgetText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_ui->htmlEdit->setPlainText(widgetText);
}

QString CDlgHtml::OnCopy() {
    const QString text = PageText();
    const std::string bytes = text.toUtf8().toStdString();
    const auto range = kestrune::AppletParagraphRange(bytes);
    if (!range) return {};
    // The range is in bytes; the marks are ASCII, so the byte prefix converts to a whole
    // number of characters.
    const qsizetype begin = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(range->begin)).size();
    const qsizetype end = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(range->end)).size();
    QTextCursor cursor(m_ui->htmlEdit->document());
    cursor.setPosition(static_cast<int>(begin));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    m_ui->htmlEdit->setTextCursor(cursor);
    const QString paragraph = text.mid(begin, end - begin);
    QGuiApplication::clipboard()->setText(paragraph);
    return paragraph;
}
