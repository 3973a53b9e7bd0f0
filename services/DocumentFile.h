// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/AppletParameters.h"

namespace kestrune {

class IDocumentHost;
class TaskProgress;

// Save and Save As: commits pending edits, builds the page and writes the page file, the
// menu file, the applet class file and the media into the page's folder. Only a save that
// succeeded clears the modified mark; a failed one reports "Save as file failed!" and
// leaves the mark as it was, so no later close can drop the work silently. withRuntime
// writes the script runtime's line into the page and copies the runtime beside it.
// damagedFiles: the files a damaged read came from (DocumentRead::damagedFiles); a save over
// them keeps their originals beside them first, and those it replaced leave the list.
bool SaveDocument(CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                  IDocumentHost& host, bool withRuntime = false, const std::string& pageLanguage = {},
                  std::vector<std::string>* damagedFiles = nullptr);

// Open: reads the menu file that belongs to the page file into the model and clears the
// modified mark; the folder is left as it is. When the page cannot be opened, no menu file lies beside it, or the
// menu file cannot be read, the message is reported and the model stays as it was.
// A ".kst" path names its own menu file.
bool OpenDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host);

// Open and Save in two halves, so that the long half can run on a worker thread while the
// program stays responsive: the worker half touches no host and no model but its own (a
// save only reads the model, which nobody may change meanwhile); the half that tells the
// host runs where the host lives.

// What reading a document gave.
struct DocumentRead {
    std::unique_ptr<CAppletParameters> applet;  // the model read; null when the read failed
    std::string error;                          // why it failed (empty when cancelled)
    std::vector<std::string> warnings;          // what a successful read left out
    std::string damage;                         // why the files read are damaged
    std::vector<std::string> damagedFiles;      // then the page and menu file, absolute: a save keeps them
    bool cancelled = false;                     // the progress was cancelled: nothing to tell
};

// Whether a read may put in place the page of a save cut off between its renames. Only
// the editor's Open does: a command that only reads never changes the folder.
enum class FolderRepair { Leave, CompleteInterruptedSave };

// Reads the page's document into a model of its own. A Cancel on progress makes the read
// cancelled, however far it had come.
DocumentRead ReadDocumentFile(const std::string& pagePath, TaskProgress* progress = nullptr,
                              FolderRepair repair = FolderRepair::Leave);

// Reports the error or the warnings of read and, when it succeeded, takes its model in
// place of applet's in one step and clears the modified mark, or sets it after a damaged
// read, which is reported too. A cancelled read tells nothing and changes nothing.
bool AcceptDocumentRead(CAppletParameters& applet, DocumentRead& read, IDocumentHost& host);

// What writing a document gave.
struct DocumentWrite {
    bool saved = false;
    bool cancelled = false;  // the old files are untouched and nothing is to be told
    std::string error;
    std::string warnings;    // media refused or not copied
};

// Builds the page and writes the files of SaveDocument, reading applet only. Pending edits
// must be committed before. pageLanguage is the language a runtime page declares.
DocumentWrite WriteDocumentFiles(const CAppletParameters& applet, const std::string& pagePath,
                                 const std::string& appDir, bool withRuntime, TaskProgress* progress = nullptr,
                                 const std::string& pageLanguage = {},
                                 const std::vector<std::string>* damagedFiles = nullptr);

// Reports the warnings and a failure of write; a saved document takes the page's folder
// as its own and loses its modified mark.
bool AcceptDocumentWrite(CAppletParameters& applet, const std::string& pagePath, const DocumentWrite& write,
                         IDocumentHost& host);

// After a save to pagePath: the damaged files it replaced, their originals kept, leave the list.
void ForgetSavedOver(std::vector<std::string>& damagedFiles, const std::string& pagePath);

}  // namespace kestrune
