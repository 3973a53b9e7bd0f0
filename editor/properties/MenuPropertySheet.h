// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "properties/PropertySheet.h"

class CKestruneDoc;
class CDlgMenuStyle;
class CDlgItemState;

// How the selected item and its siblings are displayed: the menu's style and the three
// item states of the menu that holds the item.
class CMenuPropertySheet : public CPropertySheet {
    Q_OBJECT
public:
    explicit CMenuPropertySheet(CKestruneDoc& doc, QWidget* parent = nullptr);
    CDlgMenuStyle* MenuStylePage() const { return m_menuStylePage; }
    // State 0 Normal, 1 Mouse Over, 2 Clicked.
    CDlgItemState* ItemStatePage(int state) const;

private:
    CDlgMenuStyle* m_menuStylePage;
};
