#pragma once

#include <filesystem>

namespace kestrune {

// Copies a regular file over the target, or leaves the target alone.
// - Only a regular file (or a link to one) is copied: folders, devices and pipes are
//   refused, so a path naming /dev/zero cannot hang the program.
// - A target that is the source itself (same path, a link, a hard link) is left as it is
//   and counts as done: copying a file onto itself must not truncate it.
// - The bytes go to a temporary file in the target's folder that is then renamed over
//   the target, so a failed copy never leaves a truncated target behind.
// Returns whether the target now holds the source's content.
bool CopyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& target);

bool IsRegularFile(const std::filesystem::path& path);

}  // namespace kestrune
