// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/AppletClassFile.h"

#include "base/FileCopy.h"

namespace kestrune {

std::filesystem::path AppletClassSource(const std::filesystem::path& programFolder) {
    return programFolder / kAppletClassFileName;
}

bool CopyAppletClassFile(const std::filesystem::path& programFolder,
                         const std::filesystem::path& destinationFolder) {
    return CopyFileReplacing(AppletClassSource(programFolder),
                             destinationFolder / kAppletClassFileName);
}

}  // namespace kestrune
