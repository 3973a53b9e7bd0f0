// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/SiteDocument.h"

#include <filesystem>

#include "base/SafeFile.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"
#include "site/SitePublish.h"

namespace kestrune {

namespace {

bool SameContent(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::string first, second;
    return ReadRegularFile(a, kMaxSitePageBytes, first) == FileCheck::Ok &&
           ReadRegularFile(b, kMaxSitePageBytes, second) == FileCheck::Ok && first == second;
}

}  // namespace

bool SavedPageCurrent(const CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                      const std::string& pageLanguage) {
    const std::filesystem::path page(pagePath);
    std::string saved;
    if (ReadRegularFile(page, kMaxSitePageBytes, saved) != FileCheck::Ok) return false;
    if (saved != BuildPage(applet, true, pageLanguage)) return false;
    return SameContent(std::filesystem::path(appDir) / kMenuRuntimeFileName, page.parent_path() / kMenuRuntimeFileName);
}

}  // namespace kestrune
