// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PageLanguageSetting.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include "app/DialogService.h"
#include "app/ShellTexts.h"
#include "base/SettingsStore.h"
#include "output/PageLanguage.h"

namespace pagelanguage {

std::string SystemLanguage() {
    const QLocale::Language language = QLocale::system().language();
    const std::string code = language == QLocale::C ? std::string() : QLocale::languageToCode(language).toStdString();
    return kestrune::PageLanguageOrDefault(code);
}

std::string Read(const kestrune::ISettingsStore& settings) {
    const std::string stored = settings.GetString(shelltexts::kSettingsSection, shelltexts::kPageLanguageKey);
    return kestrune::IsWellFormedLanguageTag(stored) ? stored : SystemLanguage();
}

void Write(kestrune::ISettingsStore& settings, const std::string& tag) {
    settings.SetString(shelltexts::kSettingsSection, shelltexts::kPageLanguageKey, tag);
}

std::string Ask(IDialogService& dialogs, QWidget* parent, const std::string& current) {
    QDialog dialog(parent);
    dialog.setWindowTitle(shelltexts::kPageLanguageCaption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* prompt = new QLabel(shelltexts::kPageLanguagePrompt, &dialog);
    prompt->setWordWrap(true);
    auto* field = new QLineEdit(QString::fromStdString(current), &dialog);
    field->setObjectName(QStringLiteral("languageTag"));
    field->setMaxLength(64);
    prompt->setBuddy(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(prompt);
    layout->addWidget(field);
    layout->addWidget(buttons);
    while (dialogs.ExecDialog(&dialog) == QDialog::Accepted) {
        const QString tag = field->text().trimmed();
        if (kestrune::IsWellFormedLanguageTag(tag.toStdString())) return tag.toStdString();
        dialogs.ShowMessage(&dialog, shelltexts::kPageLanguageMalformed.arg(tag), IDialogService::Buttons::Ok,
                            IDialogService::Icon::Warning);
    }
    return {};
}

}  // namespace pagelanguage
