// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "BuiltinTemplates.h"

namespace kestrune {
class CAppletParameters;
}

// The page "Sample/Samples.html": one section per built-in template with its
// description, applet size, the working menu (drawn by the script runtime), the menu
// tree and the pictures and sounds it uses.
class CSamplePage {
public:
    void Add(const BuiltinTemplate& builtin, kestrune::CAppletParameters& applet);
    bool Write(const std::string& path) const;

private:
    std::string m_sections;
    std::string m_index;
};
