// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "model/Color.h"
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
    struct Values {
        std::int32_t height = 0;
        std::int32_t align = 0;
        std::string title;
        std::int32_t width = 0;
        std::int32_t imageX = 0;
        std::int32_t imageMode = 0;
        std::string imagePath;
        std::int32_t imageY = 0;
        std::string audioPath;
        kestrune::Color color = 0;
    };
    bool ReadControls(Values& values);
    void StoreTitle();
    void BrowseImage();
    void BrowseAudio();

    std::unique_ptr<Ui::AppletParamPage> m_ui;
    bool m_reading = false;
};
