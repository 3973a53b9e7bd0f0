// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kestrune {

// The warning lines of a report, at most kShownPerKind of one kind; the others are only
// counted and said in one line at the end. A large document whose every item names the
// same missing picture would otherwise get a report larger than the document.
class ReportTally {
public:
    static constexpr std::size_t kShownPerKind = 100;

    // Whether the next warning of this kind (the text its line ends with) is written out;
    // it is counted either way.
    bool Admit(const char* kind);
    // A line per kind that had more warnings than were written out.
    void AppendSummary(std::string& report) const;

private:
    std::vector<std::pair<const char*, std::size_t>> m_counts;  // a handful of kinds
};

}  // namespace kestrune
