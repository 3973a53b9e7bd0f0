// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgItemState.h"

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/StyleNames.h"
#include "model/Vorane.h"
#include "properties/DlgFont.h"
#include "properties/FieldReader.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyTexts.h"
#include "app/UndoTexts.h"
#include "ui_page_item_state.h"

using namespace kestrune;

namespace {
constexpr int kOffsetSpinLimit = 5000;

const char* CaptionOf(ItemState state) {
    switch (state) {
    case kStateMouseOver: return texts::kItemMouseOverPageCaption;
    case kStateClicked: return texts::kItemClickedPageCaption;
    default: return texts::kItemNormalPageCaption;
    }
}

int HelpOf(ItemState state) {
    switch (state) {
    case kStateMouseOver: return help::kItemMouseOverPage;
    case kStateClicked: return help::kItemClickedPage;
    default: return help::kItemNormalPage;
    }
}
}  // namespace

CDlgItemState::CDlgItemState(CKestruneDoc& doc, ItemState state, QWidget* parent)
    : CPropertyPage(doc, CaptionOf(state), HelpOf(state), parent),
      m_state(state),
      m_ui(std::make_unique<Ui::ItemStatePage>()) {
    m_ui->setupUi(this);
    widgets::FillList(m_ui->textAlignCombo, names::kAlignments);
    widgets::FillList(m_ui->imageAlignCombo, names::kAlignments);
    widgets::FillList(m_ui->fillStyleCombo, names::kFillStyles);
    m_ui->textOffsetSpin->SetSpinRange(-kOffsetSpinLimit, kOffsetSpinLimit);
    m_ui->imageOffsetSpin->SetSpinRange(-kOffsetSpinLimit, kOffsetSpinLimit);
    m_ui->bkColorButton->SetDialogService(Dialogs());
    connect(m_ui->fontButton, &QPushButton::clicked, this, &CDlgItemState::EditFont);
    connect(m_ui->copyStatesButton, &QPushButton::clicked, this, &CDlgItemState::CopyToOtherStates);
}

CDlgItemState::~CDlgItemState() = default;

ItemStyle* CDlgItemState::CurrentStyle() const {
    if (!Doc().m_pCurItem || !Doc().m_pCurMenu) return nullptr;
    return &Doc().m_pCurMenu->m_itemStyle[static_cast<std::size_t>(m_state)];
}

void CDlgItemState::LoadFromModel() {
    const ItemStyle* style = CurrentStyle();
    if (!style) return;
    widgets::CheckRadio({m_ui->plainRadio, m_ui->raisedRadio, m_ui->sunkenRadio}, style->ItemBorderStyle);
    widgets::SelectIndex(m_ui->imageAlignCombo, style->ImageAlign);
    widgets::SelectIndex(m_ui->textAlignCombo, style->TextAlign);
    m_ui->imageOffsetSpin->SetValue(style->ImageOffset);
    m_ui->textOffsetSpin->SetValue(style->TextOffset);
    widgets::SelectIndex(m_ui->fillStyleCombo, style->ItemFillStyle);
    widgets::CheckRadio({m_ui->singleDirectionRadio, m_ui->biDirectionRadio}, style->GradientDirection);
    m_ui->bkColorButton->SetColor(style->BKColor);
}

bool CDlgItemState::ReadControls(const ItemStyle& style, ItemStyle& values) {
    values = style;
    CFieldReader reader(Dialogs(), this);
    values.ItemBorderStyle = widgets::CheckedRadio({m_ui->plainRadio, m_ui->raisedRadio, m_ui->sunkenRadio},
                                                   style.ItemBorderStyle);
    values.ImageAlign = widgets::SelectedIndex(m_ui->imageAlignCombo, style.ImageAlign);
    values.TextAlign = widgets::SelectedIndex(m_ui->textAlignCombo, style.TextAlign);
    reader.ReadInt(m_ui->imageOffsetSpin, values.ImageOffset);
    reader.ReadInt(m_ui->textOffsetSpin, values.TextOffset);
    values.ItemFillStyle = widgets::SelectedIndex(m_ui->fillStyleCombo, style.ItemFillStyle);
    values.GradientDirection = widgets::CheckedRadio({m_ui->singleDirectionRadio, m_ui->biDirectionRadio},
                                                     style.GradientDirection);
    values.BKColor = m_ui->bkColorButton->GetColor();
    return reader.Ok();
}

bool CDlgItemState::SaveToModel() {
    ItemStyle* style = CurrentStyle();
    if (!style) return true;
    ItemStyle values;
    if (!ReadControls(*style, values)) return false;
    Write([&] { return AssignChanged(*style, values); }, Doc().m_pCurMenu);
    return true;
}

void CDlgItemState::EditFont() {
    ItemStyle* style = CurrentStyle();
    if (style) {
        ItemStyle ignored;
        ReadControls(*style, ignored);
    }
    // The dialog starts from the model; without a current menu its result is discarded.
    CDlgFont dialog(Dialogs(), style ? *style : ItemStyle{}, this);
    connect(&dialog, &CDlgFont::helpRequested, this, &CPropertyPage::helpRequested);
    if (Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return;
    style = CurrentStyle();
    if (!style) return;
    Write([&] { return dialog.ApplyTo(*style); }, Doc().m_pCurMenu, nullptr, undotexts::kChangeFont);
}

namespace {
ItemStyle WithFontAndColorsOf(const ItemStyle& target, const ItemStyle& source) {
    ItemStyle result = target;
    CDlgFont::CopyFont(result, source);
    result.BKColor = source.BKColor;
    return result;
}
}  // namespace

void CDlgItemState::CopyToOtherStates() {
    ItemStyle* style = CurrentStyle();
    ItemStyle values;
    if (!style || !ReadControls(*style, values)) return;
    CVorane& menu = *Doc().m_pCurMenu;
    // What the page shows goes first, so the copy carries the colour just chosen.
    Write(
        [&] {
            bool changed = AssignChanged(*style, values);
            for (ItemStyle& other : menu.m_itemStyle)
                if (&other != style) changed |= AssignChanged(other, WithFontAndColorsOf(other, values));
            return changed;
        },
        &menu, nullptr, undotexts::kCopyToOtherStates);
}
