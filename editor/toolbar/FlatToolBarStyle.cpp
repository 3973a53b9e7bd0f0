// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolbar/FlatToolBarStyle.h"

#include <QPainter>
#include <QStyleOption>
#include <QToolBar>


namespace {
// A three-dimensional rectangle: `topLeft` on the top and left edges, `bottomRight` on the others.
void Draw3dRect(QPainter* painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight) {
    if (rect.isEmpty()) return;
    painter->save();
    painter->setPen(topLeft);
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(bottomRight);
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->restore();
}
}  // namespace

CFlatToolBarStyle::CFlatToolBarStyle() = default;

std::pair<QRect, QRect> CFlatToolBarStyle::GripperBars(const QRect& handle, bool horizontal) {
    const QRect inner = handle.adjusted(1, 1, -1, -1);
    if (horizontal) {
        const QRect first(inner.left(), inner.top(), 3, inner.height());
        return {first, first.translated(4, 0)};
    }
    const QRect first(inner.left(), inner.top(), inner.width(), 3);
    return {first, first.translated(0, 4)};
}

QRect CFlatToolBarStyle::SeparatorLine(const QRect& separator, bool horizontalBar) {
    if (horizontalBar) {
        const int x = (separator.left() + separator.right() + 1) / 2;
        return QRect(x - 1, separator.top(), 2, separator.height());
    }
    const int y = (separator.top() + separator.bottom() + 1) / 2;
    return QRect(separator.left(), y - 1, separator.width(), 2);
}

void CFlatToolBarStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                      const QWidget* widget) const {
    const QColor shadow = option->palette.color(QPalette::Dark);
    const QColor highlight = option->palette.color(QPalette::Light);
    const bool horizontal = option->state & State_Horizontal;
    if (element == PE_IndicatorToolBarHandle) {
        // A floating bar is moved by its caption; it shows no gripper.
        if (const auto* bar = qobject_cast<const QToolBar*>(widget); bar && bar->isFloating()) return;
        const auto [first, second] = GripperBars(option->rect, horizontal);
        Draw3dRect(painter, first, highlight, shadow);
        Draw3dRect(painter, second, highlight, shadow);
        return;
    }
    if (element == PE_IndicatorToolBarSeparator) {
        // A separator wider than a plain gap holds another control and gets no line.
        const int across = horizontal ? option->rect.width() : option->rect.height();
        if (across > 8) return;
        Draw3dRect(painter, SeparatorLine(option->rect, horizontal), shadow, highlight);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int CFlatToolBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
        case PM_ToolBarHandleExtent: return kGripperExtent;
        case PM_ToolBarSeparatorExtent: return kSeparatorExtent;
        case PM_ToolBarFrameWidth: return 1;
        case PM_ToolBarItemMargin: return 1;
        case PM_ToolBarItemSpacing: return 0;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
