// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/MenuFileWriter.h"

#include <algorithm>
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
#include "base/FileTexts.h"
#include "persist/MenuFileText.h"
#include "persist/DamageTexts.h"
#include "persist/PersistTexts.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"
#include "base/FolderLock.h"
#include "output/MenuRuntimeFile.h"
#include "output/HtmlPageBuilder.h"

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

void AppendAppletWarning(std::string& warnings, const char* start, const std::string& path, const MediaVisit& visit) {
    if (!visit.found || (visit.problem == MediaProblem::None && !visit.outsideKnownFolders)) return;
    warnings += start;
    warnings += path;
    warnings += visit.problem == MediaProblem::None ? texts::kReportOutsideFolders : MediaProblemEnding(visit.problem);
}

// No page this program writes for a menu is larger than this: the applet element, once
// more as the fallback list's labels and links, and the page's frame.
std::size_t LargestPageFor(const PageMenuMarks& marks) {
    return 4 * (marks.applet.size() + marks.title.size()) + (std::size_t{1} << 16);
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
    walker.FinishReport(warnings);
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

// The page names a file in a folder that exists.
bool IsPagePath(const std::string& pagePath) {
    std::error_code code;
    const fs::path page(pagePath);
    const fs::path folder = page.parent_path().empty() ? fs::path(".") : page.parent_path();
    return !pagePath.empty() && page.has_filename() && fs::is_directory(folder, code) && !fs::is_directory(page, code);
}

// An existing page, menu file or runtime must be a file the save may replace.
bool CheckDocumentDestination(const std::vector<fs::path>& files, std::vector<fs::path>& targets,
                              std::string* error) {
    std::string reason;
    for (const fs::path& file : files) {
        const std::optional<fs::path> destination = WritableDestination(file, &reason);
        if (!destination) return FailWithReason(error, reason);
        targets.push_back(*destination);
    }
    return true;
}

// Whether the save may go on; advances the progress to step.
bool Continue(TaskProgress* progress, std::uint64_t step) {
    if (!progress) return true;
    progress->SetDone(step);
    return !progress->Cancelled();
}

// Temporary files of this document's names that an earlier save cut off left behind. The
// folder is locked, so none of them belongs to a save still running.
void RemoveStaleTemporaries(const fs::path& folder, const std::vector<fs::path>& targets) {
    std::vector<std::string> prefixes;
    for (const fs::path& target : targets) prefixes.push_back(TemporaryPrefixFor(target));
    std::error_code error;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statusError;
        if (!it->is_regular_file(statusError) || it->is_symlink(statusError)) continue;
        for (const std::string& prefix : prefixes)
            if (name.starts_with(prefix)) stale.push_back(it->path());
    }
    for (const fs::path& path : stale) fs::remove(path, error);
}

// A name beside file that nothing holds yet: "menu.kst.damaged", then "menu.kst.damaged2", ...
std::optional<fs::path> FreeDamagedName(const fs::path& file) {
    constexpr int kMaxKeptCopies = 100;
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        fs::path kept = file;
        kept += texts::kDamagedSuffix;
        if (n > 1) kept += std::to_string(n);
        std::error_code error;
        if (!fs::exists(fs::symlink_status(kept, error))) return kept;
    }
    return std::nullopt;
}

bool WasReadDamaged(const std::vector<std::string>* damagedFiles, const fs::path& file) {
    if (!damagedFiles) return false;
    std::error_code error;
    const std::string absolute = fs::absolute(file, error).lexically_normal().string();
    return !error && std::find(damagedFiles->begin(), damagedFiles->end(), absolute) != damagedFiles->end();
}

// The files the document was read damaged from are kept beside it before the save replaces
// them: linked under a free name (the save then gives the name a new file), or copied.
bool KeepDamagedOriginals(const std::vector<std::string>* damagedFiles, const std::vector<fs::path>& files,
                          const std::vector<fs::path>& targets, std::string* error, SaveNotes* notes) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code status;
        if (!WasReadDamaged(damagedFiles, files[i]) || !fs::is_regular_file(targets[i], status)) continue;
        const std::optional<fs::path> kept = FreeDamagedName(targets[i]);
        std::error_code linkError;
        std::error_code copyError;
        if (kept) fs::create_hard_link(targets[i], *kept, linkError);
        if (kept && linkError) fs::copy_file(targets[i], *kept, fs::copy_options::none, copyError);
        if (!kept || copyError)
            return FailWithReason(error, FormatMessage(texts::kCannotKeepDamaged, targets[i].string()));
        if (notes)
            notes->warnings +=
                FormatMessage(ReplaceAll(texts::kDamagedFileKept, "%2", kept->string()), targets[i].string());
    }
    return true;
}

struct DocumentFiles {
    fs::path page;
    fs::path menu;
    std::optional<fs::path> runtime;
};

bool SaveDocumentFiles(const CAppletParameters& applet, const std::string& pagePath, const std::string& folder,
                       const std::string& pageText, const std::string& appDir, bool withRuntime,
                       std::string* error, SaveNotes* notes, TaskProgress* progress,
                       const std::vector<std::string>* damagedFiles) {
    const std::string menuPath = MenuFilePathFor(pagePath);
    if (menuPath == pagePath) return Fail(error, texts::kPageIsMenuFile);
    if (!IsPagePath(pagePath)) return Fail(error, texts::kSaveFailed);
    const fs::path folderPath = folder.empty() ? fs::path(".") : fs::path(folder);
    FolderLock lock;
    std::string reason;
    if (!lock.Acquire(folderPath, kSaveLockWait, &reason)) return FailWithReason(error, reason);

    std::vector<fs::path> files = {fs::path(pagePath), fs::path(menuPath)};
    std::string runtimeBytes;
    if (withRuntime) {
        const fs::path source = fs::path(appDir) / kMenuRuntimeFileName;
        if (ReadRegularFile(source, kMaxCopiedFileBytes, runtimeBytes) != FileCheck::Ok)
            return FailWithReason(error, FormatMessage(texts::kRuntimeMissing, source.string()));
        files.push_back(folderPath / kMenuRuntimeFileName);
    }
    std::vector<fs::path> targets;
    if (!CheckDocumentDestination(files, targets, error)) return false;
    DocumentFiles destination{targets[0], targets[1], withRuntime ? std::optional(targets[2]) : std::nullopt};
    if (progress) progress->SetTotal(kSaveProgressSteps);
    if (!Continue(progress, kPageTextSteps)) return Fail(error, {});

    MediaDestination mediaDestination{folderPath, false, {}};
    for (const fs::path& file : files) mediaDestination.reservedNames.push_back(file.filename().string());
    mediaDestination.reservedNames.push_back(kMenuRuntimeFileName);
    mediaDestination.reservedNames.push_back(kAppletClassFileName);
    MediaWalker walker(std::move(mediaDestination), applet.m_documentFolder);
    walker.TrustFolders(TemplateMediaFolders(appDir));
    walker.ProtectSources(StoredMediaPaths(applet));
    walker.KeepOthersFiles(PublishedMediaNames(destination.menu.string()));
    for (const fs::path& target : targets)
        if (walker.IsProtectedSource(target))
            return FailWithReason(error, FormatMessage(texts::kSaveOverMedia, target.string()));

    MenuSectionForm form = CopyMediaAndChooseForm(applet, walker, false, notes, progress);
    if (!Continue(progress, kMediaCopied)) return Fail(error, {});
    // Copied after the media, so that no media file can take the class file's place.
    if (CopyAppletClassFile(fs::path(appDir), folderPath)) Note(notes, folderPath / kAppletClassFileName);
    form.section = texts::kDocumentSection;
    form.withNotice = true;
    const std::string menuText = FormatMenuSection(applet, form);
    if (!Continue(progress, kMenuFormatted)) return Fail(error, {});

    // Every file whole on disk before any replaces its old self.
    PendingFile page;
    PendingFile menu;
    PendingFile runtime;
    if (!page.Write(destination.page, pageText, &reason) || !menu.Write(destination.menu, menuText, &reason) ||
        (destination.runtime && !runtime.Write(*destination.runtime, runtimeBytes, &reason)))
        return FailWithReason(error, reason);
    // The last point a Cancel can stop at: the pending files go, the old pair stays.
    if (!Continue(progress, kFilesWritten)) return Fail(error, {});
    if (!KeepDamagedOriginals(damagedFiles, files, targets, error, notes)) return false;
    // The runtime first: an old page works with the new runtime, a new page needs it.
    if ((destination.runtime && !runtime.Commit(&reason)) || !menu.Commit(&reason) || !page.Commit(&reason))
        return FailWithReason(error, reason);
    RemoveStaleTemporaries(folderPath, targets);
    if (destination.runtime) Note(notes, *destination.runtime);
    Note(notes, destination.page);
    Note(notes, destination.menu);
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
    MediaWalker walker(MediaDestination{fs::path(folder), true, {}}, applet.m_documentFolder);
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
                  const std::string& appDir, std::string* error, SaveNotes* notes, TaskProgress* progress,
                  bool withRuntime, const std::vector<std::string>* damagedFiles) {
    if (templateMode) return SaveTemplateSection(applet, target, folder, templateName, error, notes);
    return SaveDocumentFiles(applet, target, folder, pageText, appDir, withRuntime, error, notes, progress,
                             damagedFiles);
}

bool CompleteInterruptedSave(const std::string& pagePath, const CAppletParameters& applet) {
    const fs::path page(pagePath);
    const fs::path folder = page.parent_path().empty() ? fs::path(".") : page.parent_path();
    const std::string prefix = TemporaryPrefixFor(page);
    // Under the lock no save of this folder is between its renames, and only the page's
    // own file (or none) is replaced: never what a link in the page's place leads to.
    FolderLock lock;
    if (!lock.Acquire(folder, kSaveLockWait, nullptr) || IsLink(page)) return false;
    std::optional<PageMenuMarks> marks;
    std::size_t largestPage = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) || it->is_symlink(error)) continue;
        if (!marks) {
            marks = MenuMarksOf(applet);
            largestPage = LargestPageFor(*marks);
            std::string current;
            if (ReadRegularFile(page, largestPage, current) == FileCheck::Ok && PageCarries(current, *marks))
                return false;
        }
        std::string candidate;
        if (ReadRegularFile(it->path(), largestPage, candidate) != FileCheck::Ok || !PageCarries(candidate, *marks))
            continue;
        const std::optional<fs::path> target = WritableDestination(page, nullptr);
        if (!target || *target != page) return false;
        std::error_code renameError;
        fs::rename(it->path(), page, renameError);
        return !renameError;
    }
    return false;
}

}  // namespace kestrune
