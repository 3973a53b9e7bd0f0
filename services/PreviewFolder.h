#pragma once

#include <string>

namespace kestrune {

inline constexpr const char* kPreviewFolderName = "tmp";
inline constexpr const char* kPreviewPageName = "~Kestrune.htm";

// <program folder>/tmp
std::string PreviewFolder(const std::string& appDir);
// <program folder>/tmp/~Kestrune.htm
std::string PreviewPagePath(const std::string& appDir);

// Creates the preview folder; 1 when it exists afterwards, else 0.
int CreatePreviewFolder(const std::string& appDir);

// Whether appDir is a folder under which a preview folder may be emptied: not empty and
// not the file system root, once made absolute and normalised.
bool IsSafeProgramFolder(const std::string& appDir);

// Deletes the files directly inside the preview folder (subfolders are left, and so are
// the files they hold), then removes the folder when it is empty. Nothing is done for an
// unsafe program folder or when "tmp" is not a real folder (a link is never followed).
// Returns the number of entries deleted; failures are ignored.
int CleanPreviewFolder(const std::string& appDir);

}  // namespace kestrune
