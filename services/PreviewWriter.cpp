// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/PreviewWriter.h"

#include <filesystem>

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"
#include "base/FileCopy.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error,
                       PreviewWrites* writes) {
    return WritePreviewFiles(applet, appDir, appDir, error, writes);
}

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, const std::string& previewBase,
                       std::string* error, PreviewWrites* writes, const std::string& pageLanguage) {
    CreatePreviewFolder(previewBase, writes);
    // No browser runs the applet any more: the preview always carries the script runtime.
    const std::string page = BuildPage(applet, true, pageLanguage);
    SaveNotes notes;
    // The runtime goes with the page as the class file does: when the program ships one.
    const bool shipsRuntime = IsRegularFile(std::filesystem::path(appDir) / kMenuRuntimeFileName);
    const bool saved = SaveMenuFile(applet, PreviewPagePath(previewBase), PreviewFolder(previewBase), page, false, "",
                                    appDir, error, &notes, nullptr, shipsRuntime);
    if (writes) {
        for (const std::string& written : notes.written)
            writes->files.insert(std::filesystem::path(written).filename().string());
    }
    return saved;
}

}  // namespace kestrune
