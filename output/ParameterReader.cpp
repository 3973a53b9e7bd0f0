#include "output/ParameterReader.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

#include "model/StyleNames.h"
#include "model/VoraneItem.h"
#include "output/CharacterReferences.h"
#include "output/OutputTexts.h"
#include "base/SafeFile.h"

namespace kestrune {

namespace {

constexpr std::size_t kMaxWarnings = 100;
constexpr std::size_t kMaxTagAttributes = 32;
constexpr int kMenuStyleFields = 10;
constexpr int kItemStyleBlockFields = 12;
constexpr int kItemStyleFields = kItemStyleBlockFields * kStateCount;
constexpr int kItemFields = 9;
constexpr int kAppletStyleFields = 7;

// Any damage found while reading; caught once, at the top.
struct ReadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = Lower(c);
    return result;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == ':' || c == '.';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool MatchesNoCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[pos + i]) != word[i]) return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from) {
    for (std::size_t pos = text.find('<', from); pos != std::string_view::npos;
         pos = text.find('<', pos + 1))
        if (MatchesNoCase(text, pos, word)) return pos;
    return std::string_view::npos;
}

std::vector<std::string_view> SplitFields(std::string_view value) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(value.substr(start));
            return fields;
        }
        fields.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string ReplaceAllOf(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    std::size_t start = 0;
    for (std::size_t pos = text.find(from); pos != std::string_view::npos;
         pos = text.find(from, start)) {
        result.append(text.substr(start, pos - start)).append(to);
        start = pos + from.size();
    }
    result.append(text.substr(start));
    return result;
}

// ---------------------------------------------------------------------------
// Tags. The page writer inserts values unescaped, so a value may hold quotes and
// angle brackets; the scanner reads the writer's one-tag-a-line form back exactly and
// still reads hand-written tags (any attribute order, ' or " or no quotes, any case).

struct Attribute {
    std::string name;  // lower case
    std::string_view value;
};

struct Tag {
    std::vector<Attribute> attributes;
    std::size_t end = 0;  // just past the closing '>'

    // The value as the browser hands it on: its character references read.
    std::optional<std::string> Find(std::string_view name) const {
        for (const Attribute& attribute : attributes)
            if (attribute.name == name) return DecodeCharacterReferences(attribute.value, ReferencePlace::AttributeValue);
        return std::nullopt;
    }
};

class TagScanner {
public:
    explicit TagScanner(std::string_view text) : m_text(text) {}

    // Whether "<word" followed by a blank, '/', '>' or the end starts at pos.
    bool IsTagAt(std::string_view word, std::size_t pos) const {
        if (!MatchesNoCase(m_text, pos, word)) return false;
        const std::size_t after = pos + word.size();
        return after >= m_text.size() || IsSpace(m_text[after]) || m_text[after] == '>' ||
               m_text[after] == '/';
    }

    std::size_t FindTag(std::string_view word, std::size_t from) const {
        for (std::size_t pos = FindNoCase(m_text, word, from); pos != std::string_view::npos;
             pos = FindNoCase(m_text, word, pos + 1))
            if (IsTagAt(word, pos)) return pos;
        return std::string_view::npos;
    }

    // Reads the attributes of the tag whose name ends just before pos.
    Tag ReadTag(std::size_t pos) {
        Tag tag;
        const std::size_t n = m_text.size();
        while (pos < n) {
            while (pos < n && (IsSpace(m_text[pos]) || m_text[pos] == '/')) ++pos;
            if (pos >= n) break;
            if (m_text[pos] == '>') {
                tag.end = pos + 1;
                return tag;
            }
            const std::size_t nameStart = pos;
            while (pos < n && IsNameChar(m_text[pos])) ++pos;
            if (pos == nameStart) {  // stray character: step over it
                ++pos;
                continue;
            }
            Attribute attribute{Lowered(m_text.substr(nameStart, pos - nameStart)), {}};
            std::size_t look = pos;
            while (look < n && IsSpace(m_text[look])) ++look;
            if (look < n && m_text[look] == '=') {
                pos = look + 1;
                while (pos < n && IsSpace(m_text[pos])) ++pos;
                attribute.value = ReadValue(pos);
            }
            // Only the first of a name counts, and no real tag has many: a damaged value
            // that reads as millions of attributes must not cost memory for each.
            if (tag.attributes.size() < kMaxTagAttributes && !tag.Find(attribute.name))
                tag.attributes.push_back(std::move(attribute));
        }
        tag.end = n;
        return tag;
    }

private:
    std::string_view ReadValue(std::size_t& pos) {
        const std::size_t n = m_text.size();
        if (pos >= n) return {};
        const char quote = m_text[pos];
        if (quote != '"' && quote != '\'') {
            const std::size_t start = pos;
            while (pos < n && !IsSpace(m_text[pos]) && m_text[pos] != '>') ++pos;
            return m_text.substr(start, pos - start);
        }
        const std::size_t start = pos + 1;
        std::size_t close = ClosingQuote(start, quote);
        if (close == std::string_view::npos) close = n;
        pos = std::min(close + 1, n);
        return m_text.substr(start, close - start);
    }

    // The first quote ends the value when what follows reads as the rest of a tag.
    // Otherwise that quote belongs to the value (the page writer escapes nothing) and the
    // value runs to the next quote that closes a tag followed by another tag; when the
    // first quote is followed by '>' and text, as in a hand-written tag with text after
    // it, only a closing quote on the same line is taken.
    std::size_t ClosingQuote(std::size_t start, char quote) {
        const std::size_t first = m_text.find(quote, start);
        if (first == std::string_view::npos || EndsValue(first + 1)) return first;
        const std::size_t closing = TagClosingQuote(first + 1, quote);
        if (closing == std::string_view::npos) return first;
        if (FollowedByTagEnd(first + 1) && closing >= LineEnd(first)) return first;
        return closing;
    }

    bool FollowedByTagEnd(std::size_t pos) const {
        while (pos < m_text.size() && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
        return pos < m_text.size() && m_text[pos] == '>';
    }

    std::size_t LineEnd(std::size_t pos) {
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
    bool EndsValue(std::size_t pos) const {
        const std::size_t n = m_text.size();
        std::size_t look = pos;
        while (look < n && IsSpace(m_text[look])) ++look;
        if (look >= n || ClosesTag(pos, false)) return true;
        if (look == pos) return false;
        const std::size_t nameStart = look;
        while (look < n && IsNameChar(m_text[look])) ++look;
        if (!IsKnownAttribute(m_text.substr(nameStart, look - nameStart))) return false;
        while (look < n && IsSpace(m_text[look])) ++look;
        return look < n && m_text[look] == '=';
    }

    static bool IsKnownAttribute(std::string_view name) {
        static constexpr std::string_view kNames[] = {"name",   "value", "valuetype", "type",  "id",
                                                      "class",  "style", "code",      "codebase", "archive",
                                                      "width",  "height", "align",    "alt",   "hspace",
                                                      "vspace", "title"};
        const std::string lowered = Lowered(name);
        return std::find(std::begin(kNames), std::end(kNames), lowered) != std::end(kNames);
    }

    // Blanks, '>' (or "/>"), then the end of the line as the page writer puts it, or
    // (unless lineEndOnly) blanks and line breaks and the next tag or the end.
    bool ClosesTag(std::size_t pos, bool lineEndOnly) const {
        const std::size_t n = m_text.size();
        while (pos < n && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
        if (pos < n && m_text[pos] == '/') ++pos;
        if (pos >= n || m_text[pos] != '>') return false;
        ++pos;
        while (pos < n && (m_text[pos] == ' ' || m_text[pos] == '\t')) ++pos;
        if (pos >= n || m_text[pos] == '\r' || m_text[pos] == '\n') return true;
        if (lineEndOnly) return false;
        while (pos < n && IsSpace(m_text[pos])) ++pos;
        return pos >= n || m_text[pos] == '<';
    }

    // The answer for one position holds for every position up to it, so it is kept:
    // many damaged values in a row cost one scan of the text, not one each. A quote that
    // ends the writer's line wins over one followed by another tag on the same line.
    std::size_t TagClosingQuote(std::size_t from, char quote) {
        const std::size_t atLineEnd = NextClosingQuote(from, quote, true);
        return atLineEnd != std::string_view::npos ? atLineEnd : NextClosingQuote(from, quote, false);
    }

    std::size_t NextClosingQuote(std::size_t from, char quote, bool lineEndOnly) {
        QuoteSearch& cache = m_quoteSearch[quote == '"' ? 0 : 1][lineEndOnly ? 0 : 1];
        if (cache.valid && cache.from <= from && (cache.result == std::string_view::npos || from <= cache.result))
            return cache.result;
        std::size_t pos = m_text.find(quote, from);
        while (pos != std::string_view::npos && !ClosesTag(pos + 1, lineEndOnly)) pos = m_text.find(quote, pos + 1);
        cache = {true, from, pos};
        return pos;
    }

    struct QuoteSearch {
        bool valid = false;
        std::size_t from = 0;
        std::size_t result = std::string_view::npos;
    };

    std::string_view m_text;
    QuoteSearch m_quoteSearch[2][2];  // by quote character and by kind of ending
    bool m_lineValid = false;
    std::size_t m_lineStart = 0;
    std::size_t m_lineEnd = 0;
};

// ---------------------------------------------------------------------------
// The parameters by kind.

struct Parameter {
    std::string name;  // as written
    std::string value;
};

struct ParameterSet {
    std::optional<Parameter> appletStyle;
    std::optional<Parameter> misc;
    std::map<int, Parameter> menuStyles;
    std::map<int, Parameter> itemStyles;
    std::map<std::pair<int, int>, Parameter> items;
};

std::optional<int> ParseIndex(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

class Reader {
public:
    Reader(std::string_view text, const ParameterReadOptions& options)
        : m_text(text), m_options(options), m_scanner(text) {}

    AppletReadResult Read() {
        AppletReadResult result;
        try {
            if (m_text.size() > m_options.maxTextSize)
                throw ReadError("The text is too large to be an applet page.");
            m_applet = std::make_unique<CAppletParameters>();
            ReadPageFrame();
            ReadAppletStyle();
            BuildMenus();
            result.applet = std::move(m_applet);
        } catch (const ReadError& error) {
            result.error = error.what();
        } catch (const std::bad_alloc&) {
            result.error = "The text is too large to be an applet page.";
        }
        result.warnings = std::move(m_warnings);
        if (m_droppedWarnings > 0)
            result.warnings.push_back("... and " + std::to_string(m_droppedWarnings) +
                                      " more warnings.");
        return result;
    }

private:
    void Warn(std::string text) {
        if (m_warnings.size() < kMaxWarnings)
            m_warnings.push_back(std::move(text));
        else
            ++m_droppedWarnings;
    }

    // ---- the page around the parameters

    void ReadPageFrame() {
        const std::size_t appletStart = FindAppletStart();
        std::size_t paramsFrom = 0;
        if (appletStart != std::string_view::npos) {
            ReadPageTitle(appletStart);
            ReadParagraphAlign(appletStart);
            const Tag applet = m_scanner.ReadTag(appletStart + 7);
            ReadAppletSize(applet);
            paramsFrom = applet.end;
        }
        const std::size_t paramsEnd = CollectParameters(paramsFrom);
        if (appletStart != std::string_view::npos && m_scanner.FindTag("<applet", paramsEnd) != std::string_view::npos)
            Warn("The page holds more than one applet; only the first is read.");
    }

    // The first <applet> tag outside the values of <param> tags: a bare parameter block
    // may carry "<applet" inside a user text.
    std::size_t FindAppletStart() {
        for (std::size_t pos = m_text.find('<'); pos != std::string_view::npos; pos = m_text.find('<', pos)) {
            if (m_scanner.IsTagAt("<applet", pos)) return pos;
            pos = m_scanner.IsTagAt("<param", pos) ? m_scanner.ReadTag(pos + 6).end : pos + 1;
        }
        return std::string_view::npos;
    }

    void ReadPageTitle(std::size_t limit) {
        const std::size_t open = m_scanner.FindTag("<title", 0);
        if (open == std::string_view::npos || open > limit) return;
        const std::size_t contentStart = m_text.find('>', open);
        if (contentStart == std::string_view::npos) return;
        const std::size_t close = FindNoCase(m_text, "</title", contentStart);
        if (close == std::string_view::npos || close > limit) return;
        m_applet->m_HTMLTitle =
            DecodeCharacterReferences(m_text.substr(contentStart + 1, close - contentStart - 1), ReferencePlace::Text);
    }

    void ReadParagraphAlign(std::size_t limit) {
        std::optional<std::string> align;
        for (std::size_t pos = m_scanner.FindTag("<p", 0); pos != std::string_view::npos && pos < limit;) {
            const Tag paragraph = m_scanner.ReadTag(pos + 2);
            align = paragraph.Find("align");
            pos = m_scanner.FindTag("<p", paragraph.end);
        }
        if (!align) return;
        const std::string word = Lowered(Trim(*align));
        for (std::size_t i = 0; i < names::kParagraphAligns.size(); ++i)
            if (word == Lowered(names::kParagraphAligns[i])) m_applet->m_Align = static_cast<int>(i);
    }

    void ReadAppletSize(const Tag& applet) {
        ReadSizeAttribute(applet, "width", m_applet->m_appWidth);
        ReadSizeAttribute(applet, "height", m_applet->m_appHeight);
    }

    void ReadSizeAttribute(const Tag& applet, std::string_view name, std::int32_t& target) {
        const auto value = applet.Find(name);
        if (!value) return;
        if (const auto number = ToInt(Trim(*value)))
            target = *number;
        else
            Warn("The applet's " + std::string(name) + " " + Quoted(*value) +
                 " is not a number of pixels; " + std::to_string(target) + " is used.");
    }

    // Returns where the parameters end: at "</applet" or the end of the text.
    std::size_t CollectParameters(std::size_t from) {
        const std::size_t n = m_text.size();
        std::size_t pos = from;
        bool sawAny = false;
        while (pos < n) {
            pos = m_text.find('<', pos);
            if (pos == std::string_view::npos) break;
            if (MatchesNoCase(m_text, pos, "</applet")) break;
            if (!m_scanner.IsTagAt("<param", pos)) {
                ++pos;
                continue;
            }
            const Tag tag = m_scanner.ReadTag(pos + 6);
            pos = tag.end;
            const auto name = tag.Find("name");
            if (!name) {
                Warn("A <param> without a name is ignored.");
                continue;
            }
            sawAny = true;
            if (++m_parameterCount > m_options.maxParameters) {
                if (m_parameterCount == m_options.maxParameters + 1)
                    Warn("The page holds more than " + std::to_string(m_options.maxParameters) +
                         " parameters; the rest are ignored.");
                continue;
            }
            const auto value = tag.Find("value");
            Store({std::string(Trim(*name)), std::string(value.value_or(std::string()))});
        }
        if (!sawAny) throw ReadError("The text holds no applet parameters.");
        return std::min(pos, n);
    }

    void Store(Parameter parameter) {
        const std::string key = Lowered(parameter.name);
        if (key == Lowered(texts::kParamAppletStyle)) return StoreOnce(m_params.appletStyle, parameter);
        if (key == Lowered(texts::kParamMisc)) return StoreOnce(m_params.misc, parameter);
        if (const auto number = NumberAfter(key, Lowered(texts::kParamMenuStylePrefix)))
            return StoreOnce(m_params.menuStyles, *number, parameter);
        if (const auto number = NumberAfter(key, Lowered(texts::kParamItemStylePrefix)))
            return StoreOnce(m_params.itemStyles, *number, parameter);
        if (const auto position = ItemPosition(key))
            return StoreOnce(m_params.items, *position, parameter);
        Warn("The unknown parameter " + Quoted(parameter.name) + " is ignored.");
    }

    static std::optional<int> NumberAfter(std::string_view key, std::string_view prefix) {
        if (key.substr(0, prefix.size()) != prefix) return std::nullopt;
        return ParseIndex(key.substr(prefix.size()));
    }

    static std::optional<std::pair<int, int>> ItemPosition(std::string_view key) {
        const std::string prefix = Lowered(texts::kParamItemPrefix);
        if (key.substr(0, prefix.size()) != prefix) return std::nullopt;
        const std::string_view rest = key.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos) return std::nullopt;
        const auto menu = ParseIndex(rest.substr(0, dash));
        const auto item = ParseIndex(rest.substr(dash + 1));
        if (!menu || !item) return std::nullopt;
        return std::make_pair(*menu, *item);
    }

    void StoreOnce(std::optional<Parameter>& slot, Parameter& parameter) {
        if (slot)
            WarnDuplicate(parameter.name);
        else
            slot = std::move(parameter);
    }

    template <typename Key>
    void StoreOnce(std::map<Key, Parameter>& slots, const Key& key, Parameter& parameter) {
        if (slots.count(key))
            WarnDuplicate(parameter.name);
        else
            slots.emplace(key, std::move(parameter));
    }

    void WarnDuplicate(const std::string& name) {
        Warn("The parameter " + Quoted(name) + " appears more than once; the first one is used.");
    }

    // ---- numbers and fields

    static std::optional<std::int32_t> ToInt(std::string_view text) {
        if (!text.empty() && text.front() == '+') text.remove_prefix(1);
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || text.empty())
            return std::nullopt;
        return value;
    }

    static std::int32_t Number(const Parameter& parameter, std::string_view field) {
        const auto value = ToInt(Trim(field));
        if (!value)
            throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not a whole number.");
        return *value;
    }

    static Color ColorValue(const Parameter& parameter, std::string_view field) {
        std::string_view digits = Trim(field);
        if (!digits.empty() && digits.front() == '#') digits.remove_prefix(1);
        std::uint32_t rgb = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), rgb, 16);
        if (digits.size() != 6 || error != std::errc() || end != digits.data() + digits.size())
            throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) +
                            " is not a colour of six hexadecimal digits.");
        const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
        return static_cast<Color>(red | (green << 8) | (blue << 16));
    }

    // Several one-digit numbers written one after the other.
    static std::vector<int> Digits(const Parameter& parameter, std::string_view field, std::size_t count) {
        const std::string_view digits = Trim(field);
        if (digits.size() != count ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not " +
                            std::to_string(count) + " digits.");
        std::vector<int> values;
        for (char c : digits) values.push_back(c - '0');
        return values;
    }

    std::vector<std::string_view> Fields(const Parameter& parameter, std::size_t wanted,
                                         std::size_t required) {
        std::vector<std::string_view> fields = SplitFields(parameter.value);
        if (fields.size() < required)
            throw ReadError(Quoted(parameter.name) + " has " + std::to_string(fields.size()) +
                            " fields where " + std::to_string(wanted) + " are needed.");
        if (fields.size() > wanted)
            Warn(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
                 std::to_string(wanted) + " are expected; the rest is ignored.");
        fields.resize(std::max(fields.size(), wanted));
        return fields;
    }

    std::string MediaPath(std::string_view name) const {
        if (name.empty()) return {};
        const std::string text(name);
        return m_options.resolveMedia ? m_options.resolveMedia(text) : text;
    }

    // ---- the applet, the menus and their relations

    void ReadAppletStyle() {
        if (!m_params.appletStyle) throw ReadError("The parameter \"ApStyle\" is missing.");
        const Parameter& parameter = *m_params.appletStyle;
        const auto fields = Fields(parameter, kAppletStyleFields, kAppletStyleFields - 1);
        CAppletParameters& applet = *m_applet;
        applet.m_appBKColor = ColorValue(parameter, fields[0]);
        if (!fields[1].empty() && ColorValue(parameter, fields[1]) != applet.m_appBKColor)
            Warn("\"ApStyle\" names two background colours; the first is used.");
        applet.m_appBKImagePath = MediaPath(fields[2]);
        applet.m_appBKImageMode = Number(parameter, fields[3]);
        applet.m_appBKImageX = Number(parameter, fields[4]);
        applet.m_appBKImageY = Number(parameter, fields[5]);
        applet.m_appBKAudioPath = MediaPath(fields[6]);
    }

    struct Relations {
        std::int32_t menuCount = 0;
        std::vector<std::int32_t> itemCounts;
        std::vector<std::int32_t> topLevel;
        std::vector<std::pair<std::int32_t, std::int32_t>> subMenus;  // emitted item, menu
    };

    Relations ReadRelations() {
        if (!m_params.misc) throw ReadError("The parameter \"Misc\" is missing.");
        const Parameter& misc = *m_params.misc;
        std::vector<std::string_view> fields = SplitFields(misc.value);
        if (Trim(fields.back()).empty())
            fields.pop_back();
        else
            Warn("\"Misc\" does not end with a comma.");
        Relations relations;
        if (fields.empty()) throw ReadError("\"Misc\" is empty.");
        relations.menuCount = Number(misc, fields[0]);
        if (relations.menuCount < 0 ||
            static_cast<std::size_t>(relations.menuCount) > m_params.menuStyles.size())
            throw ReadError("\"Misc\" counts " + std::to_string(relations.menuCount) +
                            " menus, but the page describes " +
                            std::to_string(m_params.menuStyles.size()) + ".");
        const std::size_t countsEnd = 1 + static_cast<std::size_t>(relations.menuCount);
        if (fields.size() < countsEnd)
            throw ReadError("\"Misc\" lacks the item counts of its menus.");
        for (std::size_t i = 1; i < countsEnd; ++i) relations.itemCounts.push_back(Number(misc, fields[i]));
        for (std::size_t i = countsEnd; i < fields.size(); ++i) {
            const std::string_view field = Trim(fields[i]);
            const std::size_t dash = field.find('-');
            if (dash == 0) {
                relations.topLevel.push_back(MenuNumber(misc, field.substr(1), relations.menuCount));
            } else if (dash != std::string_view::npos) {
                relations.subMenus.emplace_back(Number(misc, field.substr(0, dash)),
                                                MenuNumber(misc, field.substr(dash + 1), relations.menuCount));
            } else {
                throw ReadError("\"Misc\": " + Quoted(field) + " is neither a top-level menu nor a relation.");
            }
        }
        return relations;
    }

    static std::int32_t MenuNumber(const Parameter& misc, std::string_view field, std::int32_t menuCount) {
        const std::int32_t number = Number(misc, field);
        if (number < 0 || number >= menuCount)
            throw ReadError("\"Misc\" names menu " + std::to_string(number) + ", but there are only " +
                            std::to_string(menuCount) + ".");
        return number;
    }

    std::unique_ptr<CVorane> ReadMenu(int number, std::int32_t itemCount,
                                      std::vector<CVoraneItem*>& emittedItems,
                                      std::vector<int>& ownerOfItem) {
        const auto style = m_params.menuStyles.find(number);
        if (style == m_params.menuStyles.end())
            throw ReadError("The parameter \"MStyle-" + std::to_string(number) + "\" is missing.");
        const auto itemStyles = m_params.itemStyles.find(number);
        if (itemStyles == m_params.itemStyles.end())
            throw ReadError("The parameter \"IStyle-" + std::to_string(number) + "\" is missing.");
        if (itemCount < 1)
            throw ReadError("\"Misc\" gives menu " + std::to_string(number) + " no items.");

        auto menu = std::make_unique<CVorane>();
        ReadMenuStyle(style->second, *menu);
        ReadItemStyles(itemStyles->second, *menu);
        for (std::int32_t j = 0; j < itemCount; ++j) {
            const auto item = m_params.items.find({number, j});
            if (item == m_params.items.end())
                throw ReadError("The parameter \"I" + std::to_string(number) + "-" + std::to_string(j) +
                                "\" is missing.");
            auto read = ReadItem(item->second);
            emittedItems.push_back(read.get());
            ownerOfItem.push_back(number);
            menu->AddItem(std::move(read), 0);
            m_usedItems.push_back(item->first);
        }
        return menu;
    }

    void ReadMenuStyle(const Parameter& parameter, CVorane& menu) {
        const auto fields = Fields(parameter, kMenuStyleFields, kMenuStyleFields);
        menu.m_BKColor = ColorValue(parameter, fields[0]);
        menu.m_BKStyle = BackgroundStyle(parameter, fields[1]);
        menu.m_MenuAlign = Number(parameter, fields[2]);
        menu.m_Corner = Number(parameter, fields[3]);
        menu.m_xPos = Number(parameter, fields[4]);
        menu.m_yPos = Number(parameter, fields[5]);
        menu.m_Width = Number(parameter, fields[6]);
        menu.m_Height = Number(parameter, fields[7]);
        menu.m_ItemGap = Number(parameter, fields[8]);
        menu.m_BorderThick = Number(parameter, fields[9]);
    }

    static std::int32_t BackgroundStyle(const Parameter& parameter, std::string_view field) {
        const std::string_view code = Trim(field);
        for (std::size_t i = 0; i < texts::kBackgroundStyleCodes.size(); ++i)
            if (code == texts::kBackgroundStyleCodes[i]) return static_cast<std::int32_t>(i);
        throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not a background style.");
    }

    void ReadItemStyles(const Parameter& parameter, CVorane& menu) {
        std::vector<std::string_view> fields = SplitFields(parameter.value);
        if (fields.size() > kItemStyleFields && Trim(fields.back()).empty()) fields.pop_back();
        if (fields.size() < kItemStyleFields)
            throw ReadError(Quoted(parameter.name) + " has " + std::to_string(fields.size()) +
                            " fields where " + std::to_string(kItemStyleFields) + " are needed.");
        if (fields.size() > kItemStyleFields)
            Warn(Quoted(parameter.name) + " has more than " + std::to_string(kItemStyleFields) +
                 " fields; the rest is ignored.");
        bool spareFieldsUsed = false;
        for (int state = 0; state < kStateCount; ++state) {
            const std::string_view* block = &fields[static_cast<std::size_t>(state * kItemStyleBlockFields)];
            ItemStyle& style = menu.m_itemStyle[static_cast<std::size_t>(state)];
            style.BKColor = ColorValue(parameter, block[0]);
            style.FRColor = ColorValue(parameter, block[1]);
            const auto fill = Digits(parameter, block[2], 3);
            style.GradientDirection = fill[0];
            style.ItemFillStyle = fill[1];
            style.ItemBorderStyle = fill[2] - 1;
            style.FontEffect = Number(parameter, block[3]);
            style.FontName = Number(parameter, block[4]);
            style.FontSize = Number(parameter, block[5]);
            style.FontStyle = Number(parameter, block[6]);
            const auto align = Digits(parameter, block[7], 2);
            style.ImageAlign = align[0];
            style.TextAlign = align[1];
            style.ImageOffset = Number(parameter, block[8]);
            style.TextOffset = Number(parameter, block[9]);
            spareFieldsUsed = spareFieldsUsed || !block[10].empty() || !block[11].empty();
        }
        if (spareFieldsUsed)
            Warn(Quoted(parameter.name) + " fills fields that the applet leaves empty; they are ignored.");
    }

    // A comma in a text is a field separator to the applet, which shows the label up to
    // it; the surplus is kept with the description, so the item writes back unchanged.
    std::unique_ptr<CVoraneItem> ReadItem(const Parameter& parameter) {
        std::vector<std::string_view> fields = SplitFields(parameter.value);
        std::string description;
        if (fields.size() > kItemFields) {
            const std::size_t surplus = fields.size() - kItemFields;
            description = std::string(fields[1]);
            for (std::size_t i = 2; i <= surplus + 1; ++i) description.append(",").append(fields[i]);
            fields.erase(fields.begin() + 2, fields.begin() + 2 + static_cast<std::ptrdiff_t>(surplus));
            Warn(Quoted(parameter.name) + " has more than " + std::to_string(kItemFields) +
                 " fields: a comma in its texts splits them for the applet.");
        } else {
            if (fields.size() < kItemFields)
                Warn(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
                     std::to_string(kItemFields) + " are expected; the missing ones are empty.");
            fields.resize(kItemFields);
            description = std::string(fields[1]);
        }
        auto item = std::make_unique<CVoraneItem>(ReplaceAllOf(fields[0], texts::kLabelBreakToken, texts::kCrLf));
        item->m_description = std::move(description);
        item->m_normalImage = MediaPath(fields[2]);
        item->m_overImage = MediaPath(fields[3]);
        item->m_clickImage = MediaPath(fields[4]);
        item->m_overAudio = MediaPath(fields[5]);
        item->m_clickAudio = MediaPath(fields[6]);
        item->m_target = std::string(fields[7]);
        item->m_link = std::string(fields[8]);
        return item;
    }

    void BuildMenus() {
        const Relations relations = ReadRelations();
        const auto menuCount = static_cast<std::size_t>(relations.menuCount);
        std::vector<std::unique_ptr<CVorane>> menus;
        std::vector<CVoraneItem*> emittedItems;
        std::vector<int> ownerOfItem;
        for (std::size_t k = 0; k < menuCount; ++k)
            menus.push_back(ReadMenu(static_cast<int>(k), relations.itemCounts[k], emittedItems, ownerOfItem));
        WarnAboutUnusedLines(menuCount);

        // Each menu hangs in one place: under one item or at the top level.
        std::vector<int> parentMenu(menuCount, -1);
        std::vector<bool> attached(menuCount, false);
        std::vector<CVoraneItem*> openerOf(menuCount, nullptr);
        std::vector<bool> itemOpens(emittedItems.size(), false);
        for (const std::int32_t top : relations.topLevel) {
            const auto k = static_cast<std::size_t>(top);
            if (attached[k]) throw ReadError("\"Misc\" places menu " + std::to_string(top) + " twice.");
            attached[k] = true;
        }
        for (const auto& [itemIndex, menuNumber] : relations.subMenus) {
            if (itemIndex < 0 || static_cast<std::size_t>(itemIndex) >= emittedItems.size())
                throw ReadError("\"Misc\" names item " + std::to_string(itemIndex) + ", but there are only " +
                                std::to_string(emittedItems.size()) + ".");
            const auto i = static_cast<std::size_t>(itemIndex);
            const auto k = static_cast<std::size_t>(menuNumber);
            if (itemOpens[i])
                throw ReadError("\"Misc\" gives item " + std::to_string(itemIndex) + " more than one sub menu.");
            if (attached[k]) throw ReadError("\"Misc\" places menu " + std::to_string(menuNumber) + " twice.");
            itemOpens[i] = attached[k] = true;
            openerOf[k] = emittedItems[i];
            parentMenu[k] = ownerOfItem[i];
        }
        CheckNesting(parentMenu);

        for (std::size_t k = 0; k < menuCount; ++k) {
            if (!attached[k]) {
                Warn("Menu " + std::to_string(k) + " is neither a top-level menu nor opened by an item; "
                     "it is not shown.");
                continue;
            }
            if (openerOf[k]) openerOf[k]->SetSubMenu(std::move(menus[k]));
        }
        for (const std::int32_t top : relations.topLevel)
            m_applet->AddTopLevelMenu(std::move(menus[static_cast<std::size_t>(top)]), 0);
    }

    // With one parent per menu, a menu whose chain of parents never reaches a menu
    // without a parent lies on a cycle. Depths are found top-down, so the walk is linear.
    void CheckNesting(const std::vector<int>& parentMenu) const {
        const std::size_t count = parentMenu.size();
        std::vector<std::vector<std::size_t>> children(count);
        for (std::size_t k = 0; k < count; ++k)
            if (parentMenu[k] >= 0) children[static_cast<std::size_t>(parentMenu[k])].push_back(k);
        std::vector<int> depth(count, -1);
        std::deque<std::size_t> queue;
        for (std::size_t k = 0; k < count; ++k)
            if (parentMenu[k] < 0) {
                depth[k] = 0;
                queue.push_back(k);
            }
        while (!queue.empty()) {
            const std::size_t k = queue.front();
            queue.pop_front();
            for (const std::size_t child : children[k]) {
                depth[child] = depth[k] + 1;
                if (depth[child] > m_options.maxDepth)
                    throw ReadError("The menus are nested more than " + std::to_string(m_options.maxDepth) +
                                    " levels deep.");
                queue.push_back(child);
            }
        }
        for (std::size_t k = 0; k < count; ++k)
            if (parentMenu[k] >= 0 && depth[k] < 0)
                throw ReadError("\"Misc\" makes menu " + std::to_string(k) + " open itself.");
    }

    void WarnAboutUnusedLines(std::size_t menuCount) {
        for (const auto& [number, parameter] : m_params.menuStyles)
            if (static_cast<std::size_t>(number) >= menuCount)
                Warn(Quoted(parameter.name) + " belongs to no menu counted in \"Misc\"; it is ignored.");
        for (const auto& [number, parameter] : m_params.itemStyles)
            if (static_cast<std::size_t>(number) >= menuCount)
                Warn(Quoted(parameter.name) + " belongs to no menu counted in \"Misc\"; it is ignored.");
        std::sort(m_usedItems.begin(), m_usedItems.end());
        for (const auto& [position, parameter] : m_params.items)
            if (!std::binary_search(m_usedItems.begin(), m_usedItems.end(), position))
                Warn(Quoted(parameter.name) + " belongs to no item counted in \"Misc\"; it is ignored.");
    }

    std::string_view m_text;
    const ParameterReadOptions& m_options;
    TagScanner m_scanner;
    ParameterSet m_params;
    std::unique_ptr<CAppletParameters> m_applet;
    std::vector<std::pair<int, int>> m_usedItems;
    std::vector<std::string> m_warnings;
    std::size_t m_droppedWarnings = 0;
    std::size_t m_parameterCount = 0;
};

}  // namespace

MediaNameResolver MediaInFolder(const std::filesystem::path& folder) {
    return [folder](const std::string& name) -> std::string {
        // Only names inside the page's folder: a page must not make the viewer read
        // elsewhere (an absolute name, "..", or a link leading out).
        const std::filesystem::path relative(name);
        if (name.empty() || relative.is_absolute()) return {};
        for (const auto& part : relative)
            if (part == "..") return {};
        const std::filesystem::path path = folder / relative;
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, error)) && !LiesInside(path, folder))
            return {};
        return path.string();
    };
}

AppletReadResult ReadAppletParameters(std::string_view text, const ParameterReadOptions& options) {
    return Reader(text, options).Read();
}

}  // namespace kestrune
