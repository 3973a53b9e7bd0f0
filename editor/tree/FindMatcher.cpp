// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/FindMatcher.h"

#include "app/TextConvert.h"
#include "model/VoraneItem.h"

CFindMatcher::CFindMatcher(const QString& wanted)
    : m_wanted(wanted), m_needle(kestrune::convert::FromQt(wanted)) {}

bool CFindMatcher::Matches(const kestrune::CVoraneItem& item) const {
    return FieldMatches(item.m_label) || FieldMatches(item.m_description) || FieldMatches(item.m_link);
}

bool CFindMatcher::FieldMatches(const std::string& field) const {
    if (field.find('&') != std::string::npos)
        return kestrune::convert::LabelToWidget(field).contains(m_wanted, Qt::CaseInsensitive);
    return m_needle.FoundIn(field);
}
