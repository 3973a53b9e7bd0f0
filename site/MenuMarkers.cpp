// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/MenuMarkers.h"

#include <vector>

#include "site/SiteTexts.h"

namespace kestrune {

namespace {

std::vector<std::size_t> Occurrences(std::string_view text, std::string_view mark) {
    std::vector<std::size_t> at;
    for (std::size_t pos = text.find(mark); pos != std::string_view::npos; pos = text.find(mark, pos + mark.size()))
        at.push_back(pos);
    return at;
}

bool StartsWithFolded(std::string_view text, std::size_t pos, std::string_view lower) {
    if (text.size() - pos < lower.size()) return false;
    for (std::size_t i = 0; i < lower.size(); ++i)
        if (static_cast<char>(text[pos + i] | 0x20) != lower[i]) return false;
    return true;
}

// The end of a tag that starts at pos: the first ">" outside quoted attribute values.
std::size_t TagEnd(std::string_view page, std::size_t pos) {
    char quote = 0;
    for (; pos < page.size(); ++pos) {
        const char c = page[pos];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return pos + 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

MenuMarkers FindMenuMarkers(std::string_view page) {
    const std::vector<std::size_t> opens = Occurrences(page, sitetexts::kMarkerOpen);
    const std::vector<std::size_t> closes = Occurrences(page, sitetexts::kMarkerClose);
    MenuMarkers markers;
    if (opens.empty() && closes.empty()) return markers;
    if (opens.size() != closes.size() || closes.front() < opens.front()) {
        markers.state = MenuMarkers::State::Unbalanced;
        return markers;
    }
    if (opens.size() > 1) {
        markers.state = opens[1] < closes[0] ? MenuMarkers::State::Nested : MenuMarkers::State::Repeated;
        return markers;
    }
    markers.state = MenuMarkers::State::Found;
    markers.innerBegin = opens[0] + std::string_view(sitetexts::kMarkerOpen).size();
    markers.innerEnd = closes[0];
    return markers;
}

std::string_view LineEndOf(std::string_view page) {
    const std::size_t lf = page.find('\n');
    return lf != std::string_view::npos && (lf == 0 || page[lf - 1] != '\r') ? "\n" : "\r\n";
}

std::string BlockForPage(std::string_view page, std::string_view block) {
    if (LineEndOf(page) == "\r\n") return std::string(block);
    std::string converted;
    converted.reserve(block.size());
    for (std::size_t i = 0; i < block.size(); ++i)
        if (!(block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\n')) converted += block[i];
    return converted;
}

std::string WithBlockBetween(std::string_view page, const MenuMarkers& markers, std::string_view block) {
    std::string result;
    result.reserve(page.size() + block.size());
    result += page.substr(0, markers.innerBegin);
    result += LineEndOf(page);
    result += block;
    result += page.substr(markers.innerEnd);
    return result;
}

std::size_t BodyContentStart(std::string_view page) {
    for (std::size_t pos = page.find('<'); pos != std::string_view::npos; pos = page.find('<', pos + 1)) {
        if (!StartsWithFolded(page, pos + 1, "body")) continue;
        const std::size_t after = pos + 5;
        if (after < page.size() && (page[after] == '>' || page[after] == '/' || page[after] == ' ' ||
                                    page[after] == '\t' || page[after] == '\r' || page[after] == '\n'))
            return TagEnd(page, after);
    }
    return std::string_view::npos;
}

std::string WithBlockAdded(std::string_view page, std::size_t bodyEnd, std::string_view block) {
    const std::string_view lineEnd = LineEndOf(page);
    std::string result;
    result.reserve(page.size() + block.size() + 64);
    result += page.substr(0, bodyEnd);
    result += lineEnd;
    result += sitetexts::kMarkerOpen;
    result += lineEnd;
    result += block;
    result += sitetexts::kMarkerClose;
    result += page.substr(bodyEnd);
    return result;
}

}  // namespace kestrune
