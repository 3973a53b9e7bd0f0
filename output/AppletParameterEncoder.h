#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/MediaFileSearch.h"

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;

// Builds the <param> block of the applet: "ApStyle", then every emitted menu (its
// "MStyle", "IStyle" and "I" lines) in depth-first pre-order, then "Misc".
// CAppletParameters::BuildAppletParameters() runs one of these; the working values
// (m_menuCounter, m_emittedItems, m_countText) and m_number live on the applet.
class AppletParameterEncoder {
public:
    // Media names are looked up from the document's folder.
    explicit AppletParameterEncoder(CAppletParameters& applet);
    std::string Build();

    // A menu takes part in the block when it is shown and has a visible item.
    static bool IsEmitted(const CVorane* menu);

private:
    // Appends the lines of one menu and of the emitted menus below it, numbering each
    // from the applet's menu counter.
    void EmitMenu(std::string& text, CVorane* menu, int number);
    void EmitMenuLines(std::string& text, CVorane& menu, int number);
    std::string AppletStyleValue();
    std::string ItemValue(const CVoraneItem& item);
    std::string MiscValue() const;

    CAppletParameters& m_applet;
    MediaFileSearch m_media;
    // Numbers given in this build: m_number alone keeps stale values from earlier builds.
    std::vector<std::int32_t> m_topLevelNumbers;
    std::vector<std::int32_t> m_subMenuNumbers;  // per emitted item, -1 when none opens
};

// One parameter line: TAB, <param name="NAME" value="VALUE">, CR LF.
void AppendParameterLine(std::string& text, const std::string& name, const std::string& value);

// Values of the menu lines, as the applet reads them.
std::string MenuStyleValue(const CVorane& menu);
std::string ItemStylesValue(const CVorane& menu);
// A label with every CR LF written as the applet's line-break token.
std::string EncodeLabel(const std::string& label);

}  // namespace kestrune
