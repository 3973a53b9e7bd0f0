#include "app/QSettingsStore.h"

#include <QStringList>

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
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toLocal8Bit().toStdString();
    return value.toString().toLocal8Bit().toStdString();
}

int QSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    const QVariant value = m_settings.value(Path(section, key));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value) {
    m_settings.setValue(Path(section, key), QString::fromLocal8Bit(value));
}

void QSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_settings.setValue(Path(section, key), value);
}

bool QSettingsStore::Contains(const std::string& section, const std::string& key) const {
    return m_settings.contains(Path(section, key));
}
