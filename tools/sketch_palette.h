#pragma once

#include <QBrush>
#include <QColor>
#include <QPen>

class QPainter;

namespace quillon {

// The colours and strokes the demo catalogue's pictures share: the frame PicturePainter draws and
// the part drawings of PartSketch.
class SketchPalette {
public:
    static const QColor ink;
    static const QColor steel;
    static const QColor darkSteel;
    static const QColor rubber;
    static const QColor paper;

    // A line in ink with round ends and joins.
    [[nodiscard]] static QPen outline(qreal width = 2.0);
    // A diagonal sheen over the area, lighter and darker than the base colour.
    [[nodiscard]] static QBrush metal(const QRectF& area, const QColor& base = steel);
    static void circle(QPainter& p, QPointF centre, qreal radius);
};

} // namespace quillon
