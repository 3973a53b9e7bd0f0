// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileAccess.h"

#include <filesystem>
#include <optional>

#include "base/FileTexts.h"
#include "base/SafeFile.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace fs = std::filesystem;

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        // Two byte searches: one for either character would test each byte against a set.
        std::size_t end = text.find('\n', start);
        const std::size_t returnAt = text.substr(start, end == std::string_view::npos ? end : end - start).find('\r');
        if (returnAt != std::string_view::npos) end = start + returnAt;
        if (end == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string* error) {
    const FileCheck status = ReadRegularFile(fs::path(path), kMaxMenuFileBytes, content);
    if (status == FileCheck::Ok) return true;
    if (error) {
        const char* format = status == FileCheck::TooLarge     ? texts::kFileTooLarge
                             : status == FileCheck::NotRegular ? texts::kFileNotRegular
                                                               : texts::kCannotReadFile;
        *error = FormatMessage(format, path);
    }
    return false;
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
    lines.clear();
    std::string content;
    if (!ReadWholeFile(path, content, error)) return false;
    ForEachLine(content, [&](std::string_view line) { lines.emplace_back(line); });
    return true;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    const std::optional<fs::path> target = WritableDestination(fs::path(path), error);
    if (!target) return false;
    PendingFile file;
    return file.Write(*target, content, error) && file.Commit(error);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace kestrune
