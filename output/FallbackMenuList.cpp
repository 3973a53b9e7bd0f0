// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/FallbackMenuList.h"

#include <optional>
#include <string_view>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/AppletParameterEncoder.h"
#include "output/CharacterReferences.h"
#include "output/LinkScheme.h"
#include "output/OutputTexts.h"
#include "output/SiteLinks.h"

namespace kestrune {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// A label's line breaks read as spaces.
void AppendLabel(std::string& out, const std::string& label) {
    std::string joined;
    joined.reserve(label.size());
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label.compare(i, 2, "\r\n") == 0) ++i;
        joined += label[i] == '\r' || label[i] == '\n' ? ' ' : label[i];
    }
    AppendEscapedText(out, joined);
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscapedText(out, value);
    out += '"';
}

bool Holds(const std::unordered_set<const CVoraneItem*>* items, const CVoraneItem& item) {
    return items && items->count(&item) > 0;
}

// "page" for the item that leads to the page, "true" for the items on the way to it.
const char* CurrentMark(const CVoraneItem& item, const MenuListPlace& place) {
    if (Holds(place.current, item)) return "page";
    if (Holds(place.currentPath, item)) return "true";
    return nullptr;
}

void AppendItem(std::string& out, const CVoraneItem& item, const MenuListPlace& place) {
    const char* current = CurrentMark(item, place);
    const std::optional<std::string> href =
        FallbackHref(place.folder.empty() ? std::string(item.m_link) : LinkSeenFrom(place.folder, item.m_link));
    if (!href) {
        if (current) {
            out += "<span";
            AppendAttribute(out, "aria-current", current);
            out += '>';
        }
        AppendLabel(out, item.m_label);
        if (current) out += "</span>";
        return;
    }
    const std::string_view target = Trimmed(item.m_target);
    out += "<a href=\"";
    out += *href;
    out += '"';
    AppendAttribute(out, "target", target.empty() ? std::string_view(texts::kDefaultTarget) : target);
    if (!item.m_description.empty()) AppendAttribute(out, "title", item.m_description);
    if (current) AppendAttribute(out, "aria-current", current);
    out += '>';
    AppendLabel(out, item.m_label);
    out += "</a>";
}

// One top-level menu and everything below it, walked with an explicit stack so that a
// deep tree cannot exhaust the call stack.
void AppendMenuTree(std::string& out, const CVorane& top, const MenuListPlace& place) {
    struct Open {
        const CVorane* menu;
        std::size_t next;
    };
    std::vector<Open> open{{&top, 0}};
    out += top.IsHorizontal() ? texts::kFallbackAcrossList : "<ul>\r\n";
    while (!open.empty()) {
        Open& current = open.back();
        const auto& items = current.menu->m_items;
        while (current.next < items.size() && items[current.next]->m_visible == 0) ++current.next;
        if (current.next == items.size()) {
            open.pop_back();
            out += open.empty() ? "</ul>\r\n" : "</ul></li>\r\n";
            continue;
        }
        const CVoraneItem& item = *items[current.next++];
        out += "<li>";
        AppendItem(out, item, place);
        const CVorane* sub = item.m_subMenu.Existing();
        if (AppletParameterEncoder::IsEmitted(sub)) {
            out += "<ul>\r\n";
            open.push_back({sub, 0});
        } else {
            out += "</li>\r\n";
        }
    }
}

}  // namespace

std::optional<std::string> FallbackHref(std::string_view link) {
    link = Trimmed(link);
    if (link.empty()) return std::nullopt;
    std::string href;
    AppendEscapedText(href, link);
    // Judged as written: the escaped bytes are what the browser decodes.
    if (IsScriptLink(href)) return std::nullopt;
    return href;
}

bool IsLeftOutScriptLink(std::string_view link) { return !Trimmed(link).empty() && !FallbackHref(link); }

void AppendFallbackMenuList(std::string& page, const CAppletParameters& applet, const MenuListPlace& place) {
    page += "<nav";
    if (!applet.m_HTMLTitle.empty()) AppendAttribute(page, "aria-label", applet.m_HTMLTitle);
    page += ">\r\n";
    page += texts::kFallbackListStyle;
    for (const auto& menu : applet.m_menus)
        if (AppletParameterEncoder::IsEmitted(menu.get())) AppendMenuTree(page, *menu, place);
    page += "</nav>\r\n";
}

}  // namespace kestrune
