// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

namespace kestrune {
class CAppletParameters;
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// What a filtered tree shows: the items that match, with everything above them. Each
// shown node's shown children are kept in model order, so a filtered tree model answers
// a view's questions without walking the document again.
class CTreeFilter {
public:
    using Match = std::function<bool(const kestrune::CVoraneItem&)>;

    // One walk over the document.
    static CTreeFilter Build(const kestrune::CAppletParameters& applet, const Match& match);
    // The same from a filter that keeps at least what match keeps (a longer text looked for
    // keeps fewer items): only what that filter shows is walked.
    static CTreeFilter Narrow(const CTreeFilter& wider, const kestrune::CAppletParameters& applet, const Match& match);

    // The shown children of the applet (its menus), of a top-level menu or of an item.
    const std::vector<const void*>& ChildrenOf(const void* node) const;
    int Found() const { return m_found; }
    // Whether narrowing this filter walks less than a walk of the whole document: it shows
    // few of the items.
    bool IsWorthNarrowing() const { return m_shown * 4 < m_items; }
    bool operator==(const CTreeFilter& other) const = default;

private:
    bool NarrowBelow(const CTreeFilter& wider, const void* node, const Match& match);

    std::unordered_map<const void*, std::vector<const void*>> m_children;
    int m_found = 0;
    std::size_t m_shown = 0;  // items shown
    std::size_t m_items = 0;  // items in the document when the filter was built
};

// The items of a menu with their sub menus' items, depth first in tree order, read without
// making empty sub menus. visit(item) sees an item before its sub items; done(item) after them.
void WalkMenuItems(const kestrune::CVorane& menu, const std::function<void(const kestrune::CVoraneItem&)>& visit,
                   const std::function<void(const kestrune::CVoraneItem&)>& done);
