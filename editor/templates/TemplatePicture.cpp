// SPDX-License-Identifier: GPL-3.0-or-later
#include "templates/TemplatePicture.h"

#include <QPainter>
#include <algorithm>

#include "model/AppletParameters.h"
#include "model/VoraneItem.h"
#include "preview/PreviewMenuLayout.h"
#include "preview/MenuRenderer.h"
#include "preview/PreviewImageCache.h"

using namespace kestrune;

namespace {
// The first visible item of a top-level menu that opens a sub menu with visible items.
MenuPath FirstOpenablePath(const CAppletParameters& applet) {
    for (std::size_t top = 0; top < applet.m_menus.size(); ++top) {
        const CVorane& menu = *applet.m_menus[top];
        if (!menu.m_visible) continue;
        int visibleIndex = 0;
        for (const auto& item : menu.m_items) {
            if (!item->m_visible) continue;
            if (const CVorane* sub = item->m_subMenu.Existing(); sub && sub->HasVisibleItem())
                return MenuPath{static_cast<int>(top), {visibleIndex}};
            ++visibleIndex;
        }
    }
    return {};
}
}  // namespace

QImage DrawMenuPicture(const CAppletParameters& applet, const QSize& bound, qreal devicePixelRatio) {
    QImage picture(bound * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    CMenuLayout layout;
    layout.Build(applet, FirstOpenablePath(applet));
    QRect extent = CMenuLayout::ToQRect(Rect{0, 0, applet.m_appWidth, applet.m_appHeight});
    for (const ShownMenu& menu : layout.Menus()) extent |= menu.rect;
    if (extent.isEmpty() || bound.isEmpty()) return picture;

    const qreal scale = std::min({1.0, qreal(bound.width()) / extent.width(), qreal(bound.height()) / extent.height()});
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate((bound.width() - extent.width() * scale) / 2, (bound.height() - extent.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(-extent.topLeft());
    CPreviewImageCache images;
    CMenuRenderer renderer(images);
    painter.setClipRect(extent);
    renderer.DrawAppletBackground(painter, applet);
    renderer.DrawMenus(painter, layout, false, extent);
    return picture;
}
