// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "base/FileTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

bool FolderLock::Acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait, std::string* error) {
    const std::filesystem::path open = folder.empty() ? std::filesystem::path(".") : folder;
    FileHandle handle(::open(open.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handle.IsOpen()) {
        if (error) *error = FormatMessage(texts::kCannotWriteFile, open.string());
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(handle.Get(), LOCK_EX | LOCK_NB) == 0) {
            m_folder = std::move(handle);
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // A file system without locks: nothing to wait for.
            if (errno == ENOLCK || errno == EOPNOTSUPP) {
                m_folder = std::move(handle);
                return true;
            }
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (error) *error = FormatMessage(texts::kFolderBusy, open.string());
    return false;
}

}  // namespace kestrune
