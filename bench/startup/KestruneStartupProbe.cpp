// SPDX-License-Identifier: GPL-3.0-or-later
// The editor started as a user starts it, ending the moment its first window is shown:
// timed as a whole process next to EmptyWindowProbe, which ends at the same moment.
#include <cstdlib>

#include "EditorMain.h"

int main(int argc, char** argv) {
    return RunEditor(argc, argv, [] { std::_Exit(0); });
}
