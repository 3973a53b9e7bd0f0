// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/DlgWebBrowser.h"

#include "app/DialogService.h"
#include "browser/BrowserTexts.h"
#include "ui_dlg_web_browser.h"

using kestrune::BrowserChoice;

namespace {
constexpr int kPathChars = 40;

CDlgWebBrowser::Choice ChoiceOfMode(int mode) {
    if (mode == BrowserChoice::kDefault) return CDlgWebBrowser::kUseDefault;
    if (mode == BrowserChoice::kSpecified) return CDlgWebBrowser::kSpecifiedBrowser;
    return CDlgWebBrowser::kKnownBrowser;
}
}  // namespace

CDlgWebBrowser::CDlgWebBrowser(IDialogService& dialogs, const QStringList& knownBrowserNames,
                               const BrowserChoice& current, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_ui(std::make_unique<Ui::DlgWebBrowser>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Room for a whole program path such as /usr/lib/chromium/chromium, in the user's font.
    m_ui->editPath->setMinimumWidth(QFontMetrics(m_ui->editPath->font()).averageCharWidth() * kPathChars);
    switch (ChoiceOfMode(current.mode)) {
        case kUseDefault: m_ui->radioDefault->setChecked(true); break;
        case kKnownBrowser: m_ui->radioKnown->setChecked(true); break;
        case kSpecifiedBrowser: m_ui->radioSpecified->setChecked(true); break;
    }
    m_ui->comboKnown->addItems(knownBrowserNames);
    // An index outside the list selects nothing.
    m_ui->comboKnown->setCurrentIndex(current.knownIndex < m_ui->comboKnown->count() ? current.knownIndex : -1);
    m_ui->editPath->setText(QString::fromLocal8Bit(current.path.data(), static_cast<qsizetype>(current.path.size())));

    connect(m_ui->buttonBrowse, &QPushButton::clicked, this, &CDlgWebBrowser::ChooseProgram);
    connect(m_ui->buttonOk, &QPushButton::clicked, this, &CDlgWebBrowser::accept);
    connect(m_ui->buttonCancel, &QPushButton::clicked, this, &CDlgWebBrowser::reject);
}

CDlgWebBrowser::~CDlgWebBrowser() = default;

CDlgWebBrowser::Choice CDlgWebBrowser::SelectedChoice() const {
    if (m_ui->radioSpecified->isChecked()) return kSpecifiedBrowser;
    if (m_ui->radioKnown->isChecked()) return kKnownBrowser;
    return kUseDefault;
}

int CDlgWebBrowser::KnownBrowserPosition() const { return m_ui->comboKnown->currentIndex(); }

QString CDlgWebBrowser::BrowserPath() const { return m_ui->editPath->text(); }

BrowserChoice CDlgWebBrowser::ApplyTo(const BrowserChoice& previous) const {
    BrowserChoice result = previous;
    switch (SelectedChoice()) {
        case kUseDefault:
            result.mode = BrowserChoice::kDefault;
            break;
        case kKnownBrowser:
            result.mode = BrowserChoice::kKnown;
            result.knownIndex = KnownBrowserPosition();
            break;
        case kSpecifiedBrowser:
            result.mode = BrowserChoice::kSpecified;
            result.path = BrowserPath().toLocal8Bit().toStdString();
            break;
    }
    return result;
}

void CDlgWebBrowser::ChooseProgram() {
    const QString path = m_dialogs.GetOpenFileName(this, browsertexts::kChooseProgramCaption, QString(),
                                                   browsertexts::kProgramFilter);
    if (!path.isEmpty()) m_ui->editPath->setText(path);
}

void CDlgWebBrowser::accept() {
    if (SelectedChoice() == kSpecifiedBrowser && BrowserPath().isEmpty()) {
        m_dialogs.ShowMessage(this, browsertexts::kMustSpecifyBrowser, IDialogService::Buttons::Ok,
                              IDialogService::Icon::Warning);
        m_ui->editPath->setFocus();
        return;
    }
    QDialog::accept();
}
