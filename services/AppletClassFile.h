// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "output/OutputTexts.h"

namespace kestrune {

// The applet class file ships in the program folder; the page names it and every
// folder that receives a page (document folder, preview folder) gets a copy.
using texts::kAppletClassFileName;

std::filesystem::path AppletClassSource(const std::filesystem::path& programFolder);

// Copies the program folder's class file into the folder, replacing one there.
// Returns false when there was nothing to copy or the copy failed; callers ignore it.
bool CopyAppletClassFile(const std::filesystem::path& programFolder,
                         const std::filesystem::path& destinationFolder);

}  // namespace kestrune
