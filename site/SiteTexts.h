// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts of publishing a menu into a site and of the link check, defined once.
namespace kestrune::sitetexts {

// The markers a page carries the menu between.
inline constexpr const char* kMarkerOpen = "<!-- kestrune-menu -->";
inline constexpr const char* kMarkerClose = "<!-- /kestrune-menu -->";

// One report line per page: "teams/u10.html: updated".
inline constexpr const char* kLineSeparator = ": ";
inline constexpr const char* kSaved = "saved (the menu's own page)";
inline constexpr const char* kUpdated = "updated";
inline constexpr const char* kUnchanged = "unchanged";
inline constexpr const char* kAdded = "added";
inline constexpr const char* kWithoutMenu = "no menu markers; left as it is";
inline constexpr const char* kNotPublished = "not published (cancelled)";
inline constexpr const char* kSkipped = "skipped, ";
// The reasons of a skipped page.
inline constexpr const char* kChangedAfterRead = "it changed after it was read";
inline constexpr const char* kUnbalancedMarkers = "its menu markers are unbalanced";
inline constexpr const char* kNestedMarkers = "its menu markers are nested";
inline constexpr const char* kRepeatedMarkers = "it carries the menu markers more than once";
inline constexpr const char* kTooLarge = "it is larger than 64 MB";
inline constexpr const char* kIsLink = "it is a link";
inline constexpr const char* kNotRegular = "it is not a regular file";
inline constexpr const char* kUnreadable = "it cannot be read";
inline constexpr const char* kNoBody = "it has no <body> tag to add the menu after";
inline constexpr const char* kNotWritten = "it could not be written: ";
inline constexpr const char* kNotLocked = "its folder could not be locked: ";

// What the dialog says of a page before publishing.
inline constexpr const char* kStateWouldChange = "has the menu, would change";
inline constexpr const char* kStateUnchanged = "has the menu, unchanged";
inline constexpr const char* kStateNoMenu = "no menu";

// The link check report.
inline constexpr const char* kLinkReportHeader = "-----------------Checking Links--------------\r\n\r\n";
inline constexpr const char* kBrokenStart = "Broken link:\t\tItem \"";
inline constexpr const char* kBrokenLinks = "\" links to \"";
inline constexpr const char* kBrokenNoFile = "\", which names no file in the site.\r\n";
inline constexpr const char* kBrokenCaseStart = "\", which names no file in the site; \"";
inline constexpr const char* kBrokenCaseEnd = "\" differs from it only in letter case.\r\n";
inline constexpr const char* kOrphanStart = "Not in the menu:\t\"";
inline constexpr const char* kOrphanEnd = "\" is a page of the site that no item links to.\r\n";
inline constexpr const char* kLeavingStart = "Leaving the site:\t";
inline constexpr const char* kLeavingEnd = " item links lead outside the site (not fetched).\r\n";
inline constexpr const char* kAllFound = "Every item link inside the site names a file.\r\n";

}  // namespace kestrune::sitetexts
