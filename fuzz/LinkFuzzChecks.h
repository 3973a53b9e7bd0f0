// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The page's plain list of links against a browser: an HTML5 attribute-value decoder of
// its own (the named references matched by brute force over the whole table, not by the
// writer's search) and the URL parser's clean-up, applied to every href the list writes.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/FallbackMenuList.h"
#include "output/NamedReferenceTable.h"

namespace kestrune::fuzz {

inline bool IsAlnum(char32_t c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

// Bytes at or above 0x80 stand for themselves: no byte of the code page is ASCII there.
inline std::u32string BrowserAttributeValue(std::string_view bytes) {
    std::u32string in;
    for (unsigned char b : bytes) in += static_cast<char32_t>(b);
    std::u32string out;
    for (std::size_t i = 0; i < in.size();) {
        if (in[i] != '&') {
            out += in[i++];
            continue;
        }
        if (i + 1 < in.size() && in[i + 1] == '#') {
            std::size_t at = i + 2;
            const bool hex = at < in.size() && (in[at] | 0x20) == 'x';
            at += hex;
            std::uint64_t value = 0;
            const std::size_t digits = at;
            for (; at < in.size(); ++at) {
                const char32_t c = in[at];
                const int digit = c >= '0' && c <= '9'               ? int(c - '0')
                                  : hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? int((c | 0x20) - 'a' + 10)
                                                                     : -1;
                if (digit < 0) break;
                value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + unsigned(digit), 0x110000);
            }
            if (at == digits) {
                out += in[i++];
                continue;
            }
            if (at < in.size() && in[at] == ';') ++at;
            // 0x80 to 0x9F read as code page characters, none of them ASCII.
            out += value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF) ? char32_t{0xFFFD}
                   : value >= 0x80 && value <= 0x9F                                     ? char32_t{0x2022}
                                                                                        : char32_t(value);
            i = at;
            continue;
        }
        const NamedReference* best = nullptr;
        std::size_t bestLength = 0;
        bool bestHasSemicolon = false;
        for (const NamedReference& entry : NamedReferences()) {
            const std::size_t n = entry.name.size();
            if (i + 1 + n > in.size()) continue;
            bool same = true;
            for (std::size_t k = 0; k < n && same; ++k) same = in[i + 1 + k] == char32_t(entry.name[k]);
            if (!same) continue;
            const bool semicolon = i + 1 + n < in.size() && in[i + 1 + n] == ';';
            const std::size_t length = n + (semicolon ? 1 : 0);
            if ((semicolon || entry.withoutSemicolon) && length > bestLength) {
                best = &entry;
                bestLength = length;
                bestHasSemicolon = semicolon;
            }
        }
        const std::size_t next = i + 1 + bestLength;
        if (!best || (!bestHasSemicolon && next < in.size() && (in[next] == '=' || IsAlnum(in[next])))) {
            out += in[i++];
            continue;
        }
        out += best->first;
        if (best->second) out += best->second;
        i = next;
    }
    return out;
}

// The scheme the URL parser finds, in lower case, or empty.
inline std::string UrlScheme(std::u32string url) {
    while (!url.empty() && url.front() <= 0x20) url.erase(url.begin());
    while (!url.empty() && url.back() <= 0x20) url.pop_back();
    std::string scheme;
    for (char32_t c : url) {
        if (c == '\t' || c == '\n' || c == '\r') continue;
        if (c == ':') return scheme;
        const bool letter = (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        if (!(letter || (!scheme.empty() && (IsAlnum(c) || c == '+' || c == '-' || c == '.')))) return {};
        scheme += static_cast<char>(letter ? (c | 0x20) : c);
    }
    return {};
}

inline bool IsScriptScheme(const std::string& scheme) {
    return scheme == "javascript" || scheme == "vbscript" || scheme == "data";
}

// Every href of the list written for one item with this link: no raw quote ends it early,
// it is what FallbackHref judged, and a browser reads no script scheme from it.
inline bool WrittenLinkIsSafe(std::string_view link) {
    CAppletParameters applet;
    applet.AddTopLevelMenu(std::make_unique<CVorane>(), 0);
    auto item = std::make_unique<CVoraneItem>();
    item->m_label = "L";
    item->m_link = std::string(link);
    applet.m_menus.back()->AddItem(std::move(item), 0);
    std::string page;
    AppendFallbackMenuList(page, applet);
    const std::optional<std::string> judged = FallbackHref(link);
    const std::size_t start = page.find("<a href=\"");
    if (start == std::string::npos) return !judged;
    const std::size_t begin = start + 9;
    const std::size_t end = page.find('"', begin);
    if (end == std::string::npos || !judged) return false;
    const std::string written = page.substr(begin, end - begin);
    return written == *judged && !IsScriptScheme(UrlScheme(BrowserAttributeValue(written)));
}

}  // namespace kestrune::fuzz
