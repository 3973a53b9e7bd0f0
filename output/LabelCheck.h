// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;

// A warning line for every item, hidden ones included, whose label is empty: the applet
// would draw a blank button. Items are named by their place, e.g. "1.2" for the second
// item of the first top-level menu.
void AppendEmptyLabelWarnings(const CAppletParameters& applet, std::string& report);

// A warning line, naming the item by its place, for every item whose link a browser would
// read as a script link: the page's plain list of links gives it no href.
void AppendScriptLinkWarnings(const CAppletParameters& applet, std::string& report);

}  // namespace kestrune
