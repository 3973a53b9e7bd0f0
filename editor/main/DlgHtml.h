// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class DlgHtml;
}

// "HTML": the page text, editable; Copy puts the applet paragraph of what the box holds now
// on the clipboard and selects it.
class CDlgHtml : public QDialog {
    Q_OBJECT
public:
    explicit CDlgHtml(const QString& pageText, QWidget* parent = nullptr);
    ~CDlgHtml() override;

    QString PageText() const;
    void SetPageText(const QString& text);
    Ui::DlgHtml& Form() const { return *m_ui; }

public slots:
    // Returns the copied text; empty (and the clipboard untouched) when the box holds no paragraph.
    QString OnCopy();

signals:
    void helpRequested(const QString& topic);

private:
    std::unique_ptr<Ui::DlgHtml> m_ui;
};
