// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/TemplateNames.h"

#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

std::optional<std::string> CheckTemplateNameCharacters(const std::string& name) {
    if (name.find_first_of(",[]\r\n") != std::string::npos) return std::string(texts::kTemplateNameBadCharacter);
    return std::nullopt;
}

bool IsPrefixOfAnyName(const std::vector<std::string>& names, const std::string& name) {
    const std::string lower = ToLowerAscii(name);
    for (const std::string& existing : names)
        if (ToLowerAscii(existing).starts_with(lower)) return true;
    return false;
}

std::optional<std::string> CheckNewTemplateName(const std::vector<std::string>& existing, const std::string& name) {
    if (name.empty()) return std::string(texts::kTemplateNameEmpty);
    if (auto bad = CheckTemplateNameCharacters(name)) return bad;
    if (IsPrefixOfAnyName(existing, name)) return std::string(texts::kTemplateNameExists);
    return std::nullopt;
}

std::optional<std::string> CheckRenamedTemplateName(const std::vector<std::string>& existing,
                                                     const std::string& newName) {
    if (newName.empty()) return std::string(texts::kTemplateRenameInvalid);
    if (auto bad = CheckTemplateNameCharacters(newName)) return bad;
    if (IsPrefixOfAnyName(existing, newName)) return std::string(texts::kTemplateRenameInvalid);
    return std::nullopt;
}

}  // namespace kestrune
