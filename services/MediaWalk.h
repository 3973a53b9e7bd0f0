#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "base/MediaFileSearch.h"

namespace kestrune {

class CVorane;
class CVoraneItem;

enum class MediaKind { Image, Audio };

// Where the copy mode of the walk puts media files.
struct MediaDestination {
    std::filesystem::path folder;
    // Template layout: images into <folder>/Sample/Image, sounds into <folder>/Sample/Audio;
    // otherwise both straight into the folder (document and preview layout).
    bool sampleLayout = false;

    std::filesystem::path FolderFor(MediaKind kind) const;
};

// Examines the media files of every item of a menu and of all menus below it, hidden
// items included, item by item: an item's five fields, then everything below it.
// Every named file that is not found adds a warning line to the report. In copy mode
// every found file is also copied (replacing) to the destination under its name as on
// disk; failed copies are ignored. One walker may serve a whole model: it remembers
// look-ups and skips a copy it has already made.
class MediaWalker {
public:
    MediaWalker() = default;                                // check mode
    explicit MediaWalker(MediaDestination destination);     // copy mode

    void Walk(const CVorane* menu, std::string& report);

    // One media file outside the menus (the applet's background image and audio): the
    // found file, copied to the destination in copy mode; none when not found.
    std::optional<FoundMediaFile> VisitFile(const std::string& storedPath, MediaKind kind);

    bool IsCopying() const { return m_destination.has_value(); }
    MediaFileSearch& Search() { return m_search; }

private:
    void VisitItem(const CVoraneItem& item, std::string& report);
    void CopyFound(const FoundMediaFile& found, MediaKind kind);

    std::optional<MediaDestination> m_destination;
    MediaFileSearch m_search;
    std::map<std::filesystem::path, std::filesystem::path> m_copiedFrom;  // target -> source
};

// The walk in one call: check != 0 only reports; check == 0 also copies into folder, or
// into its Sample/Image and Sample/Audio subfolders when sampleLayout != 0.
void MediaWalk(const std::string& folder, const CVorane* menu, std::string& report, int check,
               int sampleLayout);

// The report line for one missing item file; field is 0..4 in walk order.
std::string ItemMediaWarning(const CVoraneItem& item, int field);

}  // namespace kestrune
