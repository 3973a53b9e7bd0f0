// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>

namespace kestrune {

inline constexpr const char* kPreviewFolderName = "tmp";
inline constexpr const char* kPreviewPageName = "~Kestrune.htm";

// Where the preview files of a run go; the one place that says so.
std::string PreviewFolder(const std::string& appDir);
// The preview page inside PreviewFolder(appDir).
std::string PreviewPagePath(const std::string& appDir);

// What one run of the program put into the preview folder: clean-up deletes these files
// and nothing else, so a preview folder that turns out to be someone else's (through a
// link, a moved program folder) loses nothing that is not the program's own.
struct PreviewWrites {
    std::set<std::string> files;  // the names inside the preview folder
    bool createdFolder = false;   // the run made the folder, so it may remove it
};

// Creates the preview folder; 1 when it exists afterwards, else 0. Notes in *writes
// whether this call made it.
int CreatePreviewFolder(const std::string& appDir, PreviewWrites* writes = nullptr);

// Whether appDir is a folder under which a preview folder may be emptied: not empty and
// not the file system root, once made canonical (links resolved).
bool IsSafeProgramFolder(const std::string& appDir);

// Deletes the files of writes that are still regular files directly inside the preview
// folder, through a handle on that folder (unlinkat), never following a link; then removes
// the folder when this run made it and it is empty. Nothing is done for an unsafe program
// folder or when the preview folder is a link or not a folder. Returns the number of
// files deleted; failures are ignored.
int CleanPreviewFolder(const std::string& appDir, const PreviewWrites& writes);

}  // namespace kestrune
