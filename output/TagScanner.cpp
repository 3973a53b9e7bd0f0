// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/TagScanner.h"

#include <algorithm>
#include <iterator>

#include "base/TextRoutines.h"
#include "base/Windows1252.h"
#include "output/CharacterReferences.h"

namespace kestrune {

namespace {

// No real tag has many attributes: a damaged value that reads as millions of them must
// not cost memory for each.
constexpr std::size_t kMaxTagAttributes = 32;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == ':' || c == '.';
}

}  // namespace

bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool MatchesNoCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[pos + i]) != word[i]) return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from) {
    for (std::size_t pos = text.find('<', from); pos != std::string_view::npos; pos = text.find('<', pos + 1))
        if (MatchesNoCase(text, pos, word)) return pos;
    return std::string_view::npos;
}

namespace {

// A browser reads a NUL in a value as the replacement character, and every line end as LF.
std::string AsBrowserReadsIt(std::string_view value, TagRules rules) {
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\0') {
            AppendWindows1252(text, kReplacementCharacter);
        } else if (c == '\r' && rules == TagRules::Browser) {
            text += '\n';
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> Tag::Find(std::string_view name) const {
    for (const Attribute& attribute : attributes) {
        if (attribute.name != name) continue;
        const bool plain = attribute.value.find('\0') == std::string_view::npos &&
                           (rules != TagRules::Browser || attribute.value.find('\r') == std::string_view::npos);
        return DecodeCharacterReferences(plain ? attribute.value : AsBrowserReadsIt(attribute.value, rules),
                                         ReferencePlace::AttributeValue);
    }
    return std::nullopt;
}

bool TagScanner::IsTagAt(std::string_view word, std::size_t pos) const {
    if (!MatchesNoCase(m_text, pos, word)) return false;
    const std::size_t after = pos + word.size();
    return after >= m_text.size() || IsHtmlSpace(m_text[after]) || m_text[after] == '>' || m_text[after] == '/';
}

std::size_t TagScanner::FindTag(std::string_view word, std::size_t from) const {
    for (std::size_t pos = FindNoCase(m_text, word, from); pos != std::string_view::npos;
         pos = FindNoCase(m_text, word, pos + 1))
        if (IsTagAt(word, pos)) return pos;
    return std::string_view::npos;
}

Tag TagScanner::ReadTag(std::size_t pos) {
    Tag tag;
    tag.rules = m_rules;
    const std::size_t n = m_text.size();
    while (pos < n) {
        while (pos < n && (IsHtmlSpace(m_text[pos]) || m_text[pos] == '/')) ++pos;
        if (pos >= n) break;
        if (m_text[pos] == '>') {
            tag.end = pos + 1;
            return tag;
        }
        const std::string_view name = ReadName(pos);
        if (name.empty()) {  // stray character: step over it
            ++pos;
            continue;
        }
        Attribute attribute{ToLowerAscii(name), {}};
        std::size_t look = pos;
        while (look < n && IsHtmlSpace(m_text[look])) ++look;
        if (look < n && m_text[look] == '=') {
            pos = look + 1;
            while (pos < n && IsHtmlSpace(m_text[pos])) ++pos;
            attribute.value = ReadValue(pos);
        }
        // Only the first of a name counts, as in a browser.
        if (tag.attributes.size() < kMaxTagAttributes && !tag.Find(attribute.name))
            tag.attributes.push_back(std::move(attribute));
    }
    tag.end = n;
    return tag;
}

// A browser takes every character up to a blank, '/', '>' or '=' into a name (quotes
// included, '=' too when it comes first); the old rules take only name characters.
std::string_view TagScanner::ReadName(std::size_t& pos) const {
    const std::size_t n = m_text.size();
    const std::size_t start = pos;
    if (m_rules == TagRules::Browser) {
        if (m_text[pos] == '=') ++pos;
        while (pos < n && !IsHtmlSpace(m_text[pos]) && m_text[pos] != '/' && m_text[pos] != '>' && m_text[pos] != '=')
            ++pos;
    } else {
        while (pos < n && IsNameChar(m_text[pos])) ++pos;
    }
    return m_text.substr(start, pos - start);
}

std::string_view TagScanner::ReadValue(std::size_t& pos) {
    const std::size_t n = m_text.size();
    if (pos >= n) return {};
    const char quote = m_text[pos];
    if (quote != '"' && quote != '\'') {
        const std::size_t start = pos;
        while (pos < n && !IsHtmlSpace(m_text[pos]) && m_text[pos] != '>') ++pos;
        return m_text.substr(start, pos - start);
    }
    const std::size_t start = pos + 1;
    std::size_t close = m_rules == TagRules::Browser ? m_text.find(quote, start) : ClosingQuote(start, quote);
    if (close == std::string_view::npos) close = n;
    pos = std::min(close + 1, n);
    return m_text.substr(start, close - start);
}

// The first quote ends the value when what follows reads as the rest of a tag.
// Otherwise that quote belongs to the value (old pages escape nothing) and the value runs
// to the next quote that closes a tag followed by another tag; when the first quote is
// followed by '>' and text, as in a hand-written tag with text after it, only a closing
// quote on the same line is taken.
std::size_t TagScanner::ClosingQuote(std::size_t start, char quote) {
    const std::size_t first = m_text.find(quote, start);
    if (first == std::string_view::npos || EndsValue(first + 1)) return first;
    const std::size_t closing = TagClosingQuote(first + 1, quote);
    if (closing == std::string_view::npos) return first;
    if (FollowedByTagEnd(first + 1) && closing >= LineEnd(first)) return first;
    return closing;
}

bool TagScanner::FollowedByTagEnd(std::size_t pos) const {
    while (pos < m_text.size() && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
    return pos < m_text.size() && m_text[pos] == '>';
}

std::size_t TagScanner::LineEnd(std::size_t pos) {
    if (!m_lineValid || pos < m_lineStart || pos > m_lineEnd) {
        m_lineValid = true;
        m_lineStart = pos;
        m_lineEnd = m_text.find_first_of("\r\n", pos);
        if (m_lineEnd == std::string_view::npos) m_lineEnd = m_text.size();
    }
    return m_lineEnd;
}

// After a closing quote: the end of the tag, or another attribute of the tags read
// here (a user text such as 'say "hi" to=me' must not pass for one).
bool TagScanner::EndsValue(std::size_t pos) const {
    const std::size_t n = m_text.size();
    std::size_t look = pos;
    while (look < n && IsHtmlSpace(m_text[look])) ++look;
    if (look >= n || ClosesTag(pos, false)) return true;
    if (look == pos) return false;
    const std::size_t nameStart = look;
    while (look < n && IsNameChar(m_text[look])) ++look;
    if (!IsKnownAttribute(m_text.substr(nameStart, look - nameStart))) return false;
    while (look < n && IsHtmlSpace(m_text[look])) ++look;
    return look < n && m_text[look] == '=';
}

bool TagScanner::IsKnownAttribute(std::string_view name) {
    static constexpr std::string_view kNames[] = {"name",  "value",  "valuetype", "type",     "id",
                                                  "class", "style",  "code",      "codebase", "archive",
                                                  "width", "height", "align",     "alt",      "hspace",
                                                  "vspace", "title"};
    const std::string lowered = ToLowerAscii(name);
    return std::find(std::begin(kNames), std::end(kNames), lowered) != std::end(kNames);
}

// Blanks, '>' (or "/>"), then the end of the line as the page writer puts it, or
// (unless lineEndOnly) blanks and line breaks and the next tag or the end.
bool TagScanner::ClosesTag(std::size_t pos, bool lineEndOnly) const {
    const std::size_t n = m_text.size();
    while (pos < n && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
    if (pos < n && m_text[pos] == '/') ++pos;
    if (pos >= n || m_text[pos] != '>') return false;
    ++pos;
    while (pos < n && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
    if (pos >= n || m_text[pos] == '\r' || m_text[pos] == '\n') return true;
    if (lineEndOnly) return false;
    while (pos < n && IsHtmlSpace(m_text[pos])) ++pos;
    return pos >= n || m_text[pos] == '<';
}

// The answer for one position holds for every position up to it, so it is kept: many
// damaged values in a row cost one scan of the text, not one each. A quote that ends
// the writer's line wins over one followed by another tag on the same line.
std::size_t TagScanner::TagClosingQuote(std::size_t from, char quote) {
    const std::size_t atLineEnd = NextClosingQuote(from, quote, true);
    return atLineEnd != std::string_view::npos ? atLineEnd : NextClosingQuote(from, quote, false);
}

std::size_t TagScanner::NextClosingQuote(std::size_t from, char quote, bool lineEndOnly) {
    QuoteSearch& cache = m_quoteSearch[quote == '"' ? 0 : 1][lineEndOnly ? 0 : 1];
    if (cache.valid && cache.from <= from && (cache.result == std::string_view::npos || from <= cache.result))
        return cache.result;
    std::size_t pos = m_text.find(quote, from);
    while (pos != std::string_view::npos && !ClosesTag(pos + 1, lineEndOnly)) pos = m_text.find(quote, pos + 1);
    cache = {true, from, pos};
    return pos;
}

}  // namespace kestrune
