#pragma once

// Runs the Qt editor: settings, program folder (--app-dir DIR overrides it), templates,
// New or the page file named on the command line, then the main window and its event loop.
int RunEditor(int argc, char** argv);
