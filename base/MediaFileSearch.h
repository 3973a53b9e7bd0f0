// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrune {

// A media file as found on disk.
struct FoundMediaFile {
    std::filesystem::path path;  // the file to read or copy
    std::string name;            // its name as the file system spells it
};

// The media "file search": the stored path names an existing regular file, or else a
// regular file in the same folder has the same name without regard to (ASCII) letter
// case; of several, the first in byte order wins. Folders, devices and pipes are never
// found. Documents moved from a case-insensitive file system keep working this way.
// A relative stored path is taken from the document's folder (baseFolder), never from the
// process's current folder; without a base folder it is not found.
std::optional<FoundMediaFile> FindMediaFile(const std::string& storedPath, const std::string& baseFolder = {});

// The bare name written into the applet parameters: the found file's name, or empty.
std::string MediaFileName(const std::string& storedPath, const std::string& baseFolder = {});

// The same search for one run over a whole model: results and folder listings are
// kept, so a model naming the same files many times, or missing files in a large
// folder, costs one look-up per path. Forget a folder after writing into it.
class MediaFileSearch {
public:
    explicit MediaFileSearch(std::string baseFolder = {}) : m_base(std::move(baseFolder)) {}
    std::optional<FoundMediaFile> Find(const std::string& storedPath);
    // Kept per stored path: a model names the same few files many times over.
    std::string FileName(const std::string& storedPath);
    void Forget(const std::filesystem::path& folder);

private:
    struct FolderCache {
        bool listed = false;
        // Regular files by lower-cased name; the first in byte order per key.
        std::map<std::string, std::string> byFoldedName;
        std::map<std::string, std::optional<FoundMediaFile>> results;
    };
    FolderCache& CacheFor(const std::string& folder);
    void List(const std::string& folder, FolderCache& cache);

    std::string m_base;
    std::map<std::string, FolderCache> m_folders;
    std::unordered_map<std::string, std::string> m_names;
};

}  // namespace kestrune
