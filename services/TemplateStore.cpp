#include "services/TemplateStore.h"

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

}  // namespace

CTemplateStore::CTemplateStore(ISettingsStore& settings, std::string appDir)
    : m_settings(settings), m_appDir(std::move(appDir)) {}

std::string CTemplateStore::ListValue() const {
    return m_settings.GetString(texts::kTemplateSection, texts::kTemplateKey, texts::kTemplateListDefault);
}

void CTemplateStore::SetListValue(const std::string& list) {
    m_settings.SetString(texts::kTemplateSection, texts::kTemplateKey, list);
}

std::string CTemplateStore::NameAt(int position) const { return ExtractField(ListValue(), position, ','); }

std::string CTemplateStore::TemplateFilePath() const { return JoinPath(m_appDir, texts::kTemplateFileName); }

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
        return LoadMenuFile(applet, TemplateFilePath(), NameAt(position), true, m_appDir, error);
    } catch (const std::bad_alloc&) {
        applet.Reset();
        return Fail(error, FormatMessage(texts::kOutOfMemoryReading, TemplateFilePath()));
    }
}

bool CTemplateStore::SaveTemplate(CAppletParameters& applet, const std::string& name, int position,
                                  std::string* error, std::string* warnings) {
    if (name.empty()) return Fail(error, texts::kTemplateNameEmpty);
    if (auto bad = CheckTemplateNameCharacters(name)) return Fail(error, *bad);
    std::string saveError;
    SaveNotes notes;
    const bool saved = SaveMenuFile(applet, texts::kTemplateFileName, m_appDir, {}, true, name, m_appDir, &saveError, &notes);
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

    const std::string header = SectionHeader(name);
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    bool dropping = false;
    for (const std::string& raw : lines) {
        std::string line = Trim(raw);
        if (!line.empty() && line.front() == '[') dropping = line == header;
        if (!dropping) kept.push_back(std::move(line));
    }
    if (!WriteFileAtomically(TemplateFilePath(), JoinLinesCrLf(kept))) return Fail(error, texts::kSaveTemplateFailed);
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

    const std::string oldHeader = SectionHeader(oldName);
    for (std::string& line : lines) {
        if (line == oldHeader) {
            line = SectionHeader(newName);
            break;
        }
    }
    if (!WriteFileAtomically(TemplateFilePath(), JoinLinesCrLf(lines))) return Fail(error, texts::kSaveTemplateFailed);
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

}  // namespace kestrune
