// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/SpinEdit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

#include "app/TextConvert.h"

CSpinEdit::CSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setKeyboardTracking(false);
    setAccelerated(false);
}

void CSpinEdit::SetDigitsOnly(bool digitsOnly) { m_digitsOnly = digitsOnly; }

void CSpinEdit::SetSpinRange(int minimum, int maximum) {
    m_hasSpin = true;
    m_minimum = minimum;
    m_maximum = maximum;
    m_position = std::clamp(m_position, minimum, maximum);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    updateGeometry();
}

void CSpinEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
    if (auto value = kestrune::convert::ParseInteger(text))
        m_position = m_hasSpin ? std::clamp(*value, m_minimum, m_maximum) : *value;
    update();
}

void CSpinEdit::SetValue(int value) { SetText(QString::number(value)); }

void CSpinEdit::stepBy(int steps) {
    if (!m_hasSpin) return;
    const int from = kestrune::convert::ParseInteger(text()).value_or(m_position);
    const long long target = static_cast<long long>(std::clamp(from, m_minimum, m_maximum)) + steps;
    SetValue(static_cast<int>(std::clamp<long long>(target, m_minimum, m_maximum)));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const {
    if (!m_hasSpin || isReadOnly()) return StepNone;
    const auto value = kestrune::convert::ParseInteger(text());
    if (!value) return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (*value < m_maximum) enabled |= StepUpEnabled;
    if (*value > m_minimum) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State CSpinEdit::validate(QString& input, int&) const {
    if (!m_digitsOnly) return QValidator::Acceptable;
    for (QChar c : input)
        if (!c.isDigit()) return QValidator::Invalid;
    return QValidator::Acceptable;
}

void CSpinEdit::fixup(QString&) const {}

QSize CSpinEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(font());
    const int widest = std::max({metrics.horizontalAdvance(QStringLiteral("-50000")),
                                 metrics.horizontalAdvance(QString::number(m_minimum)),
                                 metrics.horizontalAdvance(QString::number(m_maximum))});
    QSize hint(widest + 6, lineEdit()->sizeHint().height());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, hint, this);
}

QSize CSpinEdit::minimumSizeHint() const { return sizeHint(); }
