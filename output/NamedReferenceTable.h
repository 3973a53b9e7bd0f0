// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace kestrune {

// One named character reference as browsers decode it: its name without ";", the one or
// two characters it stands for, and whether browsers also read it without ";" (the old
// references of HTML 4).
struct NamedReference {
    std::string_view name;
    char32_t first;
    char32_t second;  // 0 when the reference stands for one character
    bool withoutSemicolon;
};

// Every named reference browsers know, in byte order of the names.
std::span<const NamedReference> NamedReferences();

}  // namespace kestrune
