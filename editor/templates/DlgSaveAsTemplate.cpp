// SPDX-License-Identifier: GPL-3.0-or-later
#include "templates/DlgSaveAsTemplate.h"

#include "app/DialogService.h"
#include "help/HelpTopics.h"
#include "persist/TemplateNames.h"
#include "app/TextConvert.h"
#include "templates/TemplateNameList.h"
#include "ui_dlg_save_as_template.h"

CDlgSaveAsTemplate::CDlgSaveAsTemplate(const std::vector<std::string>& templateNames, IDialogService& dialogs,
                                       QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::DlgSaveAsTemplate>()), m_dialogs(dialogs), m_names(templateNames) {
    m_ui->setupUi(this);
    SetHelpTopic(this, helptopic::kSaveAsTemplateDialog);
    FillTemplateList(m_ui->templatesList, ToQtNames(templateNames));
    SelectPosition(m_ui->templatesList, 0);
    m_ui->nameEdit->setFocus();
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgSaveAsTemplate::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CDlgSaveAsTemplate::reject);
}

CDlgSaveAsTemplate::~CDlgSaveAsTemplate() = default;

void CDlgSaveAsTemplate::accept() {
    const QString name = m_ui->nameEdit->text();
    if (const auto refusal = kestrune::CheckNewTemplateName(m_names, kestrune::convert::FromQt(name))) {
        m_dialogs.ShowMessage(this, QString::fromLocal8Bit(*refusal));
        m_ui->nameEdit->setFocus();
        return;
    }
    m_name = name;
    m_insertPosition = std::max(0, SelectedPosition(m_ui->templatesList));
    QDialog::accept();
}
