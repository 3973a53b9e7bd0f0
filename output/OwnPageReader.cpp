// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/OwnPageReader.h"

#include <limits>
#include <map>

#include "base/MediaFileSearch.h"
#include "model/VoraneItem.h"
#include "output/HtmlPageBuilder.h"

namespace kestrune {

namespace {

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
                for (const std::string* path : MediaFieldsOf(*item)) Add(*path);
                if (const CVorane* sub = item->m_subMenu.Existing()) pending.push_back(sub);
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

AppletReadResult ReadOwnPage(const CAppletParameters& model) {
    MediaNames media(model.m_documentFolder);
    media.Add(model.m_appBKImagePath);
    media.Add(model.m_appBKAudioPath);
    for (const auto& menu : model.m_menus) media.AddMenu(*menu);
    ParameterReadOptions options;
    options.resolveMedia = media.Resolver();
    const std::string page = BuildHTML(model);
    options.maxTextSize = page.size();
    options.maxParameters = std::numeric_limits<std::size_t>::max();
    return ReadAppletParameters(page, options);
}

}  // namespace kestrune
