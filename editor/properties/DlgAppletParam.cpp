// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgAppletParam.h"

#include <QFocusEvent>
#include <QScopedValueRollback>

#include "app/DialogService.h"
#include "app/KestruneApp.h"
#include "model/StyleNames.h"
#include "properties/FieldReader.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyTexts.h"
#include "app/TextConvert.h"
#include "app/UndoTexts.h"
#include "ui_page_applet_param.h"

using namespace kestrune;

using texts::kMaxAppletSize;
using texts::kMinAppletSize;

CDlgAppletParam::CDlgAppletParam(CKestruneDoc& doc, QWidget* parent)
    : CPropertyPage(doc, texts::kAppletPageCaption, help::kAppletPage, parent),
      m_ui(std::make_unique<Ui::AppletParamPage>()) {
    m_ui->setupUi(this);
    widgets::FillList(m_ui->alignCombo, names::kParagraphAligns);
    for (CSpinEdit* box : {m_ui->widthSpin, m_ui->heightSpin}) {
        box->SetDigitsOnly(true);
        box->SetSpinRange(kMinAppletSize, kMaxAppletSize);
    }
    m_ui->xPosEdit->SetDigitsOnly(true);
    m_ui->yPosEdit->SetDigitsOnly(true);
    m_ui->bkColorButton->SetDialogService(Dialogs());
    m_ui->nameEdit->installEventFilter(this);
    connect(m_ui->imageBrowseButton, &QPushButton::clicked, this, &CDlgAppletParam::BrowseImage);
    connect(m_ui->audioBrowseButton, &QPushButton::clicked, this, &CDlgAppletParam::BrowseAudio);
}

CDlgAppletParam::~CDlgAppletParam() = default;

void CDlgAppletParam::LoadFromModel() {
    const CAppletParameters& applet = App().m_applet;
    m_ui->heightSpin->SetValue(applet.m_appHeight);
    widgets::SelectIndex(m_ui->alignCombo, applet.m_Align);
    m_ui->nameEdit->setText(convert::ToQt(applet.m_HTMLTitle));
    m_ui->widthSpin->SetValue(applet.m_appWidth);
    m_ui->xPosEdit->SetValue(applet.m_appBKImageX);
    widgets::CheckRadio({m_ui->specifyRadio, m_ui->tileRadio}, applet.m_appBKImageMode);
    m_ui->imagePathEdit->setText(convert::PathToQt(applet.m_appBKImagePath));
    m_ui->yPosEdit->SetValue(applet.m_appBKImageY);
    m_ui->audioPathEdit->setText(convert::PathToQt(applet.m_appBKAudioPath));
    m_ui->bkColorButton->SetColor(applet.m_appBKColor);
    // The enabling follows the stored mode only; it is refreshed at the next load.
    const bool specify = applet.m_appBKImageMode == 0;
    m_ui->xPosEdit->setEnabled(specify);
    m_ui->yPosEdit->setEnabled(specify);
}

bool CDlgAppletParam::ReadControls(AppletFields& values) {
    // A failed read moves the focus; that must not start another read of the name box.
    const QScopedValueRollback guard(m_reading, true);
    const CAppletParameters& applet = App().m_applet;
    values = applet.Fields();
    CFieldReader reader(Dialogs(), this);
    reader.ReadIntInRange(m_ui->heightSpin, kMinAppletSize, kMaxAppletSize, values.m_appHeight, applet.m_appHeight);
    values.m_Align = widgets::SelectedIndex(m_ui->alignCombo, applet.m_Align);
    reader.ReadText(m_ui->nameEdit, values.m_HTMLTitle);
    reader.ReadIntInRange(m_ui->widthSpin, kMinAppletSize, kMaxAppletSize, values.m_appWidth, applet.m_appWidth);
    reader.ReadInt(m_ui->xPosEdit, values.m_appBKImageX);
    values.m_appBKImageMode = widgets::CheckedRadio({m_ui->specifyRadio, m_ui->tileRadio}, applet.m_appBKImageMode);
    reader.ReadPath(m_ui->imagePathEdit, values.m_appBKImagePath);
    reader.ReadInt(m_ui->yPosEdit, values.m_appBKImageY);
    reader.ReadPath(m_ui->audioPathEdit, values.m_appBKAudioPath);
    values.m_appBKColor = m_ui->bkColorButton->GetColor();
    return reader.Ok();
}

bool CDlgAppletParam::SaveToModel() {
    AppletFields values;
    if (!ReadControls(values)) return false;
    Write([&] { return AssignChanged(App().m_applet.Fields(), values); });
    return true;
}

void CDlgAppletParam::StoreTitle() {
    AppletFields values;
    if (!ReadControls(values)) return;
    Write([&] { return AssignChanged(App().m_applet.m_HTMLTitle, values.m_HTMLTitle); }, nullptr, nullptr,
          undotexts::kRenameApplet);
}

bool CDlgAppletParam::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->nameEdit && event->type() == QEvent::FocusOut && !m_reading &&
        widgets::LeavesWithinWindow(static_cast<QFocusEvent*>(event)))
        StoreTitle();
    return CPropertyPage::eventFilter(watched, event);
}

void CDlgAppletParam::BrowseImage() {
    AppletFields ignored;
    ReadControls(ignored);
    widgets::BrowseForFile(Dialogs(), this, m_ui->imagePathEdit, texts::kImageFilter, App().SampleFolder());
}

void CDlgAppletParam::BrowseAudio() {
    AppletFields ignored;
    ReadControls(ignored);
    widgets::BrowseForFile(Dialogs(), this, m_ui->audioPathEdit, texts::kAudioFilter, App().SampleFolder());
}
