#include "output/MenuLayoutJson.h"

#include <array>
#include <cstdio>

#include "model/VoraneItem.h"

namespace kestrune {

namespace {

// Windows-1252 at 0x80..0x9F; the unassigned five stand for themselves.
constexpr std::array<unsigned, 32> kWindows1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

void AppendEscaped(std::string& out, unsigned code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
    out += buffer;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
        } else if (byte >= 0x80) {
            AppendEscaped(out, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
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
