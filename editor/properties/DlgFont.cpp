// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgFont.h"

#include <QKeyEvent>

#include "help/HelpTopics.h"
#include "model/StyleNames.h"
#include "properties/FieldReader.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyPage.h"
#include "properties/PropertyTexts.h"
#include "ui_dlg_font.h"

using namespace kestrune;

namespace {
constexpr int kMinFontSize = 0;
constexpr int kMaxFontSize = 5000;
}  // namespace

CDlgFont::CDlgFont(IDialogService& dialogs, const ItemStyle& style, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_ui(std::make_unique<Ui::FontDialog>()) {
    m_ui->setupUi(this);
    setWindowTitle(QString::fromLatin1(texts::kFontDialogTitle));
    SetHelpTopic(this, QString::fromLatin1(help::kFontDialog));
    widgets::FillList(m_ui->fontNameCombo, names::kFontNames);
    widgets::FillList(m_ui->effectCombo, names::kFontEffects);
    m_ui->fontSizeSpin->SetDigitsOnly(true);
    m_ui->fontSizeSpin->SetSpinRange(kMinFontSize, kMaxFontSize);
    m_ui->fontColorButton->SetDialogService(dialogs);

    m_values = style;
    widgets::SelectIndex(m_ui->fontNameCombo, style.FontName);
    widgets::SelectIndex(m_ui->effectCombo, style.FontEffect);
    m_ui->fontSizeSpin->SetValue(style.FontSize);
    widgets::CheckRadio({m_ui->plainRadio, m_ui->boldRadio, m_ui->italicRadio}, style.FontStyle);
    m_ui->fontColorButton->SetColor(style.FRColor);
    adjustSize();
}

CDlgFont::~CDlgFont() = default;

void CDlgFont::accept() {
    CFieldReader reader(m_dialogs, this);
    ItemStyle values = m_values;
    values.FontName = widgets::SelectedIndex(m_ui->fontNameCombo, m_values.FontName);
    values.FontEffect = widgets::SelectedIndex(m_ui->effectCombo, m_values.FontEffect);
    if (!reader.ReadInt(m_ui->fontSizeSpin, values.FontSize)) return;
    values.FontStyle = widgets::CheckedRadio({m_ui->plainRadio, m_ui->boldRadio, m_ui->italicRadio},
                                             m_values.FontStyle);
    values.FRColor = m_ui->fontColorButton->GetColor();
    m_values = values;
    QDialog::accept();
}

void CDlgFont::keyPressEvent(QKeyEvent* event) {
    if (widgets::IsHelpKey(event)) emit helpRequested(QString::fromLatin1(help::kFontDialog));
    else QDialog::keyPressEvent(event);
}

bool CDlgFont::ApplyTo(ItemStyle& style) const {
    // Only the font: the style may have moved on since the dialog opened.
    ItemStyle result = style;
    CopyFont(result, m_values);
    return AssignChanged(style, result);
}

void CDlgFont::CopyFont(ItemStyle& target, const ItemStyle& source) {
    target.FontName = source.FontName;
    target.FontEffect = source.FontEffect;
    target.FontSize = source.FontSize;
    target.FontStyle = source.FontStyle;
    target.FRColor = source.FRColor;
}
