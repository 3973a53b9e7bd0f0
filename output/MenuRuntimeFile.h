// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace kestrune {

// The script runtime ships in the program folder; a page written with the runtime's line
// needs a copy beside it, as it needs the applet class file.
inline constexpr const char* kMenuRuntimeFileName = "kestrune-menu.js";

// Copies the program folder's runtime into the folder, replacing one there. Returns false
// when there was nothing to copy or the copy failed.
bool CopyMenuRuntimeFile(const std::filesystem::path& programFolder, const std::filesystem::path& destinationFolder);

}  // namespace kestrune
