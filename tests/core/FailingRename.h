// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune::test {

// While it lives, every rename onto a file of the given name fails, as on a disk that
// refuses a save half way through its renames. Other renames go through.
class FailingRename {
public:
    explicit FailingRename(std::string fileName);
    ~FailingRename();
    FailingRename(const FailingRename&) = delete;
    FailingRename& operator=(const FailingRename&) = delete;
};

}  // namespace kestrune::test
