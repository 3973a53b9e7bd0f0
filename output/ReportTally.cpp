// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ReportTally.h"

#include "output/OutputTexts.h"
#include "output/ParameterRecords.h"

namespace kestrune {

bool ReportTally::Admit(const char* kind) {
    for (auto& [known, count] : m_counts)
        if (known == kind) return ++count <= kShownPerKind;
    m_counts.emplace_back(kind, 1);
    return true;
}

void ReportTally::AppendSummary(std::string& report) const {
    for (const auto& [kind, count] : m_counts) {
        if (count <= kShownPerKind) continue;
        report += texts::kReportMoreStart;
        report += paramfields::MoreWarningsText(count - kShownPerKind);
        report += texts::kCrLf;
    }
}

}  // namespace kestrune
