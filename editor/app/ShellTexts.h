// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Fixed texts of the main window, the menu tree and the template dialogs: defined once here.
namespace shelltexts {

inline const QString kAppTitle = QStringLiteral("Kestrune");
inline constexpr const char* kNoDisplay =
    "kestrune: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
    "'kestrune --help' lists what works without one.";
inline const QString kUntitled = QStringLiteral("Untitled");
inline const QString kCaptionSeparator = QStringLiteral(" - ");
inline const QString kSaveChangesTo = QStringLiteral("Save changes to %1?");
inline const QString kSaveFailedBecause = QStringLiteral("Could not write %1.");
inline const QString kMoreMessageLines = QStringLiteral("... and %1 more lines.");
inline const QString kMessageGoesOn = QStringLiteral("...");
inline const QString kSaveFailedFiles = QStringLiteral("Could not write \"%1\" or \"%2\".");
inline const QString kFindLabel = QStringLiteral("&Find:");
inline const QString kFindPlaceholder = QStringLiteral("Label, description or link");
inline const QString kFindNoMatch = QStringLiteral("No match");
inline const QString kFindSearching = QStringLiteral("Searching...");
inline const QString kFindCount = QStringLiteral("%1 found");
inline const QString kFindPosition = QStringLiteral("%1 of %2");
inline const QString kSaveMissingMedia =
    QStringLiteral("Saved, but these media files were not found; the page names none for them:\n");
inline const QString kSaveAsCaption = QStringLiteral("Save As");
// Publish to Site, Check Links and the item sheet's Browse button work in the site: the
// folder of the document's page and everything below it.
inline const QString kSaveFirstForSite =
    QStringLiteral("Save the document first: the folder of its page and everything below it is the site.");
inline const QString kOutsideSite = QStringLiteral(
    "\"%1\" lies outside the site \"%2\". Pick a page in the document's folder or below it.");
inline const QString kLinkToPageCaption = QStringLiteral("Link to a Page of the Site");
inline const QString kSitePageFilter = QStringLiteral("Web Pages (*.htm *.html);;All Files (*)");
// A file type's name ends with its patterns in brackets, which the dialog shows as written.
inline const QString kSaveFilter = QStringLiteral("Kestrune Saved HTML (*.htm);;All Files (*)");
inline const QString kPageExtension = QStringLiteral(".htm");
inline const QString kOpenCaption = QStringLiteral("Open");
inline const QString kOpeningFile = QStringLiteral("Opening %1...");
inline const QString kSavingFile = QStringLiteral("Saving %1...");
inline const QString kCancelWork = QStringLiteral("Cancel");
inline const QString kOpenFilter = QStringLiteral("HTML Files (*.htm *.html);;Menu Files (*.kst)");
inline const QString kRecentFilePlaceholder = QStringLiteral("Recent File");
inline const QString kOpenRecentPrompt = QStringLiteral("Open this document");
inline const QString kReadyPrompt = QStringLiteral("For Help, press F1");
inline const QString kContextHelpPrompt = QStringLiteral("Select an object on which to get Help");
inline const QString kMessagePaneLabel = QStringLiteral("Warning message list:");
inline const QString kHelpFile = QStringLiteral("kestrune.html");
inline const QString kHelpWindowTitle = QStringLiteral("Kestrune Help");

// Settings entries of the shell.
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kWindowPosKey = "WindowPos";
inline constexpr const char* kTreeWidthKey = "Tree Width";
inline constexpr const char* kTreeHeightKey = "Tree Height";
inline constexpr const char* kAutoChangeSizeKey = "Auto Change Size";
inline constexpr const char* kScriptRuntimeKey = "Script Runtime";
inline constexpr const char* kPageLanguageKey = "Page Language";
// The colour chooser's custom colours, "#rrggbb" names separated by commas.
inline constexpr const char* kCustomColorsKey = "Custom Colors";
// The open nodes of the tree of the document last open: its path, and the nodes' places
// as rows ("2.0" the first item of the third top-level menu) separated by commas.
inline constexpr const char* kTreeSection = "Tree";
// Where the tool windows stood, per screen (see ToolWindowPlace.h).
inline constexpr const char* kWindowsSection = "Windows";
inline constexpr const char* kTreeDocumentKey = "Document";
inline constexpr const char* kTreeOpenNodesKey = "Open Nodes";

// The Page Language dialog.
inline const QString kPageLanguageCaption = QStringLiteral("Page Language");
inline const QString kPageLanguagePrompt =
    QStringLiteral("Language of the pages written with the script runtime, as a BCP 47 tag (en, fr, de-CH):");
inline const QString kPageLanguageMalformed =
    QStringLiteral("\"%1\" is not a language tag of a known language. Enter a tag such as en, fr, pt-BR or de-CH.");
inline const QString kPageLanguageNamed = QStringLiteral("\"%1\" is the language %2: its tag \"%3\" is used.");
inline constexpr const char* kRecentFileSection = "Recent File List";
inline const QString kRecentFileKey = QStringLiteral("File%1");
inline constexpr int kDefaultTreeSize = 150;

// The menu tree.
inline const QString kCantDeleteRoot = QStringLiteral("Can't delete root!");
inline const QString kDeleteMenuQuestion = QStringLiteral("Are you sure to delete this top-level menu?");
inline const QString kDeleteSubMenuItemQuestion =
    QStringLiteral("Are you sure to delete this item and it's sub menu?");
inline const QString kDeleteItemQuestion = QStringLiteral("Are you sure to delete this item?");

// The HTML dialog.
inline const QString kCopyTooltip = QStringLiteral("Click to copy HTML into clipboard");

// Copyright and licence, shown by --version and the About box.
inline constexpr const char* kCopyrightNotice = "Copyright (C) 2026 Quellary";
inline constexpr const char* kLicenceNotice =
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "kestrune-menu.js and the sample pictures and sounds, published with pages,\n"
    "are under the MIT License.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";

// The About box.
inline const QString kAboutCaption = QStringLiteral("About Kestrune");
inline const QString kAboutVersion = QStringLiteral("Kestrune Version %1");
inline const QString kAboutCopyright =
    QString::fromLatin1(kCopyrightNotice) + QLatin1Char('\n') + QString::fromLatin1(kLicenceNotice);

// A started program's failures.
inline const QString kProgramNotFound = QStringLiteral("the program was not found or cannot be run");
inline const QString kExitCode = QStringLiteral("it ended with exit code %1");

// Said once per run, after a page was saved without the script runtime.
inline const QString kImageLargerThanItem =
    QStringLiteral("Note:\t\tItem \"%1\" image file \"%2\" is %3\u00d7%4, larger than its item (%5\u00d7%6).\n");
inline const QString kSavedMenusCut = QStringLiteral(
    "The page's applet is %1\u00d7%2 while its menus need %3\u00d7%4: they are cut off.\n"
    "Fit Applet Size (Build menu) gives the applet that size.");
inline const QString kSavedWithoutRuntime =
    QStringLiteral("Today's browsers show no menus on this page: Options > Script Runtime makes the saved page show them.");

}  // namespace shelltexts
