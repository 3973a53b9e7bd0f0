// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/AppletPropertySheet.h"

#include "properties/DlgAppletParam.h"
#include "properties/PropertyTexts.h"

CAppletPropertySheet::CAppletPropertySheet(CKestruneDoc& doc, QWidget* parent)
    : CPropertySheet(kestrune::help::kAppletSheet, Strip::None, parent), m_appletPage(new CDlgAppletParam(doc)) {
    AddPage(m_appletPage);
}
