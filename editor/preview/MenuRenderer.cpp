// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/MenuRenderer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/VoraneItem.h"
#include "preview/PreviewImageCache.h"
#include "app/TextConvert.h"

using namespace kestrune;

namespace {

constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 400;
constexpr double kShadeStrength = 0.6;
constexpr int kShadowOffset = 2;

enum FillStyle { kFillTransparent = 0, kFillSolid = 1, kFillFirstGradient = 2, kFillLastGradient = 9 };
enum BorderStyle { kBorderRaised = 1, kBorderSunken = 2 };
enum FontEffect { kEffectNormal = 0, kEffectOutline, kEffectSunken, kEffectBulge, kEffectShadow };
enum Alignment { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

QColor Mix(const QColor& from, const QColor& to, double amount) {
    auto channel = [amount](int a, int b) { return static_cast<int>(a + (b - a) * amount + 0.5); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

// The left edge of something `width` wide placed in rect by an alignment and an offset:
// the offset moves away from the aligned edge, and to the right when centred.
int AlignedLeft(const QRect& rect, int width, int alignment, int offset) {
    switch (alignment) {
    case kAlignCenter: return rect.left() + (rect.width() - width) / 2 + offset;
    case kAlignRight: return rect.left() + rect.width() - width - offset;
    default: return rect.left() + offset;
    }
}

QStringList LabelLines(const std::string& label) {
    const QString text = convert::ToQt(label);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    // A lone line feed is no line break to the applet.
    for (QString& line : lines) line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return lines;
}

const std::string& ImageOfState(const CVoraneItem& item, ItemState state) {
    const std::string& own = state == kStateMouseOver ? item.m_overImage
                             : state == kStateClicked ? item.m_clickImage
                                                      : item.m_normalImage;
    return own.empty() ? item.m_normalImage : own;
}

}  // namespace

CMenuRenderer::CMenuRenderer(CPreviewImageCache& images) : m_images(images) {}
CMenuRenderer::~CMenuRenderer() = default;

QColor CMenuRenderer::ToQColor(Color color) {
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QColor CMenuRenderer::Lighter(const QColor& color) { return Mix(color, Qt::white, kShadeStrength); }
QColor CMenuRenderer::Darker(const QColor& color) { return Mix(color, Qt::black, kShadeStrength); }

QFont CMenuRenderer::FontFor(const ItemStyle& style) {
    QFont font;
    switch (style.FontName) {
    case 1:
        font.setFamilies({QStringLiteral("Helvetica"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
        break;
    case 2:
        font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                          QStringLiteral("DejaVu Sans Mono")});
        font.setStyleHint(QFont::Monospace);
        break;
    default:
        font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
        break;
    }
    // The applet's point sizes are screen pixels.
    font.setPixelSize(std::clamp(style.FontSize, kMinFontSize, kMaxFontSize));
    font.setBold(style.FontStyle == 1 || style.FontStyle == 3);
    font.setItalic(style.FontStyle == 2 || style.FontStyle == 3);
    return font;
}

const std::pair<QFont, QFontMetrics>& CMenuRenderer::FontAndMetrics(const ItemStyle& style) {
    const auto key = std::make_tuple(style.FontName, std::clamp(style.FontSize, kMinFontSize, kMaxFontSize),
                                     style.FontStyle);
    auto& slot = m_fonts[key];
    if (!slot) {
        QFont font = FontFor(style);
        slot = std::make_unique<std::pair<QFont, QFontMetrics>>(font, QFontMetrics(font));
    }
    return *slot;
}

ItemState CMenuRenderer::StateOf(const CMenuLayout& layout, int menu, int item, bool pressed) {
    const ShownMenu& shown = layout.Menus()[static_cast<std::size_t>(menu)];
    const auto level = static_cast<std::size_t>(shown.chainLevel);
    const MenuPath& path = layout.Path();
    if (shown.chainLevel < 0 || level >= path.items.size()) return kStateNormal;
    if (path.items[level] != shown.items[static_cast<std::size_t>(item)].visibleIndex) return kStateNormal;
    return pressed && level + 1 == path.items.size() ? kStateClicked : kStateMouseOver;
}

void CMenuRenderer::DrawAppletBackground(QPainter& painter, const CAppletParameters& applet) {
    const QRect area = CMenuLayout::ToQRect(Rect{0, 0, applet.m_appWidth, applet.m_appHeight});
    if (area.isEmpty()) return;
    painter.fillRect(area, ToQColor(applet.m_appBKColor));
    const QImage& image = m_images.Image(applet.m_appBKImagePath);
    if (image.isNull()) return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    if (applet.m_appBKImageMode == 1) {
        painter.setBrushOrigin(area.topLeft());
        painter.fillRect(area, QBrush(image));
    } else {
        const Point corner = applet.BackgroundImageCorner();
        painter.drawImage(QPoint(corner.x, corner.y), image);
    }
    painter.restore();
}

namespace {

// Whether applet rectangles land on whole device pixels, so that an opaque rectangle drawn
// later replaces every pixel drawn under it.
bool OnWholePixels(const QPainter& painter) {
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxScale || transform.m11() <= 0 || transform.m22() <= 0) return false;
    const auto whole = [](qreal value) { return std::abs(value - std::round(value)) < 1e-9; };
    return whole(transform.m11()) && whole(transform.m22()) && whole(transform.dx()) && whole(transform.dy());
}

bool FillsBackground(const CVorane& menu) { return menu.m_BKStyle == 2 || menu.m_BKStyle == 3; }

// What of each menu need not be drawn: the parts lying inside dirty and wholly under opaque
// parts of the menus drawn after it (many top-level menus may share one place). What
// reaches outside dirty is drawn as ever.
struct HiddenParts {
    bool menu = false;
    std::vector<bool> items;
};

std::vector<HiddenParts> FindHiddenParts(const CMenuLayout& layout, bool pressed, const QRect& dirty) {
    const auto& menus = layout.Menus();
    std::vector<HiddenParts> hidden(menus.size());
    QRegion covered;
    const auto isHidden = [&](const QRect& rect) {
        return !covered.isEmpty() && dirty.contains(rect) && (QRegion(rect) - covered).isEmpty();
    };
    for (std::size_t m = menus.size(); m-- > 0;) {
        const ShownMenu& shown = menus[m];
        if (!shown.rect.intersects(dirty)) continue;
        HiddenParts& parts = hidden[m];
        parts.items.assign(shown.items.size(), false);
        parts.menu = isHidden(shown.rect);
        QRegion opaque = FillsBackground(*shown.menu) ? QRegion(shown.rect & dirty) : QRegion();
        for (std::size_t i = 0; i < shown.items.size(); ++i) {
            const QRect& rect = shown.items[i].rect;
            if (!rect.intersects(dirty)) continue;
            parts.items[i] = isHidden(rect);
            parts.menu = parts.menu && parts.items[i];
            const ItemState state = CMenuRenderer::StateOf(layout, static_cast<int>(m), static_cast<int>(i), pressed);
            if (!rect.isEmpty() &&
                shown.menu->m_itemStyle[static_cast<std::size_t>(state)].ItemFillStyle != kFillTransparent)
                opaque += rect & dirty;
        }
        if (!parts.menu) covered += opaque;
    }
    return hidden;
}

}  // namespace

void CMenuRenderer::DrawMenus(QPainter& painter, const CMenuLayout& layout, bool pressed, const QRect& dirty) {
    const auto& menus = layout.Menus();
    const std::vector<HiddenParts> hidden =
        OnWholePixels(painter) ? FindHiddenParts(layout, pressed, dirty) : std::vector<HiddenParts>(menus.size());
    for (std::size_t m = 0; m < menus.size(); ++m) {
        const ShownMenu& shown = menus[m];
        if (!shown.rect.intersects(dirty) || hidden[m].menu) continue;
        DrawMenuBackground(painter, *shown.menu, shown.rect);
        for (std::size_t i = 0; i < shown.items.size(); ++i) {
            const ShownItem& item = shown.items[i];
            if (!item.rect.intersects(dirty) || (i < hidden[m].items.size() && hidden[m].items[i])) continue;
            DrawItem(painter, *shown.menu, *item.item, item.rect,
                     StateOf(layout, static_cast<int>(m), static_cast<int>(i), pressed));
        }
        DrawMenuFrame(painter, *shown.menu, shown.rect);
    }
}

// Filled styles paint the menu colour under and between the items.
void CMenuRenderer::DrawMenuBackground(QPainter& painter, const CVorane& menu, const QRect& rect) {
    if (!rect.isEmpty() && FillsBackground(menu)) painter.fillRect(rect, ToQColor(menu.m_BKColor));
}

// Bordered styles frame the menu rectangle, over its items, with a one-pixel line in the
// Normal font colour.
void CMenuRenderer::DrawMenuFrame(QPainter& painter, const CVorane& menu, const QRect& rect) {
    if (rect.isEmpty() || (menu.m_BKStyle != 1 && menu.m_BKStyle != 3)) return;
    const QColor line = ToQColor(menu.m_itemStyle[kStateNormal].FRColor);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), line);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), line);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
}

void CMenuRenderer::DrawItem(QPainter& painter, const CVorane& menu, const CVoraneItem& item, const QRect& rect,
                             ItemState state) {
    if (rect.isEmpty()) return;
    const ItemStyle& style = menu.m_itemStyle[static_cast<std::size_t>(state)];
    painter.save();
    painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    FillItem(painter, rect, style);
    DrawItemImage(painter, rect, style, item, state);
    DrawItemText(painter, rect, style, item.m_label);
    DrawItemBorder(painter, rect, style, menu.m_BorderThick);
    painter.restore();
}

// Gradients 2 to 5 run left to right, 6 to 9 top to bottom, between black or white and the
// background colour; bi-directional ones reach the second colour in the middle and return.
void CMenuRenderer::FillItem(QPainter& painter, const QRect& rect, const ItemStyle& style) {
    const QColor color = ToQColor(style.BKColor);
    const int fill = style.ItemFillStyle;
    if (fill == kFillTransparent) return;
    if (fill < kFillFirstGradient || fill > kFillLastGradient) {
        painter.fillRect(rect, color);
        return;
    }
    const int kind = (fill - kFillFirstGradient) % 4;  // black→C, white→C, C→black, C→white
    const bool horizontal = fill < kFillFirstGradient + 4;
    const QColor other = (kind == 0 || kind == 2) ? QColor(Qt::black) : QColor(Qt::white);
    const QColor start = kind < 2 ? other : color;
    const QColor end = kind < 2 ? color : other;
    QLinearGradient gradient(rect.topLeft(), horizontal ? QPointF(rect.left() + rect.width(), rect.top())
                                                        : QPointF(rect.left(), rect.top() + rect.height()));
    gradient.setColorAt(0.0, start);
    if (style.GradientDirection == 1) {
        gradient.setColorAt(0.5, end);
        gradient.setColorAt(1.0, start);
    } else {
        gradient.setColorAt(1.0, end);
    }
    painter.fillRect(rect, gradient);
}

void CMenuRenderer::DrawItemImage(QPainter& painter, const QRect& rect, const ItemStyle& style,
                                  const CVoraneItem& item, ItemState state) {
    const QImage& image = m_images.Image(ImageOfState(item, state));
    if (image.isNull()) return;
    const int x = AlignedLeft(rect, image.width(), style.ImageAlign, style.ImageOffset);
    const int y = rect.top() + (rect.height() - image.height()) / 2;
    painter.drawImage(QPoint(x, y), image);
}

void CMenuRenderer::DrawItemText(QPainter& painter, const QRect& rect, const ItemStyle& style,
                                 const std::string& label) {
    if (label.empty()) return;
    const auto& [font, metrics] = FontAndMetrics(style);
    const QStringList lines = LabelLines(label);
    const int lineHeight = metrics.height();
    const int top = rect.top() + (rect.height() - lineHeight * static_cast<int>(lines.size())) / 2;
    const QColor text = ToQColor(style.FRColor);
    const QColor background = ToQColor(style.BKColor);
    painter.setFont(font);

    // Each effect is the label drawn a few times, shifted, in shades of the item colour.
    struct Pass {
        int dx, dy;
        QColor color;
    };
    std::vector<Pass> passes;
    switch (style.FontEffect) {
    case kEffectOutline:
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy) passes.push_back({dx, dy, text});
        passes.push_back({0, 0, background});
        break;
    case kEffectSunken:
        passes = {{-1, -1, Darker(background)}, {1, 1, Lighter(background)}, {0, 0, text}};
        break;
    case kEffectBulge:
        passes = {{-1, -1, Lighter(background)}, {1, 1, Darker(background)}, {0, 0, text}};
        break;
    case kEffectShadow:
        passes = {{kShadowOffset, kShadowOffset, Darker(background)}, {0, 0, text}};
        break;
    default:
        passes = {{0, 0, text}};
        break;
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const int x = AlignedLeft(rect, metrics.horizontalAdvance(line), style.TextAlign, style.TextOffset);
        const int baseline = top + i * lineHeight + metrics.ascent();
        for (const Pass& pass : passes) {
            painter.setPen(pass.color);
            painter.drawText(QPoint(x + pass.dx, baseline + pass.dy), line);
        }
    }
}

// Raised borders are light on the top and left edges and dark on the bottom and right,
// sunken ones the other way round, each ring a shade of the item colour. Plain items
// are flat: no frame at all, as flat toolbars and window menus show their items at rest.
void CMenuRenderer::DrawItemBorder(QPainter& painter, const QRect& rect, const ItemStyle& style, int thickness) {
    const int rings = std::clamp(thickness, 0, std::min(rect.width(), rect.height()) / 2);
    if (rings == 0 || (style.ItemBorderStyle != kBorderRaised && style.ItemBorderStyle != kBorderSunken)) return;
    const QColor background = ToQColor(style.BKColor);
    const bool raised = style.ItemBorderStyle == kBorderRaised;
    const QColor topLeft = raised ? Lighter(background) : Darker(background);
    const QColor bottomRight = raised ? Darker(background) : Lighter(background);
    for (int i = 0; i < rings; ++i) {
        const int left = rect.left() + i, top = rect.top() + i;
        const int right = rect.right() - i, bottom = rect.bottom() - i;
        const int width = right - left + 1, height = bottom - top + 1;
        painter.fillRect(QRect(left, top, width, 1), topLeft);
        painter.fillRect(QRect(left, top, 1, height), topLeft);
        painter.fillRect(QRect(left, bottom, width, 1), bottomRight);
        painter.fillRect(QRect(right, top, 1, height), bottomRight);
    }
}
