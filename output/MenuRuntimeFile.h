// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrune {

// The script runtime ships in the program folder; a page written with the runtime's line
// needs a copy beside it; a document save writes it with the page and its menu file.
inline constexpr const char* kMenuRuntimeFileName = "kestrune-menu.js";

}  // namespace kestrune
