// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SettingsStore.h"

#include <charconv>

namespace kestrune {

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue) const {
    auto found = m_entries.find({section, key});
    return found == m_entries.end() ? defaultValue : found->second;
}

int MemorySettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    auto found = m_entries.find({section, key});
    if (found == m_entries.end()) return defaultValue;
    int value = defaultValue;
    const std::string& text = found->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : defaultValue;
}

void MemorySettingsStore::SetString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    m_entries[{section, key}] = value;
}

void MemorySettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_entries[{section, key}] = std::to_string(value);
}

bool MemorySettingsStore::Contains(const std::string& section, const std::string& key) const {
    return m_entries.count({section, key}) != 0;
}

}  // namespace kestrune
