// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// `kestrune [--app-dir DIR] --view PAGE`: shows a page's menu applet in the Menu Preview
// window. Gives the exit status when the arguments ask for the viewer, nothing otherwise.
std::optional<int> RunMenuViewer(int argc, char** argv);
