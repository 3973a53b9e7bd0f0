// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a page whose applet parameters the viewer reads: the reader ends
// with an applet or an error, within the fuzzer's time and memory limits.
#include <cstdint>
#include <cstdlib>

#include "fuzz/MediaFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::PageParametersHold({reinterpret_cast<const char*>(data), size})) std::abort();
    return 0;
}
