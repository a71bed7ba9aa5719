#include "sketch_palette.h"

#include <QLinearGradient>
#include <QPainter>

namespace quillon {

const QColor SketchPalette::ink(40, 40, 48);
const QColor SketchPalette::steel(168, 172, 180);
const QColor SketchPalette::darkSteel(98, 102, 110);
const QColor SketchPalette::rubber(36, 36, 38);
const QColor SketchPalette::paper(250, 249, 244);

QPen SketchPalette::outline(qreal width) {
    return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush SketchPalette::metal(const QRectF& area, const QColor& base) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0.0, base.lighter(135));
    gradient.setColorAt(0.5, base);
    gradient.setColorAt(1.0, base.darker(140));
    return gradient;
}

void SketchPalette::circle(QPainter& p, QPointF centre, qreal radius) {
    p.drawEllipse(centre, radius, radius);
}

} // namespace quillon
