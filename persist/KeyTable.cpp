#include "persist/KeyTable.h"

#include "persist/FileAccess.h"
#include "persist/TextRoutines.h"

namespace kestrune {

std::string CKeyTable::Compose(std::string_view header, std::string_view key) {
    std::string composed;
    composed.reserve(header.size() + 1 + key.size());
    composed.append(header);
    composed.push_back('\n');
    composed.append(key);
    return composed;
}

void CKeyTable::Parse(std::string_view text) {
    // Entries before the first header have no section: "\n" + key, which no lookup forms.
    std::string header;
    ForEachLine(text, [&](std::string_view rawLine) {
        const std::string_view line = TrimView(rawLine);
        if (line.empty()) return;
        if (line.front() == '[') {
            header.assign(line);
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            m_entries.insert_or_assign(Compose(header, line), std::string());
            return;
        }
        m_entries.insert_or_assign(Compose(header, TrimView(line.substr(0, equals))),
                                   std::string(line.substr(equals + 1)));
    });
}

const std::string* CKeyTable::Find(std::string_view section, std::string_view key) const {
    std::string composed;
    composed.reserve(section.size() + key.size() + 3);
    composed.push_back('[');
    composed.append(section);
    composed.append("]\n");
    composed.append(key);
    const auto found = m_entries.find(composed);
    return found == m_entries.end() ? nullptr : &found->second;
}

bool ReadKeyTable(const std::string& path, CKeyTable& table) {
    std::string text;
    if (!ReadWholeFile(path, text)) return false;
    table.Parse(text);
    return true;
}

std::string_view GetKeyValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const CKeyTable& table) {
    const std::string* value = table.Find(section, key);
    return value ? std::string_view(*value) : defaultValue;
}

std::vector<std::string> GetKeyFields(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const CKeyTable& table, std::size_t n) {
    std::vector<std::string> fields;
    fields.reserve(n);
    for (std::string_view field : SplitFields(GetKeyValue(section, key, defaultValue, table), ',', n))
        fields.emplace_back(field);
    fields.resize(n);
    return fields;
}

}  // namespace kestrune
