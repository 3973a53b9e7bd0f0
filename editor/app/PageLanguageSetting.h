// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

class QWidget;
class IDialogService;

namespace kestrune {
class ISettingsStore;
}

// The language runtime pages declare: "Page Language" under "Settings", a BCP 47 tag.
namespace pagelanguage {

// The language of the system's locale ("en" for en_US); the default tag when the locale
// names none (the C locale).
std::string SystemLanguage();
// Whether tag is a well-formed language tag whose primary language Qt's locale data knows
// ("en", "de-CH"; not "English", "xx" or "x-private").
bool IsKnownLanguageTag(const std::string& tag);

// What the user typed, as a tag: a known tag as typed, or the tag of a language named in
// English or in itself, in any case ("English" gives "en", "deutsch" "de"), with a note
// that says so. tag is empty when neither.
struct TypedLanguage {
    std::string tag;
    QString note;
};
TypedLanguage ReadTypedLanguage(const QString& typed);

// The stored tag; the system's language when none is stored or the stored one is not known.
std::string Read(const kestrune::ISettingsStore& settings);
void Write(kestrune::ISettingsStore& settings, const std::string& tag);

// Asks for a tag, starting from current, until the user enters a known one or a language's
// name, or cancels; anything else is refused with a message. Empty when cancelled.
std::string Ask(IDialogService& dialogs, QWidget* parent, const std::string& current);

}  // namespace pagelanguage
