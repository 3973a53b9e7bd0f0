// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrune {
class ISettingsStore;
}

// The command line without a display: build the parameter block, the page or the check
// report of a saved document, save it elsewhere, or start a document from a template.
// It creates no GUI object; results go to standard output byte for byte, messages to
// standard error (status 1), usage faults give status 2.

// Whether the arguments ask for it: after an optional "--app-dir DIR", one of its options.
bool IsHeadlessInvocation(int argc, char** argv);

// Runs it with the user's settings and the executable's folder as the program folder.
int RunHeadless(int argc, char** argv);

struct HeadlessEnvironment {
    std::string appDir;  // the program folder (shipped data) unless --app-dir names another
    kestrune::ISettingsStore& settings;
    std::ostream& out;
    std::ostream& err;
    std::string userDir{};  // where the user's templates are; empty: appDir
    // The process ends right after the command: its model is left to the system, which
    // takes it back at once, where freeing a big one object by object costs a sixth of
    // the command.
    bool processEndsAfter = false;
};

// The same on given arguments (without the program name) and streams.
int RunHeadlessCommand(const std::vector<std::string>& args, HeadlessEnvironment& environment);

// The usage text of --help.
std::string HeadlessUsage();
