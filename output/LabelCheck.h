// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;

// A warning line for every item, hidden ones included, whose label is empty: the applet
// would draw a blank button. Items are named by their place, e.g. "1.2" for the second
// item of the first top-level menu.
void AppendEmptyLabelWarnings(const CAppletParameters& applet, std::string& report);

}  // namespace kestrune
