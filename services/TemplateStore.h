#pragma once

#include <string>
#include <vector>

namespace kestrune {

class CAppletParameters;
class ISettingsStore;

// The template list (settings "TEMPLATE" / "TemplateKey", a comma-terminated list of
// names in display order) and the template file "Kestrune.tpl" in the program folder,
// one section per template. Nothing is cached: every operation reads both afresh.
// Operations that fail return false with the message to show in *error and change
// neither the list nor the file.
class CTemplateStore {
public:
    CTemplateStore(ISettingsStore& settings, std::string appDir);

    // Start-up: a missing or empty list gets the thirteen built-in names.
    void SeedTemplateList();

    std::vector<std::string> ListTemplateNames() const;
    std::string TemplateFilePath() const;

    // Resets the model and fills it from the template at position; a position beyond the
    // list, a name without a section, or a template file that cannot be read (missing,
    // damaged, too large) gives an applet without menus, returns false and says why in
    // *error, so no caller mistakes it for a template.
    bool LoadTemplate(CAppletParameters& applet, int position, std::string* error = nullptr) const;

    // Appends the model as a section named name (copying its media into the sample
    // folders) and then inserts name into the list at position. Media that were refused
    // or not copied are listed in *warnings, one report line each.
    bool SaveTemplate(CAppletParameters& applet, const std::string& name, int position,
                      std::string* error = nullptr, std::string* warnings = nullptr);
    // Removes every section of that name from the file, then the name from the list.
    bool DeleteTemplate(int position, std::string* error = nullptr);
    // Renames the first section of that name in the file, then the list entry.
    bool RenameTemplate(int position, const std::string& newName, std::string* error = nullptr);
    // One place up or down in the list; the file is not touched.
    bool MoveTemplate(int position, bool up);

private:
    std::string ListValue() const;
    void SetListValue(const std::string& list);
    std::string NameAt(int position) const;

    ISettingsStore& m_settings;
    std::string m_appDir;
};

}  // namespace kestrune
