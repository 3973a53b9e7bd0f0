// SPDX-License-Identifier: GPL-3.0-or-later
#include "properties/ColorButton.h"

#include <QPainter>

#include "app/DialogService.h"
#include "app/TextConvert.h"

using kestrune::convert::FromQColor;
using kestrune::convert::ToQColor;

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, &CColorButton::ChooseColor);
}

void CColorButton::SetColor(kestrune::Color color) {
    m_color = color;
    update();
}

QSize CColorButton::sizeHint() const { return {56, 24}; }

void CColorButton::ChooseColor() {
    if (!m_dialogs) return;
    if (auto chosen = m_dialogs->GetColor(this, ToQColor(m_color))) {
        SetColor(FromQColor(*chosen));
        emit colorChosen(m_color);
    }
}

void CColorButton::paintEvent(QPaintEvent*) {
    if (!isEnabled()) return;
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r.adjusted(5, 5, -5, -5), ToQColor(m_color));

    // Edges run corner to corner with 2-pixel pens; a pressed button is framed black all round.
    const bool pressed = isDown();
    const QPoint topLeft = r.topLeft();
    const QPoint topRight(r.right(), r.top());
    const QPoint bottomLeft(r.left(), r.bottom());
    const QPoint bottomRight = r.bottomRight();
    const QPen dark(Qt::black, 2, Qt::SolidLine, Qt::SquareCap);
    const QPen light(pressed ? Qt::black : Qt::white, 2, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(light);
    painter.drawLine(topLeft, topRight);
    painter.drawLine(topLeft, bottomLeft);
    painter.setPen(dark);
    painter.drawLine(bottomRight, topRight);
    painter.drawLine(bottomRight, bottomLeft);

    if (hasFocus()) {
        // Inverting keeps the dotted rectangle visible on any colour.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(5, 5, -6, -6));
    }
}
