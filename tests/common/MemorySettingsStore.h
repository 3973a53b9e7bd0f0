// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <map>
#include <string>
#include <utility>

#include "base/SettingsStore.h"

namespace kestrune {

// Settings kept in memory only, so that a test starts from none and leaves none behind.
class MemorySettingsStore : public ISettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue = {}) const override {
        auto found = m_entries.find({section, key});
        return found == m_entries.end() ? defaultValue : found->second;
    }
    int GetInt(const std::string& section, const std::string& key, int defaultValue = 0) const override {
        auto found = m_entries.find({section, key});
        if (found == m_entries.end()) return defaultValue;
        int value = defaultValue;
        const std::string& text = found->second;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() ? value : defaultValue;
    }
    void SetString(const std::string& section, const std::string& key, const std::string& value) override {
        m_entries[{section, key}] = value;
    }
    void SetInt(const std::string& section, const std::string& key, int value) override {
        m_entries[{section, key}] = std::to_string(value);
    }
    bool Contains(const std::string& section, const std::string& key) const override {
        return m_entries.count({section, key}) != 0;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_entries;
};

}  // namespace kestrune
