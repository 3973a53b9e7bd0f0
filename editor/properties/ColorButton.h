// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

#include "model/Color.h"

class IDialogService;

// Shows a colour and, when clicked, lets the user choose another through the colour
// chooser. The chosen colour stays in the button until its page writes it.
class CColorButton : public QPushButton {
    Q_OBJECT
    // The colour is the button's value, as a check box's state is.
    Q_PROPERTY(int color READ GetColor USER true)
public:
    explicit CColorButton(QWidget* parent = nullptr);

    void SetDialogService(IDialogService& dialogs) { m_dialogs = &dialogs; }
    kestrune::Color GetColor() const { return m_color; }
    void SetColor(kestrune::Color color);
    QSize sizeHint() const override;

signals:
    void colorChosen(kestrune::Color color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ChooseColor();

    kestrune::Color m_color = 0;
    IDialogService* m_dialogs = nullptr;
};
