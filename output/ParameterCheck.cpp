#include "output/ParameterCheck.h"

#include <algorithm>

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/MediaWalk.h"
#include "output/OutputTexts.h"

namespace kestrune {

namespace {

constexpr std::int64_t kRecommendMargin = 4;

void AppendAppletWarning(std::string& report, const char* start, const std::string& path, const MediaVisit& visit) {
    if (path.empty() || visit.Usable()) return;
    report += start;
    report += path;
    report += visit.found ? MediaProblemEnding(visit.problem) : texts::kReportNotExist;
}

// Length of n items of the given size with gaps between them; n may be 0.
std::int64_t RowLength(std::int64_t count, std::int32_t size, std::int32_t gap) {
    return count * size + (count - 1) * gap;
}

Rect RectTo(std::int64_t right, std::int64_t bottom) {
    return Rect{0, 0, ClampToInt32(right), ClampToInt32(bottom)};
}

}  // namespace

void MenuExtent(Rect& bounds, const CVorane* menu, std::int32_t ox, std::int32_t oy) {
    struct Pending {
        const CVorane* menu;
        Point origin;
    };
    std::vector<Pending> pending{{menu, Point{ox, oy}}};
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        if (!current.menu || current.menu->m_items.empty()) continue;
        const Rect rect = current.menu->MenuRect(current.origin.x, current.origin.y);
        bounds = UnionRect(bounds, rect);
        int visibleIndex = 0;
        for (const auto& item : current.menu->m_items) {
            if (item->m_visible == 0) continue;
            pending.push_back({item->m_subMenu.get(), current.menu->ItemCorner(visibleIndex++, rect)});
        }
    }
}

Rect LayoutEstimate(const CVorane* menu) {
    if (!menu) return Rect{};
    const std::int64_t n = menu->CountItems(1);
    const bool horizontal = menu->IsHorizontal();
    const std::int64_t width = horizontal ? RowLength(n, menu->m_Width, menu->m_ItemGap) : menu->m_Width;
    const std::int64_t height = horizontal ? menu->m_Height : RowLength(n, menu->m_Height, menu->m_ItemGap);
    Rect estimate = RectTo(width + menu->m_xPos, height + menu->m_yPos);

    const std::int64_t halfWidth = menu->m_Width / 2;
    const std::int64_t threeQuartersHeight = (std::int64_t{3} * menu->m_Height) / 4;
    std::int64_t i = 0;
    for (const auto& item : menu->m_items) {
        const CVorane& sub = *item->m_subMenu;
        const std::int64_t e = sub.CountItems(1);
        std::int64_t right = 0;
        std::int64_t bottom = 0;
        if (sub.IsHorizontal()) {
            const std::int64_t subWidth = RowLength(e, sub.m_Width, sub.m_ItemGap);
            right = subWidth + i * (std::int64_t{menu->m_Width} + menu->m_ItemGap) + halfWidth + menu->m_xPos + 2;
            bottom = threeQuartersHeight + sub.m_Height + menu->m_yPos + 2;
        } else {
            const std::int64_t subHeight = RowLength(e, sub.m_Height, sub.m_ItemGap);
            right = sub.m_Width + halfWidth + menu->m_xPos + 2;
            bottom = threeQuartersHeight + subHeight + i * (std::int64_t{menu->m_Height} + menu->m_ItemGap) +
                     menu->m_yPos + 2;
        }
        estimate = UnionRect(estimate, RectTo(right, bottom));
        ++i;
    }
    return estimate;
}

ParameterCheckResult CheckParameters(CAppletParameters& applet, bool autoChangeSize) {
    ParameterCheckResult result;
    std::string& report = result.report;
    report = texts::kReportHeaderStart;
    report += applet.m_HTMLTitle;
    report += texts::kReportHeaderEnd;

    applet.m_menuBounds = Rect{};
    for (const auto& menu : applet.m_menus)
        if (menu->m_visible != 0) MenuExtent(applet.m_menuBounds, menu.get(), 0, 0);
    const Rect& bounds = applet.m_menuBounds;
    // The union started empty, so only the area the menus cover counts, wherever it lies.
    result.recommendedWidth = ClampToInt32(std::int64_t{bounds.right} - bounds.left + kRecommendMargin);
    result.recommendedHeight = ClampToInt32(std::int64_t{bounds.bottom} - bounds.top + kRecommendMargin);
    report += texts::kReportRecommendWidth;
    report += std::to_string(result.recommendedWidth);
    report += texts::kReportRecommendHeight;
    report += std::to_string(result.recommendedHeight);
    report += texts::kCrLf;

    if (autoChangeSize) {
        applet.m_appWidth = result.recommendedWidth;
        applet.m_appHeight = result.recommendedHeight;
    }

    MediaWalker walker(applet.m_documentFolder);
    AppendAppletWarning(report, texts::kReportAppletImageStart, applet.m_appBKImagePath,
                        walker.VisitFile(applet.m_appBKImagePath, MediaKind::Image));
    AppendAppletWarning(report, texts::kReportAppletAudioStart, applet.m_appBKAudioPath,
                        walker.VisitFile(applet.m_appBKAudioPath, MediaKind::Audio));
    for (const auto& menu : applet.m_menus) walker.Walk(menu.get(), report);

    report += texts::kReportTrailer;
    return result;
}

}  // namespace kestrune
