#include "preview/PreviewSource.h"

#include <QFile>
#include <QFileInfo>
#include <map>

#include "model/VoraneItem.h"
#include "output/MediaFileSearch.h"
#include "output/SafeFile.h"
#include "preview/PreviewTexts.h"
#include "properties/TextConvert.h"

using namespace kestrune;

namespace {

constexpr std::size_t kMaxPageBytes = std::size_t{64} << 20;

void CopyAppletFields(const CAppletParameters& from, CAppletParameters& to) {
    to.m_HTMLTitle = from.m_HTMLTitle;
    to.m_Align = from.m_Align;
    to.m_appWidth = from.m_appWidth;
    to.m_appHeight = from.m_appHeight;
    to.m_appBKColor = from.m_appBKColor;
    to.m_appBKImagePath = from.m_appBKImagePath;
    to.m_appBKImageMode = from.m_appBKImageMode;
    to.m_appBKImageX = from.m_appBKImageX;
    to.m_appBKImageY = from.m_appBKImageY;
    to.m_appBKAudioPath = from.m_appBKAudioPath;
}

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
                pending.push_back(&item->SubMenu());
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
    CAppletParameters copy;
    CopyAppletFields(model, copy);
    MediaNames media(model.m_documentFolder);
    media.Add(model.m_appBKImagePath);
    media.Add(model.m_appBKAudioPath);
    for (const auto& menu : model.m_menus) {
        copy.m_menus.push_back(std::make_unique<CVorane>(*menu));
        media.AddMenu(*menu);
    }
    ParameterReadOptions options;
    options.resolveMedia = media.Resolver();
    return ReadAppletParameters(copy.BuildHTML(), options);
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
