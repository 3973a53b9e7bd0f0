#include "services/DocumentFile.h"

#include <filesystem>
#include <new>
#include <utility>
#include <vector>

#include "model/AppletParameters.h"
#include "base/SafeFile.h"
#include "services/DocumentHost.h"
#include "base/FileAccess.h"
#include "base/FileTexts.h"
#include "output/HtmlPageBuilder.h"
#include "output/MenuRuntimeFile.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "services/MenuFileWriter.h"
#include "persist/PersistTexts.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

std::string AbsoluteFolderOf(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    return error ? FolderOf(path) : absolute.parent_path().lexically_normal().string();
}

// The page is opened without waiting and must be a regular file: a pipe named as a
// page would otherwise block the program for good.
bool CheckPageFile(const std::string& pagePath, IDocumentHost& host) {
    FileCheck status = FileCheck::Ok;
    const FileHandle page = OpenRegularFile(fs::path(pagePath), status);
    if (page.IsOpen()) return true;
    host.ReportMessage(FormatMessage(status == FileCheck::NotRegular ? texts::kFileNotRegular : texts::kCannotOpenFile,
                                     pagePath));
    return false;
}

}  // namespace

bool SaveDocument(CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                  IDocumentHost& host, bool withRuntime) {
    host.CommitPendingEdits();
    const std::string pageText = BuildPage(applet, withRuntime);
    if (withRuntime) CopyMenuRuntimeFile(appDir, FolderOf(pagePath));
    std::string error;
    SaveNotes notes;
    const bool saved = SaveMenuFile(applet, pagePath, FolderOf(pagePath), pageText, false, {}, appDir, &error, &notes);
    if (!notes.warnings.empty()) host.ReportMessage(notes.warnings);
    if (!saved) {
        host.ReportMessage(error);
        return false;
    }
    applet.m_documentFolder = AbsoluteFolderOf(pagePath);
    host.SetModified(false);
    return true;
}

namespace {

// The whole model changes hands at once, so a failed read leaves the open one whole.
void SwapContent(CAppletParameters& a, CAppletParameters& b) {
    std::swap(a.m_HTMLTitle, b.m_HTMLTitle);
    std::swap(a.m_Align, b.m_Align);
    std::swap(a.m_appWidth, b.m_appWidth);
    std::swap(a.m_appHeight, b.m_appHeight);
    std::swap(a.m_appBKColor, b.m_appBKColor);
    std::swap(a.m_appBKImagePath, b.m_appBKImagePath);
    std::swap(a.m_appBKImageMode, b.m_appBKImageMode);
    std::swap(a.m_appBKImageX, b.m_appBKImageX);
    std::swap(a.m_appBKImageY, b.m_appBKImageY);
    std::swap(a.m_appBKAudioPath, b.m_appBKAudioPath);
    std::swap(a.m_menus, b.m_menus);
    std::swap(a.m_documentFolder, b.m_documentFolder);
}

bool ReadDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host) {
    if (!CheckPageFile(pagePath, host)) return false;
    const std::string menuPath = MenuFilePathFor(pagePath);
    std::error_code ignored;
    if (!fs::exists(fs::symlink_status(menuPath, ignored))) {
        host.ReportMessage(texts::kNotSavedByKestrune);
        return false;
    }
    std::string error;
    std::vector<std::string> warnings;
    if (!LoadMenuFile(applet, menuPath, texts::kDocumentSection, false, {}, &error, &warnings)) {
        host.ReportMessage(error);
        return false;
    }
    applet.m_documentFolder = AbsoluteFolderOf(pagePath);
    for (const std::string& warning : warnings) host.ReportMessage(warning);
    // A save cut off between renaming the menu file and the page left the new page
    // under its temporary name: it joins the menu file it was written with.
    if (menuPath != pagePath) CompleteInterruptedSave(pagePath, [&applet] { return applet.BuildHTML(); });
    host.SetModified(false);
    return true;
}

}  // namespace

bool OpenDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host) {
    try {
        CAppletParameters read;
        if (!ReadDocument(read, pagePath, host)) return false;
        SwapContent(applet, read);
        return true;
    } catch (const std::bad_alloc&) {
        host.ReportMessage(FormatMessage(texts::kOutOfMemoryReading, pagePath));
        return false;
    }
}

}  // namespace kestrune
