#include "platform/program_icon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace quillon {

QPixmap ProgramIcon::badge(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal corner = side * 0.1875;
    const qreal edge = side / 48.0;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(edge, edge, side - 2 * edge, side - 2 * edge), corner, corner);
    painter.fillPath(shape, QColor(0x1f, 0x5c, 0x3a));
    painter.setPen(QPen(QColor(0xe8, 0xc5, 0x47), 2 * edge));
    painter.drawPath(shape);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(6, side * 20 / 48));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, QStringLiteral("DQ"));
    return pixmap;
}

QIcon ProgramIcon::icon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(badge(side));
    return icon;
}

} // namespace quillon
