// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/VoraneItem.h"

// The labels of a menu's items, first to last: the usual way to state an order in a test.
inline std::vector<std::string> Labels(const kestrune::CVorane& menu) {
    std::vector<std::string> labels;
    for (const auto& item : menu.m_items) labels.push_back(item->m_label);
    return labels;
}
