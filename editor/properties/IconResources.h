// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The icon resources live in the editor library; a static library's resource
// initialiser is only linked in when someone asks for it.
void EnsureIconResources();
