// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace kestrune {

class CAppletParameters;
class CVoraneItem;

// Where the list is shown: on a page in folder below the document's folder (links as seen
// from there), with the items that lead to that page and the items that open their menus.
struct MenuListPlace {
    std::string_view folder;
    const std::unordered_set<const CVoraneItem*>* current = nullptr;
    const std::unordered_set<const CVoraneItem*>* currentPath = nullptr;
};

// The menus as a plain list for the inside of the <applet> element: a browser shows it
// when it cannot run the applet (no script, no applet), and a crawler reads every link
// from it. A <nav> labelled with the title holds one <ul> per shown top-level menu, with
// every visible item of every level nested as the menus are; an item with a link is an
// <a href> with its target, one without is plain text. Script links get no href.
// On a page of a site, the items of place.current carry aria-current="page" and those that
// open the menus they lie in aria-current="true".
void AppendFallbackMenuList(std::string& page, const CAppletParameters& applet, const MenuListPlace& place = {});

// The href value the list writes for an item's link (escaped, ready for the double-quoted
// attribute), or nothing when the link is empty or a browser would read what is written
// as a script link.
std::optional<std::string> FallbackHref(std::string_view link);

// Whether a link is given but the list leaves it out as a script link.
bool IsLeftOutScriptLink(std::string_view link);

}  // namespace kestrune
