// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <map>
#include <memory>

#include "base/SettingsStore.h"

// The per-user settings store of the platform: QSettings under "Quellary" / "Kestrune";
// a section is a group, an entry keeps its name.
class QSettingsStore : public kestrune::ISettingsStore {
public:
    QSettingsStore();
    // A store in a given file (INI format), for tools and tests.
    explicit QSettingsStore(const QString& iniPath);

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = {}) const override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue = 0) const override;
    void SetString(const std::string& section, const std::string& key, const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    bool Contains(const std::string& section, const std::string& key) const override;

    void Sync();
    // Why the settings file is not used this run (it is a pipe, a device or a folder,
    // which would block or fail every read), or empty. The run then keeps its settings
    // in memory only.
    const QString& Problem() const { return m_problem; }

private:
    static QString Path(const std::string& section, const std::string& key);
    QVariant Value(const std::string& section, const std::string& key) const;

    std::unique_ptr<QSettings> m_settings;
    QString m_problem;
    std::map<QString, QVariant> m_memory;  // in place of an unusable file
};
