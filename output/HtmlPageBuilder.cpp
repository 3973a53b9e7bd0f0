// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/HtmlPageBuilder.h"

#include "model/AppletParameters.h"
#include "model/StyleNames.h"
#include "output/AppletParameterEncoder.h"
#include "output/CharacterReferences.h"
#include "output/FallbackMenuList.h"
#include "output/OutputTexts.h"
#include "output/MenuRuntimeFile.h"
#include "output/PageLanguage.h"
#include "output/SiteLinks.h"

namespace kestrune {

const char* ParagraphAlignWord(int align) {
    // Only a damaged file holds another value; the default alignment stands in.
    if (align < 0 || align >= static_cast<int>(names::kParagraphAligns.size())) return names::kParagraphAligns[0];
    return names::kParagraphAligns[static_cast<std::size_t>(align)];
}

void AppendAppletHead(std::string& page, const CAppletParameters& applet, std::string_view pageFolder) {
    page += texts::kAppletStart;
    page += texts::kAppletClassFileName;
    // A page below the document's folder finds the class file through the applet's code
    // base; the class name stays as the runtime looks for it.
    if (!pageFolder.empty()) {
        page += texts::kAppletCodeBase;
        page += LinkSeenFrom(pageFolder, ".");
    }
    page += texts::kAppletWidth;
    page += std::to_string(applet.m_appWidth);
    page += texts::kAppletHeight;
    page += std::to_string(applet.m_appHeight);
    page += texts::kAppletStartEnd;
    AppletParameterEncoder(applet, std::string(pageFolder)).BuildInto(page);
}

PageMenuMarks MenuMarksOf(const CAppletParameters& applet) {
    PageMenuMarks marks;
    marks.title = texts::kTitleOpen + EscapeTitleText(applet.m_HTMLTitle) + texts::kTitleClose;
    AppendAppletHead(marks.applet, applet);
    return marks;
}

bool PageCarries(std::string_view page, const PageMenuMarks& marks) {
    return page.find(marks.title) != std::string_view::npos && page.find(marks.applet) != std::string_view::npos;
}

namespace {

void AppendAppletStart(std::string& page, const CAppletParameters& applet, std::string_view pageFolder = {}) {
    page += texts::kParagraphStart;
    page += ParagraphAlignWord(applet.m_Align);
    page += texts::kParagraphStartEnd;
    AppendAppletHead(page, applet, pageFolder);
}

// The page as the applet's era wrote it.
std::string BuildAppletPage(const CAppletParameters& applet) {
    std::string page;
    page += texts::kPageStart;
    page += EscapeTitleText(applet.m_HTMLTitle);
    page += texts::kPageTitleEnd;
    AppendAppletStart(page, applet);
    page += texts::kAppletParagraphEnd;
    page += texts::kPageEnd;
    return page;
}

// The same paragraph in a page of today's web, with the menus as a list inside the applet
// for browsers without scripts and for crawlers, and the runtime's line after it.
std::string BuildRuntimePage(const CAppletParameters& applet, std::string_view language) {
    std::string page;
    page += texts::kRuntimePageStart;
    page += PageLanguageOrDefault(language);
    page += texts::kRuntimePageHead;
    page += EscapeTitleText(applet.m_HTMLTitle);
    page += texts::kPageTitleEnd;
    page += texts::kRuntimeBodyStart;
    AppendAppletStart(page, applet);
    AppendFallbackMenuList(page, applet);
    page += texts::kAppletEnd;
    page += texts::kParagraphEnd;
    page += texts::kRuntimeScriptTag;
    page += texts::kCrLf;
    page += texts::kRuntimeBodyEnd;
    page += texts::kPageEnd;
    return page;
}

}  // namespace

std::string BuildMenuBlock(const CAppletParameters& applet, const MenuListPlace& place) {
    std::string block;
    AppendAppletStart(block, applet, place.folder);
    AppendFallbackMenuList(block, applet, place);
    block += texts::kAppletEnd;
    block += texts::kParagraphEnd;
    block += texts::kRuntimeScriptOpen;
    block += LinkSeenFrom(place.folder, kMenuRuntimeFileName);
    block += texts::kRuntimeScriptClose;
    block += texts::kCrLf;
    return AsciiWithReferences(block);
}

std::string BuildPage(const CAppletParameters& applet, bool withRuntime, std::string_view language) {
    return withRuntime ? BuildRuntimePage(applet, language) : BuildAppletPage(applet);
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

std::string BuildHTML(const CAppletParameters& applet) { return BuildPage(applet); }

}  // namespace kestrune
