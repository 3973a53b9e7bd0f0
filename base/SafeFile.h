// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// Files named by documents and users may be anything: a pipe that never answers, a device
// without end, a link to another user's secrets. These helpers open them without blocking,
// read only regular files and never more than a cap, and write only over regular files.

enum class FileCheck { Ok, Missing, NotRegular, TooLarge, Unreadable };

// An open descriptor, closed when the holder goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();
    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Opens an existing regular file for reading; the open never waits (O_NONBLOCK), and a
// pipe, device, socket or folder is refused before a byte is read. With followLinks
// false a link is refused too.
FileHandle OpenRegularFile(const std::filesystem::path& path, FileCheck& status, bool followLinks = true);

// The whole content of a regular file, read in chunks and never more than maxBytes,
// whatever the file's size claims (a file that grows while read is still stopped).
FileCheck ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& content);

// The regular file at relative below folder, opened without following a link anywhere on
// the way (openat2 with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS, or a walk with O_NOFOLLOW
// on every component where the kernel lacks it) and without "..": a folder swapped for a
// link while a save runs cannot lead the open outside folder. The file opened is the file
// judged and read.
FileHandle OpenRegularFileBeneath(const std::filesystem::path& folder, const std::filesystem::path& relative,
                                  FileCheck& status);

// The whole content of that file, as ReadRegularFile reads it.
FileCheck ReadRegularFileBeneath(const std::filesystem::path& folder, const std::filesystem::path& relative,
                                 std::size_t maxBytes, std::string& content);

// At most n bytes from the start of a regular file.
FileCheck ReadFileStart(const std::filesystem::path& path, std::size_t n, std::string& start);

// Where a write to path may put its bytes: the path itself when nothing is there or a
// regular file is; through a link only when it names a regular file in the link's own
// folder (a link into another folder could make a save overwrite any file the user may
// write). A file nobody may write (mode 0444) is not replaced. Anything else (a device, a pipe, a folder, a dangling or far-reaching link) is
// refused with the reason in *error.
std::optional<std::filesystem::path> WritableDestination(const std::filesystem::path& path, std::string* error);

// A file written beside its target under a temporary name, flushed to disk, waiting to be
// renamed over the target. Dropping it without Commit removes the temporary file.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    ~PendingFile();

    // Writes content to a new temporary file beside target (target must be a checked
    // destination); false with *error when it could not be written whole. Without flush
    // the file is left for one FlushFileSystem over many files, before any is committed.
    bool Write(const std::filesystem::path& target, std::string_view content, std::string* error, bool flush = true);
    // Renames the temporary file over the target; the target's folder is flushed unless
    // the caller flushes it once after many renames (FlushFolder).
    bool Commit(std::string* error, bool flushFolder = true);
    void Discard();
    const std::filesystem::path& Target() const { return m_target; }
    const std::filesystem::path& Temporary() const { return m_temporary; }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
};

// Writes to disk what the file system holding folder has pending: one flush for many files
// written without their own.
bool FlushFileSystem(const std::filesystem::path& folder);
// Writes a folder's entries (renames into it) to disk.
void FlushFolder(const std::filesystem::path& folder);

// The prefix of every temporary name written beside target.
std::string TemporaryPrefixFor(const std::filesystem::path& target);

// Whether the path's final component is a link.
bool IsLink(const std::filesystem::path& path);

// Whether inner lies inside folder (both made canonical); a path equal to folder is not.
bool LiesInside(const std::filesystem::path& inner, const std::filesystem::path& folder);

// The canonical form of path, or empty when it cannot be resolved.
std::filesystem::path CanonicalOrEmpty(const std::filesystem::path& path);

}  // namespace kestrune
