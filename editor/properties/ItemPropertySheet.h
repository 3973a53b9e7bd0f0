// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "properties/PropertySheet.h"

class CKestruneDoc;
class CDlgItem;

// What the selected item shows and does.
class CItemPropertySheet : public CPropertySheet {
    Q_OBJECT
public:
    explicit CItemPropertySheet(CKestruneDoc& doc, QWidget* parent = nullptr);
    CDlgItem* ItemPage() const { return m_itemPage; }

private:
    CDlgItem* m_itemPage;
};
