// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QSettingsStore.h"

#include <QStringList>

#include "persist/PersistTexts.h"
#include "app/TextConvert.h"

namespace {

// The template list holds template names: text, Windows-1252 like the template file whose
// sections they name. The other entries are file paths, in the file system's spelling.
bool HoldsText(const std::string& section) { return section == kestrune::texts::kTemplateSection; }

}  // namespace

QSettingsStore::QSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quellary"), QStringLiteral("Kestrune")) {}

QSettingsStore::QSettingsStore(const QString& iniPath) : m_settings(iniPath, QSettings::IniFormat) {}

QString QSettingsStore::Path(const std::string& section, const std::string& key) {
    return QString::fromLocal8Bit(section) + QLatin1Char('/') + QString::fromLocal8Bit(key);
}

std::string QSettingsStore::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const {
    const QVariant value = m_settings.value(Path(section, key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited entry with unquoted commas reads as a list: it is still one text.
    const QString text =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
    return HoldsText(section) ? kestrune::convert::FromQt(text) : text.toLocal8Bit().toStdString();
}

int QSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    const QVariant value = m_settings.value(Path(section, key));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value) {
    m_settings.setValue(Path(section, key), HoldsText(section) ? kestrune::convert::ToQt(value)
                                                               : QString::fromLocal8Bit(value));
}

void QSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_settings.setValue(Path(section, key), value);
}

bool QSettingsStore::Contains(const std::string& section, const std::string& key) const {
    return m_settings.contains(Path(section, key));
}
