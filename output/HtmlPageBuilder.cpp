// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/HtmlPageBuilder.h"

#include "model/AppletParameters.h"
#include "model/StyleNames.h"
#include "output/AppletParameterEncoder.h"
#include "output/CharacterReferences.h"
#include "output/OutputTexts.h"

namespace kestrune {

const char* ParagraphAlignWord(int align) {
    // Only a damaged file holds another value; the default alignment stands in.
    if (align < 0 || align >= static_cast<int>(names::kParagraphAligns.size())) return names::kParagraphAligns[0];
    return names::kParagraphAligns[static_cast<std::size_t>(align)];
}

std::string BuildPage(const CAppletParameters& applet, bool withRuntime) {
    std::string page;
    page += texts::kPageStart;
    page += EscapeTitleText(applet.m_HTMLTitle);
    page += texts::kPageTitleEnd;
    page += texts::kParagraphStart;
    page += ParagraphAlignWord(applet.m_Align);
    page += texts::kParagraphStartEnd;
    page += texts::kAppletStart;
    page += texts::kAppletClassFileName;
    page += texts::kAppletWidth;
    page += std::to_string(applet.m_appWidth);
    page += texts::kAppletHeight;
    page += std::to_string(applet.m_appHeight);
    page += texts::kAppletStartEnd;
    AppletParameterEncoder(applet).BuildInto(page);
    page += texts::kAppletParagraphEnd;
    if (withRuntime) {
        page += texts::kRuntimeScriptTag;
        page += texts::kCrLf;
    }
    page += texts::kPageEnd;
    return page;
}

std::optional<TextRange> AppletParagraphRange(std::string_view page) {
    const std::size_t begin = page.find(texts::kParagraphOpenMark);
    if (begin == std::string_view::npos) return std::nullopt;
    // Searched after the start, so a "</p>" inside the title cannot end the range early.
    const std::string_view close = texts::kParagraphCloseMark;
    const std::size_t closeAt = page.find(close, begin);
    if (closeAt == std::string_view::npos) return std::nullopt;
    const std::size_t end = closeAt + close.size();
    // The runtime's line belongs to what a web page needs to show the menu. The dialog
    // shows the page with bare line feeds, a saved page has CR LF.
    for (const std::string_view lineEnd : {std::string_view("\r\n"), std::string_view("\n")}) {
        const std::string_view after = page.substr(end);
        if (after.starts_with(lineEnd) && after.substr(lineEnd.size()).starts_with(texts::kRuntimeScriptTag))
            return TextRange{begin, end + lineEnd.size() + std::string_view(texts::kRuntimeScriptTag).size()};
    }
    return TextRange{begin, end};
}

std::string AppletParagraph(std::string_view page) {
    const std::optional<TextRange> range = AppletParagraphRange(page);
    if (!range) return {};
    return std::string(page.substr(range->begin, range->end - range->begin));
}

std::string CAppletParameters::BuildHTML() const { return BuildPage(*this); }

}  // namespace kestrune
