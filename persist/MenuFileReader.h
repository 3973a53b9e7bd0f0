#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;
class CKeyTable;

// A damaged file may describe chains of sub menus far deeper than any editor could show
// and than the recursive walks of the model can bear; attachments below this depth are
// passed over.
inline constexpr int kMaxMenuDepth = 2000;

// Fills the model from a section of a menu or template file. In document mode a file
// that cannot be read is an error and leaves the model untouched; in template mode it
// gives the reset model (a template list may name a template the file lacks). Otherwise
// the model is reset and filled: missing keys give their defaults, damaged entries are
// passed over. Template mode reads the section without the format-signature test and
// prefixes media names with the program folder's sample folders.
bool LoadMenuFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                  bool templateMode, const std::string& appDir, std::string* error = nullptr);

// Template mode with two program folders: media names get the sample folders of userDir,
// or those of shippedDir for a file found only there.
void LoadTemplateFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                      const std::string& userDir, const std::string& shippedDir);

// The same from a table already read; the model is reset first.
void LoadMenuTable(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                   bool templateMode, const std::string& appDir);

}  // namespace kestrune
