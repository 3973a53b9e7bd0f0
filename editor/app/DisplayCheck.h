// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a window can be shown: the toolkit's platform (its -platform option, else
// QT_QPA_PLATFORM) needs no display, or a display is named. Without one the toolkit would
// abort the program.
bool HasDisplayFor(int argc, char** argv);
