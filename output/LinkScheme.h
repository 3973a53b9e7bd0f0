// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kestrune {

// Whether a browser would read the link, written as an attribute value, as a
// "javascript:", "vbscript:" or "data:" URL: references are decoded first and the URL
// parser's clean-up applied (leading and trailing controls and spaces dropped, tabs and
// line breaks removed anywhere), so "java&#9;script:" and "&#1;javascript:" count.
bool IsScriptLink(std::string_view link);

}  // namespace kestrune
