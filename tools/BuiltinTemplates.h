// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrune {
class CAppletParameters;
}

// The thirteen built-in templates, in the order of the built-in template list. Each
// builder fills a reset model; media paths name files below sampleDir
// ("<sampleDir>/Image/..." and "<sampleDir>/Audio/...").
struct BuiltinTemplate {
    const char* name;
    const char* description;  // for the sample page
    void (*build)(kestrune::CAppletParameters& applet, const std::string& sampleDir);
};

const std::vector<BuiltinTemplate>& BuiltinTemplates();
