// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an item's link: the page's plain list of links writes no href a
// browser reads as a script link.
#include <cstdint>
#include <cstdlib>

#include "fuzz/LinkFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::WrittenLinkIsSafe({reinterpret_cast<const char*>(data), size})) std::abort();
    return 0;
}
