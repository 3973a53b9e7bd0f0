// SPDX-License-Identifier: GPL-3.0-or-later
#include "persist/KeyTable.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/FileAccess.h"
#include "base/FileTexts.h"
#include "base/TaskProgress.h"
#include "base/TextRoutines.h"

namespace kestrune {

std::uint32_t CKeyTable::SectionIndex(std::string_view headerLine) {
    // A header without its closing bracket still ends the section before it, but no
    // lookup can name it.
    if (headerLine.size() < 2 || headerLine.back() != ']') return ++m_sectionCount;
    const auto [found, added] = m_sections.try_emplace(headerLine.substr(1, headerLine.size() - 2), 0);
    if (added) found->second = ++m_sectionCount;
    return found->second;
}

namespace {
// How many lines or entries pass between two looks for a Cancel.
constexpr std::size_t kCancelStride = std::size_t{1} << 16;

bool CancelledAt(std::size_t step, const TaskProgress* progress) {
    return progress && step % kCancelStride == 0 && progress->Cancelled();
}
}  // namespace

std::uint32_t CKeyTable::HashOf(std::uint32_t section, std::string_view key) const {
    const std::uint64_t hash = KeyedHash(m_hashKey, key) ^ (section * 0x9E3779B97F4A7C15ull);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

const char* CKeyTable::TextOf(std::size_t entry) const {
    if (m_texts.size() == 1) return m_texts.front()->data();
    const auto after = std::upper_bound(m_textFirstEntry.begin(), m_textFirstEntry.end(), entry);
    return m_texts[static_cast<std::size_t>(after - m_textFirstEntry.begin()) - 1]->data();
}

std::string_view CKeyTable::KeyOf(std::size_t entry) const {
    return {TextOf(entry) + m_entries[entry].keyAt, m_entries[entry].keyLength};
}

std::string_view CKeyTable::ValueOf(std::size_t entry) const {
    return {TextOf(entry) + m_entries[entry].valueAt, m_entries[entry].valueLength};
}

std::size_t CKeyTable::SlotOf(std::uint32_t section, std::string_view key, std::uint32_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t held = m_slots[slot];
        if (held == 0) return slot;
        ++m_extraProbes;
        if (held >> 32 != hash) continue;
        const std::size_t entry = HeldEntry(held);
        if (SectionOf(m_entries[entry]) == section && KeyOf(entry) == key) return slot;
    }
}

void CKeyTable::ResizeIndex(std::size_t liveEntries, std::size_t indexedEntries) {
    // At most half full, so probes stay short.
    std::size_t size = 64;
    while (size < 2 * liveEntries) size *= 2;
    if (size <= m_slots.size()) return;
    m_slots.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < indexedEntries; ++i) {
        if (IsReplaced(m_entries[i])) continue;
        std::size_t slot = m_entries[i].hash & mask;
        while (m_slots[slot] != 0) slot = (slot + 1) & mask;
        m_slots[slot] = SlotValue(m_entries[i].hash, i);
    }
}

bool CKeyTable::IndexEntries(std::size_t first, const TaskProgress* progress) {
    ResizeIndex(m_liveEntries + (m_entries.size() - first), first);
    const std::size_t mask = m_slots.size() - 1;
    // The slots are visited in hash order, so each one is asked for well before it is
    // needed: a large file then waits for memory once per batch, not once per line.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = first; i < m_entries.size(); ++i) {
        if (CancelledAt(i - first, progress)) return false;
        if (i + kAhead < m_entries.size()) __builtin_prefetch(&m_slots[m_entries[i + kAhead].hash & mask], 1);
        const Entry& entry = m_entries[i];
        const std::size_t slot = SlotOf(SectionOf(entry), KeyOf(i), entry.hash);
        if (m_slots[slot] != 0)
            m_entries[HeldEntry(m_slots[slot])].section |= kReplaced;
        else
            ++m_liveEntries;
        m_slots[slot] = SlotValue(entry.hash, i);
    }
    return true;
}

namespace {

std::size_t CountLineFeeds(std::string_view text) {
    std::size_t count = 0;
    for (const char* at = text.data(), *end = text.data() + text.size();
         (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)))) != nullptr; ++at)
        ++count;
    return count;
}

// The lines that become entries: neither blank nor a section header.
std::size_t CountEntryLines(std::string_view text) {
    std::size_t count = 0;
    ForEachLine(text, [&count](std::string_view rawLine) {
        const std::string_view line = TrimView(rawLine);
        if (!line.empty() && line.front() != '[') ++count;
    });
    return count;
}

}  // namespace

bool CKeyTable::SplitLines(std::string_view kept, const TaskProgress* progress) {
    std::uint32_t section = 0;
    std::size_t lines = 0;
    bool cancelled = false;
    const auto at = [&](std::string_view part) { return static_cast<std::uint32_t>(part.data() - kept.data()); };
    ForEachLine(kept, [&](std::string_view rawLine) {
        if (cancelled || (cancelled = CancelledAt(++lines, progress))) return;
        const std::string_view line = TrimView(rawLine);
        if (line.empty()) return;
        if (line.front() == '[') {
            section = SectionIndex(line);
            return;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key = equals == std::string_view::npos ? line : TrimView(line.substr(0, equals));
        const std::string_view value = equals == std::string_view::npos ? line.substr(line.size()) : line.substr(equals + 1);
        m_entries.push_back(Entry{at(key), static_cast<std::uint32_t>(key.size()), at(value),
                                  static_cast<std::uint32_t>(value.size()), section, HashOf(section, key)});
    });
    return !cancelled;
}

void CKeyTable::Parse(std::string text, const TaskProgress* progress) {
    // Places in a text are kept in 32 bits; no file read is near that size.
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) text.resize(std::numeric_limits<std::uint32_t>::max());
    m_textSize += text.size();
    m_texts.push_back(std::make_unique<const std::string>(std::move(text)));
    m_textFirstEntry.push_back(m_entries.size());
    const std::string_view kept = *m_texts.back();
    // One entry per line at most: sized once, the entries never move while being added.
    // No honest file has more entries than its size allows, so neither has the table.
    const std::size_t allowed = EntryBudgetFor(m_textSize);
    const std::size_t lines = CountLineFeeds(kept) + 1;
    if (m_entries.size() + lines > allowed && m_entries.size() + CountEntryLines(kept) > allowed) {
        m_overfull = true;
        return;
    }
    m_entries.reserve(m_entries.size() + lines);
    const std::size_t first = m_entries.size();
    if (SplitLines(kept, progress) && IndexEntries(first, progress)) return;
    *this = CKeyTable();
    m_cancelled = true;
}

std::optional<std::string_view> CKeyTable::Find(std::string_view section, std::string_view key) const {
    const auto found = m_sections.find(section);
    if (found == m_sections.end()) return std::nullopt;
    const std::uint32_t index = found->second;
    if (m_next < m_entries.size()) {
        const Entry& next = m_entries[m_next];
        if (next.section == index && KeyOf(m_next) == key) return ValueOf(m_next++);
    }
    if (m_slots.empty()) return std::nullopt;
    const std::uint64_t held = m_slots[SlotOf(index, key, HashOf(index, key))];
    if (held == 0) return std::nullopt;
    m_next = HeldEntry(held) + 1;
    return ValueOf(HeldEntry(held));
}

bool CKeyTable::HasSection(std::string_view section) const { return m_sections.count(section) > 0; }

bool ReadKeyTable(const std::string& path, CKeyTable& table, std::string* error, const TaskProgress* progress) {
    std::string text;
    if (!ReadWholeFile(path, text, error)) return false;
    table.Parse(std::move(text), progress);
    if (table.Cancelled()) return false;
    if (!table.Overfull()) return true;
    if (error) *error = FormatMessage(texts::kTooManyLines, path);
    table = CKeyTable();
    return false;
}

std::string_view GetKeyValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const CKeyTable& table) {
    return table.Find(section, key).value_or(defaultValue);
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
