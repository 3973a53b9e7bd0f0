// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/MovedMedia.h"

#include "app/KestruneDoc.h"
#include "app/TextConvert.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "base/MediaFileSearch.h"
#include "services/MediaWalk.h"
#include "output/OutputTexts.h"
#include "app/PropertyValues.h"
#include "app/UndoTexts.h"

using namespace kestrune;

namespace {
// The copy in the folder that stands in for a stored path finding nothing; empty: none.
std::string CopyInFolder(MediaFileSearch& search, const std::string& stored, const std::string& folder) {
    if (stored.empty() || search.Find(stored)) return {};
    const std::size_t slash = stored.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? stored : stored.substr(slash + 1);
    if (name.empty()) return {};
    const auto copy = search.Find(folder + "/" + name);
    return copy ? copy->path.string() : std::string();
}

void Look(MediaFileSearch& search, std::string& stored, const std::string& folder, std::vector<MovedMedia>& moved) {
    if (std::string copy = CopyInFolder(search, stored, folder); !copy.empty()) moved.push_back({&stored, std::move(copy)});
}
}  // namespace

std::vector<MovedMedia> FindMovedMedia(CAppletParameters& applet, const std::string& documentFolder) {
    std::vector<MovedMedia> moved;
    MediaFileSearch search;
    Look(search, applet.m_appBKImagePath, documentFolder, moved);
    Look(search, applet.m_appBKAudioPath, documentFolder, moved);
    std::vector<CVorane*> pending;
    for (auto it = applet.m_menus.rbegin(); it != applet.m_menus.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        CVorane* menu = pending.back();
        pending.pop_back();
        for (auto it = menu->m_items.rbegin(); it != menu->m_items.rend(); ++it)
            if (CVorane* sub = (*it)->m_subMenu.Existing()) pending.push_back(sub);
        for (const auto& item : menu->m_items)
            for (std::string* field : MediaFieldsOf(*item))
                Look(search, *field, documentFolder, moved);
    }
    return moved;
}

int RelinkMovedMedia(CKestruneDoc& doc, const std::vector<MovedMedia>& moved) {
    if (moved.empty()) return 0;
    doc.EditProperties(
        [&] {
            for (const MovedMedia& media : moved) *media.storedPath = media.copy;
            return true;
        },
        nullptr, nullptr, undotexts::kRelinkMedia);
    return static_cast<int>(moved.size());
}

std::string MissingMediaLines(const CAppletParameters& applet) {
    std::string lines;
    MediaWalker walker;
    for (const std::string* path : {&applet.m_appBKImagePath, &applet.m_appBKAudioPath}) {
        if (path->empty() || walker.Search().Find(*path)) continue;
        lines += path == &applet.m_appBKImagePath ? texts::kReportAppletImageStart : texts::kReportAppletAudioStart;
        lines += *path;
        lines += texts::kReportNotExist;
    }
    for (const auto& menu : applet.m_menus) walker.Walk(menu.get(), lines);
    return lines;
}
