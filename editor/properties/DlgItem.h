// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "model/ItemFields.h"
#include "properties/PropertyPage.h"

namespace Ui {
class ItemPage;
}

// "Item": what the current item shows and where it leads.
class CDlgItem : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgItem(CKestruneDoc& doc, QWidget* parent = nullptr);
    ~CDlgItem() override;

    void LoadFromModel() override;
    bool SaveToModel() override;


protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The item's fields as the boxes give them; the rest stay as the current item has them.
    bool ReadControls(kestrune::ItemFields& values);
    void ShowTarget(const std::string& target);
    void StoreLabel();
    void EditImages();
    void EditAudio();
    void BrowseForLink();

    std::unique_ptr<Ui::ItemPage> m_ui;
    bool m_reading = false;
};
