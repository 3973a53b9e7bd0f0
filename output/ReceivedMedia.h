// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/MediaFileSearch.h"

namespace kestrune {

// The media files a model's page names, counted per use, and the file each name leads
// back to in the preview: the page names a file by its bare name, so of several files
// with one name the first in the model's order stands for all (as a save copies it).
// Edits add and release single uses; a name whose file could change for uses the edit
// did not touch is reported, and the caller reads the whole model again.
class ReceivedMedia {
public:
    using Id = std::uint32_t;  // 0: the stored path finds no file
    static constexpr Id kNone = 0;

    // One more use of the file a stored path finds now.
    Id Use(const std::string& storedPath, MediaFileSearch& search);
    // One more use of a file Use already found.
    void UseAgain(Id id);
    void Release(Id id);
    // The file the name leads to, or the name itself when the model has no file of it.
    std::string Resolve(const std::string& name) const;

    // From here on, the names Use and Release touch are watched.
    void BeginEdit();
    // Whether the uses since BeginEdit leave every other use leading where it led: no
    // name with two files was touched, and no name that a lookup of lookupsElsewhere
    // asked for came or went. Brings the files of the touched names up to date.
    bool EndEdit(const std::unordered_map<std::string, int>& lookupsElsewhere);
    // Whether the order of the uses decides the file of any name.
    bool HasNameWithTwoFiles() const { return m_namesWithTwoFiles > 0; }

private:
    struct File {
        std::string name;
        std::string path;
        int uses = 0;
    };
    struct Name {
        std::vector<Id> files;
        int uses = 0;
        int filesInUse = 0;
        std::string first;  // the file that stands for the name
    };
    struct Touched {
        int usesBefore = 0;
        int filesBefore = 0;
    };
    void Count(Id id, int delta);

    std::vector<File> m_files{File{}};  // indexed by Id; slot 0 unused
    std::unordered_map<std::string, Id> m_ids;  // name '\0' path
    std::unordered_map<std::string, Name> m_names;
    int m_namesWithTwoFiles = 0;
    bool m_editing = false;
    std::unordered_map<std::string, Touched> m_touched;
};

}  // namespace kestrune
