// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "site/SitePages.h"

namespace kestrune {

class CAppletParameters;

// What Check Links finds in a document's site.
struct LinkCheckResult {
    struct Broken {
        std::string label;       // the item's label
        std::string link;        // as the item holds it
        std::string sameButCase; // the existing path that differs only in letter case, or empty
    };
    std::vector<Broken> broken;         // item links into the site that name no file
    std::vector<std::string> orphans;   // pages of the site no item links to
    std::size_t leaving = 0;            // item links that lead out of the site (not fetched)
    std::string report;                 // all of it as the message pane and the command line show it
};

// Checks every item link of the document against its site (the document's folder and
// below): a web server tells letter case apart, so a link differing from a file's name
// only in case is broken, and the file is named. pages are the site's pages (ScanSite),
// ownPage the document's own page, which needs no item.
LinkCheckResult CheckSiteLinks(const CAppletParameters& applet, const std::filesystem::path& top,
                               const std::vector<SitePage>& pages);

}  // namespace kestrune
