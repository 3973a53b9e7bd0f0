#include "base/FileAccess.h"

#include "base/FileCopy.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace kestrune {

namespace fs = std::filesystem;

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        else if (end > start && text[end - 1] == '\r') --end;
        visit(text.substr(start, end - start));
        start = next;
    }
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    if (path.empty() || !IsRegularFile(fs::path(path))) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!error) content.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        content.append(buffer, static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::string content;
    if (!ReadWholeFile(path, content)) return false;
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

namespace {
// An exclusive create ("x"), so a temporary name is never shared with another writer.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() /
                    ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000));
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}
}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return false;
    fs::path target = fs::absolute(fs::path(path));
    std::error_code error;
    // A link stays a link: the file it names is the one replaced.
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::weakly_canonical(target, error);
        if (error) return false;
    }
    error.clear();
    if (fs::is_directory(target, error)) return false;
    fs::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed) {
        const fs::file_status old = fs::status(target, error);
        if (!error && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), error);
        error.clear();
        fs::rename(temporary, target, error);
        if (!error) return true;
    }
    fs::remove(temporary, error);
    return false;
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
