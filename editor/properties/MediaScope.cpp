#include "properties/MediaScope.h"

#include "app/KestruneApp.h"
#include "app/KestruneDoc.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "app/UndoTexts.h"

using namespace kestrune;

MediaPaths ImagePaths(std::string normal, std::string over, std::string click) {
    MediaPaths paths;
    paths.stepName = undotexts::kChangeImages;
    paths.fields = {{&CVoraneItem::m_normalImage, normal},
                    {&CVoraneItem::m_overImage, over},
                    {&CVoraneItem::m_clickImage, click}};
    paths.setForMenu = [normal, over, click](CVorane* menu, int recursive) {
        CAppletParameters::SetItemImages(normal, over, click, menu, recursive);
    };
    return paths;
}

MediaPaths AudioPaths(std::string over, std::string click) {
    MediaPaths paths;
    paths.stepName = undotexts::kChangeSounds;
    paths.fields = {{&CVoraneItem::m_overAudio, over}, {&CVoraneItem::m_clickAudio, click}};
    paths.setForMenu = [over, click](CVorane* menu, int recursive) {
        CAppletParameters::SetItemAudio(over, click, menu, recursive);
    };
    return paths;
}

namespace {
bool ItemDiffers(const CVoraneItem& item, const MediaPaths& paths) {
    for (const auto& [field, value] : paths.fields)
        if (item.*field != value) return true;
    return false;
}

bool MenuDiffers(const CVorane* menu, bool recursive, const MediaPaths& paths) {
    if (!menu) return false;
    for (const auto& item : menu->m_items) {
        if (ItemDiffers(*item, paths)) return true;
        if (recursive && MenuDiffers(item->m_subMenu.Existing(), true, paths)) return true;
    }
    return false;
}

bool ApplyToItem(CKestruneDoc& doc, CVoraneItem* item, const MediaPaths& paths) {
    return doc.EditProperties(
        [&] {
            if (!ItemDiffers(*item, paths)) return false;
            for (const auto& [field, value] : paths.fields) item->*field = value;
            return true;
        },
        nullptr, item, paths.stepName);
}

// announced: the one menu whose items change, or none when the whole applet may change.
bool ApplyToMenus(CKestruneDoc& doc, const std::vector<CVorane*>& menus, bool recursive, const MediaPaths& paths,
                  CVorane* announced) {
    return doc.EditProperties(
        [&] {
            bool differs = false;
            for (CVorane* menu : menus) differs = differs || MenuDiffers(menu, recursive, paths);
            if (!differs) return false;
            for (CVorane* menu : menus) paths.setForMenu(menu, recursive ? 1 : 0);
            return true;
        },
        announced, nullptr, paths.stepName);
}
}  // namespace

bool ApplyMedia(CKestruneDoc& doc, CVoraneItem* item, ApplyScope scope, const MediaPaths& paths) {
    if (!item) return false;
    CAppletParameters& applet = doc.Applet();
    switch (scope) {
    case ApplyScope::ThisItem:
        return ApplyToItem(doc, item, paths);
    case ApplyScope::SameMenu:
        if (CVorane* menu = applet.FindParentMenu(item)) return ApplyToMenus(doc, {menu}, false, paths, menu);
        return false;
    case ApplyScope::AllItems: {
        std::vector<CVorane*> menus;
        for (const auto& menu : applet.m_menus) menus.push_back(menu.get());
        return ApplyToMenus(doc, menus, true, paths, nullptr);
    }
    case ApplyScope::None:
        break;
    }
    return false;
}
