// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// White space is what the C locale calls space: blank, tab, CR, LF, VT and FF.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// The field with that index (from 0) of a separated text; empty beyond the last field.
std::string ExtractField(std::string_view text, int index, char separator);

// Every field of a separated text, in one pass. An empty piece after a final
// separator is dropped, so "a,b," gives two fields and "" none.
// At most maxFields are taken.
std::vector<std::string_view> SplitFields(std::string_view text, char separator,
                                          std::size_t maxFields = static_cast<std::size_t>(-1));

// Every occurrence of find, scanned left to right without overlap, replaced.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// The list with name inserted before the entry at position, in a list whose entries each
// end with the separator. Inserting at the list's length or beyond appends.
std::string InsertListEntry(std::string_view list, std::string_view name, int position, char separator);

// The list without the entry at position (and its separator); unchanged when there is none.
std::string RemoveListEntry(std::string_view list, int position, char separator);

// The number rule of the menu files: leading white space skipped, an optional sign and
// the decimal digits after it; the first other character ends the number. A field
// without digits is 0; a number beyond the 32-bit range saturates instead of wrapping.
std::int32_t ParseNumber(std::string_view text);

// "%d".
void AppendNumber(std::string& out, std::int64_t value);

// ASCII-only lower case, for comparisons "without regard to case".
std::string ToLowerAscii(std::string_view text);

// Runs a %1, %2 ... substitution on one of the program's message texts.
std::string FormatMessage(std::string_view text, std::string_view arg1);

}  // namespace kestrune
