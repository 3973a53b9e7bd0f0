// SPDX-License-Identifier: GPL-3.0-or-later
// The one target on real files, for the code that opens, reads and replaces them: the
// input's first line is a template list and its rest a file, read as a document beside
// the same bytes in memory, then used as the template file under the store's operations.
// Every other target reads bytes in memory.
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
        std::filesystem::path path = base / ("kestrune-fuzz-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view file = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
    if (!kestrune::fuzz::FileReadAgreesWithMemory(file, Folder())) std::abort();
    if (!kestrune::fuzz::TemplateOperationsHold(input, Folder())) std::abort();
    return 0;
}
