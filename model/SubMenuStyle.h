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

// Gives every sub menu with items below source (its items' sub menus, theirs, and so on)
// source's look: background, border, item size and gap, and the item styles of all three
// states. Each keeps its name and its place (anchor, corner, alignment), which say where
// it opens beside its item rather than how it looks. Returns how many menus changed.
int ApplyStyleToSubMenus(const CVorane& source);

}  // namespace kestrune
