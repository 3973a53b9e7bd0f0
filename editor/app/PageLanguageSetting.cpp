// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PageLanguageSetting.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <optional>

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

bool IsKnownLanguageTag(const std::string& tag) {
    if (!kestrune::IsWellFormedLanguageTag(tag)) return false;
    const QString primary = QString::fromStdString(tag.substr(0, tag.find('-'))).toLower();
    // Two or three letters name a language; "x" and "i" start private and old tags.
    return primary.size() >= 2 && primary.size() <= 3 && QLocale::codeToLanguage(primary) != QLocale::AnyLanguage;
}

namespace {
std::optional<QLocale::Language> LanguageNamed(const QString& name) {
    for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
        const auto language = static_cast<QLocale::Language>(value);
        if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0 ||
            QLocale(language).nativeLanguageName().compare(name, Qt::CaseInsensitive) == 0)
            return language;
    }
    return std::nullopt;
}
}  // namespace

TypedLanguage ReadTypedLanguage(const QString& typed) {
    const QString text = typed.trimmed();
    if (IsKnownLanguageTag(text.toStdString())) return {text.toStdString(), {}};
    const auto language = text.isEmpty() ? std::nullopt : LanguageNamed(text);
    if (!language) return {};
    const QString tag = QLocale::languageToCode(*language);
    return {tag.toStdString(), shelltexts::kPageLanguageNamed.arg(text, QLocale::languageToString(*language), tag)};
}

std::string Read(const kestrune::ISettingsStore& settings) {
    const std::string stored = settings.GetString(shelltexts::kSettingsSection, shelltexts::kPageLanguageKey);
    return IsKnownLanguageTag(stored) ? stored : SystemLanguage();
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
        const TypedLanguage language = ReadTypedLanguage(field->text());
        if (!language.note.isEmpty())
            dialogs.ShowMessage(parent, language.note, IDialogService::Buttons::Ok, IDialogService::Icon::Information);
        if (!language.tag.empty()) return language.tag;
        dialogs.ShowMessage(&dialog, shelltexts::kPageLanguageMalformed.arg(field->text().trimmed()),
                            IDialogService::Buttons::Ok, IDialogService::Icon::Warning);
    }
    return {};
}

}  // namespace pagelanguage
