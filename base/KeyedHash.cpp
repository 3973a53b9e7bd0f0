// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/KeyedHash.h"

#include <bit>
#include <cstring>
#include <random>

namespace kestrune {

namespace {

struct SipState {
    std::uint64_t v0, v1, v2, v3;

    void Round() {
        v0 += v1;
        v1 = std::rotl(v1, 13) ^ v0;
        v0 = std::rotl(v0, 32);
        v2 += v3;
        v3 = std::rotl(v3, 16) ^ v2;
        v0 += v3;
        v3 = std::rotl(v3, 21) ^ v0;
        v2 += v1;
        v1 = std::rotl(v1, 17) ^ v2;
        v2 = std::rotl(v2, 32);
    }

    void Absorb(std::uint64_t word) {
        v3 ^= word;
        Round();
        v0 ^= word;
    }
};

std::uint64_t LittleEndianWord(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count; ++i) word |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    return word;
}

}  // namespace

HashKey HashKey::Random() {
    std::random_device source;
    const auto word = [&source] { return (std::uint64_t{source()} << 32) | source(); };
    HashKey key;
    key.k0 = word();
    key.k1 = word();
    return key;
}

std::uint64_t KeyedHash(const HashKey& key, std::string_view text) {
    SipState s{key.k0 ^ 0x736f6d6570736575ull, key.k1 ^ 0x646f72616e646f6dull, key.k0 ^ 0x6c7967656e657261ull,
               key.k1 ^ 0x7465646279746573ull};
    const char* at = text.data();
    const std::size_t whole = text.size() / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, at + i, 8);
        if constexpr (std::endian::native == std::endian::big) word = LittleEndianWord(at + i, 8);
        s.Absorb(word);
    }
    s.Absorb((std::uint64_t{text.size() & 0xFF} << 56) | LittleEndianWord(at + whole, text.size() - whole));
    s.v2 ^= 0xFF;
    s.Round();
    s.Round();
    s.Round();
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

}  // namespace kestrune
