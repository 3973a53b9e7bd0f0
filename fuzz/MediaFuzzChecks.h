// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The properties the page and sound fuzz targets check, shared with the regression test
// that replays what the fuzzers found. Each returns false when a property does not hold;
// crashes, leaks and undefined behaviour are the sanitizers' to find.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "output/AuDecoder.h"
#include "output/PageLayout.h"
#include "output/ParameterReader.h"

namespace kestrune::fuzz {

// Any text read as a page gives an applet or an error, never both and never neither,
// and the warnings stay a short list.
inline bool PageParametersHold(std::string_view text) {
    const AppletReadResult result = ReadAppletParameters(text);
    if (result.Ok() == !result.error.empty()) return false;
    return result.warnings.size() <= 101;
}

// Any bytes decode to a sound or an error; a sound has whole frames, usable rates and
// channels, and no more samples than the file has bytes (no amplification).
inline bool AuDecodingHolds(const std::uint8_t* data, std::size_t size) {
    const AuDecodeResult decoded = DecodeAu(data, size);
    if (!decoded.sound) return !decoded.error.empty();
    const PcmSound& sound = *decoded.sound;
    if (sound.channels < 1 || sound.sampleRate < 1) return false;
    if (sound.samples.size() % static_cast<std::size_t>(sound.channels) != 0) return false;
    if (sound.samples.size() > size) return false;
    // Resampling to an output's format stays within its own bound as well.
    if (sound.samples.size() <= 4096) {
        const PcmSound converted = ConvertPcm(sound, 44100, 2);
        const double ratio = 44100.0 / sound.sampleRate;
        if (converted.samples.size() > (sound.FrameCount() * ratio + 2) * 2) return false;
    }
    return true;
}

namespace detail {

// A small JSON reader that only says whether the text is one well-formed value.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : m_text(text) {}

    bool WholeTextIsOneValue() {
        SkipBlanks();
        if (!Value(0)) return false;
        SkipBlanks();
        return m_at == m_text.size();
    }

private:
    bool Value(int depth) {
        if (depth > 64 || m_at >= m_text.size()) return false;
        const char c = m_text[m_at];
        if (c == '{') return Container('}', depth, true);
        if (c == '[') return Container(']', depth, false);
        if (c == '"') return String();
        return Number();
    }

    bool Container(char close, int depth, bool keyed) {
        ++m_at;
        SkipBlanks();
        if (Take(close)) return true;
        for (;;) {
            SkipBlanks();
            if (keyed) {
                if (!String()) return false;
                SkipBlanks();
                if (!Take(':')) return false;
                SkipBlanks();
            }
            if (!Value(depth + 1)) return false;
            SkipBlanks();
            if (Take(close)) return true;
            if (!Take(',')) return false;
        }
    }

    bool String() {
        if (!Take('"')) return false;
        while (m_at < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_at++]);
            if (c == '"') return true;
            if (c < 0x20 || c >= 0x80) return false;  // the writer escapes these
            if (c != '\\') continue;
            if (m_at >= m_text.size()) return false;
            const char escaped = m_text[m_at++];
            if (escaped == 'u') {
                for (int i = 0; i < 4; ++i, ++m_at)
                    if (m_at >= m_text.size() || !std::isxdigit(static_cast<unsigned char>(m_text[m_at]))) return false;
            } else if (std::string_view("\"\\/bfnrt").find(escaped) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    }

    bool Number() {
        Take('-');
        const std::size_t digits = m_at;
        while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
        return m_at > digits;
    }

    bool Take(char c) {
        if (m_at >= m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }

    void SkipBlanks() {
        while (m_at < m_text.size() && std::string_view(" \t\r\n").find(m_text[m_at]) != std::string_view::npos) ++m_at;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

inline bool IsLaidOut(const Rect& rect) {
    return rect.right >= rect.left && rect.bottom >= rect.top && MenuLayout::Clamped(rect) == rect;
}

}  // namespace detail

// Input for the page layout: one byte n, then n - 1 bytes of an open path (its top-level
// menu plus one, then visible-item indices; n of 0 or 1 opens nothing), then the page.
struct LayoutInput {
    MenuPath open;
    std::string_view page;
};

inline LayoutInput SplitLayoutInput(const std::uint8_t* data, std::size_t size) {
    LayoutInput input;
    if (size == 0) return input;
    const std::size_t pathBytes = std::min<std::size_t>(data[0] % 8, size - 1);
    if (pathBytes > 0) {
        input.open.topMenu = static_cast<int>(data[1]) - 1;
        for (std::size_t i = 2; i <= pathBytes; ++i) input.open.items.push_back(data[i]);
        if (input.open.topMenu < 0) input.open.items.clear();
    }
    input.page = std::string_view(reinterpret_cast<const char*>(data) + 1 + pathBytes, size - 1 - pathBytes);
    return input;
}

// A page laid out as the command line's layout prints it, from the page alone: an applet
// and well-formed JSON, or an error and no JSON; the open path kept is a part of the one
// asked for; every rectangle is in the clamped plane; pointing at what is shown gives a
// path that lays out again.
inline bool PageLayoutHolds(const std::uint8_t* data, std::size_t size) {
    const LayoutInput input = SplitLayoutInput(data, size);
    const PageLayout laidOut = LayOutPage(input.page, input.open);
    if (!laidOut.read.Ok()) return laidOut.json.empty() && !laidOut.read.error.empty();
    if (!detail::JsonCheck(laidOut.json).WholeTextIsOneValue()) return false;
    const MenuPath& kept = laidOut.layout.Path();
    if (!kept.IsEmpty()) {
        if (kept.topMenu != input.open.topMenu || kept.items.size() > input.open.items.size()) return false;
        if (!std::equal(kept.items.begin(), kept.items.end(), input.open.items.begin())) return false;
    }
    const auto& menus = laidOut.layout.Menus();
    for (std::size_t m = 0; m < menus.size(); ++m) {
        if (!detail::IsLaidOut(menus[m].rect)) return false;
        for (const LaidOutItem& item : menus[m].items)
            if (!detail::IsLaidOut(item.rect)) return false;
        // Hit tests cost a walk over every menu: a few suffice.
        if (m >= 8 || menus[m].items.empty()) continue;
        const Rect& first = menus[m].items.front().rect;
        const Point centre{static_cast<std::int32_t>(first.left + (std::int64_t{first.right} - first.left) / 2),
                           static_cast<std::int32_t>(first.top + (std::int64_t{first.bottom} - first.top) / 2)};
        const LayoutHit hit = laidOut.layout.HitTest(centre);
        if (!first.IsEmpty() && !hit.IsMenu()) return false;
        MenuLayout again;
        again.Build(*laidOut.read.applet, laidOut.layout.PathTo(hit));
    }
    return true;
}

}  // namespace kestrune::fuzz
