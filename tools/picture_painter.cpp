#include "picture_painter.h"

#include "part_sketch.h"
#include "sketch_palette.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace quillon {

QImage PicturePainter::paint(const Subject& subject) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(SketchPalette::paper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // The supplier's strip at the top, with the part number.
    painter.fillRect(QRect(0, 0, width, 34), QColor(22, 66, 44));
    painter.setPen(Qt::white);
    QFont strip(QStringLiteral("DejaVu Sans"));
    strip.setPixelSize(15);
    strip.setBold(true);
    painter.setFont(strip);
    painter.drawText(QRect(12, 0, width - 24, 34), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("DORVANE PLC"));
    painter.drawText(QRect(12, 0, width - 24, 34), Qt::AlignVCenter | Qt::AlignRight,
                     subject.dorvaneNum);

    // The part, in the middle; other views turn and enlarge it a little.
    painter.save();
    painter.setClipRect(QRect(0, 34, width, height - 34 - 62));
    painter.translate(width / 2.0, 34 + (height - 34 - 62) / 2.0);
    painter.scale(0.95, 0.95);
    if (subject.view > 1) {
        painter.rotate(subject.view % 2 == 0 ? -18 : 14);
        painter.scale(1.0 + 0.06 * subject.view, 1.0 + 0.06 * subject.view);
    }
    PartSketch::draw(painter, subject.drawing,
                     QColor::fromHsv(static_cast<int>(subject.hue % 360), 150, 170));
    painter.restore();

    // The caption: description and Land Rover number.
    painter.setPen(QPen(SketchPalette::ink, 1));
    painter.drawLine(12, height - 62, width - 12, height - 62);
    QFont caption(QStringLiteral("DejaVu Sans"));
    caption.setPixelSize(13);
    caption.setBold(true);
    painter.setFont(caption);
    const QFontMetrics metrics(caption);
    painter.drawText(QRect(12, height - 58, width - 24, 24), Qt::AlignVCenter | Qt::AlignLeft,
                     metrics.elidedText(subject.description, Qt::ElideRight, width - 24));
    caption.setBold(false);
    caption.setPixelSize(12);
    painter.setFont(caption);
    painter.drawText(QRect(12, height - 32, width - 24, 24), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Rover No: %1").arg(subject.roverNum));
    if (subject.view > 1)
        painter.drawText(QRect(12, height - 32, width - 24, 24), Qt::AlignVCenter | Qt::AlignRight,
                         QStringLiteral("VIEW %1").arg(subject.view));
    painter.setPen(QPen(SketchPalette::ink, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(1, 1, width - 2, height - 2));
    painter.end();
    return image;
}

} // namespace quillon
