#include "output/PreviewWriter.h"

#include "model/AppletParameters.h"
#include "output/PreviewFolder.h"
#include "persist/MenuFileWriter.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error) {
    CreatePreviewFolder(appDir);
    const std::string page = applet.BuildHTML();
    return SaveMenuFile(applet, PreviewPagePath(appDir), PreviewFolder(appDir), page, false, "", appDir, error);
}

}  // namespace kestrune
