// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "model/Rect.h"

namespace kestrune {

class CAppletParameters;
class CVorane;

struct ParameterCheckResult {
    std::string report;  // CR LF text for the message pane
    std::int32_t recommendedWidth = 0;
    std::int32_t recommendedHeight = 0;
    Rect menuBounds;  // the union of the visible menus' rectangles
};

// Where the checked document is saved: the program folder (whose template media an
// absolute name may name without a warning) and the page. With it the check also names
// what a save there would warn about: absolute media names outside the document's folder
// and the template folders, and files of the media's names already in the folder with
// other content that the page's menu file did not publish.
struct CheckPlace {
    bool known = false;
    std::string appDir;
    std::string pagePath;
};

struct AppletSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const AppletSize&) const = default;
};

// The union of the visible menus' rectangles, and the size the check recommends for it.
Rect VisibleMenuBounds(const CAppletParameters& applet);
AppletSize RecommendedSize(const Rect& menuBounds);
// The size that shows every visible menu whole from the applet's corner: the
// recommendation plus the room between the corner and menus placed away from it.
AppletSize SizeMenusNeed(const CAppletParameters& applet);

// The parameter check: the size the visible menus need (the area they cover plus 4
// pixels each way) and every named media file that is not found. With autoChangeSize
// the applet takes the recommended size first. The result holds the union of the visible
// menus' rectangles. Committing pending edits and showing the report
// are the editor's part.
ParameterCheckResult CheckParameters(CAppletParameters& applet, bool autoChangeSize, const CheckPlace& place = {});

// Unites the rectangle of the menu, anchored from (ox, oy), and those of the sub menus
// of its visible items, to any depth, into bounds. Menus without items add nothing.
void MenuExtent(Rect& bounds, const CVorane* menu, std::int32_t ox, std::int32_t oy);

}  // namespace kestrune
