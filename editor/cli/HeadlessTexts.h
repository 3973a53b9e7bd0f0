// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Options and messages of the headless command line, defined once.
namespace headlesstexts {

inline constexpr const char* kAppDir = "--app-dir";
inline constexpr const char* kParams = "--params";
inline constexpr const char* kHtml = "--html";
inline constexpr const char* kCheck = "--check";
inline constexpr const char* kSave = "--save";
inline constexpr const char* kNew = "--new";
inline constexpr const char* kAutoSize = "--auto-size";
inline constexpr const char* kRuntime = "--runtime";
inline constexpr const char* kLayout = "--layout";
inline constexpr const char* kOpen = "--open";
inline constexpr const char* kPublish = "--publish";
inline constexpr const char* kAdd = "--add";
inline constexpr const char* kCheckLinks = "--check-links";
inline constexpr const char* kHelp = "--help";
inline constexpr const char* kVersion = "--version";

inline constexpr const char* kUsage =
    "Usage:\n"
    "  kestrune [--app-dir DIR] [FILE]                         the editor window, opening FILE\n"
    "  kestrune [--app-dir DIR] --params FILE                  the applet parameter block\n"
    "  kestrune [--app-dir DIR] --html FILE [--auto-size] [--runtime]\n"
    "                                                          the HTML page\n"
    "  kestrune [--app-dir DIR] --check FILE [--auto-size]     the parameter check report\n"
    "  kestrune [--app-dir DIR] --save FILE DEST [--auto-size] [--runtime]\n"
    "                                                          open FILE, save it as page DEST\n"
    "  kestrune [--app-dir DIR] --new POSITION --save DEST [--runtime]\n"
    "                                                          start from a template, save it\n"
    "  kestrune [--app-dir DIR] --publish PAGE [--add]         save PAGE with the runtime and put\n"
    "                                                          its menu into every page of its site\n"
    "  kestrune --check-links PAGE                             the item links of PAGE's site\n"
    "  kestrune --layout PAGE [--open I,J,...]                where the menus of PAGE lie\n"
    "  kestrune --view PAGE                                    the live preview of a page\n"
    "  kestrune --help | --version\n"
    "\n"
    "FILE is a menu file (.kst) or a page file with its menu file beside it. POSITION counts\n"
    "the template list from 0. --auto-size sets the applet size to the check's\n"
    "recommendation first. --runtime adds the line of the script runtime kestrune-menu.js,\n"
    "which shows the menus in today's browsers, and a save copies the runtime beside the page.\n"
    "--layout reads the parameters of PAGE as a browser gets them and prints, as JSON, the\n"
    "rectangles of every menu and item shown when top-level menu I, its visible item J and so\n"
    "on are open (indices from 0). The site of PAGE is its folder and everything below it:\n"
    "--publish replaces what lies between <!-- kestrune-menu --> and <!-- /kestrune-menu -->\n"
    "in each of its pages (--add puts both markers and the menu after the <body> tag of the\n"
    "pages without them) and prints one line per page; it ends with status 1 when a page was\n"
    "skipped for an error. --check-links ends with status 1 when an item link inside the site\n"
    "names no file. Without these options Kestrune starts its window.\n";
inline constexpr const char* kUsagePrefix = "kestrune: ";
inline constexpr const char* kSeeHelp = "Try 'kestrune --help'.\n";
inline constexpr const char* kMissingOption =
    "missing option: one of --params, --html, --check, --save, --new, --layout, --publish, --check-links, "
    "--help, --version";
inline constexpr const char* kMissingArgument = "missing argument after %1";
inline constexpr const char* kUnexpectedArgument = "unexpected argument '%1'";
inline constexpr const char* kBadPosition = "the template position '%1' is not a whole number";
inline constexpr const char* kNoSuchTemplate = "There is no template at position %1.";
inline constexpr const char* kBadOpenPath = "the open path '%1' is not a list of whole numbers";
inline constexpr const char* kCannotReadPage = "Cannot read the page \"%1\".";
inline constexpr const char* kOutOfMemory = "There is not enough memory for this command.";
inline constexpr const char* kUnknownOption = "unknown option '%1'";
inline constexpr const char* kCannotCreateFolder = "Cannot create the folder \"%1\".";

}  // namespace headlesstexts
