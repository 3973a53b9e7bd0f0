// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Menu-file lines whose keys all share one value of the standard library's unseeded
// string hash (libstdc++, 64 bit): the file a hash-flooding attack sends. Each key is
// two 8-byte blocks; the second one undoes the first one's effect on the hash state.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace kestrune::test {

namespace colliding {
constexpr std::uint64_t kMul = (std::uint64_t{0xc6a4a793} << 32) + 0x5bd1e995;
constexpr std::uint64_t kSeed = 0xc70f6907;

constexpr std::uint64_t ShiftMix(std::uint64_t v) { return v ^ (v >> 47); }  // its own inverse

constexpr std::uint64_t Inverse(std::uint64_t odd) {
    std::uint64_t inverse = odd;
    for (int i = 0; i < 6; ++i) inverse *= 2 - odd * inverse;
    return inverse;
}

inline bool FitsAKey(const char* block) {
    for (int i = 0; i < 8; ++i)
        if (block[i] == '\n' || block[i] == '\r' || block[i] == '=') return false;
    const unsigned char last = static_cast<unsigned char>(block[7]);
    return !(last == ' ' || (last >= '\t' && last <= '\r'));
}
}  // namespace colliding

// A "[Vorane2.0]" section of count "key=1" lines; colliding or with random second blocks.
inline std::string FloodingMenuText(std::size_t count, bool collide, unsigned seed = 7) {
    using namespace colliding;
    std::string text = "[Vorane2.0]\n";
    text.reserve(text.size() + count * 20);
    std::mt19937_64 random(seed);
    const std::uint64_t start = kSeed ^ (16 * kMul);
    for (std::size_t n = 0; text.size() < 12 + count * 19; ++n) {
        char first[9];
        std::snprintf(first, sizeof first, "k%07zu", n);
        std::uint64_t word1;
        std::memcpy(&word1, first, 8);
        const std::uint64_t state = (start ^ (ShiftMix(word1 * kMul) * kMul)) * kMul;
        // Mixing the second block must give state ^ 0, which leaves one state for all.
        const std::uint64_t word2 = collide ? ShiftMix(state * Inverse(kMul)) * Inverse(kMul) : random();
        char second[8];
        std::memcpy(second, &word2, 8);
        if (!FitsAKey(second)) continue;
        text.append(first, 8).append(second, 8).append("=1\n");
    }
    return text;
}

}  // namespace kestrune::test
