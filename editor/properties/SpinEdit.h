// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSpinBox>

// A number box that keeps whatever text it holds, so a page can report a box that is not
// an integer instead of having it silently corrected. Optionally limited to digits, and
// optionally with spin buttons that step the value by 1 within a range.
class CSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CSpinEdit(QWidget* parent = nullptr);

    void SetDigitsOnly(bool digitsOnly);
    bool DigitsOnly() const { return m_digitsOnly; }
    // Shows spin buttons moving the value within [minimum, maximum].
    void SetSpinRange(int minimum, int maximum);
    bool HasSpin() const { return m_hasSpin; }
    int SpinMinimum() const { return m_minimum; }
    int SpinMaximum() const { return m_maximum; }

    void SetText(const QString& text);
    void SetValue(int value);
    QLineEdit* Edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;

private:
    bool m_digitsOnly = false;
    bool m_hasSpin = false;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;  // where the buttons step from while the text is no number
};
