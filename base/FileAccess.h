#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// Calls visit for each line of text: a line ends at LF, a CR just before it belongs to
// the line end, and the last line needs no end.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit);

// The whole content of a regular file; false when it cannot be opened or read (a folder,
// a device or a pipe is never read, so a reader cannot block or run without end).
bool ReadWholeFile(const std::string& path, std::string& content);

// The lines of a file as ForEachLine gives them.
bool ReadLines(const std::string& path, std::vector<std::string>& lines);

// Writes content to a temporary file in the target's folder and renames it over the
// target, so the target is either its old self or the whole new content. The target's
// permissions are kept when it existed; a target that is a link has the file it names
// replaced.
bool WriteFileAtomically(const std::string& path, std::string_view content);

// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// The path's folder (before its last "/") and name (after it).
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace kestrune
