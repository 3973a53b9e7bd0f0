// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/SitePages.h"

#include <algorithm>
#include <utility>

namespace kestrune {

namespace fs = std::filesystem;

namespace {

bool EndsWithFolded(const std::string& name, std::string_view ending) {
    if (name.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char lower, char c) { return lower == static_cast<char>(c | 0x20); });
}

void ScanFolder(const fs::path& folder, const std::string& prefix, const std::string& ownPage,
                std::vector<SitePage>& pages) {
    std::vector<std::pair<std::string, SitePage::Kind>> files;
    std::vector<std::string> folders;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        const fs::file_status status = it->symlink_status(error);
        if (error) break;
        if (fs::is_directory(status)) {
            folders.push_back(name);
            continue;
        }
        if (!IsPageName(name)) continue;
        const SitePage::Kind kind = fs::is_symlink(status)   ? SitePage::Kind::Link
                                    : fs::is_regular_file(status) ? SitePage::Kind::Page
                                                                  : SitePage::Kind::NotRegular;
        files.emplace_back(name, kind);
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (auto& [name, kind] : files) {
        std::string path = prefix + name;
        if (path != ownPage) pages.push_back({std::move(path), kind});
    }
    for (const std::string& name : folders) ScanFolder(folder / name, prefix + name + "/", ownPage, pages);
}

}  // namespace

bool IsPageName(const std::string& name) {
    return name.size() > 4 && (EndsWithFolded(name, ".htm") || EndsWithFolded(name, ".html"));
}

std::optional<std::string> PathInSite(const fs::path& top, const fs::path& file) {
    std::error_code error;
    const fs::path canonicalTop = fs::weakly_canonical(top, error);
    if (error) return std::nullopt;
    const fs::path canonicalFile = fs::weakly_canonical(file, error);
    if (error) return std::nullopt;
    const fs::path relative = canonicalFile.lexically_relative(canonicalTop);
    if (relative.empty() || relative == "." || *relative.begin() == "..") return std::nullopt;
    return relative.generic_string();
}

std::vector<SitePage> ScanSite(const fs::path& top, const std::string& ownPage) {
    std::vector<SitePage> pages;
    ScanFolder(top, {}, ownPage, pages);
    return pages;
}

}  // namespace kestrune
