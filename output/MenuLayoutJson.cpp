// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MenuLayoutJson.h"

#include <cstdio>

#include "base/Windows1252.h"
#include "model/VoraneItem.h"

namespace kestrune {

namespace {

void AppendEscaped(std::string& out, unsigned code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
    out += buffer;
}

// A character beyond the code page is held as a reference; JSON gives the character,
// as the browser shows it.
void AppendCharacter(std::string& out, char32_t character) {
    if (character < 0x10000) return AppendEscaped(out, static_cast<unsigned>(character));
    const char32_t offset = character - 0x10000;
    AppendEscaped(out, static_cast<unsigned>(0xD800 + (offset >> 10)));
    AppendEscaped(out, static_cast<unsigned>(0xDC00 + (offset & 0x3FF)));
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (const auto reference = c == '&' ? WrittenReferenceAt(text, i) : std::nullopt) {
            AppendCharacter(out, reference->character);
            i += reference->length - 1;
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
        } else if (byte >= 0x80) {
            AppendEscaped(out, static_cast<unsigned>(Windows1252ToUnicode(byte)));
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string RectJson(const Rect& rect) {
    return "{\"x\":" + std::to_string(rect.left) + ",\"y\":" + std::to_string(rect.top) +
           ",\"width\":" + std::to_string(std::int64_t{rect.right} - rect.left) +
           ",\"height\":" + std::to_string(std::int64_t{rect.bottom} - rect.top) + "}";
}

std::string PathJson(const MenuPath& path) {
    std::string out = "[";
    if (!path.IsEmpty()) {
        out += std::to_string(path.topMenu);
        for (const int index : path.items) out += "," + std::to_string(index);
    }
    return out + "]";
}

std::string MenuJson(const LaidOutMenu& menu) {
    std::string out = "{\"top\":" + std::to_string(menu.topMenu) + ",\"level\":" + std::to_string(menu.chainLevel) +
                      ",\"rect\":" + RectJson(menu.rect) + ",\"items\":[";
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const LaidOutItem& item = menu.items[i];
        if (i) out += ",";
        out += "\n    {\"index\":" + std::to_string(item.visibleIndex) + ",\"label\":" + JsonString(item.item->m_label) +
               ",\"rect\":" + RectJson(item.rect) + "}";
    }
    return out + "]}";
}

}  // namespace

std::string MenuLayoutJson(const CAppletParameters& applet, const MenuLayout& layout) {
    std::string out = "{\"applet\":{\"width\":" + std::to_string(applet.m_appWidth) +
                      ",\"height\":" + std::to_string(applet.m_appHeight) + "},\n \"open\":" + PathJson(layout.Path()) +
                      ",\n \"menus\":[";
    const auto& menus = layout.Menus();
    for (std::size_t m = 0; m < menus.size(); ++m) out += (m ? ",\n  " : "\n  ") + MenuJson(menus[m]);
    return out + "]}\n";
}

}  // namespace kestrune
