// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

#include "model/ItemStyle.h"

class IDialogService;
namespace Ui {
class FontDialog;
}

// "Font": the text part of one item style. The dialog only collects the values; the
// page that opened it writes them into the model when it is accepted.
class CDlgFont : public QDialog {
    Q_OBJECT
public:
    CDlgFont(IDialogService& dialogs, const kestrune::ItemStyle& style, QWidget* parent = nullptr);
    ~CDlgFont() override;

    // The values of the last successful OK.
    // The style the dialog was opened with, its font as accepted.
    const kestrune::ItemStyle& Result() const { return m_values; }
    // Writes the accepted values into a style record; tells whether anything changed.
    bool ApplyTo(kestrune::ItemStyle& style) const;
    // What the dialog edits, from source into target: the label's font name, size, style,
    // effect and colour.
    static void CopyFont(kestrune::ItemStyle& target, const kestrune::ItemStyle& source);

    void accept() override;

signals:
    void helpRequested(const QString& topic);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    IDialogService& m_dialogs;
    std::unique_ptr<Ui::FontDialog> m_ui;
    kestrune::ItemStyle m_values;
};
