// SPDX-License-Identifier: GPL-3.0-or-later
#include "tree/NodePictures.h"

#include <array>

#include "app/TextConvert.h"
#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "properties/IconResources.h"

using namespace kestrune;

namespace treenodes {

int KindOfPicture(int picture) {
    switch (picture) {
        case 0: return kKindRoot;
        case 1:
        case 2: return kKindMenu;
        case 3:
        case 4: return kKindSubMenuItem;
        case 5:
        case 6: return kKindPlainItem;
        default: return kKindNone;
    }
}

bool IsItemKind(int kind) { return kind == kKindSubMenuItem || kind == kKindPlainItem; }

int WithVisibility(int picture, bool visible) {
    if (picture <= kPictureRoot || picture >= kPictureCount) return picture;
    const int shown = picture - ((picture - 1) % 2);
    return visible ? shown : shown + 1;
}

int PictureOfMenu(const CVorane& menu) { return WithVisibility(kPictureMenu, menu.m_visible != 0); }

int PictureOfItem(const CVoraneItem& item) {
    const bool hasSubItems = item.m_subMenu.HasItems();
    return WithVisibility(hasSubItems ? kPictureSubMenuItem : kPicturePlainItem, item.m_visible != 0);
}

const QIcon& IconOfPicture(int picture) {
    static const std::array<QIcon, kPictureCount> icons = [] {
        EnsureIconResources();
        std::array<QIcon, kPictureCount> loaded;
        for (int i = 0; i < kPictureCount; ++i)
            loaded[static_cast<std::size_t>(i)] = QIcon(QStringLiteral(":/icons/node%1.png").arg(i));
        return loaded;
    }();
    static const QIcon none;
    if (picture < 0 || picture >= kPictureCount) return none;
    return icons[static_cast<std::size_t>(picture)];
}

QString TextOfApplet(const CAppletParameters& applet) { return convert::LabelToWidget(applet.m_HTMLTitle); }
QString TextOfMenu(const CVorane& menu) { return convert::LabelToWidget(menu.m_name); }
QString TextOfItem(const CVoraneItem& item) { return convert::LabelToWidget(item.m_label); }

bool IsHiddenPicture(int picture) { return picture > kPictureRoot && picture < kPictureCount && picture % 2 == 0; }

}  // namespace treenodes
