// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/PreviewLaunch.h"

#include <algorithm>
#include <cctype>

#include "persist/PersistTexts.h"
#include "services/PreviewFolder.h"

namespace kestrune {

namespace {
std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

LaunchRequest OpenWithDefaultProgram(const std::string& document) {
    return {LaunchRequest::OpenDocument, document, {}, {}};
}
}  // namespace

bool IsAppletViewer(const std::string& program) {
    return UpperCase(program).find(kAppletViewerMark) != std::string::npos;
}

std::string ChosenProgram(const BrowserChoice& choice, const KnownBrowserList& known) {
    if (choice.mode == BrowserChoice::kDefault) return {};
    if (choice.mode == BrowserChoice::kSpecified) return choice.path;
    if (choice.knownIndex < 0 || static_cast<std::size_t>(choice.knownIndex) >= known.size()) return {};
    return known[static_cast<std::size_t>(choice.knownIndex)].path;
}

LaunchRequest PlanPreviewLaunch(const BrowserChoice& choice, const KnownBrowserList& known,
                                const std::string& appDir) {
    const std::string page = PreviewPagePath(appDir);
    const std::string program = ChosenProgram(choice, known);
    if (program.empty()) return OpenWithDefaultProgram(page);
    if (IsAppletViewer(program))
        return {LaunchRequest::StartProgram, program, kPreviewPageName, PreviewFolder(appDir)};
    return {LaunchRequest::StartProgram, program, page, {}};
}

LaunchRequest PlanSampleLaunch(const BrowserChoice& choice, const KnownBrowserList& known,
                               const std::string& appDir) {
    const std::string page = appDir + "/" + texts::kSamplePage;
    const std::string program = ChosenProgram(choice, known);
    if (program.empty()) return OpenWithDefaultProgram(page);
    return {LaunchRequest::StartProgram, program, page, {}};
}

}  // namespace kestrune
