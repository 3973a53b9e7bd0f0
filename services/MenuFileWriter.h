// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrune {

class CAppletParameters;
class TaskProgress;

// A document save's progress counts up to kSaveProgressSteps; the first kPageTextSteps
// stand for building the page text, which the caller does before it calls SaveMenuFile.
inline constexpr std::uint64_t kSaveProgressSteps = 8000;
inline constexpr std::uint64_t kPageTextSteps = 2000;

// What a save has to tell besides success.
struct SaveNotes {
    std::string warnings;              // report lines of media refused or not copied
    std::vector<std::string> written;  // every file the save wrote
};

// Writes the model as a document or as a template.
// - Document mode: target is the page file's path and folder its folder. The destination
//   is checked first (an existing page or menu file must be a regular file or a link to
//   one in its folder, and neither may be one of the document's media files); only then
//   are the applet class file and the usable media copied into the folder. The page and
//   the menu file beside it (the page's name with ".kst", section "Vorane2.0" with the
//   format signature) are both written to temporary files and flushed before either is
//   renamed into place: the menu file first, then the page. A save cut off between the
//   two renames leaves the new page under its temporary name, which OpenDocument puts in
//   place, so a reopened folder always holds a pair written together.
// - Template mode: target is the template file's name inside folder (the program
//   folder), the page text is unused. Media files are copied into folder/Sample/Image and
//   folder/Sample/Audio and named by their bare names; the template file's lines are
//   kept and a section named templateName is appended.
// Media are copied only when they are what their field says (by their first bytes) and no
// link leads outside their folder; each refused or failed copy adds a report line to
// notes->warnings. No temporary file outlives a failed save. On failure *error holds the
// message. The model is only read, so another thread may read it at the same time.
// progress, when given (document mode), advances through the steps of the save; a Cancel
// seen before the renames makes the save return false with an empty *error, the page and
// the menu file untouched and no temporary file left (media copied until then stay).
bool SaveMenuFile(const CAppletParameters& applet, const std::string& target, const std::string& folder,
                  const std::string& pageText, bool templateMode, const std::string& templateName,
                  const std::string& appDir, std::string* error = nullptr, SaveNotes* notes = nullptr,
                  TaskProgress* progress = nullptr);

// The page file's leftover from a save cut off between its two renames: when a temporary
// page beside pagePath holds exactly the page buildPage gives and the page itself does
// not, it is renamed into place. Returns whether it was. The page is built only when a
// temporary page lies there, so an open of a big document does not pay for it.
bool CompleteInterruptedSave(const std::string& pagePath, const std::function<std::string()>& buildPage);

}  // namespace kestrune
