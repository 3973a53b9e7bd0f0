// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

class CAppletParameters;
class TaskProgress;

enum class InOrderRead {
    Done,        // the model holds the file
    NotInOrder,  // the model is untouched; read the file through its key table instead
    Cancelled,   // the model is untouched; progress was cancelled
};

// Reads a document's menu file front to back in chunks, without keeping its text or a
// table of its lines, as long as every line is the one the writer writes next: the
// section header, "ApStyle", "Notice", then per menu "MStyle-k", "IStyle-k" and its items
// "Ik-1", "Ik-2", ..., then "Misc" and nothing after it. Such a file has each key once
// and no other line, so the result is the one its key table gives; the item counts and
// budgets "Misc" sets are checked against what was read before the model is filled.
// Anything else (lines out of order, repeated, unknown or missing, another section, the
// older layout, a file that cannot be read) gives NotInOrder. progress, when given,
// counts the file's bytes.
InOrderRead ReadMenuFileInOrder(CAppletParameters& applet, const std::string& path, const std::string& section,
                                std::vector<std::string>* warnings, TaskProgress* progress);

// The same for the text of a menu file already in memory.
InOrderRead ReadMenuTextInOrder(CAppletParameters& applet, std::string_view text, const std::string& section,
                                std::vector<std::string>* warnings);

}  // namespace kestrune
