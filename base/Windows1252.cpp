// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Windows1252.h"

#include <array>
#include <cstdint>

namespace kestrune {

namespace {

// 0x80 to 0x9F; the rest of the code page equals its Unicode code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kLastCharacter = 0x10FFFF;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> UnicodeToWindows1252(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == character) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void AppendWindows1252(std::string& text, char32_t character) {
    if (const auto byte = UnicodeToWindows1252(character)) {
        text += static_cast<char>(*byte);
        return;
    }
    text += "&#";
    text += std::to_string(static_cast<std::uint32_t>(character));
    text += ';';
}

std::optional<WrittenReference> WrittenReferenceAt(std::string_view text, std::size_t pos) {
    if (text.substr(pos, 2) != "&#") return std::nullopt;
    std::size_t end = pos + 2;
    std::uint32_t value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9' && end - pos < 10) {
        value = value * 10 + static_cast<std::uint32_t>(text[end] - '0');
        ++end;
    }
    const std::size_t digits = end - pos - 2;
    if (digits == 0 || text[pos + 2] == '0' || end >= text.size() || text[end] != ';') return std::nullopt;
    const auto character = static_cast<char32_t>(value);
    if (character > kLastCharacter || IsSurrogate(character) || UnicodeToWindows1252(character))
        return std::nullopt;
    return WrittenReference{character, end + 1 - pos};
}

}  // namespace kestrune
