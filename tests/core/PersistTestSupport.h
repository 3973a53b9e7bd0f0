// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the persistence tests: a recording document host, model comparison and
// file helpers on top of the output tests' scratch folders.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OutputTestSupport.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "services/DocumentHost.h"
#include "persist/KeyTable.h"
#include "persist/MenuFileText.h"

namespace kestrune::test {

class RecordingHost : public IDocumentHost {
public:
    int commits = 0;
    std::vector<std::string> messages;
    bool modified = true;
    void CommitPendingEdits() override { ++commits; }
    void ReportMessage(const std::string& text) override { messages.push_back(text); }
    void SetModified(bool value) override { modified = value; }
};

// The model as a document file's text: two models are the same when these agree.
inline std::string DocumentText(CAppletParameters& applet) {
    MenuSectionForm form;
    form.section = "Vorane2.0";
    return FormatMenuSection(applet, form);
}

inline CKeyTable TableOf(const std::string& text) {
    CKeyTable table;
    table.Parse(std::string(text));
    return table;
}

// Lines joined with CR LF after each.
inline std::string CrLf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).append("\r\n");
    return text;
}

// Counts every menu below and including the top-level menus, and the deepest level.
struct TreeShape {
    int menus = 0;
    int items = 0;
    int depth = 0;
};

inline TreeShape ShapeOf(const CAppletParameters& applet) {
    TreeShape shape;
    std::vector<std::pair<const CVorane*, int>> pending;
    for (const auto& menu : applet.m_menus) pending.emplace_back(menu.get(), 0);
    while (!pending.empty()) {
        auto [menu, depth] = pending.back();
        pending.pop_back();
        ++shape.menus;
        shape.depth = std::max(shape.depth, depth);
        for (const auto& item : menu->m_items) {
            ++shape.items;
            pending.emplace_back(item->m_subMenu.get(), depth + 1);
        }
    }
    return shape;
}

}  // namespace kestrune::test
