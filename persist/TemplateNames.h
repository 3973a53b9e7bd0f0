// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// The rules the template dialogs apply before they call the store. Each returns the
// message to show, or nothing when the name is acceptable.

// A name the list and the template file can carry: no ",", "[", "]" or line break.
std::optional<std::string> CheckTemplateNameCharacters(const std::string& name);

// "Save As Template": not empty, carriable, and not the beginning of an existing name
// compared without regard to case ("Hot" is refused while "Hot Spot" exists).
std::optional<std::string> CheckNewTemplateName(const std::vector<std::string>& existing, const std::string& name);

// "Rename": the same, with the rename message; the template's own old name counts too.
std::optional<std::string> CheckRenamedTemplateName(const std::vector<std::string>& existing,
                                                     const std::string& newName);

// Whether name is the beginning of one of the names, without regard to case.
bool IsPrefixOfAnyName(const std::vector<std::string>& names, const std::string& name);

}  // namespace kestrune
