// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PageLanguage.h"

#include <vector>

namespace kestrune {

namespace {

enum class Kind { Alpha, Digit, Alnum };

bool Is(std::string_view part, Kind kind, std::size_t least, std::size_t most) {
    if (part.size() < least || part.size() > most) return false;
    for (const char c : part) {
        const bool alpha = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        const bool digit = c >= '0' && c <= '9';
        if ((kind == Kind::Alpha && !alpha) || (kind == Kind::Digit && !digit) || (kind == Kind::Alnum && !alpha && !digit))
            return false;
    }
    return true;
}

std::vector<std::string_view> Subtags(std::string_view tag) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dash = tag.find('-', start);
        parts.push_back(tag.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
        if (dash == std::string_view::npos) return parts;
        start = dash + 1;
    }
}

bool IsPrivateUse(const std::vector<std::string_view>& parts, std::size_t from) {
    if (from + 1 >= parts.size()) return false;
    for (std::size_t i = from + 1; i < parts.size(); ++i)
        if (!Is(parts[i], Kind::Alnum, 1, 8)) return false;
    return true;
}

}  // namespace

// language ["-" script] ["-" region] *("-" variant) *("-" extension) ["-" privateuse]
bool IsWellFormedLanguageTag(std::string_view tag) {
    if (tag.empty() || tag.size() > 64) return false;
    const std::vector<std::string_view> parts = Subtags(tag);
    if (parts[0].size() == 1 && (parts[0][0] | 0x20) == 'x') return IsPrivateUse(parts, 0);
    std::size_t i = 0;
    if (!Is(parts[i], Kind::Alpha, 2, 8) || parts[i].size() == 4) return false;
    ++i;
    if (parts[0].size() <= 3)
        for (int ext = 0; ext < 3 && i < parts.size() && Is(parts[i], Kind::Alpha, 3, 3); ++ext) ++i;
    if (i < parts.size() && Is(parts[i], Kind::Alpha, 4, 4)) ++i;
    if (i < parts.size() && (Is(parts[i], Kind::Alpha, 2, 2) || Is(parts[i], Kind::Digit, 3, 3))) ++i;
    while (i < parts.size() && (Is(parts[i], Kind::Alnum, 5, 8) ||
                                (parts[i].size() == 4 && parts[i][0] >= '0' && parts[i][0] <= '9' &&
                                 Is(parts[i], Kind::Alnum, 4, 4))))
        ++i;
    while (i < parts.size() && Is(parts[i], Kind::Alnum, 1, 1) && (parts[i][0] | 0x20) != 'x') {
        std::size_t j = i + 1;
        while (j < parts.size() && Is(parts[j], Kind::Alnum, 2, 8)) ++j;
        if (j == i + 1) return false;
        i = j;
    }
    if (i < parts.size() && parts[i].size() == 1 && (parts[i][0] | 0x20) == 'x') return IsPrivateUse(parts, i);
    return i == parts.size();
}

std::string PageLanguageOrDefault(std::string_view tag) {
    return IsWellFormedLanguageTag(tag) ? std::string(tag) : std::string(kDefaultPageLanguage);
}

}  // namespace kestrune
