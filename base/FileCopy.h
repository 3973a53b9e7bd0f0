// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kestrune {

// The largest media or class file copied or read: far above any menu picture or sound,
// far below what could exhaust memory.
inline constexpr std::size_t kMaxCopiedFileBytes = std::size_t{64} << 20;

// Copies a regular file over the target, or leaves the target alone.
// - Only a regular file (or a link to one) of at most kMaxCopiedFileBytes is copied:
//   folders, devices and pipes are refused without waiting, so a path naming /dev/zero
//   or a pipe cannot hang the program.
// - A target that is the source itself (same path, a link, a hard link) is left as it is
//   and counts as done: copying a file onto itself must not truncate it.
// - An existing target must be a regular file or a link to one in its own folder.
// - The bytes go to a temporary file in the target's folder, flushed to disk, that is
//   then renamed over the target, so a failed copy never leaves a truncated target.
// Returns whether the target now holds the source's content.
bool CopyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& target);

// Replaces the target (checked as above) with the bytes; false with *error on failure.
bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes, std::string* error = nullptr);

bool IsRegularFile(const std::filesystem::path& path);

bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace kestrune
