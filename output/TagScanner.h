// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The tags of a page as a browser would hand their attributes on. The page writer of
// old inserted values unescaped, so a value may hold quotes and angle brackets; the
// scanner reads the writer's one-tag-a-line form back exactly and still reads
// hand-written tags (any attribute order, ' or " or no quotes, any case).
namespace kestrune {

// OldWriterValues reads a quote inside a value as the old page writer meant it;
// Browser reads every tag as a browser's tokenizer does, so the script runtime, which
// gets its parameters from the browser, receives exactly what is read.
enum class TagRules { OldWriterValues, Browser };

bool IsHtmlSpace(char c);
// Whether word (lower case) stands at pos, in any case.
bool MatchesNoCase(std::string_view text, std::size_t pos, std::string_view word);
// The first "<"-led occurrence of word (lower case, starting with '<') from `from` on.
std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from);

struct Attribute {
    std::string name;  // lower case
    std::string_view value;
};

struct Tag {
    std::vector<Attribute> attributes;
    std::size_t end = 0;  // just past the closing '>'
    TagRules rules = TagRules::OldWriterValues;

    // The value as the browser hands it on: its character references read.
    std::optional<std::string> Find(std::string_view name) const;
};

class TagScanner {
public:
    explicit TagScanner(std::string_view text, TagRules rules = TagRules::OldWriterValues)
        : m_text(text), m_rules(rules) {}

    // Whether "<word" followed by a blank, '/', '>' or the end starts at pos.
    bool IsTagAt(std::string_view word, std::size_t pos) const;
    std::size_t FindTag(std::string_view word, std::size_t from) const;
    // Reads the attributes of the tag whose name ends just before pos.
    Tag ReadTag(std::size_t pos);

private:
    struct QuoteSearch {
        bool valid = false;
        std::size_t from = 0;
        std::size_t result = std::string_view::npos;
    };

    std::string_view ReadValue(std::size_t& pos);
    std::string_view ReadName(std::size_t& pos) const;
    std::size_t ClosingQuote(std::size_t start, char quote);
    bool FollowedByTagEnd(std::size_t pos) const;
    std::size_t LineEnd(std::size_t pos);
    bool EndsValue(std::size_t pos) const;
    static bool IsKnownAttribute(std::string_view name);
    bool ClosesTag(std::size_t pos, bool lineEndOnly) const;
    std::size_t TagClosingQuote(std::size_t from, char quote);
    std::size_t NextClosingQuote(std::size_t from, char quote, bool lineEndOnly);

    std::string_view m_text;
    TagRules m_rules;
    QuoteSearch m_quoteSearch[2][2];  // by quote character and by kind of ending
    bool m_lineValid = false;
    std::size_t m_lineStart = 0;
    std::size_t m_lineEnd = 0;
};

}  // namespace kestrune
