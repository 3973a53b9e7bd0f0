// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/MediaFileSearch.h"
#include "model/ItemStyle.h"

namespace kestrune {

class CAppletParameters;
class CVorane;
class CVoraneItem;

// Builds the <param> block of the applet: "ApStyle", then every emitted menu (its
// "MStyle", "IStyle" and "I" lines) in depth-first pre-order, then "Misc".
// BuildAppletParameters runs one of these. The working values of a
// build live here, so building reads the model and never changes it.
class AppletParameterEncoder {
public:
    // Media names are looked up from the document's folder; media names and relative links
    // are written as seen from pageFolder below it (see SiteLinks.h).
    explicit AppletParameterEncoder(const CAppletParameters& applet, std::string pageFolder = {});
    std::string Build();
    // The same block appended to text, so a page is built in one string.
    void BuildInto(std::string& text);

    // The number the last Build gave the menu; -1 when it was not emitted.
    int NumberOf(const CVorane* menu) const;
    // Visible items in emission order, and the item counts of the emitted menus.
    const std::vector<const CVoraneItem*>& EmittedItems() const { return m_emittedItems; }
    int MenuCount() const { return m_menuCounter; }
    const std::string& CountText() const { return m_countText; }

    // A menu takes part in the block when it is shown and has a visible item.
    static bool IsEmitted(const CVorane* menu);

private:
    // Appends the lines of one menu and of the emitted menus below it, numbering each
    // from the applet's menu counter.
    void EmitMenu(std::string& text, const CVorane* menu, int number);
    void EmitMenuLines(std::string& text, const CVorane& menu, int number);
    std::string MiscValue() const;

    const CAppletParameters& m_applet;
    MediaFileSearch m_media;
    std::string m_pageFolder;
    int m_menuCounter = 0;
    std::string m_countText;
    std::vector<const CVoraneItem*> m_emittedItems;
    std::unordered_map<const CVorane*, int> m_numbers;
    std::vector<std::int32_t> m_topLevelNumbers;
    std::vector<std::int32_t> m_subMenuNumbers;  // per emitted item, -1 when none opens
    std::array<ItemStyle, kStateCount> m_lastItemStyles{};
    std::string m_lastItemStylesText;  // the value of the last "IStyle" line, empty before it
};

// One parameter line: TAB, <param name="NAME" value="VALUE">, CR LF.
void AppendParameterLine(std::string& text, const std::string& name, const std::string& value);

// Values of the menu lines, as the applet reads them.
std::string MenuStyleValue(const CVorane& menu);
std::string ItemStylesValue(const CVorane& menu);
// A label with every CR LF written as the applet's line-break token.
std::string EncodeLabel(const std::string& label);
// The values of the "ApStyle" line and of one item's "I" line, media files named as found
// by media and seen from pageFolder. The live preview encodes single items through these
// as the page does.
std::string AppletStyleValue(const CAppletParameters& applet, MediaFileSearch& media, std::string_view pageFolder = {});
std::string ItemValue(const CVoraneItem& item, MediaFileSearch& media, std::string_view pageFolder = {});

// The applet's <param> block.
std::string BuildAppletParameters(const CAppletParameters& applet);

}  // namespace kestrune
