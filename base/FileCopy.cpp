#include "base/FileCopy.h"

#include <random>
#include <string>
#include <system_error>

namespace kestrune {

namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

namespace {

constexpr int kTemporaryNameAttempts = 16;

std::string RandomSuffix(std::mt19937_64& random) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix;
    std::uint64_t value = random();
    for (int i = 0; i < 12; ++i, value >>= 4) suffix += kDigits[value & 0xF];
    return suffix;
}

bool IsSameFile(const fs::path& source, const fs::path& target) {
    std::error_code error;
    return fs::equivalent(source, target, error) && !error;
}

// A new file in the target's folder holding the source's bytes; empty on failure.
fs::path CopyToTemporary(const fs::path& source, const fs::path& target) {
    std::mt19937_64 random{std::random_device{}()};
    const std::string stem = "." + target.filename().string() + ".part-";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const fs::path temporary = target.parent_path() / (stem + RandomSuffix(random));
        std::error_code error;
        if (fs::copy_file(source, temporary, fs::copy_options::none, error)) return temporary;
        if (error == std::errc::file_exists) continue;  // another file's name: not ours to remove
        fs::remove(temporary, error);
        return {};
    }
    return {};
}

}  // namespace

bool CopyFileReplacing(const fs::path& source, const fs::path& target) {
    if (source.empty() || target.empty() || !target.has_filename()) return false;
    if (!IsRegularFile(source)) return false;
    if (IsSameFile(source, target)) return true;
    const fs::path temporary = CopyToTemporary(source, target);
    if (temporary.empty()) return false;
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace kestrune
