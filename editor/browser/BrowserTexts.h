// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Fixed texts of the Web Browser dialog and the preview.
namespace browsertexts {

inline const QString kMustSpecifyBrowser = QStringLiteral("You must specify the web browser's execute file!");
inline const QString kChooseProgramCaption = QStringLiteral("Open");
// Programs here carry no ".EXE" ending, so the chooser shows every file under that label.
inline const QString kProgramFilter = QStringLiteral("Web Browser (*)");

// A preview whose browser did not start: the program (or the desktop's handler), the
// system's reason, and the offer of the built-in preview.
inline const QString kBrowserDidNotStart =
    QStringLiteral("The web browser could not be started.\n\nProgram: %1\nReason: %2\n\n"
                   "Show the menus in the built-in Menu Preview instead?");
inline const QString kDefaultBrowserName = QStringLiteral("the desktop's default web browser");
inline const QString kNoReasonGiven = QStringLiteral("no program took the page");

}  // namespace browsertexts
