// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

class IDialogService;
class CSpinEdit;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// Reads a page's boxes in order and stops at the first one that fails its check: that
// failure is reported, the box gets the keyboard focus, and every later read does nothing.
// A caller writes into the model only when Ok() holds after all reads.
class CFieldReader {
public:
    CFieldReader(IDialogService& dialogs, QWidget* messageParent);

    bool ReadInt(CSpinEdit* box, std::int32_t& value);
    // kept: a value the model already holds, accepted even outside the range, so a page
    // shows and keeps it instead of refusing to be left.
    bool ReadIntInRange(CSpinEdit* box, int minimum, int maximum, std::int32_t& value,
                        std::optional<std::int32_t> kept = std::nullopt);
    bool ReadText(QLineEdit* box, std::string& value);
    bool ReadText(QComboBox* editableBox, std::string& value);
    // A media path, kept in the file system's spelling.
    bool ReadPath(QLineEdit* box, std::string& value);
    // Labels: LF in the box, CR LF in the model.
    bool ReadLabel(QPlainTextEdit* box, std::string& value);

    bool Ok() const { return m_ok; }

private:
    bool AcceptText(QWidget* box, const QString& text);
    bool Fail(QWidget* box, const QString& message);

    IDialogService& m_dialogs;
    QWidget* m_parent;
    bool m_ok = true;
};
