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
// The stored tag; the system's language when none is stored or the stored one is malformed.
std::string Read(const kestrune::ISettingsStore& settings);
void Write(kestrune::ISettingsStore& settings, const std::string& tag);

// Asks for a tag, starting from current, until the user enters a well-formed one or
// cancels; a malformed tag is refused with a message. Empty when cancelled.
std::string Ask(IDialogService& dialogs, QWidget* parent, const std::string& current);

}  // namespace pagelanguage
