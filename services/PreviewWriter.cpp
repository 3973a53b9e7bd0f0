#include "services/PreviewWriter.h"

#include <filesystem>

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error,
                       PreviewWrites* writes) {
    CreatePreviewFolder(appDir, writes);
    const std::string page = applet.BuildHTML();
    SaveNotes notes;
    const bool saved =
        SaveMenuFile(applet, PreviewPagePath(appDir), PreviewFolder(appDir), page, false, "", appDir, error, &notes);
    if (writes)
        for (const std::string& written : notes.written)
            writes->files.insert(std::filesystem::path(written).filename().string());
    return saved;
}

}  // namespace kestrune
