// Arbitrary bytes as a menu file: reading is bounded and writing then reading again is a
// fixed point.
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::MenuFileRoundTripHolds({reinterpret_cast<const char*>(data), size})) std::abort();
    return 0;
}
