// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/ParameterCheck.h"

#include <algorithm>

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/LabelCheck.h"
#include "output/OutputTexts.h"
#include "persist/MenuFileText.h"
#include "services/MediaWalk.h"

namespace kestrune {

namespace {

constexpr std::int64_t kRecommendMargin = 4;

void AppendAppletWarning(std::string& report, const char* start, const std::string& path, const MediaVisit& visit) {
    if (path.empty() || (visit.Usable() && !visit.outsideKnownFolders)) return;
    report += start;
    report += path;
    report += !visit.found                           ? texts::kReportNotExist
              : visit.problem != MediaProblem::None ? MediaProblemEnding(visit.problem)
                                                    : texts::kReportOutsideFolders;
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
            pending.push_back({item->m_subMenu.Existing(), current.menu->ItemCorner(visibleIndex++, rect)});
        }
    }
}


Rect VisibleMenuBounds(const CAppletParameters& applet) {
    Rect bounds;
    for (const auto& menu : applet.m_menus)
        if (menu->m_visible != 0) MenuExtent(bounds, menu.get(), 0, 0);
    return bounds;
}

// The union started empty, so only the area the menus cover counts, wherever it lies.
AppletSize RecommendedSize(const Rect& bounds) {
    return {ClampToInt32(std::int64_t{bounds.right} - bounds.left + kRecommendMargin),
            ClampToInt32(std::int64_t{bounds.bottom} - bounds.top + kRecommendMargin)};
}

AppletSize SizeMenusNeed(const CAppletParameters& applet) {
    const Rect bounds = VisibleMenuBounds(applet);
    const AppletSize recommended = RecommendedSize(bounds);
    return {ClampToInt32(std::int64_t{recommended.width} + std::max(bounds.left, 0)),
            ClampToInt32(std::int64_t{recommended.height} + std::max(bounds.top, 0))};
}

ParameterCheckResult CheckParameters(CAppletParameters& applet, bool autoChangeSize, const CheckPlace& place) {
    ParameterCheckResult result;
    std::string& report = result.report;
    report = texts::kReportHeaderStart;
    report += applet.m_HTMLTitle;
    report += texts::kReportHeaderEnd;

    result.menuBounds = VisibleMenuBounds(applet);
    const AppletSize recommended = RecommendedSize(result.menuBounds);
    result.recommendedWidth = recommended.width;
    result.recommendedHeight = recommended.height;
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
    if (place.known) {
        walker.TrustFolders(TemplateMediaFolders(place.appDir));
        if (!place.pagePath.empty()) walker.KeepOthersFiles(PublishedMediaNames(MenuFilePathFor(place.pagePath)));
    }
    AppendAppletWarning(report, texts::kReportAppletImageStart, applet.m_appBKImagePath,
                        walker.VisitFile(applet.m_appBKImagePath, MediaKind::Image));
    AppendAppletWarning(report, texts::kReportAppletAudioStart, applet.m_appBKAudioPath,
                        walker.VisitFile(applet.m_appBKAudioPath, MediaKind::Audio));
    for (const auto& menu : applet.m_menus) walker.Walk(menu.get(), report);
    walker.FinishReport(report);
    AppendEmptyLabelWarnings(applet, report);
    AppendScriptLinkWarnings(applet, report);

    report += texts::kReportTrailer;
    return result;
}

}  // namespace kestrune
