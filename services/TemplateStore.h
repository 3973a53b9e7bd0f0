// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrune {

class CAppletParameters;
class ISettingsStore;

// The template list (settings "TEMPLATE" / "TemplateKey", a comma-terminated list of
// names in display order) and the template file "Kestrune.tpl", one section per
// template. Nothing is cached: every operation reads both afresh.
// Operations that fail return false with the message to show in *error and change
// neither the list nor the file.
//
// Two folders: the shipped one (appDir) holds the built-in template file and its sample
// media and is only read; the user's one (userDir) takes every write: saves, renames,
// deletes and the media of saved templates. When they differ, the first write copies the
// shipped template file into userDir, and from then on that copy is the template file.
// An empty userDir, or the same folder, is the portable layout: one folder for both.
class CTemplateStore {
public:
    CTemplateStore(ISettingsStore& settings, std::string appDir, std::string userDir = {});

    // Start-up: a missing or empty list gets the thirteen built-in names.
    void SeedTemplateList();

    std::vector<std::string> ListTemplateNames() const;
    // The template file read now: the user's copy once it exists, else the shipped one.
    std::string TemplateFilePath() const;
    // Why the user's folder is passed over, or empty: it, or the template file in it, is
    // not the user's own or may be written by others, so another local user could have
    // planted templates there. The shipped templates are read instead and nothing is
    // written there.
    std::string UserFolderProblem() const;
    // The file every write goes to.
    std::string WritableTemplateFilePath() const;
    std::string ShippedTemplateFilePath() const;

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
    // Brings back each built-in template that is not in the list, after the built-in name
    // before it, with its section from the shipped file; templates in the list are left as
    // they are. A built-in name without a shipped section stays away. *restored counts
    // the templates brought back.
    bool RestoreBuiltInTemplates(int* restored = nullptr, std::string* error = nullptr);

private:
    std::string ListValue() const;
    void SetListValue(const std::string& list);
    std::string NameAt(int position) const;
    bool HasSeparateUserFolder() const { return m_userDir != m_appDir; }
    bool UsesUserFolder() const { return HasSeparateUserFolder() && UserFolderProblem().empty(); }
    const std::string& MediaFolder() const { return UsesUserFolder() ? m_userDir : m_appDir; }
    // Before a write: the user's copy of the template file, made from the shipped one.
    bool PrepareWritableFile() const;

    ISettingsStore& m_settings;
    std::string m_appDir;
    std::string m_userDir;
};

}  // namespace kestrune
