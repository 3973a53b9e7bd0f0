// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "services/KnownBrowsers.h"

namespace kestrune {

inline constexpr const char* kAppletViewerMark = "APPLETVIEWER";

// The three browser values of the settings store, as the application object holds them.
struct BrowserChoice {
    static constexpr int kSpecified = 0;
    static constexpr int kDefault = 1;
    static constexpr int kKnown = 2;  // and every other value

    int mode = kDefault;
    std::string path;    // the user-specified program
    int knownIndex = 0;  // index into the known-browser list
};

// What to hand to the desktop: a document for its default program, or a program with
// one parameter (kept whole, never split at spaces) started in a working folder
// (empty: the program inherits ours).
struct LaunchRequest {
    enum Kind { OpenDocument, StartProgram };
    Kind kind = OpenDocument;
    std::string target;  // the document or the program
    std::string argument;
    std::string workingFolder;

    bool operator==(const LaunchRequest&) const = default;
};

// Whether the program is an applet viewer: its upper-cased path contains "APPLETVIEWER".
bool IsAppletViewer(const std::string& program);

// The program a choice names: the specified path for mode 0, the known browser at the
// stored index for the other non-default modes. Empty for the default handler, for an
// index outside the list and for an empty specified path: those fall back to the
// document's default program rather than starting nothing.
std::string ChosenProgram(const BrowserChoice& choice, const KnownBrowserList& known);

// Preview of <program folder>/tmp/~Kestrune.htm. An applet viewer is started inside the
// preview folder with the bare page name; any other program gets the full page path.
LaunchRequest PlanPreviewLaunch(const BrowserChoice& choice, const KnownBrowserList& known,
                                const std::string& appDir);

// View Sample of <program folder>/Sample/Samples.html: the same choice, without the
// applet-viewer rule; a program always gets the full page path.
LaunchRequest PlanSampleLaunch(const BrowserChoice& choice, const KnownBrowserList& known,
                               const std::string& appDir);

}  // namespace kestrune
