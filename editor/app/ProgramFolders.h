// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program folder's two roles. Shipped data (the template file, the sample media and
// page, the help, the class file) is read from the data folder: the executable's own
// folder when it holds that data (a build folder, or a folder given with --app-dir), else
// "../share/kestrune" beside the executable (an installed program). Writes (template
// saves, renames, deletes and their sample media) go to the data folder itself only when
// it is a writable folder outside the system's locations ("portable"); otherwise to the
// user's data folder "Quellary/Kestrune".
struct ProgramFolders {
    QString appDir;   // read: shipped data, no trailing separator
    QString userDir;  // write: the template file and its media
};

ProgramFolders FindProgramFolders(const QString& executableDir);

// The data folder for an executable's folder, as above.
QString FindDataFolder(const QString& executableDir);

// A folder the system's package tools own (under /usr, /opt and the like).
bool IsSystemLocation(const QString& folder);

// The user's data folder of the program: <XDG data home>/Quellary/Kestrune.
QString UserDataFolder();

// A new folder of this run, readable by its user only (mode 0700), under the user's
// runtime folder, else the cache folder, else the temporary folder. The preview folder
// is made inside it. Empty when none could be made.
QString MakePrivateRunFolder();
