// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/MediaWalk.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/FileAccess.h"
#include "persist/MenuFileReader.h"
#include "persist/PersistTexts.h"
#include "base/FileCopy.h"
#include "output/OutputTexts.h"
#include "base/SafeFile.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

// The kind of each of an item's media fields, in their order.
constexpr std::array<MediaKind, kMediaFieldCount> kItemMediaKinds = {
    MediaKind::Image, MediaKind::Image, MediaKind::Image, MediaKind::Audio, MediaKind::Audio};
static_assert(kItemMediaKinds.size() == texts::kItemMediaKinds.size());

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool IsSameContent(const fs::path& file, std::string_view bytes) {
    std::string present;
    return ReadRegularFile(file, kMaxCopiedFileBytes, present) == FileCheck::Ok && present == bytes;
}

// Items in pre-order with an explicit stack: first item on top.
template <typename Visit>
void ForEachItem(const CVorane* menu, Visit visit) {
    if (!menu) return;
    std::vector<const CVoraneItem*> pending;
    auto pushItemsOf = [&pending](const CVorane& owner) {
        for (auto it = owner.m_items.rbegin(); it != owner.m_items.rend(); ++it) pending.push_back(it->get());
    };
    pushItemsOf(*menu);
    while (!pending.empty()) {
        const CVoraneItem* item = pending.back();
        pending.pop_back();
        visit(*item);
        if (const CVorane* sub = item->m_subMenu.Existing()) pushItemsOf(*sub);
    }
}

}  // namespace

fs::path MediaDestination::FolderFor(MediaKind kind) const {
    if (!sampleLayout) return folder;
    return folder / (kind == MediaKind::Image ? texts::kSampleImageFolder : texts::kSampleAudioFolder);
}

bool MediaDestination::IsReserved(const std::string& name) const {
    for (const std::string& reserved : reservedNames)
        if (ToLowerAscii(name) == ToLowerAscii(reserved)) return true;
    return false;
}

MediaWalker::MediaWalker(std::string baseFolder)
    : m_search(baseFolder),
      m_baseFolder(baseFolder), m_baseCanonical(baseFolder.empty() ? fs::path() : CanonicalOrEmpty(baseFolder)) {}

MediaWalker::MediaWalker(MediaDestination destination, std::string baseFolder)
    : m_destination(std::move(destination)),
      m_search(baseFolder),
      m_baseFolder(baseFolder),
      m_baseCanonical(baseFolder.empty() ? fs::path() : CanonicalOrEmpty(baseFolder)) {}

void MediaWalker::TrustFolders(const std::vector<fs::path>& folders) {
    m_trustGiven = true;
    for (const fs::path& folder : folders)
        if (fs::path canonical = CanonicalOrEmpty(folder); !canonical.empty()) m_trusted.push_back(canonical);
}

std::string ItemMediaWarning(const CVoraneItem& item, int field, const char* ending) {
    const auto index = static_cast<std::size_t>(field);
    std::string line = texts::kReportItemStart;
    line += item.m_label;
    line += texts::kReportItemKindStart;
    line += texts::kItemMediaKinds[index];
    line += texts::kReportItemFileStart;
    line += *MediaFieldsOf(item)[index];
    line += ending ? ending : texts::kReportNotExist;
    return line;
}

std::vector<fs::path> TemplateMediaFolders(const std::string& appDir) {
    std::vector<fs::path> folders;
    if (!appDir.empty()) folders.push_back(fs::path(appDir) / texts::kSampleFolder);
    fs::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') dataHome = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/') dataHome = fs::path(home) / ".local/share";
    if (!dataHome.empty()) folders.push_back(dataHome / texts::kUserDataSubfolder / texts::kSampleFolder);
    return folders;
}

void CollectMediaPaths(const CVorane* menu, std::vector<std::string>& paths) {
    ForEachItem(menu, [&paths](const CVoraneItem& item) {
        for (const std::string* path : MediaFieldsOf(item))
            if (!path->empty()) paths.push_back(*path);
    });
}

void MediaWalker::ProtectSources(const std::vector<std::string>& storedPaths) {
    // Big documents name the same few files over and over: each is resolved once.
    std::unordered_set<std::string_view> seen;
    for (const std::string& stored : storedPaths) {
        if (!seen.insert(stored).second) continue;
        const auto found = m_search.Find(stored);
        if (!found) continue;
        const fs::path canonical = CanonicalOrEmpty(found->path);
        if (!canonical.empty()) m_sources.insert(canonical);
    }
}

bool MediaWalker::IsProtectedSource(const fs::path& path) const {
    const fs::path canonical = CanonicalOrEmpty(path);
    return !canonical.empty() && m_sources.count(canonical) > 0;
}

MediaProblem MediaWalker::CopyFound(const FoundMediaFile& found, MediaKind kind, const std::string& storedPath) {
    // A relative name is opened from the document's folder with no link followed on the
    // way, so that a folder swapped for a link after the location check cannot lead the
    // copy outside: what is judged and copied is the file that was opened.
    std::string bytes;
    const bool relative = storedPath.front() != '/';
    const FileCheck read =
        relative ? ReadRegularFileBeneath(m_baseFolder, fs::path(storedPath).parent_path() / found.name,
                                          kMaxCopiedFileBytes, bytes)
                 : ReadRegularFile(found.path, kMaxCopiedFileBytes, bytes);
    if (relative && read == FileCheck::NotRegular) return MediaProblem::LinkOutside;
    if (read != FileCheck::Ok) return MediaProblem::NotCopied;
    if (const MediaProblem problem = CheckMediaBytes(found.path, bytes, kind); problem != MediaProblem::None)
        return problem;
    if (m_destination->folder.empty()) return MediaProblem::None;  // no folder named: nowhere to copy to
    if (m_destination->IsReserved(found.name)) return MediaProblem::ReservedName;
    const fs::path targetFolder = m_destination->FolderFor(kind);
    const fs::path target = targetFolder / found.name;
    const fs::path source = CanonicalOrEmpty(found.path);
    // The file already there (copied by this walk or the document's own): nothing to do.
    if (IsSameFile(found.path, target)) {
        m_copiedFrom.try_emplace(target, source);
        return MediaProblem::None;
    }
    if (auto done = m_copiedFrom.find(target); done != m_copiedFrom.end())
        return done->second == source ? MediaProblem::None : MediaProblem::NameClash;
    // Another media file of the document lives there: replacing it would lose it.
    if (IsProtectedSource(target)) return MediaProblem::NameClash;
    const bool isNewName = !Exists(target);
    if (!isNewName && m_published) {
        if (IsSameContent(target, bytes)) {
            m_copiedFrom[target] = source;
            return MediaProblem::None;
        }
        if (!IsPublishedName(target)) return MediaProblem::ExistsOther;
    }
    if (!ReplaceFileWith(target, bytes)) return MediaProblem::NotCopied;
    m_copiedFrom[target] = source;
    m_written.push_back(target);
    // A new file may now be what a later look-up in that folder finds.
    if (isNewName) m_search.Forget(targetFolder);
    return MediaProblem::None;
}

void MediaWalker::KeepOthersFiles(std::set<std::string> publishedNames) { m_published = std::move(publishedNames); }

bool MediaWalker::IsPublishedName(const fs::path& target) const {
    return m_published && m_published->count(ToLowerAscii(target.filename().string())) > 0;
}

// What a save into the document's own folder would meet: a file of the found file's name
// there that this document did not publish and a copy would replace.
MediaProblem MediaWalker::CheckOthersFile(const FoundMediaFile& found) const {
    if (!m_published || m_baseCanonical.empty()) return MediaProblem::None;
    const fs::path target = m_baseCanonical / found.name;
    if (!Exists(target) || IsSameFile(found.path, target)) return MediaProblem::None;
    std::string bytes;
    if (ReadRegularFile(found.path, kMaxCopiedFileBytes, bytes) != FileCheck::Ok) return MediaProblem::None;
    return IsPublishedName(target) || IsSameContent(target, bytes) ? MediaProblem::None : MediaProblem::ExistsOther;
}

std::set<std::string> PublishedMediaNames(const std::string& menuPath) {
    std::set<std::string> names;
    std::error_code missing;
    if (!fs::exists(fs::symlink_status(menuPath, missing))) return names;
    CAppletParameters published;
    if (!LoadMenuFile(published, menuPath, texts::kDocumentSection, false, {})) return names;
    for (const std::string& path : StoredMediaPaths(published)) names.insert(ToLowerAscii(FileNameOf(path)));
    return names;
}

std::vector<std::string> StoredMediaPaths(const CAppletParameters& applet) {
    std::vector<std::string> paths;
    for (const std::string* path : {&applet.m_appBKImagePath, &applet.m_appBKAudioPath})
        if (!path->empty()) paths.push_back(*path);
    for (const auto& menu : applet.m_menus) CollectMediaPaths(menu.get(), paths);
    return paths;
}

MediaVisit MediaWalker::JudgeLocation(const std::string& storedPath, MediaVisit visit) const {
    const fs::path real = CanonicalOrEmpty(visit.found->path);
    auto inside = [&real](const fs::path& folder) { return !folder.empty() && LiesInside(real, folder); };
    if (storedPath.front() != '/') {
        if (!inside(m_baseCanonical)) visit.problem = MediaProblem::LinkOutside;
        return visit;
    }
    // A document never saved names only what its user picked, or its template's media.
    if (m_baseCanonical.empty() || (!m_trustGiven && !m_destination)) return visit;
    visit.outsideKnownFolders = !inside(m_baseCanonical) && std::none_of(m_trusted.begin(), m_trusted.end(), inside);
    return visit;
}

MediaVisit MediaWalker::VisitFile(const std::string& storedPath, MediaKind kind) {
    MediaVisit visit;
    if (storedPath.empty()) return visit;
    visit.found = m_search.Find(storedPath);
    if (!visit.found) return visit;
    // A model names the same few files many times: each is read and judged once.
    const auto key = std::make_pair((storedPath.front() == '/' ? "a" : "r") + visit.found->path.string(), kind);
    if (const auto known = m_judged.find(key); known != m_judged.end()) return known->second;
    visit = JudgeLocation(storedPath, visit);
    if (visit.problem == MediaProblem::None)
        visit.problem = m_destination ? CopyFound(*visit.found, kind, storedPath) : CheckMediaFile(visit.found->path, kind);
    if (!m_destination && visit.problem == MediaProblem::None) visit.problem = CheckOthersFile(*visit.found);
    if (visit.problem != MediaProblem::None) visit.outsideKnownFolders = false;
    m_judged.emplace(key, visit);
    return visit;
}

void MediaWalker::VisitItem(const CVoraneItem& item, std::string& report) {
    const auto media = MediaFieldsOf(item);
    for (std::size_t field = 0; field < kMediaFieldCount; ++field) {
        const std::string& storedPath = *media[field];
        if (storedPath.empty()) continue;
        const MediaVisit visit = VisitFile(storedPath, kItemMediaKinds[field]);
        const char* ending = !visit.found                           ? texts::kReportNotExist
                             : visit.problem != MediaProblem::None ? MediaProblemEnding(visit.problem)
                             : visit.outsideKnownFolders           ? texts::kReportOutsideFolders
                                                                   : nullptr;
        if (ending && m_tally.Admit(ending)) report += ItemMediaWarning(item, static_cast<int>(field), ending);
    }
}

void MediaWalker::Walk(const CVorane* menu, std::string& report) {
    ForEachItem(menu, [&](const CVoraneItem& item) { VisitItem(item, report); });
}

void MediaWalk(const std::string& folder, const CVorane* menu, std::string& report, int check,
               int sampleLayout, const std::string& baseFolder) {
    MediaWalker walker = check ? MediaWalker(baseFolder)
                               : MediaWalker(MediaDestination{fs::path(folder), sampleLayout != 0, {}}, baseFolder);
    walker.Walk(menu, report);
    walker.FinishReport(report);
}

}  // namespace kestrune
