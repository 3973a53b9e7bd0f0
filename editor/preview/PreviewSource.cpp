#include "preview/PreviewSource.h"

#include <QFile>
#include <QFileInfo>
#include <map>

#include "model/VoraneItem.h"
#include "base/MediaFileSearch.h"
#include "base/SafeFile.h"
#include "preview/PreviewTexts.h"
#include "app/TextConvert.h"

using namespace kestrune;

namespace {

constexpr std::size_t kMaxPageBytes = std::size_t{64} << 20;

// Where each media name of the page comes from: a saved page has every file beside it,
// here they are still wherever the model's paths point.
class MediaNames {
public:
    explicit MediaNames(const std::string& documentFolder) : m_search(documentFolder) {}

    void Add(const std::string& storedPath) {
        if (storedPath.empty()) return;
        if (const auto found = m_search.Find(storedPath)) m_paths.emplace(found->name, found->path.string());
    }

    void AddMenu(const CVorane& menu) {
        std::vector<const CVorane*> pending{&menu};
        while (!pending.empty()) {
            const CVorane* next = pending.back();
            pending.pop_back();
            for (const auto& item : next->m_items) {
                for (const std::string* path : {&item->m_normalImage, &item->m_overImage, &item->m_clickImage,
                                                &item->m_overAudio, &item->m_clickAudio})
                    Add(*path);
                pending.push_back(&item->m_subMenu.Read());
            }
        }
    }

    MediaNameResolver Resolver() const {
        return [paths = m_paths](const std::string& name) {
            const auto found = paths.find(name);
            return found != paths.end() ? found->second : name;
        };
    }

private:
    MediaFileSearch m_search;
    std::map<std::string, std::string> m_paths;  // the first file of a name wins, as on save
};

}  // namespace

AppletReadResult AppletAsReceived(const CAppletParameters& model) {
    MediaNames media(model.m_documentFolder);
    media.Add(model.m_appBKImagePath);
    media.Add(model.m_appBKAudioPath);
    for (const auto& menu : model.m_menus) media.AddMenu(*menu);
    ParameterReadOptions options;
    options.resolveMedia = media.Resolver();
    // Building the page only reads the model, so the preview needs no copy of it.
    return ReadAppletParameters(model.BuildHTML(), options);
}

AppletReadResult ReadPageForPreview(const QString& pagePath) {
    std::string text;
    // A regular file only, opened without waiting, read in chunks up to the cap.
    if (ReadRegularFile(pagePath.toLocal8Bit().toStdString(), kMaxPageBytes, text) != FileCheck::Ok) {
        AppletReadResult failed;
        failed.error = convert::FromQt(QString::fromLatin1(previewtexts::kCannotOpenPage).arg(pagePath));
        return failed;
    }
    ParameterReadOptions options;
    options.resolveMedia = MediaInFolder(QFileInfo(pagePath).absolutePath().toLocal8Bit().toStdString());
    return ReadAppletParameters(text, options);
}
