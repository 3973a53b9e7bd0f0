// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "properties/PropertySheet.h"

class CKestruneDoc;
class CDlgAppletParam;

// The sheet of the tree's root: the applet's one page.
class CAppletPropertySheet : public CPropertySheet {
    Q_OBJECT
public:
    explicit CAppletPropertySheet(CKestruneDoc& doc, QWidget* parent = nullptr);
    CDlgAppletParam* AppletPage() const { return m_appletPage; }

private:
    CDlgAppletParam* m_appletPage;
};
