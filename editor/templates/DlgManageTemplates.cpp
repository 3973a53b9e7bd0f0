// SPDX-License-Identifier: GPL-3.0-or-later
#include "templates/DlgManageTemplates.h"

#include <QStyle>
#include <algorithm>

#include "app/DialogService.h"
#include "help/HelpTopics.h"
#include "persist/TemplateNames.h"
#include "app/TextConvert.h"
#include "services/TemplateStore.h"
#include "templates/TemplateDialogTexts.h"
#include "templates/TemplateNameList.h"
#include "ui_dlg_manage_templates.h"

CDlgManageTemplates::CDlgManageTemplates(kestrune::CTemplateStore& store, IDialogService& dialogs, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::DlgManageTemplates>()), m_store(store), m_dialogs(dialogs) {
    m_ui->setupUi(this);
    SetHelpTopic(this, helptopic::kManageTemplatesDialog);
    Refill();
    SelectPosition(m_ui->templatesList, 0);
    m_ui->nameEdit->setText(m_ui->templatesList->count() > 0 ? m_ui->templatesList->item(0)->text() : QString());
    UpdateButtons();

    connect(m_ui->templatesList, &QListWidget::itemSelectionChanged, this, &CDlgManageTemplates::OnSelectionChanged);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgManageTemplates::accept);
    connect(m_ui->renameButton, &QPushButton::clicked, this, &CDlgManageTemplates::OnRename);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CDlgManageTemplates::OnDelete);
    connect(m_ui->moveUpButton, &QPushButton::clicked, this, &CDlgManageTemplates::OnMoveUp);
    connect(m_ui->moveDownButton, &QPushButton::clicked, this, &CDlgManageTemplates::OnMoveDown);
    connect(m_ui->restoreButton, &QPushButton::clicked, this, &CDlgManageTemplates::OnRestoreBuiltIn);
}

CDlgManageTemplates::~CDlgManageTemplates() = default;

void CDlgManageTemplates::Refill() {
    QListWidget* list = m_ui->templatesList;
    const QSignalBlocker quiet(list);
    FillTemplateList(list, ToQtNames(m_store.ListTemplateNames()));
    // Every name shows whole, beside a vertical scroll bar, in the user's font.
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(row)->text()));
    const int chrome = 2 * list->frameWidth() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    list->setMinimumWidth(std::max(list->minimumWidth(), widest + chrome));
}

void CDlgManageTemplates::OnSelectionChanged() {
    if (QListWidgetItem* item = m_ui->templatesList->currentItem(); item && item->isSelected())
        m_ui->nameEdit->setText(item->text());
    UpdateButtons();
}

void CDlgManageTemplates::UpdateButtons() {
    const int position = SelectedPosition(m_ui->templatesList);
    const int count = m_ui->templatesList->count();
    m_ui->moveUpButton->setEnabled(position > 0);
    m_ui->moveDownButton->setEnabled(position >= 0 && position < count - 1);
}

bool CDlgManageTemplates::TakeSelection(QString& name, int& position) {
    position = SelectedPosition(m_ui->templatesList);
    name = position >= 0 ? m_ui->templatesList->item(position)->text() : QString();
    if (!name.isEmpty()) return true;
    m_dialogs.ShowMessage(this, templatetexts::kSelectTemplateFirst);
    return false;
}

void CDlgManageTemplates::OnDelete() {
    QString name;
    int position = -1;
    if (!TakeSelection(name, position)) return;
    if (m_dialogs.ShowMessage(this, templatetexts::kConfirmDelete.arg(name), IDialogService::Buttons::OkCancel,
                              IDialogService::Icon::Question) != IDialogService::Answer::Ok)
        return;
    std::string error;
    if (!m_store.DeleteTemplate(position, &error)) {
        m_dialogs.ShowMessage(this, QString::fromLocal8Bit(error));
        return;
    }
    Refill();
    const int count = m_ui->templatesList->count();
    const int selected = position < count ? position : count - 1;
    SelectPosition(m_ui->templatesList, selected);
    m_ui->nameEdit->setText(selected >= 0 ? m_ui->templatesList->item(selected)->text() : QString());
    UpdateButtons();
}

void CDlgManageTemplates::Move(bool up) {
    QString name;
    int position = -1;
    if (!TakeSelection(name, position)) return;
    const QString kept = m_ui->nameEdit->text();
    m_store.MoveTemplate(position, up);
    Refill();
    SelectPosition(m_ui->templatesList, up ? position - 1 : position + 1);
    m_ui->nameEdit->setText(kept);
    UpdateButtons();
}

void CDlgManageTemplates::OnMoveUp() { Move(true); }
void CDlgManageTemplates::OnMoveDown() { Move(false); }

void CDlgManageTemplates::OnRename() {
    QString name;
    int position = -1;
    if (!TakeSelection(name, position)) return;
    const QString newName = m_ui->nameEdit->text();
    if (const auto refusal = kestrune::CheckRenamedTemplateName(m_store.ListTemplateNames(),
                                                                 kestrune::convert::FromQt(newName))) {
        m_dialogs.ShowMessage(this, QString::fromLocal8Bit(*refusal));
        return;
    }
    if (m_dialogs.ShowMessage(this, templatetexts::kConfirmRename.arg(name, newName),
                              IDialogService::Buttons::OkCancel,
                              IDialogService::Icon::Question) != IDialogService::Answer::Ok)
        return;
    std::string error;
    if (!m_store.RenameTemplate(position, kestrune::convert::FromQt(newName), &error)) {
        m_dialogs.ShowMessage(this, QString::fromLocal8Bit(error));
        return;
    }
    Refill();
    SelectPosition(m_ui->templatesList, position);
    m_ui->nameEdit->setText(newName);
    UpdateButtons();
}

void CDlgManageTemplates::OnRestoreBuiltIn() {
    int restored = 0;
    std::string error;
    if (!m_store.RestoreBuiltInTemplates(&restored, &error)) {
        m_dialogs.ShowMessage(this, QString::fromLocal8Bit(error));
        return;
    }
    if (restored == 0) {
        m_dialogs.ShowMessage(this, templatetexts::kNothingToRestore, IDialogService::Buttons::Ok,
                              IDialogService::Icon::Information);
        return;
    }
    const QString selected = m_ui->nameEdit->text();
    Refill();
    const auto found = m_ui->templatesList->findItems(selected, Qt::MatchExactly);
    SelectPosition(m_ui->templatesList, found.isEmpty() ? 0 : m_ui->templatesList->row(found.front()));
    UpdateButtons();
}
