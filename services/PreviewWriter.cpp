#include "services/PreviewWriter.h"

#include "model/AppletParameters.h"
#include "services/PreviewFolder.h"
#include "services/MenuFileWriter.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"

namespace kestrune {

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error) {
    return WritePreviewFiles(applet, appDir, appDir, error);
}

bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, const std::string& previewBase,
                       std::string* error) {
    CreatePreviewFolder(previewBase);
    // No browser runs the applet any more: the preview always carries the script runtime.
    const std::string page = BuildPage(applet, true);
    CopyMenuRuntimeFile(appDir, PreviewFolder(previewBase));
    return SaveMenuFile(applet, PreviewPagePath(previewBase), PreviewFolder(previewBase), page, false, "", appDir,
                        error);
}

}  // namespace kestrune
