// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/PreviewFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "base/SafeFile.h"

namespace kestrune {

namespace fs = std::filesystem;

std::string PreviewFolder(const std::string& appDir) { return appDir + "/" + kPreviewFolderName; }

std::string PreviewPagePath(const std::string& appDir) { return PreviewFolder(appDir) + "/" + kPreviewPageName; }

int CreatePreviewFolder(const std::string& appDir, PreviewWrites* writes) {
    std::error_code error;
    const fs::path folder = PreviewFolder(appDir);
    const bool created = fs::create_directory(folder, error);
    if (created && writes) writes->createdFolder = true;
    return fs::is_directory(fs::symlink_status(folder, error)) ? 1 : 0;
}

bool IsSafeProgramFolder(const std::string& appDir) {
    if (appDir.empty()) return false;
    const fs::path folder = CanonicalOrEmpty(fs::path(appDir));
    return !folder.empty() && folder != folder.root_path();
}

int CleanPreviewFolder(const std::string& appDir, const PreviewWrites& writes) {
    if (!IsSafeProgramFolder(appDir)) return 0;
    const fs::path folder = fs::path(PreviewFolder(appDir)).lexically_normal();
    const fs::path parent = folder.parent_path();
    const std::string folderName = folder.filename().string();
    const int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) return 0;
    const FileHandle parentHandle(parentFd);
    // The folder is opened through its parent without following a link in its place.
    const FileHandle dir(::openat(parentFd, folderName.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.IsOpen()) return 0;
    const fs::path canonicalFolder = CanonicalOrEmpty(folder);
    if (canonicalFolder.empty() || canonicalFolder == canonicalFolder.root_path()) return 0;

    int deleted = 0;
    for (const std::string& name : writes.files) {
        if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") continue;
        struct stat info {};
        if (::fstatat(dir.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
        if (::unlinkat(dir.Get(), name.c_str(), 0) == 0) ++deleted;
    }
    // Fails, and is meant to, while anything else remains in it.
    if (writes.createdFolder) ::unlinkat(parentFd, folderName.c_str(), AT_REMOVEDIR);
    return deleted;
}

}  // namespace kestrune
