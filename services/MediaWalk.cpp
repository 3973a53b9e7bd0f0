#include "services/MediaWalk.h"

#include <array>
#include <system_error>
#include <utility>
#include <vector>

#include "model/VoraneItem.h"
#include "base/FileCopy.h"
#include "output/OutputTexts.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

struct MediaField {
    std::string CVoraneItem::*path;
    MediaKind kind;
};

constexpr std::array<MediaField, 5> kItemMediaFields = {{
    {&CVoraneItem::m_normalImage, MediaKind::Image},
    {&CVoraneItem::m_overImage, MediaKind::Image},
    {&CVoraneItem::m_clickImage, MediaKind::Image},
    {&CVoraneItem::m_overAudio, MediaKind::Audio},
    {&CVoraneItem::m_clickAudio, MediaKind::Audio},
}};
static_assert(kItemMediaFields.size() == texts::kItemMediaKinds.size());

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

fs::path MediaDestination::FolderFor(MediaKind kind) const {
    if (!sampleLayout) return folder;
    return folder / (kind == MediaKind::Image ? texts::kSampleImageFolder : texts::kSampleAudioFolder);
}

MediaWalker::MediaWalker(MediaDestination destination) : m_destination(std::move(destination)) {}

std::string ItemMediaWarning(const CVoraneItem& item, int field) {
    const auto index = static_cast<std::size_t>(field);
    std::string line = texts::kReportItemStart;
    line += item.m_label;
    line += texts::kReportItemKindStart;
    line += texts::kItemMediaKinds[index];
    line += texts::kReportItemFileStart;
    line += item.*kItemMediaFields[index].path;
    line += texts::kReportNotExist;
    return line;
}

void MediaWalker::CopyFound(const FoundMediaFile& found, MediaKind kind) {
    if (m_destination->folder.empty()) return;  // no folder named: nowhere to copy to
    const fs::path targetFolder = m_destination->FolderFor(kind);
    const fs::path target = targetFolder / found.name;
    // The same file again to the same place would only rewrite identical bytes.
    if (auto done = m_copiedFrom.find(target); done != m_copiedFrom.end() && done->second == found.path) return;
    const bool isNewName = !Exists(target);
    if (!CopyFileReplacing(found.path, target)) return;
    m_copiedFrom[target] = found.path;
    // A new file may now be what a later look-up in that folder finds.
    if (isNewName) m_search.Forget(targetFolder);
}

std::optional<FoundMediaFile> MediaWalker::VisitFile(const std::string& storedPath, MediaKind kind) {
    if (storedPath.empty()) return std::nullopt;
    std::optional<FoundMediaFile> found = m_search.Find(storedPath);
    if (found && m_destination) CopyFound(*found, kind);
    return found;
}

void MediaWalker::VisitItem(const CVoraneItem& item, std::string& report) {
    for (std::size_t field = 0; field < kItemMediaFields.size(); ++field) {
        const std::string& storedPath = item.*kItemMediaFields[field].path;
        if (storedPath.empty()) continue;
        if (!VisitFile(storedPath, kItemMediaFields[field].kind))
            report += ItemMediaWarning(item, static_cast<int>(field));
    }
}

void MediaWalker::Walk(const CVorane* menu, std::string& report) {
    if (!menu) return;
    // Items in pre-order with an explicit stack: first item on top.
    std::vector<const CVoraneItem*> pending;
    auto pushItemsOf = [&pending](const CVorane& owner) {
        for (auto it = owner.m_items.rbegin(); it != owner.m_items.rend(); ++it) pending.push_back(it->get());
    };
    pushItemsOf(*menu);
    while (!pending.empty()) {
        const CVoraneItem* item = pending.back();
        pending.pop_back();
        VisitItem(*item, report);
        if (const CVorane* sub = item->m_subMenu.Existing()) pushItemsOf(*sub);
    }
}

void MediaWalk(const std::string& folder, const CVorane* menu, std::string& report, int check,
               int sampleLayout) {
    if (check) {
        MediaWalker().Walk(menu, report);
        return;
    }
    MediaWalker(MediaDestination{fs::path(folder), sampleLayout != 0}).Walk(menu, report);
}

}  // namespace kestrune
