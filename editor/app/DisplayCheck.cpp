// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayCheck.h"

#include <cstdlib>
#include <string>

namespace {
bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

std::string ChosenPlatform(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "-platform" || option == "--platform") return argv[i + 1];
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return platform ? platform : "";
}
}  // namespace

bool HasDisplayFor(int argc, char** argv) {
    const std::string platform = ChosenPlatform(argc, argv);
    const bool needsDisplay = platform.empty() || platform.find("xcb") != std::string::npos ||
                              platform.find("wayland") != std::string::npos;
    return !needsDisplay || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}
