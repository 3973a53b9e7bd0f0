// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LinkScheme.h"

#include <array>
#include <string>

#include "output/CharacterReferences.h"

namespace kestrune {

namespace {

bool IsAsciiLetter(char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

bool IsSchemeCharacter(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The URL as the URL parser sees it before it looks for a scheme.
std::string CleanedUrl(std::string_view link) {
    const std::string decoded = DecodeCharacterReferences(link, ReferencePlace::AttributeValue);
    std::size_t begin = 0, end = decoded.size();
    while (begin < end && static_cast<unsigned char>(decoded[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(decoded[end - 1]) <= 0x20) --end;
    std::string url;
    for (std::size_t i = begin; i < end; ++i)
        if (decoded[i] != '\t' && decoded[i] != '\n' && decoded[i] != '\r') url += decoded[i];
    return url;
}

}  // namespace

bool IsScriptLink(std::string_view link) {
    const std::string url = CleanedUrl(link);
    if (url.empty() || !IsAsciiLetter(url[0])) return false;
    std::size_t colon = 1;
    while (colon < url.size() && IsSchemeCharacter(url[colon])) ++colon;
    if (colon >= url.size() || url[colon] != ':') return false;
    std::string scheme = url.substr(0, colon);
    for (char& c : scheme) c = static_cast<char>(c | 0x20);
    constexpr std::array<std::string_view, 3> kScriptSchemes = {"javascript", "vbscript", "data"};
    for (const std::string_view forbidden : kScriptSchemes)
        if (scheme == forbidden) return true;
    return false;
}

}  // namespace kestrune
