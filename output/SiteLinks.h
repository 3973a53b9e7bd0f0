// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A document's relative links and media names are written from its own folder, the top of
// its site. A page in a folder below the top needs each of them as seen from that folder.
// Folders are given relative to the top, "/"-separated, without a trailing "/", and empty
// for the top itself.
namespace kestrune {

// A link a browser resolves against the page's own address: no scheme, not from the
// server's root ("/x"), not another host ("//h"), not only a query or fragment.
bool IsRelativeLink(std::string_view link);

// The link (leading and trailing blanks dropped) as seen from folder; other links, and
// every link from the top itself, are returned byte for byte.
std::string LinkSeenFrom(std::string_view folder, std::string_view link);

// The path below the top a relative link leads to, without query and fragment, with "."
// and ".." resolved; a link to a folder keeps its trailing "/" (the top itself is "").
// Nothing for links that are not relative or lead above the top.
std::optional<std::string> SitePathOfLink(std::string_view link);

// The folder part of a page path below the top ("teams" for "teams/u10.html").
std::string_view FolderOfSitePath(std::string_view path);

}  // namespace kestrune
