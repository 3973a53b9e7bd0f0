// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailingRename.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <string_view>

namespace {

// The test program's own rename stands in for the C library's for the whole program, so
// the save code is tested as it is built. Set only while no save runs on another thread.
std::string g_refusedName;

bool IsRefused(std::string_view target) {
    if (g_refusedName.empty()) return false;
    const std::size_t slash = target.rfind('/');
    return target.substr(slash == std::string_view::npos ? 0 : slash + 1) == g_refusedName;
}

}  // namespace

namespace kestrune::test {

FailingRename::FailingRename(std::string fileName) { g_refusedName = std::move(fileName); }
FailingRename::~FailingRename() { g_refusedName.clear(); }

}  // namespace kestrune::test

extern "C" int rename(const char* from, const char* to) noexcept {
    if (IsRefused(to)) {
        errno = EIO;
        return -1;
    }
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}
