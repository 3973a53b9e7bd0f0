// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/LabelCheck.h"

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/OutputTexts.h"
#include "output/ReportTally.h"

namespace kestrune {

void AppendEmptyLabelWarnings(const CAppletParameters& applet, std::string& report) {
    struct Pending {
        const CVoraneItem* item;
        std::string place;
    };
    // Depth first in model order, with an explicit stack: menus may nest deeply.
    std::vector<Pending> pending;
    auto pushItems = [&pending](const CVorane& menu, const std::string& place) {
        for (std::size_t i = menu.m_items.size(); i-- > 0;)
            pending.push_back({menu.m_items[i].get(), place + "." + std::to_string(i + 1)});
    };
    for (std::size_t m = applet.m_menus.size(); m-- > 0;) pushItems(*applet.m_menus[m], std::to_string(m + 1));
    ReportTally tally;
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        if (current.item->m_label.empty() && tally.Admit(texts::kReportEmptyLabelEnd)) {
            report += texts::kReportEmptyLabelStart;
            report += current.place;
            report += texts::kReportEmptyLabelEnd;
        }
        pushItems(current.item->m_subMenu.Read(), current.place);
    }
    tally.AppendSummary(report);
}

}  // namespace kestrune
