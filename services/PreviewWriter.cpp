#include "services/PreviewWriter.h"

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error) {
    CreatePreviewFolder(appDir);
    const std::string page = applet.BuildHTML();
    return SaveMenuFile(applet, PreviewPagePath(appDir), PreviewFolder(appDir), page, false, "", appDir, error);
}

}  // namespace kestrune
