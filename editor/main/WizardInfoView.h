// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

// The message pane under the tree: the report of Check Parameters. It handles no commands.
class CWizardInfoView : public QWidget {
    Q_OBJECT
public:
    explicit CWizardInfoView(QWidget* parent = nullptr);

    // Replaces the whole text; CR LF from the report becomes the widget's LF.
    void SetMessageText(const QString& text);
    void ClearMessage();
    QString MessageText() const;
    // The text box takes this font (the tree's) before a report is shown.
    void SetMessageFont(const QFont& font);

    QPlainTextEdit* m_edit = nullptr;

private:
    QLabel* m_label = nullptr;
};
