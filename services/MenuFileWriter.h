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
// - Document mode: target is the page file's path and folder its folder. The folder is
//   locked for the whole save (another save into it waits up to kSaveLockWait, then this
//   one fails). The destination is checked first (an existing page, menu file or runtime
//   must be a regular file that may be written, or a link to one in its folder, and none
//   may be one of the document's media files); only then are the usable media and then
//   the applet class file copied into the folder. The page, the menu file beside it (the
//   page's name with ".kst", section "Vorane2.0" with the format signature) and, with
//   withRuntime, the script runtime are all written to temporary files and flushed before
//   any is renamed into place: the runtime, the menu file, then the page. A save cut off
//   between the renames leaves the new page under its temporary name, which an open
//   puts in place (CompleteInterruptedSave), so a reopened folder holds a pair written
//   together. A successful save removes the temporary files of its names that earlier
//   saves, cut off, left there.
// - Template mode: target is the template file's name inside folder (the program
//   folder), the page text is unused. Media files are copied into folder/Sample/Image and
//   folder/Sample/Audio and named by their bare names; the template file's lines are
//   kept and a section named templateName is appended.
// Media are copied only when their name has their kind's extension and their first bytes
// its signature, their name is none of the page's own files' nor hidden, and no link on
// their path leads out of the document's folder (for a relative name) or of the link's
// folder; each refused or failed copy adds a report line to notes->warnings, as does an
// absolute name outside the document's and the templates' folders (copied all the same).
// No temporary file outlives a failed save. On failure *error holds the message with its
// reason. The model is only read, so another thread may read it at the same time.
// A page or menu file named in damagedFiles (absolute paths of files a document was read
// damaged from) is kept beside itself ("menu.kst.damaged", or with a number after it when
// that is taken) before the new one replaces it, and a report line says so; when it cannot
// be kept, the save fails and replaces nothing.
// progress, when given (document mode), advances through the steps of the save; a Cancel
// seen before the renames makes the save return false with an empty *error, the page and
// the menu file untouched and no temporary file left (media copied until then stay).
bool SaveMenuFile(const CAppletParameters& applet, const std::string& target, const std::string& folder,
                  const std::string& pageText, bool templateMode, const std::string& templateName,
                  const std::string& appDir, std::string* error = nullptr, SaveNotes* notes = nullptr,
                  TaskProgress* progress = nullptr, bool withRuntime = false,
                  const std::vector<std::string>* damagedFiles = nullptr);

// The page file's leftover from a save cut off between its renames: when a temporary
// page beside pagePath carries exactly the menu of applet (its title and its applet
// element with every parameter, whatever else the page holds: the runtime's line, say)
// and the page itself does not, it is renamed into place, under the folder's lock and only
// over the page's own regular file (a link in the page's place is left alone with what it
// leads to). Returns whether it was.
// Candidates larger than any page of this menu can be are passed over unread.
bool CompleteInterruptedSave(const std::string& pagePath, const CAppletParameters& applet);

}  // namespace kestrune
