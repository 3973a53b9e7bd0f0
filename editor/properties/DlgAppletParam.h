// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "model/AppletFields.h"
#include "properties/PropertyPage.h"

namespace Ui {
class AppletParamPage;
}

// "Applet Parameters": title, alignment, size, background colour, image and sound of the applet.
class CDlgAppletParam : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDlgAppletParam(CKestruneDoc& doc, QWidget* parent = nullptr);
    ~CDlgAppletParam() override;

    void LoadFromModel() override;
    bool SaveToModel() override;


protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The applet's fields as the boxes give them; those not read stay as the model has them.
    bool ReadControls(kestrune::AppletFields& values);
    void StoreTitle();
    void BrowseImage();
    void BrowseAudio();

    std::unique_ptr<Ui::AppletParamPage> m_ui;
    bool m_reading = false;
};
