// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FoldedSearch.h"

namespace kestrune {

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte);
    for (int byte = 'A'; byte <= 'Z'; ++byte) table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte + 32);
    for (int byte = 0xC0; byte <= 0xDE; ++byte)
        if (byte != 0xD7) table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(byte + 32);
    table[0x8A] = 0x9A;  // Š
    table[0x8C] = 0x9C;  // Œ
    table[0x8E] = 0x9E;  // Ž
    table[0x9F] = 0xFF;  // Ÿ
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

unsigned char FoldCase(unsigned char byte) { return kFold[byte]; }

FoldedNeedle::FoldedNeedle(std::string_view needle) : m_needle(needle) {
    for (char& c : m_needle) c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
}

bool FoldedNeedle::FoundIn(std::string_view text) const {
    if (m_needle.empty()) return true;
    if (text.size() < m_needle.size()) return false;
    const auto first = static_cast<unsigned char>(m_needle[0]);
    const std::size_t last = text.size() - m_needle.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (kFold[static_cast<unsigned char>(text[at])] != first) continue;
        std::size_t i = 1;
        while (i < m_needle.size() &&
               kFold[static_cast<unsigned char>(text[at + i])] == static_cast<unsigned char>(m_needle[i]))
            ++i;
        if (i == m_needle.size()) return true;
    }
    return false;
}

}  // namespace kestrune
