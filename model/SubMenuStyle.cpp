// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubMenuStyle.h"

#include "model/AppletParameters.h"

namespace kestrune {

CVorane* SubMenuStyleSource(const CAppletParameters& applet, int subMenuDepth, const CVoraneItem* item) {
    if (CVorane* atLevel = applet.MenuAtDepth(subMenuDepth)) return atLevel;
    return item ? applet.FindParentMenu(item) : nullptr;
}

}  // namespace kestrune
