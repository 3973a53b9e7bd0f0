// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

class CAppletParameters;
class CKeyTable;

// Reads a menu file of the older layout (one main menu, one level of sub menus that share
// one style, sections named after the editor's pages) into a reset model.
void LoadLegacyLayout(CAppletParameters& applet, const CKeyTable& table);

}  // namespace kestrune
