// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the Qt editor: settings, program folder (--app-dir DIR overrides it), templates,
// New or the page file named on the command line, then the main window and its event loop.
#include <functional>

// onceShown, when given, runs as soon as the first window has been shown and painted;
// start-up is measured through it as a whole process.
int RunEditor(int argc, char** argv, const std::function<void()>& onceShown = {});
