// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>

#include "model/Color.h"
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
    struct Values {
        kestrune::Color bkColor = 0;
        std::int32_t bkStyle = 0;
        std::int32_t borderThick = 0;
        std::int32_t itemGap = 0;
        std::int32_t height = 0;
        std::int32_t width = 0;
        std::int32_t xPos = 0;
        std::int32_t yPos = 0;
        std::int32_t corner = 0;
        std::int32_t menuAlign = 0;
    };
    bool ReadControls(const kestrune::CVorane& menu, Values& values);
    bool HasContext() const;

    std::unique_ptr<Ui::MenuStylePage> m_ui;
};
