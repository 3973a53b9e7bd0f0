#include "services/PreviewWriter.h"

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error) {
    return WritePreviewFiles(applet, appDir, appDir, error);
}

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, const std::string& previewBase,
                       std::string* error) {
    CreatePreviewFolder(previewBase);
    const std::string page = applet.BuildHTML();
    return SaveMenuFile(applet, PreviewPagePath(previewBase), PreviewFolder(previewBase), page, false, "", appDir,
                        error);
}

}  // namespace kestrune
