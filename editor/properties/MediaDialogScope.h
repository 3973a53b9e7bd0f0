// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "model/MediaScope.h"

class CKestruneDoc;

using kestrune::ApplyScope;

// The media fields one dialog edits, and the name of the undoable step that sets them.
struct MediaPaths {
    QString stepName;
    kestrune::MediaFieldValues values;
};

MediaPaths ImagePaths(std::string normal, std::string over, std::string click);
MediaPaths AudioPaths(std::string over, std::string click);

// Stores the paths in the items the scope reaches (kestrune::TargetOfScope) as one step
// through the document's edit layer. Tells whether anything changed.
bool ApplyMedia(CKestruneDoc& doc, kestrune::CVoraneItem* item, ApplyScope scope, const MediaPaths& paths);
