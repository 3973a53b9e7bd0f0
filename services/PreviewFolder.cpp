#include "services/PreviewFolder.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace kestrune {

namespace fs = std::filesystem;

namespace {
fs::path NormalProgramFolder(const std::string& appDir) {
    std::error_code error;
    fs::path folder = fs::absolute(fs::path(appDir), error);
    if (error) return {};
    folder = folder.lexically_normal();
    // "/a/b/" normalises to "/a/b/" with an empty last element; drop it.
    if (!folder.has_filename() && folder.has_parent_path() && folder != folder.root_path())
        folder = folder.parent_path();
    return folder;
}
}  // namespace

std::string PreviewFolder(const std::string& appDir) { return appDir + "/" + kPreviewFolderName; }

std::string PreviewPagePath(const std::string& appDir) { return PreviewFolder(appDir) + "/" + kPreviewPageName; }

int CreatePreviewFolder(const std::string& appDir) {
    std::error_code error;
    const fs::path folder = PreviewFolder(appDir);
    fs::create_directory(folder, error);
    return fs::is_directory(folder, error) ? 1 : 0;
}

bool IsSafeProgramFolder(const std::string& appDir) {
    if (appDir.empty()) return false;
    const fs::path folder = NormalProgramFolder(appDir);
    return !folder.empty() && folder != folder.root_path();
}

int CleanPreviewFolder(const std::string& appDir) {
    if (!IsSafeProgramFolder(appDir)) return 0;
    const fs::path folder = NormalProgramFolder(appDir) / kPreviewFolderName;
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error))) return 0;

    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (error) break;
        // A link is removed itself, never what it points to; folders are left alone.
        if (fs::is_regular_file(status) || fs::is_symlink(status)) doomed.push_back(it->path());
    }
    int deleted = 0;
    for (const fs::path& file : doomed) {
        std::error_code removeError;
        if (fs::remove(file, removeError)) ++deleted;
    }
    std::error_code removeError;
    fs::remove(folder, removeError);  // fails, and is meant to, while a subfolder remains
    return deleted;
}

}  // namespace kestrune
