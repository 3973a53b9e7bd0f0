// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "base/TextRoutines.h"
#include "output/ParameterFields.h"
#include "output/ParameterRecords.h"
#include "output/TagScanner.h"

namespace kestrune {

using namespace paramfields;

namespace {

class Reader {
public:
    Reader(std::string_view text, const ParameterReadOptions& options)
        : m_text(text), m_options(options), m_scanner(text, options.tagRules) {}

    AppletReadResult Read() {
        AppletReadResult result;
        try {
            if (m_text.size() > m_options.maxTextSize)
                throw ReadError(kTooLargeText);
            m_applet = std::make_unique<CAppletParameters>();
            ReadPageFrame();
            ReadAppletStyle();
            BuildMenus();
            result.applet = std::move(m_applet);
        } catch (const ReadError& error) {
            result.error = error.what();
        } catch (const std::bad_alloc&) {
            result.error = kTooLargeText;
        }
        result.warnings = std::move(m_warnings);
        if (m_droppedWarnings > 0)
            result.warnings.push_back(MoreWarningsText(m_droppedWarnings));
        return result;
    }

private:
    void Warn(std::string text) {
        if (m_warnings.size() < kMaxReadWarnings)
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
        if (const auto index = ParagraphAlignIndex(*align)) m_applet->m_Align = *index;
    }

    void ReadAppletSize(const Tag& applet) {
        ReadSizeAttribute(applet, "width", m_applet->m_appWidth);
        ReadSizeAttribute(applet, "height", m_applet->m_appHeight);
    }

    void ReadSizeAttribute(const Tag& applet, std::string_view name, std::int32_t& target) {
        const auto value = applet.Find(name);
        if (!value) return;
        if (const auto number = ToInt(TrimView(*value)))
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
            if (++m_parameterCount > MaxParameters()) {
                if (m_parameterCount == MaxParameters() + 1) Warn(TooManyParametersText());
                continue;
            }
            const auto value = tag.Find("value");
            Store({std::string(TrimView(*name)), std::string(value.value_or(std::string()))});
        }
        if (!sawAny) throw ReadError("The text holds no applet parameters.");
        return std::min(pos, n);
    }

    std::size_t MaxParameters() const {
        return m_options.maxParameters ? m_options.maxParameters : ParameterBudgetFor(m_text.size());
    }

    std::string TooManyParametersText() const {
        return "The page holds more than " + std::to_string(MaxParameters()) +
               " parameters, more than a page of its size can honestly carry; the rest are ignored.";
    }

    // A parameter that a cap cut off is the true reason a needed one is missing.
    [[noreturn]] void ThrowMissing(const std::string& text) const {
        if (m_parameterCount > MaxParameters()) throw ReadError(TooManyParametersText());
        throw ReadError(text);
    }

    void Store(Parameter parameter) {
        const std::string key = ToLowerAscii(parameter.name);
        if (key == ToLowerAscii(texts::kParamAppletStyle)) return StoreOnce(m_params.appletStyle, parameter);
        if (key == ToLowerAscii(texts::kParamMisc)) return StoreOnce(m_params.misc, parameter);
        if (const auto number = NumberAfter(key, ToLowerAscii(texts::kParamMenuStylePrefix)))
            return StoreOnce(m_params.menuStyles, *number, parameter);
        if (const auto number = NumberAfter(key, ToLowerAscii(texts::kParamItemStylePrefix)))
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
        const std::string prefix = ToLowerAscii(texts::kParamItemPrefix);
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

    // ---- the applet, the menus and their relations

    void ReadAppletStyle() {
        if (!m_params.appletStyle) ThrowMissing("The parameter \"ApStyle\" is missing.");
        paramfields::ReadAppletStyle(*m_params.appletStyle, *m_applet, m_options.resolveMedia, m_warn);
    }

    struct Relations {
        std::int32_t menuCount = 0;
        std::vector<std::int32_t> itemCounts;
        std::vector<std::int32_t> topLevel;
        std::vector<std::pair<std::int32_t, std::int32_t>> subMenus;  // emitted item, menu
    };

    Relations ReadRelations() {
        if (!m_params.misc) ThrowMissing("The parameter \"Misc\" is missing.");
        const Parameter& misc = *m_params.misc;
        std::vector<std::string_view> fields = SplitEveryField(misc.value);
        if (TrimView(fields.back()).empty())
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
            const std::string_view field = TrimView(fields[i]);
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
            ThrowMissing("The parameter \"MStyle-" + std::to_string(number) + "\" is missing.");
        const auto itemStyles = m_params.itemStyles.find(number);
        if (itemStyles == m_params.itemStyles.end())
            ThrowMissing("The parameter \"IStyle-" + std::to_string(number) + "\" is missing.");
        if (itemCount < 1)
            throw ReadError("\"Misc\" gives menu " + std::to_string(number) + " no items.");

        auto menu = std::make_unique<CVorane>();
        ReadMenuStyle(style->second, *menu, m_warn);
        ReadItemStyles(itemStyles->second, *menu, m_warn);
        for (std::int32_t j = 0; j < itemCount; ++j) {
            const auto item = m_params.items.find({number, j});
            if (item == m_params.items.end())
                ThrowMissing("The parameter \"I" + std::to_string(number) + "-" + std::to_string(j) +
                                "\" is missing.");
            auto read = ReadItem(item->second, m_options.resolveMedia, m_warn);
            emittedItems.push_back(read.get());
            ownerOfItem.push_back(number);
            menu->AddItem(std::move(read), 0);
            m_usedItems.push_back(item->first);
        }
        return menu;
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
    const WarningSink m_warn = [this](std::string text) { Warn(std::move(text)); };
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
