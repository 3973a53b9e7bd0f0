// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

// Finding a text in Windows-1252 texts without regard to letter case, byte by byte, so
// a search through a million items converts none of them.
namespace kestrune {

// The byte of the lower-case letter for an upper-case one (A-Z, the accented capitals,
// Š Œ Ž Ÿ); every other byte stands for itself.
unsigned char FoldCase(unsigned char byte);

class FoldedNeedle {
public:
    explicit FoldedNeedle(std::string_view needle);
    bool FoundIn(std::string_view text) const;
    bool IsEmpty() const { return m_needle.empty(); }

private:
    std::string m_needle;  // folded
};

}  // namespace kestrune
