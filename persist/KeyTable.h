#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrune {

// Every entry of a menu or template file under its section header and key, built from
// the whole file. Lookups are exact and case-sensitive; a later entry replaces an
// earlier one with the same section and key.
class CKeyTable {
public:
    // Adds the entries of a whole file's text.
    void Parse(std::string_view text);

    // The value under "[section]" and key, or nullptr.
    const std::string* Find(std::string_view section, std::string_view key) const;
    std::size_t EntryCount() const { return m_entries.size(); }
    void Clear() { m_entries.clear(); }

private:
    static std::string Compose(std::string_view header, std::string_view key);
    // The header line, brackets included, and the key; LF never occurs in either.
    std::unordered_map<std::string, std::string> m_entries;
};

// Reads the file into the table; false when it cannot be opened or read.
bool ReadKeyTable(const std::string& path, CKeyTable& table);

// The key's value (or defaultValue when absent) split at every ",", cut or padded with
// empty fields to exactly n.
std::vector<std::string> GetKeyFields(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const CKeyTable& table, std::size_t n);

// The key's value or defaultValue.
std::string_view GetKeyValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const CKeyTable& table);

}  // namespace kestrune
