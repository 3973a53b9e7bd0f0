// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Texts of Publish to Site, defined once.
namespace publishtexts {

inline const QString kDialogTitle = QStringLiteral("Publish to Site");
inline const QString kDialogIntro = QStringLiteral(
    "The menu goes between <!-- kestrune-menu --> and <!-- /kestrune-menu --> in each checked page of "
    "the site \"%1\". Nothing outside the markers changes.");
inline const QString kPageColumn = QStringLiteral("Page");
inline const QString kStateColumn = QStringLiteral("State");
inline const QString kAddMenu = QStringLiteral("&Add the menu after the <body> tag of pages without markers");
inline const QString kPublishButton = QStringLiteral("&Publish");
inline const QString kNoPages = QStringLiteral("The site \"%1\" has no other page (.htm or .html) than the menu's own.");
inline const QString kReading = QStringLiteral("Reading the pages of %1");
inline const QString kPublishing = QStringLiteral("Publishing the menu into %1 pages");

}  // namespace publishtexts
