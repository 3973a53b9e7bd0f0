#pragma once

#include <QString>
#include <string>

class CKestruneDoc;
namespace kestrune {
class CAppletParameters;
}

// Media files whose stored path finds no file, but whose name lies in the document's own
// folder, where an earlier save put its copy: the stored path becomes that copy's, as one
// undoable step. Tells how many paths changed.
int RelinkMovedMedia(CKestruneDoc& doc, const QString& documentFolder);

// The check report's warning lines for every media file of the model that is not found;
// empty when all are there.
std::string MissingMediaLines(const kestrune::CAppletParameters& applet);
