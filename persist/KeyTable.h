// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/KeyedHash.h"
#include "model/ModelLimits.h"

namespace kestrune {

class TaskProgress;

// Every entry of a menu or template file under its section header and key, built from
// the whole file. Lookups are exact and case-sensitive; a later entry replaces an
// earlier one with the same section and key. Entries before the first header belong to
// no section and are never found. Keys and values point into the kept file text, so a
// large file costs one copy of its bytes and no allocation per entry. Keys are hashed
// with a key drawn for each table, so no file can choose keys that collide.
class CKeyTable {
public:
    // Adds the entries of a whole file's text. A Cancel on progress, looked for while the
    // lines are split and indexed, leaves the table empty and Cancelled().
    void Parse(std::string text, const TaskProgress* progress = nullptr);

    // The value under "[section]" and key, if there is one. Readers ask in the order the
    // file was written, so the entry after the last one found is tried before the index.
    // The remembered place makes lookups on one table unsafe from several threads.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    std::size_t EntryCount() const { return m_liveEntries; }
    // Bytes of text parsed; whether any section header was seen.
    std::size_t TextSize() const { return m_textSize; }
    bool HasSection(std::string_view section) const;

    // How many menus and items a model read from this table may hold at most. Every
    // honest menu and item has a line of its own of at least kBytesPerModelObject bytes,
    // so the bound never cuts a real file short, and a short file that claims millions of
    // items costs no more than a few dozen times its size.
    static constexpr std::size_t kBytesPerModelObject = 16;
    static constexpr std::size_t kModelObjectSlack = 256;
    std::size_t ModelObjectBudget() const { return ModelObjectBudgetFor(m_textSize); }
    static constexpr std::size_t kMaxModelObjects = kestrune::kMaxModelObjects;
    static std::size_t ModelObjectBudgetFor(std::size_t textSize) {
        return std::min(textSize / kBytesPerModelObject + kModelObjectSlack, kMaxModelObjects);
    }

    // How many entries the table takes from a text of that size. The shortest line an
    // honest file holds is an item line of the older layout with empty texts ("I0-1=,,,"
    // and its line end: 10 bytes), so a table entry (24 bytes and its index slot) costs
    // a few times its line at most, while a file of bare "a=" lines would cost 16 times
    // its size. A text with more entries is marked overfull and not taken further.
    static constexpr std::size_t kMinEntryBytes = 8;
    static std::size_t EntryBudgetFor(std::size_t textSize) { return textSize / kMinEntryBytes + kModelObjectSlack; }
    bool Overfull() const { return m_overfull; }
    bool Cancelled() const { return m_cancelled; }

    // Probes made by Parse and Find so far: slots looked at beyond the first.
    std::uint64_t ExtraProbes() const { return m_extraProbes; }

private:
    // A line as places in its text: a large file has millions, so each is kept small.
    struct Entry {
        std::uint32_t keyAt;
        std::uint32_t keyLength;
        std::uint32_t valueAt;
        std::uint32_t valueLength;
        std::uint32_t section;  // index of the section (0 is "no section"), kReplaced added
        std::uint32_t hash;
    };
    // In section: a later line has the same section and key.
    static constexpr std::uint32_t kReplaced = std::uint32_t{1} << 31;
    static std::uint32_t SectionOf(const Entry& entry) { return entry.section & ~kReplaced; }
    static bool IsReplaced(const Entry& entry) { return (entry.section & kReplaced) != 0; }
    const char* TextOf(std::size_t entry) const;
    std::string_view KeyOf(std::size_t entry) const;
    std::string_view ValueOf(std::size_t entry) const;
    std::uint32_t SectionIndex(std::string_view headerLine);
    std::uint32_t HashOf(std::uint32_t section, std::string_view key) const;
    // The slot holding the entry of section and key, or the empty slot where it belongs.
    std::size_t SlotOf(std::uint32_t section, std::string_view key, std::uint32_t hash) const;
    void ResizeIndex(std::size_t liveEntries, std::size_t indexedEntries);
    // Indexes the entries from first on; an entry whose key is there already replaces it.
    // False when progress was cancelled.
    bool IndexEntries(std::size_t first, const TaskProgress* progress);
    bool SplitLines(std::string_view kept, const TaskProgress* progress);

    std::vector<std::unique_ptr<const std::string>> m_texts;
    std::vector<std::size_t> m_textFirstEntry;  // per text, the index of its first entry
    std::size_t m_textSize = 0;
    HashKey m_hashKey = HashKey::Random();
    std::unordered_map<std::string_view, std::uint32_t, KeyedTextHash> m_sections{
        0, KeyedTextHash{m_hashKey}};  // names between the brackets
    std::uint32_t m_sectionCount = 0;
    std::vector<Entry> m_entries;        // in file order, one allocation for all
    // Open addressing: the entry's hash above its index + 1, 0 when free. The hash kept in
    // the slot settles most probes without a trip to the entry.
    std::vector<std::uint64_t> m_slots;
    static std::uint64_t SlotValue(std::uint32_t hash, std::size_t entry) {
        return (std::uint64_t{hash} << 32) | static_cast<std::uint32_t>(entry + 1);
    }
    static std::size_t HeldEntry(std::uint64_t slot) { return static_cast<std::uint32_t>(slot) - std::size_t{1}; }
    std::size_t m_liveEntries = 0;
    bool m_overfull = false;
    bool m_cancelled = false;
    mutable std::size_t m_next = 0;
    mutable std::uint64_t m_extraProbes = 0;
};

// Reads the file into the table; false when it cannot be opened or read (the reason in
// *error: missing, not a regular file, larger than kMaxMenuFileBytes, more lines than a
// menu file of its size holds) or when progress was cancelled (table.Cancelled()).
bool ReadKeyTable(const std::string& path, CKeyTable& table, std::string* error = nullptr,
                  const TaskProgress* progress = nullptr);

// The key's value (or defaultValue when absent) split at every ",", cut or padded with
// empty fields to exactly n.
std::vector<std::string> GetKeyFields(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const CKeyTable& table, std::size_t n);

// The same fields as views into the table (or into defaultValue), without copies.
std::vector<std::string_view> GetKeyFieldViews(std::string_view section, std::string_view key,
                                               std::string_view defaultValue, const CKeyTable& table, std::size_t n);

// The key's value or defaultValue.
std::string_view GetKeyValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                             const CKeyTable& table);

}  // namespace kestrune
