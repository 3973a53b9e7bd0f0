#pragma once

#include <string>

namespace kestrune {

class CAppletParameters;
class IDocumentHost;

// Save and Save As: commits pending edits, builds the page and writes the page file, the
// menu file, the applet class file and the media into the page's folder. Only a save that
// succeeded clears the modified mark; a failed one reports "Save as file failed!" and
// leaves the mark as it was, so no later close can drop the work silently. withRuntime
// writes the script runtime's line into the page and copies the runtime beside it.
bool SaveDocument(CAppletParameters& applet, const std::string& pagePath, const std::string& appDir,
                  IDocumentHost& host, bool withRuntime = false);

// Open: reads the menu file that belongs to the page file into the model and clears the
// modified mark. When the page cannot be opened, no menu file lies beside it, or the
// menu file cannot be read, the message is reported and the model stays as it was.
// A ".kst" path names its own menu file.
bool OpenDocument(CAppletParameters& applet, const std::string& pagePath, IDocumentHost& host);

}  // namespace kestrune
