#pragma once

// Runs the Qt editor: settings, program folder (--app-dir DIR overrides it), templates,
// New or the page file named on the command line, then the main window and its event loop.
// quitOnceShown ends the event loop as soon as the first window has been shown and
// painted, for measuring start-up as a whole process.
int RunEditor(int argc, char** argv, bool quitOnceShown = false);
