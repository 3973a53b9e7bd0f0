// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;
struct PreviewWrites;

// Writes the preview of the model into the preview folder: the page "~Kestrune.htm", its
// menu file, the applet class file, the script runtime and copies of the media, as a
// document save with the runtime would. The folder is created first when missing; an
// earlier preview's files are overwritten. The names of the files written (and whether
// the folder was made) are added to *writes, for the clean-up at the end of the run.
// False, with the message in *error, when the page or menu file could not be written
// (the caller still starts the browser on whatever is there).
bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, std::string* error = nullptr,
                       PreviewWrites* writes = nullptr);
// The same with the preview folder made inside previewBase; the class file still comes
// from the program folder.
// pageLanguage is the language the page declares (empty: the default).
bool WritePreviewFiles(CAppletParameters& applet, const std::string& appDir, const std::string& previewBase,
                       std::string* error = nullptr, PreviewWrites* writes = nullptr,
                       const std::string& pageLanguage = {});

}  // namespace kestrune
