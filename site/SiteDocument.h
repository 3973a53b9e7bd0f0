// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;

// Whether the document's own page and the script runtime beside it already hold what a
// save with the runtime would write, so that a publish of an unchanged document leaves
// them (and their modification times) alone. The menu file is the document's own, read
// or saved with it.
bool SavedPageCurrent(const CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                      const std::string& pageLanguage);

}  // namespace kestrune
