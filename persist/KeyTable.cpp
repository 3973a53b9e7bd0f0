#include "persist/KeyTable.h"

#include <algorithm>

#include "base/FileAccess.h"
#include "base/TextRoutines.h"

namespace kestrune {

CKeyTable::EntryKey::EntryKey(std::size_t sectionIndex, std::string_view keyText)
    : section(sectionIndex),
      key(keyText),
      hash(std::hash<std::string_view>()(keyText) ^ (sectionIndex * 0x9E3779B97F4A7C15ull)) {}

std::size_t CKeyTable::SectionIndex(std::string_view header) {
    return m_sections.try_emplace(header, m_sections.size() + 1).first->second;
}

void CKeyTable::Parse(std::string text) {
    m_textSize += text.size();
    m_texts.push_back(std::make_unique<const std::string>(std::move(text)));
    const std::string_view kept = *m_texts.back();
    m_entries.reserve(m_entries.size() + static_cast<std::size_t>(std::count(kept.begin(), kept.end(), '\n')) + 1);
    std::size_t section = 0;
    ForEachLine(kept, [&](std::string_view rawLine) {
        const std::string_view line = TrimView(rawLine);
        if (line.empty()) return;
        if (line.front() == '[') {
            section = SectionIndex(line);
            return;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key = equals == std::string_view::npos ? line : TrimView(line.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        m_entries.insert_or_assign(EntryKey{section, key}, value);
    });
}

const std::string_view* CKeyTable::Find(std::string_view section, std::string_view key) const {
    std::string header;
    header.reserve(section.size() + 2);
    header.append("[").append(section).append("]");
    const auto found = m_sections.find(header);
    if (found == m_sections.end()) return nullptr;
    const auto entry = m_entries.find(EntryKey{found->second, key});
    return entry == m_entries.end() ? nullptr : &entry->second;
}

bool CKeyTable::HasSection(std::string_view section) const {
    std::string header;
    header.append("[").append(section).append("]");
    return m_sections.count(header) > 0;
}

bool ReadKeyTable(const std::string& path, CKeyTable& table, std::string* error) {
    std::string text;
    if (!ReadWholeFile(path, text, error)) return false;
    table.Parse(std::move(text));
    return true;
}

std::string_view GetKeyValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const CKeyTable& table) {
    const std::string_view* value = table.Find(section, key);
    return value ? *value : defaultValue;
}

std::vector<std::string_view> GetKeyFieldViews(std::string_view section, std::string_view key,
                                               std::string_view defaultValue, const CKeyTable& table, std::size_t n) {
    std::vector<std::string_view> fields = SplitFields(GetKeyValue(section, key, defaultValue, table), ',', n);
    fields.resize(n);
    return fields;
}

std::vector<std::string> GetKeyFields(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const CKeyTable& table, std::size_t n) {
    const std::vector<std::string_view> views = GetKeyFieldViews(section, key, defaultValue, table, n);
    return std::vector<std::string>(views.begin(), views.end());
}

}  // namespace kestrune
