// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>

#include "model/MenuStyle.h"
#include "properties/PropertyPage.h"

class QAbstractButton;
namespace Ui {
class MenuStylePage;
}

// "Menu Style": how the current menu is laid out and filled.
class CDlgMenuStyle : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgMenuStyle(CKestruneDoc& doc, QWidget* parent = nullptr);
    ~CDlgMenuStyle() override;

    void LoadFromModel() override;
    bool SaveToModel() override;

    // The "Display Menu" button for a corner value 0 to 3.
    QAbstractButton* CornerButton(int corner) const;

private:
    // The menu's style as the boxes give it; what they do not show stays as the menu has it.
    bool ReadControls(const kestrune::CVorane& menu, kestrune::MenuStyle& values);
    bool HasContext() const;

    std::unique_ptr<Ui::MenuStylePage> m_ui;
};
