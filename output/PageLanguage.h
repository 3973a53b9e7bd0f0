// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kestrune {

// The language a runtime page declares when none is set.
inline constexpr const char* kDefaultPageLanguage = "en";

// Whether text is a well-formed BCP 47 language tag ("en", "de-CH", "zh-Hant-TW",
// "sr-Latn-RS", "x-private"): the syntax only, not whether the subtags are registered.
bool IsWellFormedLanguageTag(std::string_view tag);

// The tag to write: the given one when well-formed, else the default. Only letters, digits
// and "-" can pass, so the tag is safe in an attribute.
std::string PageLanguageOrDefault(std::string_view tag);

}  // namespace kestrune
