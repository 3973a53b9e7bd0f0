// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "output/MenuLayout.h"

namespace kestrune {

// The layout as JSON: the applet size, the open path that holds, and every shown menu in
// drawing order with its items, each rectangle as x, y, width and height. Texts are read
// as Windows-1252, the page's encoding.
std::string MenuLayoutJson(const CAppletParameters& applet, const MenuLayout& layout);

}  // namespace kestrune
