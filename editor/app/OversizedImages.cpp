// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OversizedImages.h"

#include <QImageReader>
#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "app/ShellTexts.h"
#include "app/TextConvert.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/MediaWalk.h"

using namespace kestrune;

namespace {
class ImageSizes {
public:
    explicit ImageSizes(const std::string& folder) : m_walker(folder) {}
    // An empty size when the file is not a usable image.
    QSize Of(const std::string& storedPath) {
        const auto known = m_sizes.find(storedPath);
        if (known != m_sizes.end()) return known->second;
        const MediaVisit visit = m_walker.VisitFile(storedPath, MediaKind::Image);
        const QSize size = visit.Usable() ? QImageReader(convert::PathToQt(visit.found->path.string())).size() : QSize();
        return m_sizes.emplace(storedPath, size).first->second;
    }

private:
    MediaWalker m_walker;
    std::map<std::string, QSize> m_sizes;
};

QString OneLine(const std::string& label) {
    return convert::LabelToWidget(label).replace(QLatin1Char('\n'), QLatin1Char(' '));
}
}  // namespace

QString OversizedImageLines(const CAppletParameters& applet) {
    ImageSizes sizes(applet.m_documentFolder);
    QString lines;
    std::vector<const CVorane*> pending;
    for (const auto& menu : applet.m_menus) pending.push_back(menu.get());
    while (!pending.empty()) {
        const CVorane* menu = pending.back();
        pending.pop_back();
        for (const auto& item : menu->m_items) {
            if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(sub);
            const std::string* images[] = {&item->m_normalImage, &item->m_overImage, &item->m_clickImage};
            for (std::size_t i = 0; i < std::size(images); ++i) {
                const std::string& path = *images[i];
                const bool named = std::any_of(images, images + i, [&](const std::string* other) { return *other == path; });
                if (path.empty() || named) continue;
                const QSize size = sizes.Of(path);
                if (size.width() <= menu->m_Width && size.height() <= menu->m_Height) continue;
                lines += shelltexts::kImageLargerThanItem.arg(
                    OneLine(item->m_label), convert::PathToQt(path), QString::number(size.width()),
                    QString::number(size.height()), QString::number(menu->m_Width), QString::number(menu->m_Height));
            }
        }
    }
    return lines;
}
