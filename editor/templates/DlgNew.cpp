// SPDX-License-Identifier: GPL-3.0-or-later
#include "templates/DlgNew.h"

#include "app/DialogService.h"
#include "help/HelpTopics.h"
#include "templates/TemplateDialogTexts.h"
#include "templates/TemplateNameList.h"
#include "model/AppletParameters.h"
#include "templates/TemplatePicture.h"
#include "ui_dlg_new.h"

CDlgNew::CDlgNew(const std::vector<std::string>& templateNames, IDialogService& dialogs, QWidget* parent,
                 TemplateLoader loadTemplate)
    : QDialog(parent), m_ui(std::make_unique<Ui::DlgNew>()), m_loadTemplate(std::move(loadTemplate)), m_dialogs(dialogs) {
    m_ui->setupUi(this);
    SetHelpTopic(this, helptopic::kNewDialog);
    m_ui->templatePicture->setVisible(bool(m_loadTemplate));
    connect(m_ui->templatesList, &QListWidget::currentRowChanged, this, &CDlgNew::ShowPicture);
    FillTemplateList(m_ui->templatesList, ToQtNames(templateNames));
    SelectPosition(m_ui->templatesList, 0);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CDlgNew::accept);
    connect(m_ui->templatesList, &QListWidget::itemDoubleClicked, this, &CDlgNew::accept);
}

CDlgNew::~CDlgNew() = default;

void CDlgNew::accept() {
    m_chosenPosition = SelectedPosition(m_ui->templatesList);
    // With nothing chosen the new document still starts, from no template at all.
    if (m_chosenPosition < 0) m_dialogs.ShowMessage(this, templatetexts::kSelectTemplateToNew);
    QDialog::accept();
}

void CDlgNew::ShowPicture(int position) {
    if (!m_loadTemplate) return;
    if (position < 0) return m_ui->templatePicture->clear();
    if (!m_pictures.contains(position)) {
        kestrune::CAppletParameters applet;
        const QSize bound = m_ui->templatePicture->contentsRect().size().expandedTo(m_ui->templatePicture->minimumSize());
        m_pictures.insert(position, m_loadTemplate(position, applet)
                                        ? DrawMenuPicture(applet, bound, devicePixelRatioF())
                                        : QImage());
    }
    m_ui->templatePicture->setPixmap(QPixmap::fromImage(m_pictures.value(position)));
}
