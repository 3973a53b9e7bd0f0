// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/AppletFields.h"
#include "model/Rect.h"
#include "model/Vorane.h"

namespace kestrune {

class CArchive;
class CVoraneItem;

// The one applet: page-level parameters and the forest of top-level menus.
class CAppletParameters : public AppletFields {
public:
    CAppletParameters();
    CAppletParameters(const CAppletParameters&) = delete;
    CAppletParameters& operator=(const CAppletParameters&) = delete;
    virtual ~CAppletParameters();

    std::vector<std::unique_ptr<CVorane>> m_menus;
    // The folder of the file the document was opened from or saved to: relative media
    // paths are taken from it. Not part of any file; empty for a new document.
    std::string m_documentFolder;

    AppletFields& Fields() { return *this; }
    const AppletFields& Fields() const { return *this; }

    int Reset();
    CVorane* NewTopLevelMenu();
    int AddTopLevelMenu(std::unique_ptr<CVorane> menu, int front);
    int RemoveTopLevelMenu(const CVorane* menu);
    int IndexOfTopLevelMenu(const CVorane* menu) const;

    static CVorane* FindParentMenu(CVorane* root, const CVoraneItem* item);
    // The menu holding the item, searched through every top-level menu in order.
    CVorane* FindParentMenu(const CVoraneItem* item) const;
    CVorane* MenuAtDepth(int depth) const;

    static void SetItemImages(const std::string& normal, const std::string& over,
                              const std::string& click, CVorane* menu, int recursive);
    static void SetItemAudio(const std::string& over, const std::string& click, CVorane* menu,
                             int recursive);

    Rect TopLevelBounds() const;

    virtual void Serialize(CArchive& ar);
};

}  // namespace kestrune
