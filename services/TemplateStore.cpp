// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/TemplateStore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <utility>

#include "model/AppletParameters.h"
#include "base/FileAccess.h"
#include "persist/MenuFileReader.h"
#include "services/MenuFileWriter.h"
#include "persist/PersistTexts.h"
#include "base/SettingsStore.h"
#include "persist/TemplateNames.h"
#include "base/TextRoutines.h"

namespace kestrune {

namespace {

bool Fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

// A missing template file reads as no lines; one that exists but cannot be read fails.
bool ReadTemplateLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;
    return ReadLines(path, lines);
}

std::string SectionHeader(const std::string& name) { return "[" + name + "]"; }

bool IsHeaderLine(const std::string& line) { return !line.empty() && line.front() == '['; }

// The lines without any section of that name; the lines are trimmed as they are kept.
std::vector<std::string> WithoutSections(const std::vector<std::string>& lines, const std::string& name) {
    const std::string header = SectionHeader(name);
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    bool dropping = false;
    for (const std::string& raw : lines) {
        std::string line = Trim(raw);
        if (IsHeaderLine(line)) dropping = line == header;
        if (!dropping) kept.push_back(std::move(line));
    }
    return kept;
}

// The first section of that name, header included; empty when there is none.
std::vector<std::string> FirstSection(const std::vector<std::string>& lines, const std::string& name) {
    const std::string header = SectionHeader(name);
    std::vector<std::string> section;
    for (const std::string& raw : lines) {
        std::string line = Trim(raw);
        if (IsHeaderLine(line)) {
            if (!section.empty()) break;
            if (line != header) continue;
        } else if (section.empty()) {
            continue;
        }
        section.push_back(std::move(line));
    }
    return section;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Where a restored built-in name goes: just after the nearest built-in name before it that
// the list holds, else first; so the user's own names keep their places among them.
int PlaceAfterBuiltInBefore(const std::string& list, const std::vector<std::string>& builtIn, std::size_t place) {
    std::vector<std::string> names;
    for (std::string_view field : SplitFields(list, ',')) {
        if (field.empty()) break;
        names.emplace_back(field);
    }
    for (std::size_t before = place; before-- > 0;) {
        const auto found = std::find(names.begin(), names.end(), builtIn[before]);
        if (found != names.end()) return static_cast<int>(found - names.begin()) + 1;
    }
    return 0;
}

}  // namespace

CTemplateStore::CTemplateStore(ISettingsStore& settings, std::string appDir, std::string userDir)
    : m_settings(settings), m_appDir(std::move(appDir)), m_userDir(std::move(userDir)) {
    if (m_userDir.empty()) m_userDir = m_appDir;
}

std::string CTemplateStore::ListValue() const {
    return m_settings.GetString(texts::kTemplateSection, texts::kTemplateKey, texts::kTemplateListDefault);
}

void CTemplateStore::SetListValue(const std::string& list) {
    m_settings.SetString(texts::kTemplateSection, texts::kTemplateKey, list);
}

std::string CTemplateStore::NameAt(int position) const { return ExtractField(ListValue(), position, ','); }

std::string CTemplateStore::ShippedTemplateFilePath() const { return JoinPath(m_appDir, texts::kTemplateFileName); }

std::string CTemplateStore::WritableTemplateFilePath() const {
    return JoinPath(m_userDir, texts::kTemplateFileName);
}

std::string CTemplateStore::TemplateFilePath() const {
    std::error_code error;
    if (UsesUserFolder() && std::filesystem::exists(WritableTemplateFilePath(), error))
        return WritableTemplateFilePath();
    return ShippedTemplateFilePath();
}

std::string CTemplateStore::UserFolderProblem() const {
    if (!HasSeparateUserFolder()) return {};
    for (const std::string& path : {m_userDir, WritableTemplateFilePath()}) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) continue;  // not made yet: this program makes it
        const bool expected = path == m_userDir ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
        if (!expected || info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
            return FormatMessage(texts::kUserFolderNotOwn, path);
    }
    return {};
}

bool CTemplateStore::PrepareWritableFile() const {
    if (!HasSeparateUserFolder()) return true;
    if (!UserFolderProblem().empty()) return false;
    std::error_code error;
    if (std::filesystem::exists(WritableTemplateFilePath(), error)) return true;
    std::filesystem::create_directories(m_userDir, error);
    std::vector<std::string> lines;
    if (!ReadTemplateLines(ShippedTemplateFilePath(), lines)) return false;
    return WriteFileAtomically(WritableTemplateFilePath(), JoinLinesCrLf(lines));
}

void CTemplateStore::SeedTemplateList() {
    if (m_settings.GetString(texts::kTemplateSection, texts::kTemplateKey).empty())
        SetListValue(texts::kBuiltInTemplateList);
}

std::vector<std::string> CTemplateStore::ListTemplateNames() const {
    std::vector<std::string> names;
    const std::string list = ListValue();
    for (std::string_view field : SplitFields(list, ',')) {
        if (field.empty()) break;
        names.emplace_back(field);
    }
    return names;
}

bool CTemplateStore::LoadTemplate(CAppletParameters& applet, int position, std::string* error) const {
    try {
        return LoadTemplateFile(applet, TemplateFilePath(), NameAt(position), MediaFolder(), m_appDir, error);
    } catch (const std::bad_alloc&) {
        applet.Reset();
        return Fail(error, FormatMessage(texts::kOutOfMemoryReading, TemplateFilePath()));
    }
}

bool CTemplateStore::SaveTemplate(CAppletParameters& applet, const std::string& name, int position,
                                  std::string* error, std::string* warnings) {
    if (name.empty()) return Fail(error, texts::kTemplateNameEmpty);
    if (auto bad = CheckTemplateNameCharacters(name)) return Fail(error, *bad);
    if (const std::string problem = UserFolderProblem(); !problem.empty()) return Fail(error, problem);
    if (!PrepareWritableFile()) return Fail(error, texts::kSaveFailed);
    std::string saveError;
    SaveNotes notes;
    const bool saved =
        SaveMenuFile(applet, texts::kTemplateFileName, m_userDir, {}, true, name, m_appDir, &saveError, &notes);
    if (warnings) *warnings = notes.warnings;
    if (!saved) return Fail(error, saveError);
    SetListValue(InsertListEntry(ListValue(), name, position, ','));
    return true;
}

bool CTemplateStore::DeleteTemplate(int position, std::string* error) {
    const std::string name = NameAt(position);
    if (name.empty()) return Fail(error, texts::kSelectTemplateFirst);
    std::vector<std::string> lines;
    if (!ReadTemplateLines(TemplateFilePath(), lines)) return Fail(error, texts::kOpenTemplateFailed);
    if (!PrepareWritableFile()) return Fail(error, texts::kSaveTemplateFailed);
    const std::vector<std::string> kept = WithoutSections(lines, name);
    if (!WriteFileAtomically(WritableTemplateFilePath(), JoinLinesCrLf(kept)))
        return Fail(error, texts::kSaveTemplateFailed);
    SetListValue(RemoveListEntry(ListValue(), position, ','));
    return true;
}

bool CTemplateStore::RenameTemplate(int position, const std::string& newName, std::string* error) {
    const std::string oldName = NameAt(position);
    if (oldName.empty()) return Fail(error, texts::kSelectTemplateFirst);
    if (newName.empty()) return Fail(error, texts::kTemplateRenameInvalid);
    if (auto bad = CheckTemplateNameCharacters(newName)) return Fail(error, *bad);
    std::vector<std::string> lines;
    if (!ReadTemplateLines(TemplateFilePath(), lines)) return Fail(error, texts::kOpenTemplateFailed);
    if (!PrepareWritableFile()) return Fail(error, texts::kSaveTemplateFailed);

    const std::string oldHeader = SectionHeader(oldName);
    for (std::string& line : lines) {
        if (line == oldHeader) {
            line = SectionHeader(newName);
            break;
        }
    }
    if (!WriteFileAtomically(WritableTemplateFilePath(), JoinLinesCrLf(lines)))
        return Fail(error, texts::kSaveTemplateFailed);
    const std::string list = ListValue();
    SetListValue(InsertListEntry(RemoveListEntry(list, position, ','), newName, position, ','));
    return true;
}

bool CTemplateStore::MoveTemplate(int position, bool up) {
    const int count = static_cast<int>(ListTemplateNames().size());
    const int target = up ? position - 1 : position + 1;
    if (position < 0 || position >= count || target < 0 || target >= count) return false;
    const std::string list = ListValue();
    const std::string name = ExtractField(list, position, ',');
    SetListValue(InsertListEntry(RemoveListEntry(list, position, ','), name, target, ','));
    return true;
}

bool CTemplateStore::RestoreBuiltInTemplates(int* restored, std::string* error) {
    if (restored) *restored = 0;
    std::vector<std::string> shipped;
    if (!ReadTemplateLines(ShippedTemplateFilePath(), shipped)) return Fail(error, texts::kOpenTemplateFailed);
    const std::vector<std::string> listed = ListTemplateNames();
    std::vector<std::string> builtIn;
    for (std::string_view field : SplitFields(texts::kBuiltInTemplateList, ',')) {
        if (field.empty()) break;
        builtIn.emplace_back(field);
    }

    std::vector<std::string> lines;
    if (!ReadTemplateLines(TemplateFilePath(), lines)) return Fail(error, texts::kOpenTemplateFailed);
    std::string list = ListValue();
    int count = 0;
    for (std::size_t place = 0; place < builtIn.size(); ++place) {
        const std::string& name = builtIn[place];
        if (Contains(listed, name)) continue;
        std::vector<std::string> section = FirstSection(shipped, name);
        if (section.empty()) continue;
        // A section of a name outside the list is never loaded: the shipped one replaces it.
        lines = WithoutSections(lines, name);
        lines.insert(lines.end(), section.begin(), section.end());
        list = InsertListEntry(list, name, PlaceAfterBuiltInBefore(list, builtIn, place), ',');
        ++count;
    }
    if (count == 0) return true;
    if (!PrepareWritableFile() || !WriteFileAtomically(WritableTemplateFilePath(), JoinLinesCrLf(lines)))
        return Fail(error, texts::kSaveTemplateFailed);
    SetListValue(list);
    if (restored) *restored = count;
    return true;
}

}  // namespace kestrune
