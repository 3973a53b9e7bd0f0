// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary template lists and template files under the store's operations.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/FuzzChecks.h"

namespace {
const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::filesystem::path path = base / ("kestrune-fuzz-template-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::TemplateOperationsHold({reinterpret_cast<const char*>(data), size}, Folder())) std::abort();
    return 0;
}
