// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

// Per-user settings by section and key, with defaults on read. The editor adapts the
// platform store to it.
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

}  // namespace kestrune
