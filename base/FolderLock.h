// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "base/SafeFile.h"

namespace kestrune {

// An advisory lock on a folder, held while a save writes and renames its files there, so
// two saves into one folder (two windows, two command lines) cannot pair one's page with
// the other's menu file. The lock is taken on the folder itself: no lock file is left
// behind. It goes when the holder goes.
class FolderLock {
public:
    // Waits up to wait for the lock; false, with the reason in *error, when the folder
    // cannot be opened or another holder keeps the lock for longer.
    bool Acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait, std::string* error);
    bool Held() const { return m_folder.IsOpen(); }

private:
    FileHandle m_folder;
};

// How long a save waits for another save into the same folder.
inline constexpr std::chrono::milliseconds kSaveLockWait{10000};

}  // namespace kestrune
