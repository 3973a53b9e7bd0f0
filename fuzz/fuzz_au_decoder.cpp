// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an AU sound: decoding gives a sound or an error and never reads or
// makes more than the bytes allow.
#include <cstdint>
#include <cstdlib>

#include "fuzz/MediaFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::AuDecodingHolds(data, size)) std::abort();
    return 0;
}
