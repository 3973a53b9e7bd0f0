// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// Calls visit for each line of text: a line ends at CR LF, LF or a lone CR (files from
// every system read alike), and the last line needs no end.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit);

// The largest menu or template file read. A menu of a million items is about 300 to
// 400 MB and loads in about four times its size, so honest files stay below it while a
// sparse or runaway file is refused before a byte of it is read.
inline constexpr std::size_t kMaxMenuFileBytes = std::size_t{1} << 30;

// The whole content of a regular file of at most kMaxMenuFileBytes; false when it cannot
// be opened or read, with the reason in *error (a folder, a device or a pipe is never
// read and an open never waits, so a reader cannot block or run without end).
bool ReadWholeFile(const std::string& path, std::string& content, std::string* error = nullptr);

// The lines of a file as ForEachLine gives them.
bool ReadLines(const std::string& path, std::vector<std::string>& lines, std::string* error = nullptr);

// Writes content to a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so the target is either its old self or the whole new
// content. The target's permissions are kept when it existed. An existing target must be
// a regular file, or a link to one in its own folder (written through); anything else is
// refused with the reason in *error.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* error = nullptr);

// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// The path's folder (before its last "/") and name (after it).
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace kestrune
