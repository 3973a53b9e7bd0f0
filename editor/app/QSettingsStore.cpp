// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QSettingsStore.h"

#include <sys/stat.h>

#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include "base/FileTexts.h"
#include "persist/PersistTexts.h"
#include "app/TextConvert.h"

namespace {

// The template list holds template names: text, Windows-1252 like the template file whose
// sections they name. The other entries are file paths, in the file system's spelling.
bool HoldsText(const std::string& section) { return section == kestrune::texts::kTemplateSection; }

// The native file of organisation "Quellary" and application "Kestrune".
QString NativeSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quellary/Kestrune.conf");
}

// Something is there that QSettings would open and wait on or fail with.
bool IsUnusableFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

QSettingsStore::QSettingsStore() {
    const QString path = NativeSettingsPath();
    if (IsUnusableFile(path)) {
        m_problem = QString::fromLatin1(kestrune::texts::kSettingsFileUnusable).arg(path);
        return;
    }
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quellary"),
                                             QStringLiteral("Kestrune"));
}

QSettingsStore::QSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

void QSettingsStore::Sync() {
    if (m_settings) m_settings->sync();
}

QVariant QSettingsStore::Value(const std::string& section, const std::string& key) const {
    if (m_settings) return m_settings->value(Path(section, key));
    const auto found = m_memory.find(Path(section, key));
    return found == m_memory.end() ? QVariant() : found->second;
}

QString QSettingsStore::Path(const std::string& section, const std::string& key) {
    return QString::fromLocal8Bit(section) + QLatin1Char('/') + QString::fromLocal8Bit(key);
}

std::string QSettingsStore::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue) const {
    const QVariant value = Value(section, key);
    if (!value.isValid()) return defaultValue;
    // A hand-edited entry with unquoted commas reads as a list: it is still one text.
    const QString text =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
    return HoldsText(section) ? kestrune::convert::FromQt(text) : text.toLocal8Bit().toStdString();
}

int QSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    const QVariant value = Value(section, key);
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QSettingsStore::SetString(const std::string& section, const std::string& key, const std::string& value) {
    const QVariant stored = HoldsText(section) ? kestrune::convert::ToQt(value) : QString::fromLocal8Bit(value);
    if (m_settings) m_settings->setValue(Path(section, key), stored);
    else m_memory[Path(section, key)] = stored;
}

void QSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    if (m_settings) m_settings->setValue(Path(section, key), value);
    else m_memory[Path(section, key)] = value;
}

bool QSettingsStore::Contains(const std::string& section, const std::string& key) const {
    return Value(section, key).isValid();
}
