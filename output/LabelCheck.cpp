#include "output/LabelCheck.h"

#include <vector>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "output/OutputTexts.h"

namespace kestrune {

void AppendEmptyLabelWarnings(const CAppletParameters& applet, std::string& report) {
    struct Pending {
        const CVorane* menu;
        std::string place;
    };
    // Depth first in model order, with an explicit stack: menus may nest deeply.
    std::vector<Pending> pending;
    for (std::size_t m = applet.m_menus.size(); m-- > 0;)
        pending.push_back({applet.m_menus[m].get(), std::to_string(m + 1)});
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        const auto& items = current.menu->m_items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string place = current.place + "." + std::to_string(i + 1);
            if (items[i]->m_label.empty()) {
                report += texts::kReportEmptyLabelStart;
                report += place;
                report += texts::kReportEmptyLabelEnd;
            }
        }
        for (std::size_t i = items.size(); i-- > 0;)
            pending.push_back({items[i]->m_subMenu.get(), current.place + "." + std::to_string(i + 1)});
    }
}

}  // namespace kestrune
