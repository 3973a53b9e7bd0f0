// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/CharacterReferences.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <span>

#include "base/Windows1252.h"
#include "output/NamedReferenceTable.h"

namespace kestrune {

namespace {

bool IsAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

unsigned HexValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

const NamedReference* FindNamed(std::string_view name) {
    const std::span<const NamedReference> table = NamedReferences();
    const auto found = std::lower_bound(table.begin(), table.end(), name,
                                        [](const NamedReference& entry, std::string_view key) { return entry.name < key; });
    return found != table.end() && found->name == name ? &*found : nullptr;
}

// As browsers map a numeric reference: nothing, surrogates and values beyond Unicode
// become the replacement character; 128 to 159 are read as the Windows-1252 bytes.
char32_t NumericCharacter(std::uint32_t value) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacementCharacter;
    if (value >= 0x80 && value <= 0x9F) return Windows1252ToUnicode(static_cast<unsigned char>(value));
    return static_cast<char32_t>(value);
}

struct Decoded {
    char32_t character;
    std::size_t length;
    char32_t second = 0;  // a few named references stand for two characters
};

std::optional<Decoded> NumericAt(std::string_view text, std::size_t pos) {
    std::size_t at = pos + 2;  // after "&#"
    const bool hex = at < text.size() && (text[at] == 'x' || text[at] == 'X');
    if (hex) ++at;
    const std::size_t digitsStart = at;
    std::uint32_t value = 0;
    for (; at < text.size() && (hex ? IsHexDigit(text[at]) : (text[at] >= '0' && text[at] <= '9')); ++at) {
        const std::uint32_t digit = hex ? HexValue(text[at]) : static_cast<std::uint32_t>(text[at] - '0');
        value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (at == digitsStart) return std::nullopt;
    if (at < text.size() && text[at] == ';') ++at;
    return Decoded{NumericCharacter(value), at - pos};
}

std::optional<Decoded> NamedAt(std::string_view text, std::size_t pos, ReferencePlace place) {
    const std::size_t start = pos + 1;
    std::size_t runEnd = start;
    while (runEnd < text.size() && IsAsciiAlnum(text[runEnd])) ++runEnd;
    const std::string_view run = text.substr(start, runEnd - start);
    if (run.empty()) return std::nullopt;
    if (runEnd < text.size() && text[runEnd] == ';')
        if (const NamedReference* entry = FindNamed(run)) return Decoded{entry->first, run.size() + 2, entry->second};
    // Without ";" browsers take the longest old reference the text starts with.
    for (std::size_t length = run.size(); length > 0; --length) {
        const NamedReference* entry = FindNamed(run.substr(0, length));
        if (!entry || !entry->withoutSemicolon) continue;
        const std::size_t next = start + length;
        const bool followedByNameOrEquals = next < text.size() && (IsAsciiAlnum(text[next]) || text[next] == '=');
        if (place == ReferencePlace::AttributeValue && followedByNameOrEquals) return std::nullopt;
        return Decoded{entry->first, length + 1, entry->second};
    }
    return std::nullopt;
}

std::string ReplaceEach(std::string_view text, char from, std::string_view to) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == from)
            result += to;
        else
            result += c;
    }
    return result;
}

}  // namespace

std::string EscapeAttributeValue(std::string_view value) { return ReplaceEach(value, '"', "&quot;"); }

void AppendEscapedAttributeValue(std::string& out, std::string_view value) {
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos; quote = value.find('"')) {
        out.append(value.substr(0, quote)).append("&quot;");
        value.remove_prefix(quote + 1);
    }
    out.append(value);
}

std::string EscapeTitleText(std::string_view title) { return ReplaceEach(title, '<', "&lt;"); }

std::string DecodeCharacterReferences(std::string_view text, ReferencePlace place) {
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t amp = text.find('&', pos);
        if (amp == std::string_view::npos) break;
        result.append(text.substr(pos, amp - pos));
        const bool numeric = amp + 1 < text.size() && text[amp + 1] == '#';
        const std::optional<Decoded> decoded = numeric ? NumericAt(text, amp) : NamedAt(text, amp, place);
        if (decoded) {
            AppendWindows1252(result, decoded->character);
            if (decoded->second != 0) AppendWindows1252(result, decoded->second);
            pos = amp + decoded->length;
        } else {
            result += '&';
            pos = amp + 1;
        }
    }
    result.append(text.substr(std::min(pos, text.size())));
    return result;
}

namespace {

// The length of the complete reference ("&name;", "&#123;", "&#x1f;") at the start of
// text, 0 when there is none.
std::size_t CompleteReferenceLength(std::string_view text) {
    std::size_t i = 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        const bool hex = i < text.size() && (text[i] | 0x20) == 'x';
        if (hex) ++i;
        const std::size_t digits = i;
        while (i < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[i])) != 0
                                       : (text[i] >= '0' && text[i] <= '9')))
            ++i;
        if (i == digits) return 0;
    } else {
        const std::size_t name = i;
        while (i < text.size() && IsAsciiAlnum(text[i])) ++i;
        if (i == name) return 0;
    }
    return i < text.size() && text[i] == ';' ? i + 1 : 0;
}

}  // namespace

void AppendEscapedText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\r':
            case '\n': out += ' '; break;
            case '&': {
                const std::size_t length = CompleteReferenceLength(text.substr(i));
                if (length == 0) {
                    out += "&amp;";
                } else {
                    out.append(text.substr(i, length));
                    i += length - 1;
                }
                break;
            }
            default: out += c;
        }
    }
}

std::string AsciiWithReferences(std::string_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            ascii += c;
            continue;
        }
        ascii += "&#";
        ascii += std::to_string(static_cast<std::uint32_t>(Windows1252ToUnicode(byte)));
        ascii += ';';
    }
    return ascii;
}

}  // namespace kestrune
