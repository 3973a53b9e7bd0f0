// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// A page of a site: a file named ".htm" or ".html" in the site's top folder or below it.
struct SitePage {
    enum class Kind { Page, Link, NotRegular };
    std::string path;  // below the top, "/"-separated
    Kind kind = Kind::Page;
};

// The pages of the site whose top is the given folder, each folder's pages (in byte order)
// before its sub folders. Hidden files and folders and folders behind links are never
// entered; a page that is a link or not a regular file is listed with that kind, so that
// it can be named and passed over. ownPage (below the top) is the menu's own page and left
// out.
std::vector<SitePage> ScanSite(const std::filesystem::path& top, const std::string& ownPage = {});

// The path of file below the site's top ("teams/u10.html"), links resolved in both;
// nothing when it lies outside the top or is the top itself.
std::optional<std::string> PathInSite(const std::filesystem::path& top, const std::filesystem::path& file);

// Whether a file name names a page (".htm" or ".html", in any letter case).
bool IsPageName(const std::string& name);

}  // namespace kestrune
