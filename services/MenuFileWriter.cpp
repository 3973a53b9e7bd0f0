#include "services/MenuFileWriter.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "model/AppletParameters.h"
#include "services/AppletClassFile.h"
#include "services/MediaWalk.h"
#include "base/FileAccess.h"
#include "persist/MenuFileText.h"
#include "persist/PersistTexts.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

bool Fail(std::string* error, const char* message) {
    if (error) *error = message;
    return false;
}

// Copies the applet's and the items' media into the destination; in template mode
// returns how their names go into the lines.
MenuSectionForm CopyMediaAndChooseForm(CAppletParameters& applet, const std::string& folder, bool templateMode) {
    MediaWalker walker(MediaDestination{fs::path(folder), templateMode});
    const std::optional<FoundMediaFile> image = walker.VisitFile(applet.m_appBKImagePath, MediaKind::Image);
    const std::optional<FoundMediaFile> audio = walker.VisitFile(applet.m_appBKAudioPath, MediaKind::Audio);
    std::string ignoredWarnings;
    for (const auto& menu : applet.m_menus) walker.Walk(menu.get(), ignoredWarnings);

    MenuSectionForm form;
    if (!templateMode) return form;
    // An applet file that was not found keeps its stored path, so nothing the user chose
    // is lost; items name only what the template ships.
    if (image) form.appletImage = image->name;
    if (audio) form.appletAudio = audio->name;
    form.itemMedia = [search = std::make_shared<MediaFileSearch>()](const std::string& stored) {
        return search->FileName(stored);
    };
    return form;
}

bool SaveDocumentFiles(CAppletParameters& applet, const std::string& pagePath, const std::string& folder,
                       const std::string& pageText, const std::string& appDir, std::string* error) {
    const std::string menuPath = MenuFilePathFor(pagePath);
    if (menuPath == pagePath) return Fail(error, texts::kPageIsMenuFile);
    CopyAppletClassFile(fs::path(appDir), fs::path(folder));
    MenuSectionForm form = CopyMediaAndChooseForm(applet, folder, false);
    form.section = texts::kDocumentSection;
    form.withNotice = true;
    const std::string menuText = FormatMenuSection(applet, form);
    if (!WriteFileAtomically(pagePath, pageText) || !WriteFileAtomically(menuPath, menuText))
        return Fail(error, texts::kSaveFailed);
    return true;
}

bool SaveTemplateSection(CAppletParameters& applet, const std::string& fileName, const std::string& folder,
                         const std::string& templateName, std::string* error) {
    // Media copies into missing sample folders would fail and leave the template naming
    // files that are not there.
    std::error_code ignored;
    fs::create_directories(fs::path(JoinPath(folder, texts::kSampleImageFolder)), ignored);
    fs::create_directories(fs::path(JoinPath(folder, texts::kSampleAudioFolder)), ignored);
    MenuSectionForm form = CopyMediaAndChooseForm(applet, folder, true);
    form.section = templateName;
    form.withNotice = false;

    const std::string path = JoinPath(folder, fileName);
    std::vector<std::string> lines;
    std::error_code missing;
    const bool exists = fs::exists(fs::path(path), missing);
    if (exists && !ReadLines(path, lines)) return Fail(error, texts::kSaveFailed);
    const std::string text = JoinLinesCrLf(lines) + FormatMenuSection(applet, form);
    if (!WriteFileAtomically(path, text)) return Fail(error, texts::kSaveFailed);
    return true;
}

}  // namespace

bool SaveMenuFile(CAppletParameters& applet, const std::string& target, const std::string& folder,
                  const std::string& pageText, bool templateMode, const std::string& templateName,
                  const std::string& appDir, std::string* error) {
    if (templateMode) return SaveTemplateSection(applet, target, folder, templateName, error);
    return SaveDocumentFiles(applet, target, folder, pageText, appDir, error);
}

}  // namespace kestrune
