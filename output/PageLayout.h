// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "output/MenuLayout.h"
#include "output/ParameterReader.h"

namespace kestrune {

// What a page shows without its runtime: the applet its parameters describe, laid out
// with the open path, and that layout as JSON. Reads nothing but the page's text, and
// reads it as a browser does, so the layout is the one the script runtime draws.
struct PageLayout {
    AppletReadResult read;  // the applet, or why the page gives none
    MenuLayout layout;      // empty when the page could not be read
    std::string json;       // empty when the page could not be read
};

PageLayout LayOutPage(std::string_view page, const MenuPath& open);

}  // namespace kestrune
