// Reads arbitrary bytes as a clipboard record; a record that reads is written again and
// must read back to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "model/VoraneItem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto item = kestrune::ReadItemRecord(data, size);
    if (!item) return 0;
    const auto bytes = kestrune::WriteItemRecord(*item);
    auto again = kestrune::ReadItemRecord(bytes.data(), bytes.size());
    if (!again || kestrune::WriteItemRecord(*again) != bytes) std::abort();
    return 0;
}
