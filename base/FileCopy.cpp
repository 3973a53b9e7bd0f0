// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileCopy.h"

#include <optional>
#include <system_error>

#include "base/SafeFile.h"

namespace kestrune {

namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool IsSameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

bool ReplaceFileWith(const fs::path& target, std::string_view bytes, std::string* error) {
    const std::optional<fs::path> destination = WritableDestination(target, error);
    if (!destination) return false;
    PendingFile file;
    return file.Write(*destination, bytes, error) && file.Commit(error);
}

bool CopyFileReplacing(const fs::path& source, const fs::path& target) {
    if (source.empty() || target.empty() || !target.has_filename()) return false;
    std::string bytes;
    if (ReadRegularFile(source, kMaxCopiedFileBytes, bytes) != FileCheck::Ok) return false;
    if (IsSameFile(source, target)) return true;
    return ReplaceFileWith(target, bytes);
}

}  // namespace kestrune
