#include "services/DocumentFile.h"

#include <filesystem>
#include <fstream>

#include "model/AppletParameters.h"
#include "services/DocumentHost.h"
#include "base/FileAccess.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "services/MenuFileWriter.h"
#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

bool SaveDocument(CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                  IDocumentHost& host, bool withRuntime) {
    host.CommitPendingEdits();
    const std::string pageText = BuildPage(applet, withRuntime);
    if (withRuntime) CopyMenuRuntimeFile(appDir, FolderOf(pagePath));
    std::string error;
    if (!SaveMenuFile(applet, pagePath, FolderOf(pagePath), pageText, false, {}, appDir, &error)) {
        host.ReportMessage(error);
        return false;
    }
    host.SetModified(false);
    return true;
}

bool OpenDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host) {
    std::ifstream page(pagePath, std::ios::binary);
    std::error_code ignored;
    if (!page || std::filesystem::is_directory(pagePath, ignored)) {
        host.ReportMessage(FormatMessage(texts::kCannotOpenFile, pagePath));
        return false;
    }
    const std::string menuPath = MenuFilePathFor(pagePath);
    if (!std::filesystem::exists(menuPath, ignored)) {
        host.ReportMessage(texts::kNotSavedByKestrune);
        return false;
    }
    std::string error;
    if (!LoadMenuFile(applet, menuPath, texts::kDocumentSection, false, {}, &error)) {
        host.ReportMessage(error);
        return false;
    }
    host.SetModified(false);
    return true;
}

}  // namespace kestrune
