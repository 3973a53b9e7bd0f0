// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <vector>

class CKestruneDoc;
namespace kestrune {
class CAppletParameters;
}

// A stored media path that finds no file, and the copy in the document's own folder (where
// an earlier save put it) that stands in for it.
struct MovedMedia {
    std::string* storedPath;
    std::string copy;
};

// Finds the moved media of the model, reading it only (sub menus never made): a save runs
// it on its worker while no edit can happen.
std::vector<MovedMedia> FindMovedMedia(kestrune::CAppletParameters& applet, const std::string& documentFolder);

// The stored paths become their copies', as one undoable step. Tells how many changed.
int RelinkMovedMedia(CKestruneDoc& doc, const std::vector<MovedMedia>& moved);

// The check report's warning lines for every media file of the model that is not found;
// empty when all are there.
std::string MissingMediaLines(const kestrune::CAppletParameters& applet);
