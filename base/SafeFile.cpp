// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

#include "base/FileTexts.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;
constexpr int kTemporaryNameAttempts = 16;

std::string WithPath(const char* format, const fs::path& path) {
    std::string text(format);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, path.string());
    return text;
}

bool Fail(std::string* error, const char* format, const fs::path& path) {
    if (error) *error = WithPath(format, path);
    return false;
}

// The same with the system's own words for errno ("No space left on device"), which
// tell the user what to do about it.
bool FailWithSystemReason(std::string* error, const char* format, const fs::path& path, int code) {
    if (error) *error = WithPath(format, path) + " " + std::strerror(code) + ".";
    return false;
}

std::string RandomSuffix() {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::mt19937_64 random{std::random_device{}()};
    std::string suffix;
    std::uint64_t value = random();
    for (int i = 0; i < 12; ++i, value >>= 4) suffix += kDigits[value & 0xF];
    return suffix;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A file nobody may write, as a user marks a file to keep: replacing it by a rename
// would go around that mark, so it is refused as an editor refuses it.
bool IsReadOnly(const fs::file_status& status) {
    return (status.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
           fs::perms::none;
}

FileCheck ReadOpenedFile(const FileHandle& file, std::size_t maxBytes, std::string& content) {
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return FileCheck::TooLarge;
    if (info.st_size > 0) content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[kChunk];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            content.clear();
            return FileCheck::Unreadable;
        }
        if (got == 0) return FileCheck::Ok;
        if (content.size() + static_cast<std::size_t>(got) > maxBytes) {
            content.clear();
            content.shrink_to_fit();
            return FileCheck::TooLarge;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

// A regular file checked and set to blocking reads, or nothing with status.
FileHandle AcceptRegular(FileHandle file, FileCheck& status) {
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) return {};
    if (!S_ISREG(info.st_mode)) {
        status = FileCheck::NotRegular;
        return {};
    }
    // Reads of a regular file never wait; blocking mode keeps the reads plain.
    ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
    status = FileCheck::Ok;
    return file;
}

FileCheck StatusOf(int code) {
    if (code == ENOENT || code == ENOTDIR) return FileCheck::Missing;
    if (code == ELOOP || code == ENXIO || code == EISDIR || code == EXDEV) return FileCheck::NotRegular;
    return FileCheck::Unreadable;
}

constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The folder at relative below folder with openat2 (RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS)
// where the kernel has it, else a component at a time with O_NOFOLLOW: no link is followed
// on the way. -1 with errno when it cannot be opened.
int OpenFolderBeneath(int folder, const fs::path& relative) {
    constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    if (relative.empty()) return ::dup(folder);
#ifdef SYS_openat2
    struct {
        std::uint64_t flags, mode, resolve;
    } how{static_cast<std::uint64_t>(kFolderFlags), 0, 0x08 /* RESOLVE_BENEATH */ | 0x04 /* RESOLVE_NO_SYMLINKS */};
    const int fd = static_cast<int>(::syscall(SYS_openat2, folder, relative.c_str(), &how, sizeof how));
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return fd;
#endif
    FileHandle current(::dup(folder));
    for (const fs::path& part : relative) {
        if (part.empty() || part == ".") continue;
        FileHandle next(::openat(current.Get(), part.c_str(), kFolderFlags));
        if (!next.IsOpen()) return -1;
        current = std::move(next);
    }
    return ::dup(current.Get());
}

// The file name in its folder without following a link, but for a link to a plain name in
// the same folder, which is followed once.
int OpenInFolderNoFollow(int folder, const std::string& name) {
    const int fd = ::openat(folder, name.c_str(), kReadFlags | O_NOFOLLOW);
    if (fd >= 0 || errno != ELOOP) return fd;
    char target[4096];
    const ssize_t length = ::readlinkat(folder, name.c_str(), target, sizeof target - 1);
    if (length <= 0) return -1;
    const std::string plain(target, static_cast<std::size_t>(length));
    if (plain.find('/') != std::string::npos || plain == "." || plain == "..") {
        errno = ELOOP;
        return -1;
    }
    return ::openat(folder, plain.c_str(), kReadFlags | O_NOFOLLOW);
}

}  // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FileHandle::~FileHandle() {
    if (m_fd >= 0) ::close(m_fd);
}

FileHandle OpenRegularFile(const fs::path& path, FileCheck& status, bool followLinks) {
    status = FileCheck::Unreadable;
    if (path.empty()) {
        status = FileCheck::Missing;
        return {};
    }
    FileHandle file(::open(path.c_str(), kReadFlags | (followLinks ? 0 : O_NOFOLLOW)));
    if (!file.IsOpen()) {
        const FileCheck reason = StatusOf(errno);
        if (reason != FileCheck::Unreadable) status = reason;
        return {};
    }
    return AcceptRegular(std::move(file), status);
}

FileCheck ReadRegularFile(const fs::path& path, std::size_t maxBytes, std::string& content) {
    content.clear();
    FileCheck status = FileCheck::Ok;
    const FileHandle file = OpenRegularFile(path, status);
    if (!file.IsOpen()) return status;
    return ReadOpenedFile(file, maxBytes, content);
}

FileHandle OpenRegularFileBeneath(const fs::path& folder, const fs::path& relative, FileCheck& status) {
    status = FileCheck::Unreadable;
    if (relative.empty() || relative.is_absolute()) {
        status = FileCheck::Missing;
        return {};
    }
    for (const fs::path& part : relative)
        if (part == "..") {
            status = FileCheck::NotRegular;
            return {};
        }
    const FileHandle base(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!base.IsOpen()) return {};
    const FileHandle parent(OpenFolderBeneath(base.Get(), relative.parent_path()));
    const int fd = parent.IsOpen() ? OpenInFolderNoFollow(parent.Get(), relative.filename().string()) : -1;
    if (fd < 0) {
        status = StatusOf(errno);
        return {};
    }
    return AcceptRegular(FileHandle(fd), status);
}

FileCheck ReadRegularFileBeneath(const fs::path& folder, const fs::path& relative, std::size_t maxBytes,
                                 std::string& content) {
    content.clear();
    FileCheck status = FileCheck::Ok;
    const FileHandle file = OpenRegularFileBeneath(folder, relative, status);
    if (!file.IsOpen()) return status;
    return ReadOpenedFile(file, maxBytes, content);
}

FileCheck ReadFileStart(const fs::path& path, std::size_t n, std::string& start) {
    start.assign(n, '\0');
    FileCheck status = FileCheck::Ok;
    const FileHandle file = OpenRegularFile(path, status);
    if (!file.IsOpen()) {
        start.clear();
        return status;
    }
    std::size_t have = 0;
    while (have < n) {
        const ssize_t got = ::read(file.Get(), start.data() + have, n - have);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        have += static_cast<std::size_t>(got);
    }
    start.resize(have);
    return FileCheck::Ok;
}

bool IsLink(const fs::path& path) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(path, error));
}

fs::path CanonicalOrEmpty(const fs::path& path) {
    std::error_code error;
    fs::path canonical = fs::canonical(path.empty() ? fs::path(".") : path, error);
    return error ? fs::path() : canonical;
}

bool LiesInside(const fs::path& inner, const fs::path& folder) {
    const fs::path a = CanonicalOrEmpty(inner);
    const fs::path b = CanonicalOrEmpty(folder);
    if (a.empty() || b.empty() || a == b) return false;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai)
        if (ai == a.end() || *ai != *bi) return false;
    return true;
}

std::optional<fs::path> WritableDestination(const fs::path& path, std::string* error) {
    if (path.empty() || !path.has_filename()) {
        Fail(error, texts::kNotAFileName, path);
        return std::nullopt;
    }
    std::error_code code;
    const fs::file_status own = fs::symlink_status(path, code);
    if (code && code != std::errc::no_such_file_or_directory) {
        Fail(error, texts::kCannotWriteFile, path);
        return std::nullopt;
    }
    if (!fs::exists(own)) return path;
    if (fs::is_regular_file(own)) {
        if (IsReadOnly(own)) {
            Fail(error, texts::kFileReadOnly, path);
            return std::nullopt;
        }
        return path;
    }
    if (!fs::is_symlink(own)) {
        Fail(error, texts::kNotRegularDestination, path);
        return std::nullopt;
    }
    const fs::path target = CanonicalOrEmpty(path);
    const fs::path folder = CanonicalOrEmpty(path.parent_path());
    if (target.empty() || folder.empty() || !fs::is_regular_file(target, code) || target.parent_path() != folder) {
        Fail(error, texts::kLinkLeadsOutside, path);
        return std::nullopt;
    }
    if (IsReadOnly(fs::status(target, code))) {
        Fail(error, texts::kFileReadOnly, path);
        return std::nullopt;
    }
    return target;
}

std::string TemporaryPrefixFor(const fs::path& target) { return "." + target.filename().string() + ".tmp"; }

PendingFile::PendingFile(PendingFile&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)) {
    other.m_temporary.clear();
}

PendingFile::~PendingFile() { Discard(); }

void PendingFile::Discard() {
    if (m_temporary.empty()) return;
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

bool PendingFile::Write(const fs::path& target, std::string_view content, std::string* error, bool flush) {
    Discard();
    m_target = target;
    // The new file keeps the old one's permissions; a new name gets the usual ones.
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;
    const std::string prefix = TemporaryPrefixFor(target);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const fs::path temporary = target.parent_path() / (prefix + RandomSuffix());
        FileHandle file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.IsOpen()) {
            if (errno == EEXIST) continue;
            return FailWithSystemReason(error, texts::kCannotWriteFile, target, errno);
        }
        m_temporary = temporary;
        const bool whole = WriteAll(file.Get(), content) && ::fchmod(file.Get(), mode) == 0 &&
                           (!flush || ::fsync(file.Get()) == 0);
        if (!whole) {
            const int code = errno;
            Discard();
            return FailWithSystemReason(error, texts::kCannotWriteFile, target, code);
        }
        return true;
    }
    return Fail(error, texts::kCannotWriteFile, target);
}

bool PendingFile::Commit(std::string* error, bool flushFolder) {
    if (m_temporary.empty()) return Fail(error, texts::kCannotWriteFile, m_target);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int code = errno;
        Discard();
        return FailWithSystemReason(error, texts::kCannotWriteFile, m_target, code);
    }
    m_temporary.clear();
    if (flushFolder) SyncFolder(m_target.parent_path());
    return true;
}

bool FlushFileSystem(const fs::path& folder) {
    const FileHandle handle(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.IsOpen() && ::syncfs(handle.Get()) == 0;
}

void FlushFolder(const fs::path& folder) { SyncFolder(folder); }

}  // namespace kestrune
