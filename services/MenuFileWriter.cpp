// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/MenuFileWriter.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>

#include "model/AppletParameters.h"
#include "services/AppletClassFile.h"
#include "base/FileCopy.h"
#include "services/MediaWalk.h"
#include "base/SafeFile.h"
#include "base/FileAccess.h"
#include "persist/MenuFileText.h"
#include "persist/PersistTexts.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool FailWithReason(std::string* error, const std::string& reason) {
    return Fail(error, std::string(texts::kSaveFailed) + "\n" + reason);
}

void Note(SaveNotes* notes, const fs::path& written) {
    if (notes) notes->written.push_back(written.string());
}

std::vector<std::string> StoredMediaPaths(const CAppletParameters& applet) {
    std::vector<std::string> paths;
    for (const std::string* path : {&applet.m_appBKImagePath, &applet.m_appBKAudioPath})
        if (!path->empty()) paths.push_back(*path);
    for (const auto& menu : applet.m_menus) CollectMediaPaths(menu.get(), paths);
    return paths;
}

void AppendAppletWarning(std::string& warnings, const char* start, const std::string& path, const MediaVisit& visit) {
    if (!visit.found || visit.problem == MediaProblem::None) return;
    warnings += start;
    warnings += path;
    warnings += MediaProblemEnding(visit.problem);
}

// Where a document save stands after each step, out of kSaveProgressSteps.
constexpr std::uint64_t kMediaCopied = kPageTextSteps + 1000;
constexpr std::uint64_t kMenuFormatted = kMediaCopied + 2000;
constexpr std::uint64_t kFilesWritten = kMenuFormatted + 2000;

// Copies the applet's and the items' media into the destination; in template mode
// returns how their names go into the lines. progress, when given, advances menu by menu
// towards kMediaCopied; after a Cancel the remaining menus are passed over.
MenuSectionForm CopyMediaAndChooseForm(const CAppletParameters& applet, MediaWalker& walker, bool templateMode,
                                       SaveNotes* notes, TaskProgress* progress = nullptr) {
    std::string warnings;
    const MediaVisit image = walker.VisitFile(applet.m_appBKImagePath, MediaKind::Image);
    const MediaVisit audio = walker.VisitFile(applet.m_appBKAudioPath, MediaKind::Audio);
    AppendAppletWarning(warnings, texts::kReportAppletImageStart, applet.m_appBKImagePath, image);
    AppendAppletWarning(warnings, texts::kReportAppletAudioStart, applet.m_appBKAudioPath, audio);
    const std::size_t menus = applet.m_menus.size();
    for (std::size_t m = 0; m < menus; ++m) {
        if (progress) {
            if (progress->Cancelled()) break;
            progress->SetDone(kPageTextSteps + (kMediaCopied - kPageTextSteps) * m / menus);
        }
        walker.Walk(applet.m_menus[m].get(), warnings);
    }
    if (notes) {
        notes->warnings += warnings;
        for (const fs::path& written : walker.Written()) Note(notes, written);
    }

    MenuSectionForm form;
    if (!templateMode) return form;
    // An applet file that was not found keeps its stored path, so nothing the user chose
    // is lost; items name only what the template ships.
    if (image.found) form.appletImage = image.found->name;
    if (audio.found) form.appletAudio = audio.found->name;
    form.itemMedia = [search = std::make_shared<MediaFileSearch>(applet.m_documentFolder)](const std::string& stored) {
        return search->FileName(stored);
    };
    return form;
}

// The page's folder must exist; an existing page or menu file must be a file the save
// may replace.
bool CheckDocumentDestination(const std::string& pagePath, const std::string& menuPath, fs::path& pageTarget,
                              fs::path& menuTarget, std::string* error) {
    std::error_code code;
    const fs::path page(pagePath);
    const fs::path folder = page.parent_path().empty() ? fs::path(".") : page.parent_path();
    if (pagePath.empty() || !page.has_filename() || !fs::is_directory(folder, code) ||
        fs::is_directory(page, code))
        return Fail(error, texts::kSaveFailed);
    std::string reason;
    const std::optional<fs::path> pageDestination = WritableDestination(page, &reason);
    if (!pageDestination) return FailWithReason(error, reason);
    const std::optional<fs::path> menuDestination = WritableDestination(fs::path(menuPath), &reason);
    if (!menuDestination) return FailWithReason(error, reason);
    pageTarget = *pageDestination;
    menuTarget = *menuDestination;
    return true;
}


// Whether the save may go on; advances the progress to step.
bool Continue(TaskProgress* progress, std::uint64_t step) {
    if (!progress) return true;
    progress->SetDone(step);
    return !progress->Cancelled();
}

bool SaveDocumentFiles(const CAppletParameters& applet, const std::string& pagePath, const std::string& folder,
                       const std::string& pageText, const std::string& appDir, std::string* error,
                       SaveNotes* notes, TaskProgress* progress) {
    const std::string menuPath = MenuFilePathFor(pagePath);
    if (menuPath == pagePath) return Fail(error, texts::kPageIsMenuFile);
    fs::path pageTarget;
    fs::path menuTarget;
    if (!CheckDocumentDestination(pagePath, menuPath, pageTarget, menuTarget, error)) return false;
    if (progress) progress->SetTotal(kSaveProgressSteps);
    if (!Continue(progress, kPageTextSteps)) return Fail(error, {});

    MediaWalker walker(MediaDestination{fs::path(folder), false}, applet.m_documentFolder);
    walker.ProtectSources(StoredMediaPaths(applet));
    for (const fs::path& target : {pageTarget, menuTarget})
        if (walker.IsProtectedSource(target))
            return FailWithReason(error, FormatMessage(texts::kSaveOverMedia, target.string()));

    if (CopyAppletClassFile(fs::path(appDir), fs::path(folder))) Note(notes, fs::path(folder) / kAppletClassFileName);
    MenuSectionForm form = CopyMediaAndChooseForm(applet, walker, false, notes, progress);
    if (!Continue(progress, kMediaCopied)) return Fail(error, {});
    form.section = texts::kDocumentSection;
    form.withNotice = true;
    const std::string menuText = FormatMenuSection(applet, form);
    if (!Continue(progress, kMenuFormatted)) return Fail(error, {});

    // Both files whole on disk before either replaces its old self.
    PendingFile page;
    PendingFile menu;
    std::string reason;
    if (!page.Write(pageTarget, pageText, &reason) || !menu.Write(menuTarget, menuText, &reason))
        return Fail(error, texts::kSaveFailed);
    // The last point a Cancel can stop at: the pending files go, the old pair stays.
    if (!Continue(progress, kFilesWritten)) return Fail(error, {});
    if (!menu.Commit(&reason) || !page.Commit(&reason)) return Fail(error, texts::kSaveFailed);
    Note(notes, pageTarget);
    Note(notes, menuTarget);
    if (progress) progress->SetDone(kSaveProgressSteps);
    return true;
}

bool SaveTemplateSection(const CAppletParameters& applet, const std::string& fileName, const std::string& folder,
                         const std::string& templateName, std::string* error, SaveNotes* notes) {
    // Media copies into missing sample folders would fail and leave the template naming
    // files that are not there.
    std::error_code ignored;
    fs::create_directories(fs::path(JoinPath(folder, texts::kSampleImageFolder)), ignored);
    fs::create_directories(fs::path(JoinPath(folder, texts::kSampleAudioFolder)), ignored);
    MediaWalker walker(MediaDestination{fs::path(folder), true}, applet.m_documentFolder);
    walker.ProtectSources(StoredMediaPaths(applet));
    MenuSectionForm form = CopyMediaAndChooseForm(applet, walker, true, notes);
    form.section = templateName;
    form.withNotice = false;

    const std::string path = JoinPath(folder, fileName);
    std::vector<std::string> lines;
    std::error_code missing;
    const bool exists = fs::exists(fs::path(path), missing);
    if (exists && !ReadLines(path, lines)) return Fail(error, texts::kSaveFailed);
    const std::string text = JoinLinesCrLf(lines) + FormatMenuSection(applet, form);
    if (!WriteFileAtomically(path, text)) return Fail(error, texts::kSaveFailed);
    Note(notes, fs::path(path));
    return true;
}

}  // namespace

bool SaveMenuFile(const CAppletParameters& applet, const std::string& target, const std::string& folder,
                  const std::string& pageText, bool templateMode, const std::string& templateName,
                  const std::string& appDir, std::string* error, SaveNotes* notes, TaskProgress* progress) {
    if (templateMode) return SaveTemplateSection(applet, target, folder, templateName, error, notes);
    return SaveDocumentFiles(applet, target, folder, pageText, appDir, error, notes, progress);
}

bool CompleteInterruptedSave(const std::string& pagePath, const std::function<std::string()>& buildPage) {
    const fs::path page(pagePath);
    const fs::path folder = page.parent_path().empty() ? fs::path(".") : page.parent_path();
    const std::string prefix = TemporaryPrefixFor(page);
    std::optional<std::string> expectedPage;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0 || it->is_symlink(error)) continue;
        if (!expectedPage) {
            expectedPage = buildPage();
            std::string current;
            if (ReadWholeFile(pagePath, current) && current == *expectedPage) return false;
        }
        std::string candidate;
        if (!ReadWholeFile(it->path().string(), candidate) || candidate != *expectedPage) continue;
        const std::optional<fs::path> target = WritableDestination(page, nullptr);
        std::error_code renameError;
        if (target) fs::rename(it->path(), *target, renameError);
        return target && !renameError;
    }
    return false;
}

}  // namespace kestrune
