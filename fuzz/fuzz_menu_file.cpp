// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a menu file's text, read through the key table as a document and as
// a template: what the writer makes of the model reads back to the same text.
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::MenuFileRoundTripHolds({reinterpret_cast<const char*>(data), size})) std::abort();
    return 0;
}
