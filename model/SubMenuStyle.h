// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;

// The style a plain item's new sub menu takes: the first non-empty menu at the depth the
// sub menu will have (0 for top-level menus), else the menu that holds the item; null when
// neither exists. New sub menus thus look like their level of the tree.
CVorane* SubMenuStyleSource(const CAppletParameters& applet, int subMenuDepth, const CVoraneItem* item);

}  // namespace kestrune
