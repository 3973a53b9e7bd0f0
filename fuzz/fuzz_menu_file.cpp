// Reads arbitrary bytes as a menu file (either layout, as a document and as a template
// section), then checks that writing the model and reading it again is a fixed point.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/AppletParameters.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileReader.h"
#include "persist/MenuFileText.h"

namespace {
std::string Written(kestrune::CAppletParameters& applet) {
    kestrune::MenuSectionForm form;
    form.section = "Vorane2.0";
    return kestrune::FormatMenuSection(applet, form);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    kestrune::CKeyTable table;
    table.Parse(text);

    kestrune::CAppletParameters asTemplate;
    kestrune::LoadMenuTable(asTemplate, table, "T", true, "/app");

    kestrune::CAppletParameters applet;
    kestrune::LoadMenuTable(applet, table, "Vorane2.0", false, "");
    const std::string first = Written(applet);
    kestrune::CKeyTable again;
    again.Parse(first);
    kestrune::CAppletParameters reread;
    kestrune::LoadMenuTable(reread, again, "Vorane2.0", false, "");
    if (Written(reread) != first) std::abort();
    return 0;
}
