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
// BuildHTML returns the plain one. withRuntime makes it a page of today's web
// that the script runtime draws: document type, the language (a BCP 47 tag; the default
// when empty or malformed), code page, viewport and body, the menus as a plain list inside
// the applet, and the runtime's line right after the paragraph.
std::string BuildPage(const CAppletParameters& applet, bool withRuntime = false, std::string_view language = {});
std::string BuildHTML(const CAppletParameters& applet);

// The applet's start tag and its parameter lines, as the page holds them; on a page in
// pageFolder below the document's folder, with its paths as seen from there.
void AppendAppletHead(std::string& page, const CAppletParameters& applet, std::string_view pageFolder = {});

struct MenuListPlace;
// The menu as one page of a site carries it: the runtime page's applet paragraph with the
// plain list and the runtime's line, every path as seen from the page's folder, every
// character beyond ASCII as a numeric reference (so it reads alike in a page of any code
// page), CR LF line ends.
std::string BuildMenuBlock(const CAppletParameters& applet, const MenuListPlace& place);

// What marks a page as one written for a menu, whatever else it holds (the runtime's
// line, a newer page frame): its title element and its applet head.
struct PageMenuMarks {
    std::string title;
    std::string applet;
};
PageMenuMarks MenuMarksOf(const CAppletParameters& applet);
bool PageCarries(std::string_view page, const PageMenuMarks& marks);

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
