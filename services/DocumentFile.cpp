// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "output/ParameterReader.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"
#include "services/MenuFileWriter.h"
#include "persist/DamageTexts.h"
#include "persist/PersistTexts.h"
#include "base/TaskProgress.h"
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
bool CheckPageFile(const std::string& pagePath, std::string& error) {
    FileCheck status = FileCheck::Ok;
    const FileHandle page = OpenRegularFile(fs::path(pagePath), status);
    if (page.IsOpen()) return true;
    error = FormatMessage(status == FileCheck::NotRegular ? texts::kFileNotRegular : texts::kCannotOpenFile, pagePath);
    return false;
}

bool Cancelled(const TaskProgress* progress) { return progress && progress->Cancelled(); }

// The whole model changes hands at once, so a failed read leaves the open one whole.
void SwapContent(CAppletParameters& a, CAppletParameters& b) {
    std::swap(a.Fields(), b.Fields());
    std::swap(a.m_menus, b.m_menus);
    std::swap(a.m_documentFolder, b.m_documentFolder);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(path), error);
    return error ? path : absolute.lexically_normal().string();
}

bool HoldsAnItem(const CAppletParameters& applet) {
    for (const auto& menu : applet.m_menus)
        if (!menu->m_items.empty()) return true;
    return false;
}

// The page is written with its menu file in one step, so a page naming items beside a
// menu file that gives none (empty, or cut before its first menu) tells of damage.
bool PageNamesItems(const std::string& pagePath) {
    std::string text;
    if (ReadRegularFile(fs::path(pagePath), kMaxPageBytes, text) != FileCheck::Ok) return false;
    const AppletReadResult page = ReadAppletParameters(text);
    return page.Ok() && HoldsAnItem(*page.applet);
}

// Why the document read is damaged, or empty when it is not.
std::string DamageOf(const CAppletParameters& applet, const std::string& pagePath, const std::string& menuPath,
                     const MenuFileDamage& damage) {
    if (damage.damaged)
        return FormatMessage(ReplaceAll(texts::kMenuFileDamaged, "%2", std::to_string(damage.items)), menuPath);
    if (menuPath != pagePath && !HoldsAnItem(applet) && PageNamesItems(pagePath))
        return FormatMessage(texts::kMenuFileLostMenus, menuPath);
    return {};
}

// The read itself; fills read.applet or read.error.
void ReadInto(DocumentRead& read, const std::string& pagePath, TaskProgress* progress, FolderRepair repair) {
    if (!CheckPageFile(pagePath, read.error)) return;
    const std::string menuPath = MenuFilePathFor(pagePath);
    std::error_code ignored;
    if (!fs::exists(fs::symlink_status(menuPath, ignored))) {
        read.error = std::string(texts::kNotSavedByKestrune) + '\n' +
                     FormatMessage(texts::kMenuFileLookedFor, fs::path(menuPath).filename().string());
        return;
    }
    auto applet = std::make_unique<CAppletParameters>();
    MenuFileDamage damage;
    if (!LoadMenuFile(*applet, menuPath, texts::kDocumentSection, false, {}, &read.error, &read.warnings, progress,
                      &damage))
        return;
    // A file of the older layout reads without looking at the progress.
    if (Cancelled(progress)) return;
    applet->m_documentFolder = AbsoluteFolderOf(pagePath);
    read.damage = DamageOf(*applet, pagePath, menuPath, damage);
    if (!read.damage.empty()) read.damagedFiles = {AbsolutePath(pagePath), AbsolutePath(menuPath)};
    // A save cut off between renaming the menu file and the page left the new page
    // under its temporary name: it joins the menu file it was written with.
    if (repair == FolderRepair::CompleteInterruptedSave && menuPath != pagePath)
        CompleteInterruptedSave(pagePath, *applet);
    read.applet = std::move(applet);
}

}  // namespace

DocumentWrite WriteDocumentFiles(const CAppletParameters& applet, const std::string& pagePath,
                                 const std::string& appDir, bool withRuntime, TaskProgress* progress,
                                 const std::string& pageLanguage, const std::vector<std::string>* damagedFiles) {
    DocumentWrite write;
    if (progress) progress->SetTotal(kSaveProgressSteps);
    if (Cancelled(progress)) {
        write.cancelled = true;
        return write;
    }
    const std::string pageText = BuildPage(applet, withRuntime, pageLanguage);
    SaveNotes notes;
    write.saved = SaveMenuFile(applet, pagePath, FolderOf(pagePath), pageText, false, {}, appDir, &write.error, &notes,
                               progress, withRuntime, damagedFiles);
    write.warnings = std::move(notes.warnings);
    write.cancelled = !write.saved && Cancelled(progress);
    return write;
}

bool AcceptDocumentWrite(CAppletParameters& applet, const std::string& pagePath, const DocumentWrite& write,
                         IDocumentHost& host) {
    if (write.cancelled) return false;
    if (!write.warnings.empty()) host.ReportMessage(write.warnings);
    if (!write.saved) {
        host.ReportMessage(write.error);
        return false;
    }
    applet.m_documentFolder = AbsoluteFolderOf(pagePath);
    host.SetModified(false);
    return true;
}

void ForgetSavedOver(std::vector<std::string>& damagedFiles, const std::string& pagePath) {
    std::erase_if(damagedFiles, [&](const std::string& file) {
        return file == AbsolutePath(pagePath) || file == AbsolutePath(MenuFilePathFor(pagePath));
    });
}

bool SaveDocument(CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                  IDocumentHost& host, bool withRuntime, const std::string& pageLanguage,
                  std::vector<std::string>* damagedFiles) {
    host.CommitPendingEdits();
    const bool saved = AcceptDocumentWrite(
        applet, pagePath, WriteDocumentFiles(applet, pagePath, appDir, withRuntime, nullptr, pageLanguage, damagedFiles),
        host);
    if (saved && damagedFiles) ForgetSavedOver(*damagedFiles, pagePath);
    return saved;
}

DocumentRead ReadDocumentFile(const std::string& pagePath, TaskProgress* progress, FolderRepair repair) {
    DocumentRead read;
    try {
        if (!Cancelled(progress)) ReadInto(read, pagePath, progress, repair);
    } catch (const std::bad_alloc&) {
        read.applet.reset();
        read.error = FormatMessage(texts::kOutOfMemoryReading, pagePath);
    }
    if (Cancelled(progress)) {
        read.applet.reset();
        read.error.clear();
        read.warnings.clear();
        read.cancelled = true;
    }
    return read;
}

bool AcceptDocumentRead(CAppletParameters& applet, DocumentRead& read, IDocumentHost& host) {
    if (read.cancelled) return false;
    if (!read.applet) {
        host.ReportMessage(read.error);
        return false;
    }
    for (const std::string& warning : read.warnings) host.ReportMessage(warning);
    if (!read.damage.empty()) host.ReportMessage(read.damage);
    SwapContent(applet, *read.applet);
    // Closing a damaged document asks to save it, and that save keeps the damaged files.
    host.SetModified(!read.damage.empty());
    return true;
}

bool OpenDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host) {
    DocumentRead read = ReadDocumentFile(pagePath);
    return AcceptDocumentRead(applet, read, host);
}

}  // namespace kestrune
