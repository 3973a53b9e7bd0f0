// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

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

    void Sync() { m_settings.sync(); }

private:
    static QString Path(const std::string& section, const std::string& key);

    mutable QSettings m_settings;
};
