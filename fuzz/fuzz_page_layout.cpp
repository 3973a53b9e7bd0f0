// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an open path and a page, laid out as the command line's layout does
// without the runtime: JSON or an error, rectangles in bounds, hit tests that hold.
#include <cstdint>
#include <cstdlib>

#include "fuzz/MediaFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::PageLayoutHolds(data, size)) std::abort();
    return 0;
}
