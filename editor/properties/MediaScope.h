#pragma once

#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CKestruneDoc;
namespace kestrune {
class CVorane;
class CVoraneItem;
}  // namespace kestrune

// The "Apply to" choice of the Image and Audio dialogs.
enum class ApplyScope { None = -1, ThisItem = 0, SameMenu = 1, AllItems = 2 };

// The media fields one dialog edits, with the model operation that sets them on a menu.
struct MediaPaths {
    QString stepName;  // the undoable step's name
    std::vector<std::pair<std::string kestrune::CVoraneItem::*, std::string>> fields;
    std::function<void(kestrune::CVorane* menu, int recursive)> setForMenu;
};

MediaPaths ImagePaths(std::string normal, std::string over, std::string click);
MediaPaths AudioPaths(std::string over, std::string click);

// Stores the paths in the items the scope names, through the document's edit layer:
// the item alone; every item of the menu that holds it (not their sub menus); or every
// item of the applet at every depth, hidden ones included. Tells whether anything changed.
bool ApplyMedia(CKestruneDoc& doc, kestrune::CVoraneItem* item, ApplyScope scope, const MediaPaths& paths);
