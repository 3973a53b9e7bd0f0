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

bool Relink(MediaFileSearch& search, std::string& stored, const std::string& folder, int& count) {
    const std::string copy = CopyInFolder(search, stored, folder);
    if (copy.empty()) return false;
    stored = copy;
    ++count;
    return true;
}
}  // namespace

int RelinkMovedMedia(CKestruneDoc& doc, const QString& documentFolder) {
    const std::string folder = convert::PathFromQt(documentFolder);
    int count = 0;
    doc.EditProperties(
        [&] {
            MediaFileSearch search;
            CAppletParameters& applet = doc.Applet();
            Relink(search, applet.m_appBKImagePath, folder, count);
            Relink(search, applet.m_appBKAudioPath, folder, count);
            ForEachObject(
                applet, [](CVorane&) {},
                [&](CVoraneItem& item) {
                    for (std::string* field : {&item.m_normalImage, &item.m_overImage, &item.m_clickImage,
                                               &item.m_overAudio, &item.m_clickAudio})
                        Relink(search, *field, folder, count);
                });
            return count > 0;
        },
        nullptr, nullptr, undotexts::kRelinkMedia);
    return count;
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
