// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/FieldReader.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <limits>

#include "app/DialogService.h"
#include "properties/PropertyTexts.h"
#include "properties/SpinEdit.h"
#include "app/TextConvert.h"

using namespace kestrune;

CFieldReader::CFieldReader(IDialogService& dialogs, QWidget* messageParent)
    : m_dialogs(dialogs), m_parent(messageParent) {}

namespace {
// Digits with an optional sign and blanks around: a number, if perhaps too large for a box.
bool LooksLikeInteger(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*[-+]?\\d+\\s*$"));
    return pattern.match(text).hasMatch();
}
}  // namespace

bool CFieldReader::ReadInt(CSpinEdit* box, std::int32_t& value) {
    if (!m_ok) return false;
    const auto parsed = convert::ParseInteger(box->text());
    if (!parsed) {
        // A number too large says which numbers the box takes.
        if (LooksLikeInteger(box->text())) {
            const int minimum = box->HasSpin() ? box->SpinMinimum() : std::numeric_limits<std::int32_t>::min();
            const int maximum = box->HasSpin() ? box->SpinMaximum() : std::numeric_limits<std::int32_t>::max();
            return Fail(box, QString::fromLatin1(texts::kMsgEnterIntegerBetween).arg(minimum).arg(maximum));
        }
        return Fail(box, QString::fromLatin1(texts::kMsgEnterInteger));
    }
    value = *parsed;
    return true;
}

bool CFieldReader::ReadIntInRange(CSpinEdit* box, int minimum, int maximum, std::int32_t& value,
                                  std::optional<std::int32_t> kept) {
    std::int32_t parsed = 0;
    if (!ReadInt(box, parsed)) return false;
    if ((parsed < minimum || parsed > maximum) && parsed != kept)
        return Fail(box, QString::fromLatin1(texts::kMsgEnterIntegerBetween).arg(minimum).arg(maximum));
    value = parsed;
    return true;
}

bool CFieldReader::ReadText(QLineEdit* box, std::string& value) {
    if (!AcceptText(box, box->text())) return false;
    value = convert::FromQt(box->text());
    return true;
}

bool CFieldReader::ReadText(QComboBox* editableBox, std::string& value) {
    if (!AcceptText(editableBox, editableBox->currentText())) return false;
    value = convert::FromQt(editableBox->currentText());
    return true;
}

bool CFieldReader::ReadPath(QLineEdit* box, std::string& value) {
    if (!AcceptText(box, box->text())) return false;
    value = convert::PathFromQt(box->text());
    return true;
}

bool CFieldReader::ReadLabel(QPlainTextEdit* box, std::string& value) {
    const QString text = box->toPlainText();
    if (!AcceptText(box, text)) return false;
    value = convert::LabelFromWidget(text);
    return true;
}

bool CFieldReader::AcceptText(QWidget* box, const QString& text) {
    if (!m_ok) return false;
    if (text.contains(QLatin1Char(','))) return Fail(box, QString::fromLatin1(texts::kMsgNoComma));
    return true;
}

bool CFieldReader::Fail(QWidget* box, const QString& message) {
    m_ok = false;
    m_dialogs.ShowMessage(m_parent, message, IDialogService::Buttons::Ok, IDialogService::Icon::Warning);
    // Back to the box, also when the check ran for a command of the main window.
    if (QWidget* window = box->window(); window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
    box->setFocus(Qt::OtherFocusReason);
    if (auto* spin = qobject_cast<CSpinEdit*>(box)) spin->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) combo->lineEdit()->selectAll();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) text->selectAll();
    return false;
}
