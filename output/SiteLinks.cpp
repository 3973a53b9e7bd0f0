// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/SiteLinks.h"

#include <vector>

namespace kestrune {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool HasScheme(std::string_view link) {
    for (std::size_t i = 0; i < link.size(); ++i) {
        const char c = link[i];
        if (c == ':') return i > 0;
        const bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return false;
    }
    return false;
}

std::vector<std::string_view> Segments(std::string_view path) {
    std::vector<std::string_view> segments;
    if (path.empty()) return segments;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('/', start);
        segments.push_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos) return segments;
        start = slash + 1;
    }
}

// The segments from the top, "." and ".." resolved; ".." beyond the top stay in front.
// The last segment is the file name, empty for a folder.
std::vector<std::string_view> ResolvedSegments(std::string_view path) {
    std::vector<std::string_view> resolved;
    const std::vector<std::string_view> segments = Segments(path);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const std::string_view segment = segments[i];
        const bool last = i + 1 == segments.size();
        if (segment == "." || segment == "..") {
            if (segment == "..") {
                if (!resolved.empty() && resolved.back() != "..")
                    resolved.pop_back();
                else
                    resolved.push_back("..");
            }
            if (last) resolved.push_back({});
            continue;
        }
        resolved.push_back(segment);
    }
    return resolved;
}

std::size_t SuffixStart(std::string_view link) { return std::min(link.find('?'), link.find('#')); }

}  // namespace

bool IsRelativeLink(std::string_view link) {
    link = Trimmed(link);
    if (link.empty() || link[0] == '/' || link[0] == '\\' || link[0] == '#' || link[0] == '?') return false;
    return !HasScheme(link);
}

std::string LinkSeenFrom(std::string_view folder, std::string_view link) {
    if (folder.empty() || !IsRelativeLink(link)) return std::string(link);
    link = Trimmed(link);
    const std::size_t suffixAt = std::min(SuffixStart(link), link.size());
    const std::vector<std::string_view> target = ResolvedSegments(link.substr(0, suffixAt));
    const std::vector<std::string_view> from = Segments(folder);
    std::size_t common = 0;
    while (common < from.size() && common + 1 < target.size() && target[common] == from[common] &&
           target[common] != "..")
        ++common;
    std::string seen;
    for (std::size_t i = common; i < from.size(); ++i) seen += "../";
    for (std::size_t i = common; i < target.size(); ++i) {
        seen += target[i];
        if (i + 1 < target.size()) seen += '/';
    }
    if (seen.empty()) seen = "./";
    seen += link.substr(suffixAt);
    return seen;
}

std::optional<std::string> SitePathOfLink(std::string_view link) {
    if (!IsRelativeLink(link)) return std::nullopt;
    link = Trimmed(link);
    const std::vector<std::string_view> target = ResolvedSegments(link.substr(0, SuffixStart(link)));
    std::string path;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == "..") return std::nullopt;
        path += target[i];
        if (i + 1 < target.size()) path += '/';
    }
    return path;
}

std::string_view FolderOfSitePath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

}  // namespace kestrune
