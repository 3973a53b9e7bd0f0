// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "base/FoldedSearch.h"

namespace kestrune {
class CVoraneItem;
}

// Whether an item's label, description or link holds the text looked for, in any letter
// case. Texts are compared as the model holds them; only one that may carry a character
// beyond the code page (as "&#9733;") is converted first.
class CFindMatcher {
public:
    explicit CFindMatcher(const QString& wanted);
    bool Matches(const kestrune::CVoraneItem& item) const;

private:
    bool FieldMatches(const std::string& field) const;

    QString m_wanted;
    kestrune::FoldedNeedle m_needle;
};
