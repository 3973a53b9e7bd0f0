// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrune {

// A hash whose values depend on a secret key (SipHash-1-3), so that a file made to put its
// keys into one slot of a table cannot know which keys collide. Each table draws its own
// key when it is made.
struct HashKey {
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;

    // A key from the system's random source.
    static HashKey Random();
};

std::uint64_t KeyedHash(const HashKey& key, std::string_view text);

// For unordered containers of text views.
struct KeyedTextHash {
    HashKey key;
    std::size_t operator()(std::string_view text) const { return static_cast<std::size_t>(KeyedHash(key, text)); }
};

}  // namespace kestrune
