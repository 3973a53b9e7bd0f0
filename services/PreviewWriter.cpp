#include "services/PreviewWriter.h"

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error) {
    CreatePreviewFolder(appDir);
    // No browser runs the applet any more: the preview always carries the script runtime.
    const std::string page = BuildPage(applet, true);
    CopyMenuRuntimeFile(appDir, PreviewFolder(appDir));
    return SaveMenuFile(applet, PreviewPagePath(appDir), PreviewFolder(appDir), page, false, "", appDir, error);
}

}  // namespace kestrune
