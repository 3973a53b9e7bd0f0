// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "model/ModelLimits.h"

namespace kestrune {

class CAppletParameters;
class CKeyTable;
class TaskProgress;

// Attachments below kMaxMenuDepth are passed over, and a warning says so.
using kestrune::kMaxMenuDepth;

// A menu file of the current layout holding menu or item lines that its "Misc" does not
// reach (missing, cut short, or counting fewer) is damaged: a file cut anywhere loses its
// "Misc" with its tail. It is read in the order the writer numbers its menus instead, so
// the menus and items before the damage come back in their order.
struct MenuFileDamage {
    bool damaged = false;
    std::size_t items = 0;  // the item lines the damaged file holds
};

// Fills the model from a section of a menu or template file. In document mode a file
// that cannot be read (missing, not a regular file, larger than kMaxMenuFileBytes), and
// a file with text but no section of either layout, is an error and leaves the model
// untouched. In template mode an unreadable file is an error too and leaves the reset
// model, and a missing section is one that leaves the defaults. Otherwise the model is
// reset and filled: missing keys give their defaults, damaged entries are passed over;
// what is left out (menus nested too deep) adds a line to *warnings. Template mode reads the section without the
// format-signature test and prefixes media names with the program folder's sample folders.
// A document written in the order this program writes it is read front to back without
// keeping its text; any other file through its key table, with the same result.
// progress, when given, advances with the bytes read (or, through the table, the menus);
// a Cancel on it makes the load return false with texts::kLoadCancelled as the error and
// the model untouched or incomplete. *damage, when given, says whether the file was damaged.
bool LoadMenuFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                  bool templateMode, const std::string& appDir, std::string* error = nullptr,
                  std::vector<std::string>* warnings = nullptr, TaskProgress* progress = nullptr,
                  MenuFileDamage* damage = nullptr);

// Template mode with two program folders: media names get the sample folders of userDir,
// or those of shippedDir for a file found only there. False, with the reason in *error,
// when the file cannot be read or lacks the section (which leaves the defaults).
bool LoadTemplateFile(CAppletParameters& applet, const std::string& path, const std::string& section,
                      const std::string& userDir, const std::string& shippedDir, std::string* error = nullptr);

// The same from a table already read; the model is reset first.
void LoadMenuTable(CAppletParameters& applet, const CKeyTable& table, const std::string& section,
                   bool templateMode, const std::string& appDir, std::vector<std::string>* warnings = nullptr);

}  // namespace kestrune
