// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/ItemPropertySheet.h"

#include "properties/DlgItem.h"
#include "properties/PropertyTexts.h"

CItemPropertySheet::CItemPropertySheet(CKestruneDoc& doc, QWidget* parent)
    : CPropertySheet(kestrune::help::kItemSheet, Strip::Item, parent), m_itemPage(new CDlgItem(doc)) {
    AddPage(m_itemPage);
}
