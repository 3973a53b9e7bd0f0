// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/MediaFileSearch.h"

#include <system_error>
#include <utility>

#include "base/FileCopy.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

struct SplitPath {
    std::string folder;  // "" is the current folder
    std::string name;
};

SplitPath SplitAtLastSeparator(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string FoldCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

fs::path FolderPath(const std::string& folder) { return folder.empty() ? fs::path(".") : fs::path(folder); }

bool SameFolder(const std::string& cachedFolder, const fs::path& folder) {
    const fs::path cached = FolderPath(cachedFolder);
    if (cached.lexically_normal() == folder.lexically_normal()) return true;
    std::error_code error;
    return fs::equivalent(cached, folder, error) && !error;
}

}  // namespace

std::optional<FoundMediaFile> FindMediaFile(const std::string& storedPath, const std::string& baseFolder) {
    return MediaFileSearch{baseFolder}.Find(storedPath);
}

std::string MediaFileName(const std::string& storedPath, const std::string& baseFolder) {
    return MediaFileSearch{baseFolder}.FileName(storedPath);
}

MediaFileSearch::FolderCache& MediaFileSearch::CacheFor(const std::string& folder) {
    return m_folders[folder];
}

void MediaFileSearch::List(const std::string& folder, FolderCache& cache) {
    cache.listed = true;
    std::error_code error;
    fs::directory_iterator entries(FolderPath(folder), error);
    if (error) return;
    for (const fs::directory_entry& entry : entries) {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError)) continue;
        std::string name = entry.path().filename().string();
        auto [slot, inserted] = cache.byFoldedName.try_emplace(FoldCase(name), name);
        if (!inserted && name < slot->second) slot->second = std::move(name);
    }
}

std::optional<FoundMediaFile> MediaFileSearch::Find(const std::string& stored) {
    if (stored.empty()) return std::nullopt;
    if (stored.front() != '/' && m_base.empty()) return std::nullopt;
    const std::string storedPath = stored.front() == '/' ? stored : (fs::path(m_base) / stored).string();
    const SplitPath split = SplitAtLastSeparator(storedPath);
    if (split.name.empty()) return std::nullopt;
    FolderCache& cache = CacheFor(split.folder);
    if (auto known = cache.results.find(split.name); known != cache.results.end()) return known->second;

    std::optional<FoundMediaFile> found;
    if (IsRegularFile(storedPath)) {
        found = FoundMediaFile{fs::path(storedPath), split.name};
    } else {
        if (!cache.listed) List(split.folder, cache);
        if (auto match = cache.byFoldedName.find(FoldCase(split.name)); match != cache.byFoldedName.end())
            found = FoundMediaFile{FolderPath(split.folder) / match->second, match->second};
    }
    cache.results.emplace(split.name, found);
    return found;
}

std::string MediaFileSearch::FileName(const std::string& storedPath) {
    if (storedPath.empty()) return {};
    const auto known = m_names.find(storedPath);
    if (known != m_names.end()) return known->second;
    const std::optional<FoundMediaFile> found = Find(storedPath);
    return m_names.emplace(storedPath, found ? found->name : std::string()).first->second;
}

void MediaFileSearch::Forget(const fs::path& folder) {
    m_names.clear();
    for (auto it = m_folders.begin(); it != m_folders.end();) {
        if (SameFolder(it->first, folder))
            it = m_folders.erase(it);
        else
            ++it;
    }
}

}  // namespace kestrune
