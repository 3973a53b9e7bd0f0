// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// The drawing of the flat toolbar: gripper and etched separators in the desktop's button
// shadow and highlight colours. Everything else is the platform style's.
class CFlatToolBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    CFlatToolBarStyle();

    static constexpr int kGripperExtent = 8;
    static constexpr int kSeparatorExtent = 6;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

    // Exposed for tests: the rectangles the two gripper bars and a separator line cover.
    static std::pair<QRect, QRect> GripperBars(const QRect& handle, bool horizontal);
    static QRect SeparatorLine(const QRect& separator, bool horizontalBar);
};
