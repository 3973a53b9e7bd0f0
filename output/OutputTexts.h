// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "model/ModelTexts.h"

// Texts of the parameter block, the page and the check report. The applet and the
// users read them byte for byte, so each is written down once, here.
namespace kestrune::texts {

inline constexpr const char* kDefaultTarget = "_self";

// Parameter names and their number forms.
inline constexpr const char* kParamAppletStyle = "ApStyle";
inline constexpr const char* kParamMenuStylePrefix = "MStyle-";
inline constexpr const char* kParamItemStylePrefix = "IStyle-";
inline constexpr const char* kParamItemPrefix = "I";
inline constexpr const char* kParamMisc = "Misc";
inline constexpr const char* kParamLineStart = "\t<param name=\"";
inline constexpr const char* kParamLineValue = "\" value=\"";
inline constexpr const char* kParamLineEnd = "\">\r\n";

// Background style as the applet reads it: filled (0/1), then border (1 without, 2 with).
inline constexpr std::array<const char*, 4> kBackgroundStyleCodes = {"01", "02", "11", "12"};

// The page.
inline constexpr const char* kAppletClassFileName = "trelvix.class";
inline constexpr const char* kPageStart = "<html>\r\n<head><title>";
inline constexpr const char* kPageTitleEnd = "</title></head>\r\n";
inline constexpr const char* kTitleOpen = "<title>";
inline constexpr const char* kTitleClose = "</title>";
inline constexpr const char* kParagraphStart = "<p align=\"";
inline constexpr const char* kParagraphStartEnd = "\">\r\n";
inline constexpr const char* kAppletStart = "<applet code=\"";
inline constexpr const char* kAppletCodeBase = "\" codebase=\"";
inline constexpr const char* kAppletWidth = "\" align=\"baseline\" width=\"";
inline constexpr const char* kAppletHeight = "\" height=\"";
inline constexpr const char* kAppletStartEnd = "\">\r\n";
inline constexpr const char* kAppletParagraphEnd = "</applet>\r\n</p>\r\n";
inline constexpr const char* kPageEnd = "</html>";
// The script runtime's line, written right after the applet paragraph when asked for.
inline constexpr const char* kRuntimeScriptTag = "<script src=\"kestrune-menu.js\"></script>";
// The same line around another path to the runtime.
inline constexpr const char* kRuntimeScriptOpen = "<script src=\"";
inline constexpr const char* kRuntimeScriptClose = "\"></script>";
// The fallback list's own look, for browsers without scripts and until the runtime has
// drawn the menus: a tidy site menu whose sub lists open on hover and on keyboard focus.
// Closed sub lists lie out of sight rather than hidden, so Tab reaches every link.
inline constexpr const char* kFallbackListStyle =
    "<style>applet>nav{display:inline-block;text-align:left;font:15px/1.4 sans-serif}"
    "applet>nav ul{list-style:none;margin:0;padding:0;min-width:10em;background:#1f3a5f;color:#fff}"
    "applet>nav li{position:relative;padding:.3em .8em}"
    "applet>nav a{display:block;margin:-.3em -.8em;padding:.3em .8em;color:#fff;text-decoration:none}"
    "applet>nav a:hover,applet>nav a:focus{background:#2e5c8a;text-decoration:underline}"
    "applet>nav li>ul{position:absolute;z-index:20;top:0;left:-10000em}"
    "applet>nav li:hover>ul,applet>nav li:focus-within>ul{left:100%}"
    "applet>nav>ul.km-across{display:flex;flex-wrap:wrap}"
    "applet>nav>ul.km-across>li:hover>ul,applet>nav>ul.km-across>li:focus-within>ul{left:0;top:100%}"
    "@media print{applet>nav ul{background:none;color:#000}applet>nav a{color:#000}}</style>\r\n";
inline constexpr const char* kFallbackAcrossList = "<ul class=\"km-across\">\r\n";
// The runtime page is a document of today's web: document type, language, the code page
// it is written in, a viewport for phones and a body.
inline constexpr const char* kRuntimePageStart = "<!DOCTYPE html>\r\n<html lang=\"";
inline constexpr const char* kRuntimePageHead =
    "\">\r\n<head><meta charset=\"windows-1252\">"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>";
inline constexpr const char* kRuntimeBodyStart = "<body>\r\n";
inline constexpr const char* kRuntimeBodyEnd = "</body>\r\n";
inline constexpr const char* kAppletEnd = "</applet>\r\n";
inline constexpr const char* kParagraphEnd = "</p>\r\n";
inline constexpr const char* kParagraphOpenMark = "<p align";
inline constexpr const char* kParagraphCloseMark = "</p>";

// The user's own data folder below the platform's data home.
inline constexpr const char* kUserDataSubfolder = "Quellary/Kestrune";

// The parameter check report.
inline constexpr const char* kReportHeaderStart = "-----------------Checking ";
inline constexpr const char* kReportHeaderEnd = " Parameters--------------\r\n\r\n";
inline constexpr const char* kReportRecommendWidth = "Recommend:\tApplet Width:";
inline constexpr const char* kReportRecommendHeight = ",\tApplet Height:";
inline constexpr const char* kReportAppletImageStart = "Warning:\t\tApplet background image file \"";
inline constexpr const char* kReportAppletAudioStart = "Warning:\t\tApplet background audio file \"";
inline constexpr const char* kReportItemStart = "Warning:\t\tItem \"";
inline constexpr const char* kReportItemKindStart = "\" ";
inline constexpr const char* kReportItemFileStart = " file \"";
inline constexpr const char* kReportNotExist = "\" not exist.\r\n";
// Media that are found but not used or not copied.
inline constexpr const char* kReportNotImage = "\" is not an image file.\r\n";
inline constexpr const char* kReportNotAudio = "\" is not an audio file.\r\n";
inline constexpr const char* kReportLinkOutside = "\" is a link leading outside its folder; it is not used.\r\n";
inline constexpr const char* kReportNotCopied = "\" could not be copied.\r\n";
inline constexpr const char* kReportNameClash =
    "\" has the name of another media file of this menu; it is not copied.\r\n";
inline constexpr const char* kReportReservedName =
    "\" has the name of a file the page itself needs, or a hidden name; it is not copied.\r\n";
inline constexpr const char* kReportExistsOther =
    "\" already exists in the folder with other content; it is not replaced.\r\n";
inline constexpr const char* kReportOutsideFolders =
    "\" lies outside the document's folder and the templates' media folders; it is copied all the same.\r\n";
inline constexpr const char* kReportEmptyLabelStart = "Warning:\t\tItem ";
inline constexpr const char* kReportEmptyLabelEnd = " has an empty label.\r\n";
inline constexpr const char* kReportScriptLinkStart = " link \"";
inline constexpr const char* kReportScriptLinkEnd =
    "\" is a script link; the page's plain list of links leaves it out.\r\n";
// Before "... and N more warnings." where a report leaves out more warnings of one kind.
inline constexpr const char* kReportMoreStart = "Warning:\t\t";
inline constexpr const char* kReportTrailer =
    "\r\n----------------------------------End Message--------------------------------\r\n\r\n";

// The five item media fields in walk order, named as the report names them.
inline constexpr std::array<const char*, 5> kItemMediaKinds = {
    "normal image", "mouse over image", "mouse click image", "mouse over audio",
    "mouse click audio"};

}  // namespace kestrune::texts
