#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;

// Writes the model as a document or as a template.
// - Document mode: target is the page file's path and folder its folder. The applet
//   class file and every existing media file are copied into the folder, then the page
//   text goes to the page file and the model to the menu file beside it (the page's name
//   with ".kst"), section "Vorane2.0" with the format signature.
// - Template mode: target is the template file's name inside folder (the program
//   folder), the page text is unused. Media files are copied into folder/Sample/Image and
//   folder/Sample/Audio and named by their bare names; the template file's lines are
//   kept and a section named templateName is appended.
// Every file is replaced atomically, so a failed save leaves the previous files whole.
// Failed media and class-file copies are ignored. On failure *error holds the message.
bool SaveMenuFile(CAppletParameters& applet, const std::string& target, const std::string& folder,
                  const std::string& pageText, bool templateMode, const std::string& templateName,
                  const std::string& appDir, std::string* error = nullptr);

}  // namespace kestrune
