// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ParameterRecords.h"

#include <algorithm>

#include "model/StyleNames.h"
#include "model/VoraneItem.h"
#include "output/CharacterReferences.h"
#include "output/OutputTexts.h"
#include "base/TextRoutines.h"

namespace kestrune::paramfields {

namespace {

std::int32_t BackgroundStyle(const Parameter& parameter, std::string_view field) {
    const std::string_view code = TrimView(field);
    for (std::size_t i = 0; i < texts::kBackgroundStyleCodes.size(); ++i)
        if (code == texts::kBackgroundStyleCodes[i]) return static_cast<std::int32_t>(i);
    throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not a background style.");
}

}  // namespace

std::string MoreWarningsText(std::size_t more) { return "... and " + std::to_string(more) + " more warnings."; }

std::string ValueAsReceived(std::string_view written) {
    return DecodeCharacterReferences(EscapeAttributeValue(written), ReferencePlace::AttributeValue);
}

std::vector<std::string_view> Fields(const Parameter& parameter, std::size_t wanted, std::size_t required,
                                     const WarningSink& warn) {
    std::vector<std::string_view> fields = SplitEveryField(parameter.value);
    if (fields.size() < required)
        throw ReadError(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
                        std::to_string(wanted) + " are needed.");
    if (fields.size() > wanted)
        warn(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
             std::to_string(wanted) + " are expected; the rest is ignored.");
    fields.resize(std::max(fields.size(), wanted));
    return fields;
}

std::string MediaPath(std::string_view name, const MediaNameResolver& resolve) {
    if (name.empty()) return {};
    const std::string text(name);
    return resolve ? resolve(text) : text;
}

void ReadAppletStyle(const Parameter& parameter, CAppletParameters& applet, const MediaNameResolver& resolve,
                     const WarningSink& warn) {
    const auto fields = Fields(parameter, kAppletStyleFields, kAppletStyleFields - 1, warn);
    applet.m_appBKColor = ColorValue(parameter, fields[0]);
    if (!fields[1].empty() && ColorValue(parameter, fields[1]) != applet.m_appBKColor)
        warn("\"ApStyle\" names two background colours; the first is used.");
    applet.m_appBKImagePath = MediaPath(fields[2], resolve);
    applet.m_appBKImageMode = Number(parameter, fields[3]);
    applet.m_appBKImageX = Number(parameter, fields[4]);
    applet.m_appBKImageY = Number(parameter, fields[5]);
    applet.m_appBKAudioPath = MediaPath(fields[6], resolve);
}

void ReadMenuStyle(const Parameter& parameter, CVorane& menu, const WarningSink& warn) {
    const auto fields = Fields(parameter, kMenuStyleFields, kMenuStyleFields, warn);
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

void ReadItemStyles(const Parameter& parameter, CVorane& menu, const WarningSink& warn) {
    std::vector<std::string_view> fields = SplitEveryField(parameter.value);
    if (fields.size() > kItemStyleFields && TrimView(fields.back()).empty()) fields.pop_back();
    if (fields.size() < kItemStyleFields)
        throw ReadError(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
                        std::to_string(kItemStyleFields) + " are needed.");
    if (fields.size() > kItemStyleFields)
        warn(Quoted(parameter.name) + " has more than " + std::to_string(kItemStyleFields) +
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
        warn(Quoted(parameter.name) + " fills fields that the applet leaves empty; they are ignored.");
}

std::string ItemSplitWarning(std::string_view parameterName) {
    return Quoted(parameterName) + " has more than " + std::to_string(kItemFields) +
           " fields: a comma in its texts splits them for the applet.";
}

// A comma in a text is a field separator to the applet, which shows the label up to it;
// the surplus is kept with the description, so the item writes back unchanged.
std::unique_ptr<CVoraneItem> ReadItem(const Parameter& parameter, const MediaNameResolver& resolve,
                                      const WarningSink& warn) {
    std::vector<std::string_view> fields = SplitEveryField(parameter.value);
    std::string description;
    if (fields.size() > kItemFields) {
        const std::size_t surplus = fields.size() - kItemFields;
        description = std::string(fields[1]);
        for (std::size_t i = 2; i <= surplus + 1; ++i) description.append(",").append(fields[i]);
        fields.erase(fields.begin() + 2, fields.begin() + 2 + static_cast<std::ptrdiff_t>(surplus));
        warn(ItemSplitWarning(parameter.name));
    } else {
        if (fields.size() < kItemFields)
            warn(Quoted(parameter.name) + " has " + std::to_string(fields.size()) + " fields where " +
                 std::to_string(kItemFields) + " are expected; the missing ones are empty.");
        fields.resize(kItemFields);
        description = std::string(fields[1]);
    }
    auto item = std::make_unique<CVoraneItem>(ReplaceAll(fields[0], texts::kLabelBreakToken, texts::kCrLf));
    item->m_description = std::move(description);
    item->m_normalImage = MediaPath(fields[2], resolve);
    item->m_overImage = MediaPath(fields[3], resolve);
    item->m_clickImage = MediaPath(fields[4], resolve);
    item->m_overAudio = MediaPath(fields[5], resolve);
    item->m_clickAudio = MediaPath(fields[6], resolve);
    item->m_target = std::string(fields[7]);
    item->m_link = std::string(fields[8]);
    return item;
}

std::optional<int> ParagraphAlignIndex(std::string_view word) {
    const std::string folded = ToLowerAscii(TrimView(word));
    std::optional<int> index;
    for (std::size_t i = 0; i < names::kParagraphAligns.size(); ++i)
        if (folded == ToLowerAscii(names::kParagraphAligns[i])) index = static_cast<int>(i);
    return index;
}

}  // namespace kestrune::paramfields
