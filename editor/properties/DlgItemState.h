// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "model/ItemStyle.h"
#include "properties/PropertyPage.h"

namespace Ui {
class ItemStatePage;
}

// One of the three item-state pages: how every item of the current menu is drawn in
// one state. The three share this layout and code and differ in the style they edit.
class CDlgItemState : public CPropertyPage {
    Q_OBJECT
public:
    CDlgItemState(CKestruneDoc& doc, kestrune::ItemState state, QWidget* parent = nullptr);
    ~CDlgItemState() override;

    void LoadFromModel() override;
    bool SaveToModel() override;

    kestrune::ItemState State() const { return m_state; }

private:
    // The style as the boxes give it; the font, which the page does not show, stays.
    bool ReadControls(const kestrune::ItemStyle& style, kestrune::ItemStyle& values);
    kestrune::ItemStyle* CurrentStyle() const;
    void EditFont();
    // The shown state's font and colours given to the other two states, as one step.
    void CopyToOtherStates();

    kestrune::ItemState m_state;
    std::unique_ptr<Ui::ItemStatePage> m_ui;
};

class CDlgItemNormal : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemNormal(CKestruneDoc& doc, QWidget* parent = nullptr)
        : CDlgItemState(doc, kestrune::kStateNormal, parent) {}
};

class CDlgItemMouseOver : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemMouseOver(CKestruneDoc& doc, QWidget* parent = nullptr)
        : CDlgItemState(doc, kestrune::kStateMouseOver, parent) {}
};

class CDlgItemClick : public CDlgItemState {
    Q_OBJECT
public:
    explicit CDlgItemClick(CKestruneDoc& doc, QWidget* parent = nullptr)
        : CDlgItemState(doc, kestrune::kStateClicked, parent) {}
};
