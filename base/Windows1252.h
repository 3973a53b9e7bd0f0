// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Menu files, template files, pages and clipboard records hold single-byte text in the
// Windows-1252 code page, whatever the system's locale: that is what the files of the
// old program hold and what browsers assume for a page without a charset. A character
// the code page cannot hold travels as a numeric character reference ("&#9733;"),
// which browsers show as the character.
namespace kestrune {

// What browsers show for a character a page cannot give (a NUL, "&#0;").
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character a byte stands for. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same value, so every
// byte comes back unchanged.
char32_t Windows1252ToUnicode(unsigned char byte);

// The byte for a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> UnicodeToWindows1252(char32_t character);

// Appends the character as its byte, or as "&#" decimal ";" when the code page cannot hold it.
void AppendWindows1252(std::string& text, char32_t character);

// A reference of exactly the form AppendWindows1252 writes, starting at pos: its
// character and its length. Other references are left to the reader of the text.
struct WrittenReference {
    char32_t character = 0;
    std::size_t length = 0;
};
std::optional<WrittenReference> WrittenReferenceAt(std::string_view text, std::size_t pos);

}  // namespace kestrune
