// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LabelCheck.h"

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/FallbackMenuList.h"
#include "output/OutputTexts.h"
#include "output/ReportTally.h"

namespace kestrune {

namespace {

// Every item, hidden ones included, with its place ("1.2"), depth first in model order,
// with an explicit stack: menus may nest deeply.
template <typename Visit>
void ForEachPlacedItem(const CAppletParameters& applet, Visit visit) {
    struct Pending {
        const CVoraneItem* item;
        std::string place;
    };
    std::vector<Pending> pending;
    auto pushItems = [&pending](const CVorane& menu, const std::string& place) {
        for (std::size_t i = menu.m_items.size(); i-- > 0;)
            pending.push_back({menu.m_items[i].get(), place + "." + std::to_string(i + 1)});
    };
    for (std::size_t m = applet.m_menus.size(); m-- > 0;) pushItems(*applet.m_menus[m], std::to_string(m + 1));
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        visit(*current.item, current.place);
        pushItems(current.item->m_subMenu.Read(), current.place);
    }
}

}  // namespace

void AppendEmptyLabelWarnings(const CAppletParameters& applet, std::string& report) {
    ReportTally tally;
    ForEachPlacedItem(applet, [&report, &tally](const CVoraneItem& item, const std::string& place) {
        if (!item.m_label.empty() || !tally.Admit(texts::kReportEmptyLabelEnd)) return;
        report += texts::kReportEmptyLabelStart;
        report += place;
        report += texts::kReportEmptyLabelEnd;
    });
    tally.AppendSummary(report);
}

void AppendScriptLinkWarnings(const CAppletParameters& applet, std::string& report) {
    ReportTally tally;
    ForEachPlacedItem(applet, [&report, &tally](const CVoraneItem& item, const std::string& place) {
        if (!IsLeftOutScriptLink(item.m_link) || !tally.Admit(texts::kReportScriptLinkEnd)) return;
        report += texts::kReportEmptyLabelStart;
        report += place;
        report += texts::kReportScriptLinkStart;
        report += item.m_link;
        report += texts::kReportScriptLinkEnd;
    });
    tally.AppendSummary(report);
}

}  // namespace kestrune
