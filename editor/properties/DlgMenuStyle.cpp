// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgMenuStyle.h"

#include <QIcon>

#include "app/KestruneApp.h"
#include "model/StyleNames.h"
#include "properties/FieldReader.h"
#include "properties/IconResources.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyTexts.h"
#include "ui_page_menu_style.h"

using namespace kestrune;

CDlgMenuStyle::CDlgMenuStyle(CKestruneDoc& doc, QWidget* parent)
    : CPropertyPage(doc, texts::kMenuStylePageCaption, help::kMenuStylePage, parent),
      m_ui(std::make_unique<Ui::MenuStylePage>()) {
    m_ui->setupUi(this);
    EnsureIconResources();
    widgets::FillList(m_ui->bkStyleCombo, names::kBackgroundStyles);
    for (CSpinEdit* box : {m_ui->widthEdit, m_ui->heightEdit, m_ui->borderThickEdit, m_ui->itemGapEdit})
        box->SetDigitsOnly(true);
    for (int corner = 0; corner < 4; ++corner)
        CornerButton(corner)->setIcon(QIcon(QString::fromLatin1(texts::kCornerPicturePattern).arg(corner)));
    m_ui->bkColorButton->SetDialogService(Dialogs());
}

CDlgMenuStyle::~CDlgMenuStyle() = default;

QAbstractButton* CDlgMenuStyle::CornerButton(int corner) const {
    switch (corner) {
    case 0: return m_ui->corner0Button;
    case 1: return m_ui->corner1Button;
    case 2: return m_ui->corner2Button;
    case 3: return m_ui->corner3Button;
    default: return nullptr;
    }
}

bool CDlgMenuStyle::HasContext() const { return App().m_pCurItem && App().m_pCurMenu; }

void CDlgMenuStyle::LoadFromModel() {
    if (!HasContext()) return;
    const CVorane& menu = *App().m_pCurMenu;
    m_ui->bkColorButton->SetColor(menu.m_BKColor);
    widgets::SelectIndex(m_ui->bkStyleCombo, menu.m_BKStyle);
    m_ui->borderThickEdit->SetValue(menu.m_BorderThick);
    m_ui->itemGapEdit->SetValue(menu.m_ItemGap);
    m_ui->heightEdit->SetValue(menu.m_Height);
    m_ui->widthEdit->SetValue(menu.m_Width);
    m_ui->xPosEdit->SetValue(menu.m_xPos);
    m_ui->yPosEdit->SetValue(menu.m_yPos);
    widgets::CheckRadio({CornerButton(0), CornerButton(1), CornerButton(2), CornerButton(3)}, menu.m_Corner);
    widgets::CheckRadio({m_ui->verticalRadio, m_ui->horizontalRadio}, menu.m_MenuAlign);
}

bool CDlgMenuStyle::ReadControls(const CVorane& menu, MenuStyle& values) {
    values = menu.Style();
    CFieldReader reader(Dialogs(), this);
    values.m_BKColor = m_ui->bkColorButton->GetColor();
    values.m_BKStyle = widgets::SelectedIndex(m_ui->bkStyleCombo, menu.m_BKStyle);
    reader.ReadInt(m_ui->borderThickEdit, values.m_BorderThick);
    reader.ReadInt(m_ui->itemGapEdit, values.m_ItemGap);
    reader.ReadInt(m_ui->heightEdit, values.m_Height);
    reader.ReadInt(m_ui->widthEdit, values.m_Width);
    reader.ReadInt(m_ui->xPosEdit, values.m_xPos);
    reader.ReadInt(m_ui->yPosEdit, values.m_yPos);
    values.m_Corner = widgets::CheckedRadio({CornerButton(0), CornerButton(1), CornerButton(2), CornerButton(3)},
                                            menu.m_Corner);
    values.m_MenuAlign = widgets::CheckedRadio({m_ui->verticalRadio, m_ui->horizontalRadio}, menu.m_MenuAlign);
    return reader.Ok();
}

bool CDlgMenuStyle::SaveToModel() {
    if (!HasContext()) return true;
    CVorane& menu = *App().m_pCurMenu;
    MenuStyle values;
    if (!ReadControls(menu, values)) return false;
    Write([&] { return AssignChanged(menu.Style(), values); }, &menu);
    return true;
}
