// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextRoutines.h"

#include <charconv>
#include <limits>

namespace kestrune {

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string ExtractField(std::string_view text, int index, char separator) {
    if (index < 0) return {};
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    const std::size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator, std::size_t maxFields) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < text.size() && fields.size() < maxFields) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, next - start));
        start = next + 1;
    }
    return fields;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(find); hit != std::string_view::npos; hit = text.find(find, start)) {
        result.append(text.substr(start, hit - start));
        result.append(replacement);
        start = hit + find.size();
    }
    result.append(text.substr(start));
    return result;
}

std::string InsertListEntry(std::string_view list, std::string_view name, int position, char separator) {
    std::string head;
    std::string_view rest = list;
    for (int i = 0; i < position; ++i) {
        const std::size_t next = rest.find(separator);
        if (next == std::string_view::npos) {
            if (!rest.empty()) {
                head.append(rest);
                head.push_back(separator);
                rest = {};
            }
            break;
        }
        head.append(rest.substr(0, next + 1));
        rest.remove_prefix(next + 1);
    }
    head.append(name);
    head.push_back(separator);
    head.append(rest);
    return head;
}

std::string RemoveListEntry(std::string_view list, int position, char separator) {
    if (position < 0) return std::string(list);
    std::size_t start = 0;
    for (int i = 0; i < position; ++i) {
        const std::size_t next = list.find(separator, start);
        if (next == std::string_view::npos) return std::string(list);
        start = next + 1;
    }
    if (start >= list.size()) return std::string(list);
    const std::size_t end = list.find(separator, start);
    std::string result(list.substr(0, start));
    if (end != std::string_view::npos) result.append(list.substr(end + 1));
    return result;
}

std::int32_t ParseNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

void AppendNumber(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string FormatMessage(std::string_view text, std::string_view arg1) {
    return ReplaceAll(text, "%1", arg1);
}

}  // namespace kestrune
