// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <map>
#include <memory>
#include <tuple>

#include "model/AppletParameters.h"
#include "model/ItemStyle.h"
#include "preview/PreviewMenuLayout.h"

class QPainter;
class CPreviewImageCache;

// Draws the applet the way the menu applet shows it: the applet area, every menu of a
// layout by its style fields, and each item in its state. Pure drawing: it keeps no
// pointer state and paints into any QPainter, in the applet's own coordinates.
class CMenuRenderer {
public:
    explicit CMenuRenderer(CPreviewImageCache& images);
    ~CMenuRenderer();

    // Background colour, then the background image at its position or tiled.
    void DrawAppletBackground(QPainter& painter, const kestrune::CAppletParameters& applet);
    // The menus of the layout that meet dirty, later ones over earlier ones; items on the
    // open path show Mouse Over, the last one Clicked while pressed.
    void DrawMenus(QPainter& painter, const CMenuLayout& layout, bool pressed, const QRect& dirty);
    void DrawMenuBackground(QPainter& painter, const kestrune::CVorane& menu, const QRect& rect);
    void DrawMenuFrame(QPainter& painter, const kestrune::CVorane& menu, const QRect& rect);
    void DrawItem(QPainter& painter, const kestrune::CVorane& menu, const kestrune::CVoraneItem& item,
                  const QRect& rect, kestrune::ItemState state);

    static kestrune::ItemState StateOf(const CMenuLayout& layout, int menu, int item, bool pressed);
    static QColor ToQColor(kestrune::Color color);
    // Bevel and effect shades: the colour mixed towards white or black.
    static QColor Lighter(const QColor& color);
    static QColor Darker(const QColor& color);
    static QFont FontFor(const kestrune::ItemStyle& style);

private:
    void FillItem(QPainter& painter, const QRect& rect, const kestrune::ItemStyle& style);
    void DrawItemImage(QPainter& painter, const QRect& rect, const kestrune::ItemStyle& style,
                       const kestrune::CVoraneItem& item, kestrune::ItemState state);
    void DrawItemText(QPainter& painter, const QRect& rect, const kestrune::ItemStyle& style,
                      const std::string& label);
    void DrawItemBorder(QPainter& painter, const QRect& rect, const kestrune::ItemStyle& style, int thickness);
    const std::pair<QFont, QFontMetrics>& FontAndMetrics(const kestrune::ItemStyle& style);

    CPreviewImageCache& m_images;
    std::map<std::tuple<int, int, int>, std::unique_ptr<std::pair<QFont, QFontMetrics>>> m_fonts;
};
