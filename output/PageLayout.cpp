// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PageLayout.h"

#include "output/MenuLayoutJson.h"

namespace kestrune {

PageLayout LayOutPage(std::string_view page, const MenuPath& open) {
    PageLayout result;
    ParameterReadOptions options;
    options.tagRules = TagRules::Browser;
    result.read = ReadAppletParameters(page, options);
    if (!result.read.Ok()) return result;
    result.layout.Build(*result.read.applet, open);
    result.json = MenuLayoutJson(*result.read.applet, result.layout);
    return result;
}

}  // namespace kestrune
