// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kestrune {

class CAppletParameters;
class CVoraneItem;

// Calls visit for every item of every menu, depth first, with the items that open the
// menus it lies in (outermost first). An explicit stack, so a deep tree cannot exhaust
// the call stack.
void ForEachMenuItem(const CAppletParameters& applet,
                     const std::function<void(const CVoraneItem&, const std::vector<const CVoraneItem*>&)>& visit);

// The pages the items of a menu lead to (a folder and its index.html or index.htm are
// the same page), and for each the items that lead to it and the items on their way.
class MenuLinkIndex {
public:
    explicit MenuLinkIndex(const CAppletParameters& applet);
    struct Marks {
        std::unordered_set<const CVoraneItem*> current;
        std::unordered_set<const CVoraneItem*> path;
    };
    // The marks for a page below the site's top; null when no item leads to it.
    const Marks* For(const std::string& page) const;

private:
    std::unordered_map<std::string, Marks> m_pages;
};

// The page paths a path inside the site stands for: itself, and for a folder (a trailing
// "/", the top "" or a name without extension) its index pages.
std::vector<std::string> PagesNamedBy(const std::string& sitePath);

}  // namespace kestrune
