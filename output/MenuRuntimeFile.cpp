// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/MenuRuntimeFile.h"

#include "base/FileCopy.h"

namespace kestrune {

bool CopyMenuRuntimeFile(const std::filesystem::path& programFolder, const std::filesystem::path& destinationFolder) {
    return CopyFileReplacing(programFolder / kMenuRuntimeFileName, destinationFolder / kMenuRuntimeFileName);
}

}  // namespace kestrune
