// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/AppletParameterEncoder.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/AppletParameters.h"
#include "model/Color.h"
#include "model/VoraneItem.h"
#include "output/CharacterReferences.h"
#include "output/OutputTexts.h"
#include "output/SiteLinks.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace {

constexpr std::int64_t kNoOpener = -1;

// Comma-separated fields, with nothing escaped: the applet splits at every comma.
class FieldList {
public:
    FieldList& Add(std::string_view field) {
        if (m_count > 0) m_text += ',';
        m_text += field;
        ++m_count;
        return *this;
    }
    FieldList& Add(std::int64_t number) {
        if (m_count > 0) m_text += ',';
        AppendNumber(m_text, number);
        ++m_count;
        return *this;
    }
    // A media name or link, as seen from a page in folder: the top's own pages (every
    // ordinary page) take it as it is, without a copy.
    FieldList& AddSeen(std::string_view folder, std::string_view link) {
        return folder.empty() ? Add(link) : Add(LinkSeenFrom(folder, link));
    }
    // Fields that are each followed by a comma, the last one included.
    std::string Terminated() const { return m_count ? m_text + ',' : m_text; }
    const std::string& Joined() const { return m_text; }

private:
    std::string m_text;
    int m_count = 0;
};

std::string Digits(std::initializer_list<std::int64_t> numbers) {
    std::string digits;
    for (std::int64_t number : numbers) AppendNumber(digits, number);
    return digits;
}

const char* BackgroundStyleCode(std::int32_t style) {
    // Values outside the list only come from damaged files; the default style stands in.
    if (style < 0 || style >= static_cast<std::int32_t>(texts::kBackgroundStyleCodes.size()))
        return texts::kBackgroundStyleCodes[0];
    return texts::kBackgroundStyleCodes[static_cast<std::size_t>(style)];
}

void AppendItemStyleFields(FieldList& fields, const ItemStyle& style) {
    fields.Add(ColorText(style.BKColor))
        .Add(ColorText(style.FRColor))
        .Add(Digits({style.GradientDirection, style.ItemFillStyle, std::int64_t{style.ItemBorderStyle} + 1}))
        .Add(style.FontEffect)
        .Add(style.FontName)
        .Add(style.FontSize)
        .Add(style.FontStyle)
        .Add(Digits({style.ImageAlign, style.TextAlign}))
        .Add(style.ImageOffset)
        .Add(style.TextOffset)
        .Add("")
        .Add("");
}

}  // namespace

void AppendParameterLine(std::string& text, const std::string& name, const std::string& value) {
    text += texts::kParamLineStart;
    AppendEscapedAttributeValue(text, name);
    text += texts::kParamLineValue;
    AppendEscapedAttributeValue(text, value);
    text += texts::kParamLineEnd;
}

std::string EncodeLabel(const std::string& label) {
    return ReplaceAll(label, texts::kCrLf, texts::kLabelBreakToken);
}

std::string MenuStyleValue(const CVorane& menu) {
    FieldList fields;
    fields.Add(ColorText(menu.m_BKColor))
        .Add(BackgroundStyleCode(menu.m_BKStyle))
        .Add(menu.m_MenuAlign)
        .Add(menu.m_Corner)
        .Add(menu.m_xPos)
        .Add(menu.m_yPos)
        .Add(menu.m_Width)
        .Add(menu.m_Height)
        .Add(menu.m_ItemGap)
        .Add(menu.m_BorderThick);
    return fields.Joined();
}

std::string ItemStylesValue(const CVorane& menu) {
    FieldList fields;
    for (const ItemStyle& style : menu.m_itemStyle) AppendItemStyleFields(fields, style);
    return fields.Terminated();
}

bool AppletParameterEncoder::IsEmitted(const CVorane* menu) {
    return menu && menu->m_visible != 0 && menu->HasVisibleItem();
}

std::string AppletStyleValue(const CAppletParameters& applet, MediaFileSearch& media, std::string_view pageFolder) {
    FieldList fields;
    fields.Add(ColorText(applet.m_appBKColor))
        .Add(ColorText(applet.m_appBKColor))
        .AddSeen(pageFolder, media.FileName(applet.m_appBKImagePath))
        .Add(applet.m_appBKImageMode)
        .Add(applet.m_appBKImageX)
        .Add(applet.m_appBKImageY)
        .AddSeen(pageFolder, media.FileName(applet.m_appBKAudioPath));
    return fields.Joined();
}

std::string ItemValue(const CVoraneItem& item, MediaFileSearch& media, std::string_view pageFolder) {
    FieldList fields;
    fields.Add(EncodeLabel(item.m_label))
        .Add(item.m_description)
        .AddSeen(pageFolder, media.FileName(item.m_normalImage))
        .AddSeen(pageFolder, media.FileName(item.m_overImage))
        .AddSeen(pageFolder, media.FileName(item.m_clickImage))
        .AddSeen(pageFolder, media.FileName(item.m_overAudio))
        .AddSeen(pageFolder, media.FileName(item.m_clickAudio))
        .Add(item.m_target.empty() ? std::string_view(texts::kDefaultTarget) : std::string_view(item.m_target))
        .AddSeen(pageFolder, item.m_link);
    return fields.Joined();
}

void AppletParameterEncoder::EmitMenuLines(std::string& text, const CVorane& menu, int number) {
    const std::string suffix = std::to_string(number);
    m_numbers[&menu] = number;
    m_countText += std::to_string(menu.CountItems(0));
    m_countText += ',';
    AppendParameterLine(text, texts::kParamMenuStylePrefix + suffix, MenuStyleValue(menu));
    // Most menus of a big document share their item styles: the line before is reused.
    if (m_lastItemStylesText.empty() || menu.m_itemStyle != m_lastItemStyles) {
        m_lastItemStyles = menu.m_itemStyle;
        m_lastItemStylesText = ItemStylesValue(menu);
    }
    AppendParameterLine(text, texts::kParamItemStylePrefix + suffix, m_lastItemStylesText);
    int visibleIndex = 0;
    for (const auto& item : menu.m_items) {
        if (item->m_visible == 0) continue;
        m_emittedItems.push_back(item.get());
        m_subMenuNumbers.push_back(-1);
        AppendParameterLine(text, texts::kParamItemPrefix + suffix + "-" + std::to_string(visibleIndex++),
                            ItemValue(*item, m_media, m_pageFolder));
    }
}

void AppletParameterEncoder::EmitMenu(std::string& text, const CVorane* menu, int number) {
    // Depth-first pre-order with an explicit stack, so a deep tree cannot exhaust the
    // call stack: a menu, then everything under its first visible item, then the next.
    struct Pending {
        const CVorane* menu;
        std::int64_t opener;  // index in m_emittedItems of the item that opens it
    };
    std::vector<Pending> pending{{menu, kNoOpener}};
    int nextNumber = number;
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        if (!IsEmitted(current.menu)) continue;
        if (current.opener != kNoOpener) m_subMenuNumbers[static_cast<std::size_t>(current.opener)] = nextNumber;
        const std::size_t firstItem = m_emittedItems.size();
        EmitMenuLines(text, *current.menu, nextNumber);
        ++m_menuCounter;
        nextNumber = m_menuCounter;
        for (std::size_t i = m_emittedItems.size(); i-- > firstItem;)
            pending.push_back({m_emittedItems[i]->m_subMenu.Existing(), static_cast<std::int64_t>(i)});
    }
}

std::string AppletParameterEncoder::MiscValue() const {
    std::string value = std::to_string(m_menuCounter) + "," + m_countText;
    for (std::int32_t number : m_topLevelNumbers) value += "-" + std::to_string(number) + ",";
    for (std::size_t i = 0; i < m_subMenuNumbers.size(); ++i)
        if (m_subMenuNumbers[i] >= 0) value += std::to_string(i) + "-" + std::to_string(m_subMenuNumbers[i]) + ",";
    return value;
}

std::string AppletParameterEncoder::Build() {
    std::string text;
    BuildInto(text);
    return text;
}

void AppletParameterEncoder::BuildInto(std::string& text) {
    m_menuCounter = 0;
    m_countText.clear();
    m_emittedItems.clear();
    m_numbers.clear();
    m_topLevelNumbers.clear();
    m_subMenuNumbers.clear();

    AppendParameterLine(text, texts::kParamAppletStyle, AppletStyleValue(m_applet, m_media, m_pageFolder));
    for (const auto& menu : m_applet.m_menus) {
        const int number = m_menuCounter;
        EmitMenu(text, menu.get(), number);
        if (m_menuCounter != number) m_topLevelNumbers.push_back(number);
    }
    AppendParameterLine(text, texts::kParamMisc, MiscValue());
}

AppletParameterEncoder::AppletParameterEncoder(const CAppletParameters& applet, std::string pageFolder)
    : m_applet(applet), m_media(applet.m_documentFolder), m_pageFolder(std::move(pageFolder)) {}

int AppletParameterEncoder::NumberOf(const CVorane* menu) const {
    const auto found = m_numbers.find(menu);
    return found == m_numbers.end() ? -1 : found->second;
}

std::string BuildAppletParameters(const CAppletParameters& applet) { return AppletParameterEncoder(applet).Build(); }

}  // namespace kestrune
