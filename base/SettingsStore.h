// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <utility>

namespace kestrune {

// Per-user settings by section and key, with defaults on read. The editor adapts the
// platform store to it; tests use MemorySettingsStore.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue = {}) const = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue = 0) const = 0;
    virtual void SetString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;
    virtual bool Contains(const std::string& section, const std::string& key) const = 0;
};

class MemorySettingsStore : public ISettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = {}) const override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue = 0) const override;
    void SetString(const std::string& section, const std::string& key, const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    bool Contains(const std::string& section, const std::string& key) const override;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_entries;
};

}  // namespace kestrune
