// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/MenuFileText.h"

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

std::string EncodeMenuFileLabel(const std::string& label) {
    return ReplaceAll(ReplaceAll(label, "\r\n", texts::kLabelBreakToken), "\t", "    ");
}

std::string DecodeMenuFileLabel(std::string_view label) {
    return ReplaceAll(label, texts::kLabelBreakToken, "\r\n");
}

std::string MenuFilePathFor(const std::string& pagePath) {
    const std::size_t slash = pagePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = pagePath.rfind('.');
    const std::size_t baseEnd = dot == std::string::npos || dot < nameStart ? pagePath.size() : dot;
    return pagePath.substr(0, baseEnd) + texts::kMenuFileExtension;
}

namespace {

void AppendField(std::string& line, std::int64_t value) {
    AppendNumber(line, value);
    line.push_back(',');
}

void AppendField(std::string& line, const std::string& text) {
    line.append(text);
    line.push_back(',');
}

std::string MediaValue(const MediaValueRule& rule, const std::string& storedPath) {
    return rule ? rule(storedPath) : storedPath;
}

void AppendAppletLine(std::string& out, const CAppletParameters& applet, const MenuSectionForm& form) {
    out.append(texts::kKeyApStyle).push_back('=');
    AppendField(out, applet.m_HTMLTitle);
    AppendField(out, applet.m_Align);
    AppendField(out, applet.m_appWidth);
    AppendField(out, applet.m_appHeight);
    AppendField(out, applet.m_appBKColor);
    AppendField(out, applet.m_appBKColor);
    AppendField(out, form.appletImage.value_or(applet.m_appBKImagePath));
    AppendField(out, applet.m_appBKImageMode);
    AppendField(out, applet.m_appBKImageX);
    AppendField(out, applet.m_appBKImageY);
    out.append(form.appletAudio.value_or(applet.m_appBKAudioPath));
    out.append("\r\n");
}

void AppendMenuStyleLine(std::string& out, const CVorane& menu, int number) {
    out.append(texts::kKeyMStylePrefix);
    AppendNumber(out, number);
    out.push_back('=');
    for (std::int32_t value : {menu.m_BKColor, menu.m_BKStyle, menu.m_MenuAlign, menu.m_Corner, menu.m_xPos,
                               menu.m_yPos, menu.m_Width, menu.m_Height, menu.m_ItemGap, menu.m_BorderThick})
        AppendField(out, value);
    AppendField(out, menu.m_name);
    AppendNumber(out, menu.m_visible);
    out.append("\r\n");
}

void AppendItemStylesLine(std::string& out, const CVorane& menu, int number) {
    out.append(texts::kKeyIStylePrefix);
    AppendNumber(out, number);
    out.push_back('=');
    for (const ItemStyle& s : menu.m_itemStyle) {
        for (std::int32_t value : {s.BKColor, s.FRColor, s.ItemFillStyle, s.FontEffect, s.FontName, s.FontSize,
                                   s.FontStyle, s.ImageAlign, s.TextAlign, s.ImageOffset, s.TextOffset,
                                   s.GradientDirection, s.ItemBorderStyle})
            AppendField(out, value);
        out.append(",,");
    }
    out.append("\r\n");
}

void AppendItemLine(std::string& out, const CVoraneItem& item, int number, int position,
                    const MenuSectionForm& form) {
    out.append(texts::kKeyItemPrefix);
    AppendNumber(out, number);
    out.push_back('-');
    AppendNumber(out, position);
    out.push_back('=');
    AppendField(out, EncodeMenuFileLabel(item.m_label));
    AppendField(out, item.m_description);
    AppendField(out, item.m_link);
    AppendField(out, item.m_target);
    for (const std::string* media : MediaFieldsOf(item)) AppendField(out, MediaValue(form.itemMedia, *media));
    AppendNumber(out, item.m_visible);
    out.append("\r\n");
}

}  // namespace

std::string FormatMenuSection(const CAppletParameters& applet, const MenuSectionForm& form) {
    std::string out;
    out.append("[").append(form.section).append("]\r\n");
    AppendAppletLine(out, applet, form);
    if (form.withNotice) out.append(texts::kKeyNotice).append("=").append(texts::kNoticeValue).append("\r\n");

    // Depth first without recursion: a menu, then the sub menus of its items in order.
    // Each pending menu remembers who holds it: a top-level position or a written item.
    struct Pending {
        const CVorane* menu;
        std::size_t holder;
        bool topLevel;
    };
    int counter = 0;
    std::string countText;
    std::vector<int> topLevelNumbers(applet.m_menus.size(), 0);
    std::vector<int> subMenuNumbers;  // per written item, the number of its sub menu
    std::vector<Pending> pending;
    for (std::size_t i = applet.m_menus.size(); i-- > 0;) pending.push_back({applet.m_menus[i].get(), i, true});
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        const CVorane& menu = *current.menu;
        const int number = counter++;
        (current.topLevel ? topLevelNumbers : subMenuNumbers)[current.holder] = number;
        AppendField(countText, static_cast<std::int64_t>(menu.m_items.size()));
        AppendMenuStyleLine(out, menu, number);
        AppendItemStylesLine(out, menu, number);
        const std::size_t firstItem = subMenuNumbers.size();
        int position = 1;
        for (const auto& item : menu.m_items) {
            subMenuNumbers.push_back(0);
            AppendItemLine(out, *item, number, position++, form);
        }
        for (std::size_t i = menu.m_items.size(); i-- > 0;)
            pending.push_back({&menu.m_items[i]->m_subMenu.Read(), firstItem + i, false});
    }

    out.append(texts::kKeyMisc).push_back('=');
    AppendField(out, counter);
    out.append(countText);
    for (int number : topLevelNumbers) {
        out.push_back('-');
        AppendField(out, number);
    }
    for (std::size_t i = 0; i < subMenuNumbers.size(); ++i) {
        AppendNumber(out, static_cast<std::int64_t>(i));
        out.push_back('-');
        AppendField(out, subMenuNumbers[i]);
    }
    out.append("\r\n");
    return out;
}

}  // namespace kestrune
