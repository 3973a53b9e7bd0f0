// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

class CAppletParameters;

// The page: title, one paragraph holding the <applet> element with the parameter
// block, CR LF line ends and no line break after the closing </html>.
// CAppletParameters::BuildHTML() returns it. withRuntime adds the script runtime's line
// right after the paragraph, so that today's browsers show the menus.
std::string BuildPage(const CAppletParameters& applet, bool withRuntime = false);

// The paragraph word for m_Align: "Center", "Left" or "Right".
const char* ParagraphAlignWord(int align);

// Byte positions [begin, end) of the applet paragraph in a page text: from the first
// "<p align" through the first "</p>" after it, both included, and through the script
// runtime's line when that is the next line. None when either mark is missing.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const TextRange&) const = default;
};
std::optional<TextRange> AppletParagraphRange(std::string_view page);
// The text of that range; empty when the page has no paragraph.
std::string AppletParagraph(std::string_view page);

}  // namespace kestrune
