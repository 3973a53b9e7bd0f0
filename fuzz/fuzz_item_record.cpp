// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a clipboard record: reading never faults and a record that reads
// writes back to bytes that read to the same record.
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::ItemRecordRoundTripHolds(data, size)) std::abort();
    return 0;
}
