// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/MenuPropertySheet.h"

#include "properties/DlgItemState.h"
#include "properties/DlgMenuStyle.h"
#include "properties/PropertyTexts.h"

CMenuPropertySheet::CMenuPropertySheet(CKestruneDoc& doc, QWidget* parent)
    : CPropertySheet(kestrune::help::kMenuSheet, Strip::Menu, parent), m_menuStylePage(new CDlgMenuStyle(doc)) {
    AddPage(m_menuStylePage);
    AddPage(new CDlgItemNormal(doc));
    AddPage(new CDlgItemMouseOver(doc));
    AddPage(new CDlgItemClick(doc));
}

CDlgItemState* CMenuPropertySheet::ItemStatePage(int state) const {
    return static_cast<CDlgItemState*>(Page(state + 1));
}
