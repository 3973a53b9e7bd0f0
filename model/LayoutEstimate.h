// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Rect.h"

namespace kestrune {

class CVorane;

// The rough extent of a menu and the first level of its sub menus, counting hidden
// items, as the older menu-file layout sized its applet.
Rect LayoutEstimate(const CVorane* menu);

}  // namespace kestrune
