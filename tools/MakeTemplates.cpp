// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the built-in templates into <data folder>/Kestrune.tpl with the program's own
// template writer, in list order, checks that each one names only shipped media, and
// writes the sample page <data folder>/Sample/Samples.html that presents them.
// Usage: kestrune_make_templates DATA_FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "BuiltinTemplates.h"
#include "SamplePage.h"
#include "model/AppletParameters.h"
#include "services/ParameterCheck.h"
#include "persist/PersistTexts.h"
#include "common/MemorySettingsStore.h"
#include "services/TemplateStore.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dataDir = std::filesystem::absolute(argv[1]).lexically_normal().string();
    std::filesystem::remove(std::filesystem::path(dataDir) / kestrune::texts::kTemplateFileName);
    kestrune::MemorySettingsStore settings;
    settings.SetString(kestrune::texts::kTemplateSection, kestrune::texts::kTemplateKey, "");
    kestrune::CTemplateStore store(settings, dataDir);
    int position = 0;
    CSamplePage page;
    for (const BuiltinTemplate& builtin : BuiltinTemplates()) {
        kestrune::CAppletParameters applet;
        builtin.build(applet, dataDir + "/Sample");
        page.Add(builtin, applet);
        const std::string report = kestrune::CheckParameters(applet, false).report;
        if (report.find("Warning:") != std::string::npos) {
            std::fprintf(stderr, "%s names a missing file:\n%s", builtin.name, report.c_str());
            return 1;
        }
        std::string error;
        if (!store.SaveTemplate(applet, builtin.name, position++, &error)) {
            std::fprintf(stderr, "%s: %s\n", builtin.name, error.c_str());
            return 1;
        }
    }
    if (settings.GetString(kestrune::texts::kTemplateSection, kestrune::texts::kTemplateKey) !=
        kestrune::texts::kBuiltInTemplateList) {
        std::fprintf(stderr, "The built-in templates are not those of the built-in list.\n");
        return 1;
    }
    if (!page.Write(dataDir + "/" + kestrune::texts::kSamplePage)) {
        std::fprintf(stderr, "Cannot write the sample page.\n");
        return 1;
    }
    std::printf("Wrote %d templates into %s/%s\n", position, dataDir.c_str(), kestrune::texts::kTemplateFileName);
    return 0;
}
