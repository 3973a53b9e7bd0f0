// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kestrune {

// 0x00BBGGRR: red in the lowest byte; the top byte is ignored on output.
using Color = std::int32_t;

// Six lower-case hex digits, red then green then blue.
std::string ColorText(Color color);

}  // namespace kestrune
