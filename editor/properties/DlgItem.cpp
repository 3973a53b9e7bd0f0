// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/DlgItem.h"

#include <QFocusEvent>
#include <QScopedValueRollback>

#include <QFileInfo>

#include "app/DialogService.h"
#include "app/ShellTexts.h"
#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/VoraneItem.h"
#include "properties/DlgMedia.h"
#include "properties/FieldReader.h"
#include "properties/PageWidgets.h"
#include "properties/PropertyTexts.h"
#include "site/SitePages.h"
#include "app/TextConvert.h"
#include "ui_page_item.h"
#include "app/UndoTexts.h"

using namespace kestrune;

CDlgItem::CDlgItem(CKestruneDoc& doc, QWidget* parent)
    : CPropertyPage(doc, texts::kItemPageCaption, help::kItemPage, parent), m_ui(std::make_unique<Ui::ItemPage>()) {
    m_ui->setupUi(this);
    widgets::FillList(m_ui->targetCombo, texts::kTargetSuggestions);
    // Typing a frame name must not be completed into a suggestion behind the user's back.
    m_ui->targetCombo->setCompleter(nullptr);
    const QFontMetrics metrics(m_ui->labelEdit->font());
    m_ui->labelEdit->setFixedHeight(metrics.lineSpacing() * 3 + 2 * m_ui->labelEdit->frameWidth() + 8);
    m_ui->labelEdit->installEventFilter(this);
    connect(m_ui->imageButton, &QPushButton::clicked, this, &CDlgItem::EditImages);
    connect(m_ui->audioButton, &QPushButton::clicked, this, &CDlgItem::EditAudio);
    connect(m_ui->linkBrowseButton, &QPushButton::clicked, this, &CDlgItem::BrowseForLink);
}

CDlgItem::~CDlgItem() = default;

void CDlgItem::ShowTarget(const std::string& target) {
    const QString stored = convert::ToQt(target);
    for (int index = 0; index < m_ui->targetCombo->count(); ++index) {
        if (m_ui->targetCombo->itemText(index).startsWith(stored, Qt::CaseInsensitive)) {
            m_ui->targetCombo->setCurrentIndex(index);
            return;
        }
    }
    m_ui->targetCombo->setCurrentIndex(-1);
    m_ui->targetCombo->setEditText(stored);
}

void CDlgItem::LoadFromModel() {
    const CVoraneItem* item = Doc().m_pCurItem;
    ShowTarget(item ? item->m_target : std::string());
    if (!item) m_ui->targetCombo->setEditText(QString());
    m_ui->descriptionEdit->setText(item ? convert::ToQt(item->m_description) : QString());
    m_ui->labelEdit->setPlainText(item ? convert::LabelToWidget(item->m_label) : QString());
    m_ui->linkEdit->setText(item ? convert::ToQt(item->m_link) : QString());
}

bool CDlgItem::ReadControls(ItemFields& values) {
    // A failed read moves the focus; that must not start another read of the label box.
    const QScopedValueRollback guard(m_reading, true);
    if (const CVoraneItem* item = Doc().m_pCurItem) values = item->Fields();
    CFieldReader reader(Dialogs(), this);
    reader.ReadText(m_ui->targetCombo, values.m_target);
    reader.ReadText(m_ui->descriptionEdit, values.m_description);
    reader.ReadLabel(m_ui->labelEdit, values.m_label);
    reader.ReadText(m_ui->linkEdit, values.m_link);
    return reader.Ok();
}

bool CDlgItem::SaveToModel() {
    ItemFields values;
    if (!ReadControls(values)) return false;
    CVoraneItem* item = Doc().m_pCurItem;
    if (!item) return true;
    Write([&] { return AssignChanged(item->Fields(), values); }, Doc().m_pCurMenu, item);
    return true;
}

void CDlgItem::StoreLabel() {
    ItemFields values;
    if (!ReadControls(values)) return;
    CVoraneItem* item = Doc().m_pCurItem;
    if (!item) return;
    Write([&] { return AssignChanged(item->m_label, values.m_label); }, Doc().m_pCurMenu, item,
          undotexts::kRenameItem);
}

bool CDlgItem::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->labelEdit && event->type() == QEvent::FocusOut && !m_reading &&
        widgets::LeavesWithinWindow(static_cast<QFocusEvent*>(event)))
        StoreLabel();
    return CPropertyPage::eventFilter(watched, event);
}

void CDlgItem::EditImages() {
    ItemFields ignored;
    ReadControls(ignored);
    CDlgImage dialog(Dialogs(), this);
    dialog.SetStartFolder(App().SampleFolder());
    connect(&dialog, &CDlgMedia::helpRequested, this, &CPropertyPage::helpRequested);
    if (const CVoraneItem* item = Doc().m_pCurItem)
        dialog.SetValues({convert::PathToQt(item->m_normalImage), convert::PathToQt(item->m_overImage),
                          convert::PathToQt(item->m_clickImage)},
                         ApplyScope::ThisItem);
    if (Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return;
    const auto& paths = dialog.Paths();
    ApplyMedia(Doc(), Doc().m_pCurItem, dialog.Scope(), ImagePaths(paths[0], paths[1], paths[2]));
}

// A page of the site, stored as the document's links are: relative to its folder.
void CDlgItem::BrowseForLink() {
    if (Doc().PathName().isEmpty()) {
        Dialogs().ShowMessage(this, shelltexts::kSaveFirstForSite);
        return;
    }
    const QString site = QFileInfo(Doc().PathName()).absolutePath();
    const QString chosen =
        Dialogs().GetOpenFileName(this, shelltexts::kLinkToPageCaption, site, shelltexts::kSitePageFilter);
    if (chosen.isEmpty()) return;
    const std::optional<std::string> path = PathInSite(convert::PathFromQt(site), convert::PathFromQt(chosen));
    if (!path) {
        Dialogs().ShowMessage(this, shelltexts::kOutsideSite.arg(chosen, site));
        return;
    }
    m_ui->linkEdit->setText(convert::PathToQt(*path));
    SaveToModel();
}

void CDlgItem::EditAudio() {
    ItemFields ignored;
    ReadControls(ignored);
    CDlgAudio dialog(Dialogs(), this);
    dialog.SetStartFolder(App().SampleFolder());
    connect(&dialog, &CDlgMedia::helpRequested, this, &CPropertyPage::helpRequested);
    if (const CVoraneItem* item = Doc().m_pCurItem)
        dialog.SetValues({convert::PathToQt(item->m_overAudio), convert::PathToQt(item->m_clickAudio)},
                         ApplyScope::ThisItem);
    if (Dialogs().ExecDialog(&dialog) != QDialog::Accepted) return;
    const auto& paths = dialog.Paths();
    ApplyMedia(Doc(), Doc().m_pCurItem, dialog.Scope(), AudioPaths(paths[0], paths[1]));
}
