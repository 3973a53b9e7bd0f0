// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a document's menu file: the front-to-back reader and the key-table
// reader must make the same model of them whenever the first takes them.
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!kestrune::fuzz::InOrderReadAgreesWithTable({reinterpret_cast<const char*>(data), size})) std::abort();
    return 0;
}
