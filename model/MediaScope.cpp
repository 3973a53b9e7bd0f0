// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MediaScope.h"

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"

namespace kestrune {

MediaFieldValues ImageFieldValues(std::string normal, std::string over, std::string click) {
    MediaFieldValues values;
    values.fields = {{kNormalImage, normal}, {kOverImage, over}, {kClickImage, click}};
    values.setForMenu = [normal, over, click](CVorane* menu, int recursive) {
        CAppletParameters::SetItemImages(normal, over, click, menu, recursive);
    };
    return values;
}

MediaFieldValues AudioFieldValues(std::string over, std::string click) {
    MediaFieldValues values;
    values.fields = {{kOverAudio, over}, {kClickAudio, click}};
    values.setForMenu = [over, click](CVorane* menu, int recursive) {
        CAppletParameters::SetItemAudio(over, click, menu, recursive);
    };
    return values;
}

ScopeTarget TargetOfScope(const CAppletParameters& applet, CVoraneItem* item, ApplyScope scope) {
    ScopeTarget target;
    if (!item) return target;
    switch (scope) {
    case ApplyScope::ThisItem:
        target.item = item;
        break;
    case ApplyScope::SameMenu:
        if (CVorane* menu = applet.FindParentMenu(item)) {
            target.menus.push_back(menu);
            target.changedMenu = menu;
        }
        break;
    case ApplyScope::AllItems:
        for (const auto& menu : applet.m_menus) target.menus.push_back(menu.get());
        target.recursive = true;
        break;
    case ApplyScope::None:
        break;
    }
    return target;
}

namespace {
bool ItemDiffers(const CVoraneItem& item, const MediaFieldValues& values) {
    for (const auto& [field, value] : values.fields)
        if (*MediaFieldsOf(item)[field] != value) return true;
    return false;
}

bool MenuDiffers(const CVorane* menu, bool recursive, const MediaFieldValues& values) {
    std::vector<const CVorane*> pending{menu};
    while (!pending.empty()) {
        const CVorane* current = pending.back();
        pending.pop_back();
        if (!current) continue;
        for (const auto& item : current->m_items) {
            if (ItemDiffers(*item, values)) return true;
            if (recursive) pending.push_back(item->m_subMenu.Existing());
        }
    }
    return false;
}
}  // namespace

bool MediaDiffers(const ScopeTarget& target, const MediaFieldValues& values) {
    if (target.item) return ItemDiffers(*target.item, values);
    for (const CVorane* menu : target.menus)
        if (MenuDiffers(menu, target.recursive, values)) return true;
    return false;
}

void StoreMedia(const ScopeTarget& target, const MediaFieldValues& values) {
    if (target.item)
        for (const auto& [field, value] : values.fields) *MediaFieldsOf(*target.item)[field] = value;
    for (CVorane* menu : target.menus) values.setForMenu(menu, target.recursive ? 1 : 0);
}

}  // namespace kestrune
