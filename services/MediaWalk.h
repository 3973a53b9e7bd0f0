// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/ReportTally.h"

#include "output/MediaCheck.h"
#include "base/MediaFileSearch.h"

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;

// Where the copy mode of the walk puts media files.
struct MediaDestination {
    std::filesystem::path folder;
    // Template layout: images into <folder>/Sample/Image, sounds into <folder>/Sample/Audio;
    // otherwise both straight into the folder (document and preview layout).
    bool sampleLayout = false;
    // Names no media file may take there, in any letter case: the page, its menu file,
    // the script runtime, the class file. A received document could otherwise publish a
    // script or a page of its own under them.
    std::vector<std::string> reservedNames;

    std::filesystem::path FolderFor(MediaKind kind) const;
    bool IsReserved(const std::string& name) const;
};

// What became of one named media file.
struct MediaVisit {
    std::optional<FoundMediaFile> found;       // none: no file matches the stored path
    MediaProblem problem = MediaProblem::None;  // found but not used or not copied
    // Named by an absolute path outside the document's folder and the trusted folders:
    // used, with a warning naming it.
    bool outsideKnownFolders = false;
    bool Usable() const { return found && problem == MediaProblem::None; }
};

// Examines the media files of every item of a menu and of all menus below it, hidden
// items included, item by item: an item's five fields, then everything below it.
// Every named file that is not found, is not a file of its kind (by its first bytes) or
// is a link leading outside its folder adds a warning line to the report. In copy mode
// every usable file is also copied to the destination under its name as on disk (a file
// named by a relative name is read from the document's folder with no link followed); a failed copy, and a file whose name another media file of the run already took
// there, is reported too. Files registered as protected (the document's own media) are
// never replaced. One walker may serve a whole model: it remembers look-ups and skips a
// copy it has already made.
class MediaWalker {
public:
    explicit MediaWalker(std::string baseFolder = {});                                // check mode
    MediaWalker(MediaDestination destination, std::string baseFolder);               // copy mode

    void Walk(const CVorane* menu, std::string& report);
    // Says in the report how many warnings of each kind the walks left out: past the
    // first ReportTally::kShownPerKind of a kind, they are only counted.
    void FinishReport(std::string& report) const { m_tally.AppendSummary(report); }

    // One media file outside the menus (the applet's background image and audio).
    MediaVisit VisitFile(const std::string& storedPath, MediaKind kind);

    // Folders (the templates' media folders) whose files an absolute media name may name
    // without a warning, besides the document's own folder.
    void TrustFolders(const std::vector<std::filesystem::path>& folders);

    // From now on a file already in the destination (the document's folder in check mode)
    // is replaced only when it holds the same bytes or its name, in any letter case, is one
    // of publishedNames (the media names of the menu file the save replaces): anything
    // else is the user's own file and is kept, reported as ExistsOther.
    void KeepOthersFiles(std::set<std::string> publishedNames);

    // Marks the files the stored paths find as sources: no copy replaces them.
    void ProtectSources(const std::vector<std::string>& storedPaths);
    // Whether path is one of the protected sources.
    bool IsProtectedSource(const std::filesystem::path& path) const;

    bool IsCopying() const { return m_destination.has_value(); }
    MediaFileSearch& Search() { return m_search; }
    // Every file this walker wrote.
    const std::vector<std::filesystem::path>& Written() const { return m_written; }

private:
    void VisitItem(const CVoraneItem& item, std::string& report);
    MediaProblem CopyFound(const FoundMediaFile& found, MediaKind kind, const std::string& storedPath);
    // Where the found file really lies, every link on its path followed: a relative name
    // must stay inside the document's folder; an absolute one may lie anywhere, but is
    // noted when it lies outside the document's and the trusted folders.
    MediaVisit JudgeLocation(const std::string& storedPath, MediaVisit visit) const;

    std::optional<MediaDestination> m_destination;
    MediaFileSearch m_search;
    std::string m_baseFolder;
    std::map<std::filesystem::path, std::filesystem::path> m_copiedFrom;  // target -> canonical source
    std::set<std::filesystem::path> m_sources;                           // canonical
    std::vector<std::filesystem::path> m_written;
    std::filesystem::path m_baseCanonical;
    std::vector<std::filesystem::path> m_trusted;  // canonical
    bool m_trustGiven = false;                     // the trusted folders are known, if none exists
    // By found path (prefixed by whether the stored name was relative) and kind.
    std::map<std::pair<std::string, MediaKind>, MediaVisit> m_judged;
    std::optional<std::set<std::string>> m_published;  // lower-cased; set: others' files are kept
    bool IsPublishedName(const std::filesystem::path& target) const;
    MediaProblem CheckOthersFile(const FoundMediaFile& found) const;
    ReportTally m_tally;
};

// The file names (lower-cased) of every media file the document of menuPath names; empty
// when there is no such file or it cannot be read.
std::set<std::string> PublishedMediaNames(const std::string& menuPath);

// Every stored media path of the applet (its background image and audio first), in walk order.
std::vector<std::string> StoredMediaPaths(const CAppletParameters& applet);

// The walk in one call: check != 0 only reports; check == 0 also copies into folder, or
// into its Sample/Image and Sample/Audio subfolders when sampleLayout != 0. Relative
// stored paths are taken from baseFolder.
void MediaWalk(const std::string& folder, const CVorane* menu, std::string& report, int check,
               int sampleLayout, const std::string& baseFolder = {});

// The report line for one item file; field is 0..4 in walk order; ending is the line's
// end after the path (by default " not exist.").
std::string ItemMediaWarning(const CVoraneItem& item, int field, const char* ending = nullptr);

// The folders whose media a template names: the program folder's samples and the user's
// own (<XDG data home>/Quellary/Kestrune/Sample).
std::vector<std::filesystem::path> TemplateMediaFolders(const std::string& appDir);

// Every stored media path of the menus below menu (items' five fields), in walk order.
void CollectMediaPaths(const CVorane* menu, std::vector<std::string>& paths);

}  // namespace kestrune
