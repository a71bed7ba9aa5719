#include "part_sketch.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace quillon {

void PartSketch::drawFilter(QPainter& p, const QColor& tint) {
    const QRectF body(-58, -62, 116, 132);
    p.setPen(outline());
    p.setBrush(metal(body, tint));
    p.drawRoundedRect(body, 14, 14);
    // The grip ridges at the closed end.
    for (int x = -48; x <= 48; x += 8)
        p.drawLine(QPointF(x, 52), QPointF(x, 68));
    // Label band.
    p.setBrush(paper);
    p.drawRect(QRectF(-58, -20, 116, 40));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold));
    p.drawText(QRectF(-58, -20, 116, 40), Qt::AlignCenter, QStringLiteral("FILTER"));
    // The base plate with its threaded centre.
    p.setBrush(metal(QRectF(-60, -80, 120, 30), darkSteel));
    p.drawEllipse(QRectF(-60, -80, 120, 30));
    p.setBrush(rubber);
    p.drawEllipse(QRectF(-16, -71, 32, 12));
}

void PartSketch::drawBrakePads(QPainter& p, const QColor& tint) {
    for (int i = 0; i < 2; ++i) {
        p.save();
        p.translate(i == 0 ? -45 : 45, i == 0 ? -10 : 10);
        QPainterPath plate;
        plate.moveTo(-70, -30);
        plate.lineTo(70, -30);
        plate.lineTo(80, -10);
        plate.lineTo(70, 40);
        plate.lineTo(-70, 40);
        plate.lineTo(-80, -10);
        plate.closeSubpath();
        p.setPen(outline());
        p.setBrush(metal(plate.boundingRect(), tint));
        p.drawPath(plate);
        p.setBrush(QColor(70, 60, 52));
        p.drawRoundedRect(QRectF(-62, -20, 124, 52), 16, 16);
        p.setPen(QPen(QColor(120, 110, 100), 2));
        p.drawLine(QPointF(0, -18), QPointF(0, 30));
        p.setPen(outline());
        p.setBrush(paper);
        circle(p, QPointF(-74, -18), 5);
        circle(p, QPointF(74, -18), 5);
        p.restore();
    }
}

void PartSketch::drawBrakeDisc(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-85, -85, 170, 170)));
    circle(p, {0, 0}, 85);
    p.setPen(QPen(darkSteel, 1));
    for (int r = 50; r < 84; r += 6)
        circle(p, {0, 0}, r);
    p.setPen(outline());
    p.setBrush(metal(QRectF(-42, -42, 84, 84), tint));
    circle(p, {0, 0}, 42);
    p.setBrush(paper);
    circle(p, {0, 0}, 14);
    for (int k = 0; k < 5; ++k) {
        const qreal angle = k * 2 * M_PI / 5;
        circle(p, QPointF(28 * qCos(angle), 28 * qSin(angle)), 5);
    }
}

void PartSketch::drawGasket(QPainter& p, const QColor& tint) {
    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(-140, -55, 280, 110), 12, 12);
    for (int k = 0; k < 4; ++k)
        sheet.addEllipse(QPointF(-96 + k * 64, 0), 27, 27);
    for (int k = 0; k < 5; ++k) {
        sheet.addEllipse(QPointF(-128 + k * 64, -42), 5, 5);
        sheet.addEllipse(QPointF(-128 + k * 64, 42), 5, 5);
    }
    p.setPen(outline());
    p.setBrush(metal(sheet.boundingRect(), tint.lighter(120)));
    p.drawPath(sheet);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(darkSteel, 1.5));
    for (int k = 0; k < 4; ++k)
        circle(p, QPointF(-96 + k * 64, 0), 31);
}

void PartSketch::drawBush(QPainter& p, const QColor& tint) {
    // Face view.
    p.save();
    p.translate(-60, 0);
    p.setPen(outline());
    p.setBrush(metal(QRectF(-65, -65, 130, 130)));
    circle(p, {0, 0}, 65);
    p.setBrush(tint.darker(250));
    circle(p, {0, 0}, 53);
    p.setBrush(metal(QRectF(-20, -20, 40, 40)));
    circle(p, {0, 0}, 20);
    p.setBrush(paper);
    circle(p, {0, 0}, 11);
    p.restore();
    // Side view.
    p.save();
    p.translate(85, 0);
    p.setPen(outline());
    p.setBrush(tint.darker(250));
    p.drawRect(QRectF(-28, -53, 56, 106));
    p.setBrush(metal(QRectF(-24, -65, 48, 130)));
    p.drawRect(QRectF(-24, -65, 48, 12));
    p.drawRect(QRectF(-24, 53, 48, 12));
    p.setBrush(metal(QRectF(-40, -20, 80, 40)));
    p.drawRect(QRectF(-40, -11, 80, 22));
    p.restore();
}

void PartSketch::drawLamp(QPainter& p, const QColor& tint) {
    p.setPen(outline(3));
    p.setBrush(metal(QRectF(-80, -80, 160, 160)));
    circle(p, {0, 0}, 80);
    QRadialGradient glass(QPointF(-20, -25), 90);
    glass.setColorAt(0, QColor(255, 255, 255));
    glass.setColorAt(1, tint.lighter(160));
    p.setBrush(glass);
    circle(p, {0, 0}, 66);
    p.setPen(QPen(QColor(120, 130, 140, 160), 1.5));
    for (int x = -60; x <= 60; x += 15)
        p.drawLine(QPointF(x, -qSqrt(66.0 * 66 - x * x)), QPointF(x, qSqrt(66.0 * 66 - x * x)));
    for (int y = -45; y <= 45; y += 30)
        p.drawLine(QPointF(-qSqrt(66.0 * 66 - y * y), y), QPointF(qSqrt(66.0 * 66 - y * y), y));
    p.setPen(outline());
    p.setBrush(paper);
    for (int k = 0; k < 3; ++k) {
        const qreal angle = M_PI / 2 + k * 2 * M_PI / 3;
        circle(p, QPointF(73 * qCos(angle), 73 * qSin(angle)), 4);
    }
}

void PartSketch::drawPanel(QPainter& p, const QColor& tint) {
    QPainterPath panel;
    panel.moveTo(-140, -40);
    panel.lineTo(90, -60);
    panel.quadTo(130, -55, 140, -20);
    panel.lineTo(140, 60);
    panel.lineTo(-100, 70);
    panel.quadTo(-135, 60, -140, 30);
    panel.closeSubpath();
    p.setPen(outline());
    p.setBrush(metal(panel.boundingRect(), tint.lighter(110)));
    p.drawPath(panel);
    p.setPen(QPen(tint.darker(160), 2, Qt::DashLine));
    p.drawLine(QPointF(-130, -20), QPointF(130, -38));
    p.setPen(outline(1.5));
    p.setBrush(paper);
    for (int k = 0; k < 6; ++k)
        circle(p, QPointF(-110 + k * 45, 52 - k * 1.5), 4);
}

void PartSketch::drawHose(QPainter& p, const QColor& tint) {
    QPainterPath path;
    path.moveTo(-130, -50);
    path.cubicTo(-30, -70, -40, 60, 40, 40);
    path.quadTo(100, 25, 130, 60);
    p.setPen(QPen(ink, 34, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(path);
    p.setPen(QPen(tint.darker(200), 28, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, 60), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(path.translated(-3, -6));
    // Hose clips at both ends.
    p.setPen(outline());
    p.setBrush(metal(QRectF(-125, -70, 14, 44)));
    p.drawRect(QRectF(-118, -72, 12, 42));
    p.drawRect(QRectF(112, 38, 12, 40));
}

void PartSketch::drawBelt(QPainter& p, const QColor& tint) {
    QPainterPath loop;
    loop.addRoundedRect(QRectF(-140, -75, 280, 150), 70, 70);
    p.setPen(QPen(rubber, 16));
    p.setBrush(Qt::NoBrush);
    p.drawPath(loop);
    p.setPen(QPen(tint.lighter(150), 2, Qt::DashLine));
    p.drawPath(loop);
    p.setPen(outline());
    p.setBrush(metal(QRectF(-130, -65, 130, 130)));
    circle(p, QPointF(-70, 0), 58);
    p.setBrush(metal(QRectF(60, -40, 80, 80)));
    circle(p, QPointF(95, 0), 38);
    p.setBrush(paper);
    circle(p, QPointF(-70, 0), 10);
    circle(p, QPointF(95, 0), 8);
}

void PartSketch::drawShock(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-140, -20, 40, 40)));
    circle(p, QPointF(-125, 0), 20);
    circle(p, QPointF(125, 0), 20);
    p.setBrush(paper);
    circle(p, QPointF(-125, 0), 8);
    circle(p, QPointF(125, 0), 8);
    p.setBrush(metal(QRectF(0, -8, 110, 16), QColor(215, 218, 222)));
    p.drawRect(QRectF(0, -7, 108, 14));
    p.setBrush(metal(QRectF(-108, -28, 120, 56), tint));
    p.drawRoundedRect(QRectF(-108, -28, 120, 56), 6, 6);
    p.setBrush(rubber);
    p.drawRect(QRectF(12, -18, 40, 36));
}

void PartSketch::drawSpring(QPainter& p, const QColor& tint) {
    p.setPen(QPen(ink, 13, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath coil;
    coil.moveTo(-130, 60);
    for (int k = 0; k < 9; ++k) {
        const qreal x = -130 + k * 30;
        coil.cubicTo(x + 5, -70, x + 25, -70, x + 30, 60);
    }
    p.drawPath(coil);
    p.setPen(QPen(tint, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(coil);
}

void PartSketch::drawBearing(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-85, -85, 170, 170)));
    circle(p, {0, 0}, 85);
    p.setBrush(tint.darker(300));
    circle(p, {0, 0}, 68);
    p.setBrush(metal(QRectF(-40, -40, 80, 80), QColor(200, 200, 205)));
    for (int k = 0; k < 12; ++k) {
        const qreal angle = k * 2 * M_PI / 12;
        circle(p, QPointF(54 * qCos(angle), 54 * qSin(angle)), 11);
    }
    p.setBrush(metal(QRectF(-42, -42, 84, 84)));
    circle(p, {0, 0}, 40);
    p.setBrush(paper);
    circle(p, {0, 0}, 28);
}

void PartSketch::drawMirror(QPainter& p, const QColor& tint) {
    p.setPen(outline(3));
    p.setBrush(rubber);
    p.drawRoundedRect(QRectF(-120, -70, 170, 120), 20, 20);
    QLinearGradient glass(QPointF(-110, -60), QPointF(40, 40));
    glass.setColorAt(0, QColor(235, 245, 255));
    glass.setColorAt(1, tint.lighter(140));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(-110, -60, 150, 100), 14, 14);
    p.setPen(QPen(QColor(255, 255, 255, 200), 4));
    p.drawLine(QPointF(-80, 20), QPointF(-30, -40));
    p.setPen(QPen(ink, 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, -10), QPointF(130, 60));
    p.setPen(QPen(darkSteel, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, -10), QPointF(130, 60));
}

void PartSketch::drawWiper(QPainter& p, const QColor&) {
    p.setPen(outline());
    p.setBrush(rubber);
    p.drawRect(QRectF(-140, 20, 280, 8));
    p.setBrush(metal(QRectF(-140, -30, 280, 50), darkSteel));
    QPainterPath frame;
    frame.moveTo(-135, 20);
    frame.lineTo(-60, -10);
    frame.lineTo(60, -10);
    frame.lineTo(135, 20);
    frame.lineTo(120, 20);
    frame.lineTo(55, -2);
    frame.lineTo(-55, -2);
    frame.lineTo(-120, 20);
    frame.closeSubpath();
    p.drawPath(frame);
    p.drawRect(QRectF(-12, -30, 24, 22));
}

void PartSketch::drawPump(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-100, -80, 160, 160), tint));
    p.drawRoundedRect(QRectF(-110, -70, 150, 140), 30, 30);
    p.setBrush(metal(QRectF(20, -30, 120, 20)));
    p.drawRect(QRectF(30, -62, 100, 22));
    p.setBrush(metal(QRectF(-70, -55, 110, 110)));
    circle(p, QPointF(-20, 10), 52);
    p.setPen(QPen(darkSteel, 2));
    circle(p, QPointF(-20, 10), 44);
    circle(p, QPointF(-20, 10), 38);
    p.setPen(outline());
    p.setBrush(paper);
    circle(p, QPointF(-20, 10), 12);
    for (int k = 0; k < 4; ++k) {
        const qreal angle = M_PI / 4 + k * M_PI / 2;
        circle(p, QPointF(-20 + 25 * qCos(angle), 10 + 25 * qSin(angle)), 4);
    }
}

void PartSketch::drawPlug(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-140, -8, 60, 16)));
    p.drawRect(QRectF(-140, -6, 60, 12)); // terminal
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(QRectF(-85, -22, 90, 44), 10, 10); // insulator
    p.setPen(QPen(tint.darker(150), 3));
    p.drawLine(QPointF(-70, -21), QPointF(-70, 21));
    p.drawLine(QPointF(-55, -21), QPointF(-55, 21));
    p.setPen(outline());
    p.setBrush(metal(QRectF(0, -38, 50, 76), darkSteel));
    p.drawPolygon(QPolygonF({QPointF(5, -38), QPointF(45, -38), QPointF(55, 0), QPointF(45, 38),
                             QPointF(5, 38), QPointF(-5, 0)}));
    p.setBrush(metal(QRectF(55, -18, 70, 36)));
    p.drawRect(QRectF(55, -18, 70, 36));
    p.setPen(QPen(darkSteel, 2));
    for (int x = 60; x < 125; x += 7)
        p.drawLine(QPointF(x, -18), QPointF(x + 4, 18));
    p.setPen(outline(4));
    p.drawLine(QPointF(125, 0), QPointF(142, 0));
}

void PartSketch::drawCable(QPainter& p, const QColor&) {
    QPainterPath path;
    path.moveTo(-120, 40);
    path.cubicTo(-60, -120, 40, 110, 120, -40);
    p.setPen(QPen(rubber, 10, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(outline());
    p.setBrush(metal(QRectF(-150, 30, 40, 30)));
    p.drawRect(QRectF(-140, 32, 26, 18));
    p.drawRect(QRectF(112, -52, 26, 18));
    p.setBrush(paper);
    circle(p, QPointF(-148, 41), 7);
    circle(p, QPointF(146, -43), 7);
}

void PartSketch::drawSeal(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(tint.darker(260));
    circle(p, {0, 0}, 80);
    p.setBrush(metal(QRectF(-64, -64, 128, 128)));
    circle(p, {0, 0}, 64);
    p.setBrush(rubber);
    circle(p, {0, 0}, 54);
    p.setBrush(paper);
    circle(p, {0, 0}, 46);
    p.setPen(QPen(darkSteel, 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    circle(p, {0, 0}, 72);
}

void PartSketch::drawSwitch(QPainter& p, const QColor& tint) {
    p.setPen(outline(3));
    p.setBrush(rubber);
    p.drawRoundedRect(QRectF(-60, -80, 120, 160), 12, 12);
    p.setBrush(QColor(70, 70, 74));
    p.drawRoundedRect(QRectF(-45, -65, 90, 130), 8, 8);
    p.setBrush(tint);
    p.drawPolygon(QPolygonF({QPointF(0, -45), QPointF(30, 5), QPointF(-30, 5)}));
    p.setBrush(metal(QRectF(60, -40, 60, 80)));
    for (int k = 0; k < 3; ++k)
        p.drawRect(QRectF(60, -40 + k * 30, 50, 12));
}

void PartSketch::drawBulb(QPainter& p, const QColor& tint) {
    QRadialGradient glass(QPointF(-20, -30), 80);
    glass.setColorAt(0, Qt::white);
    glass.setColorAt(1, tint.lighter(170));
    p.setPen(outline());
    p.setBrush(glass);
    circle(p, QPointF(0, -20), 62);
    p.setPen(QPen(darkSteel, 2));
    p.drawLine(QPointF(-15, 20), QPointF(-15, -20));
    p.drawLine(QPointF(15, 20), QPointF(15, -20));
    p.setPen(QPen(QColor(200, 120, 20), 2));
    p.drawPolyline(QPolygonF(
        {QPointF(-15, -20), QPointF(-8, -30), QPointF(0, -20), QPointF(8, -30), QPointF(15, -20)}));
    p.setPen(outline());
    p.setBrush(metal(QRectF(-30, 30, 60, 55)));
    p.drawRect(QRectF(-30, 32, 60, 50));
    p.setBrush(metal(QRectF(-45, 40, 90, 10), darkSteel));
    circle(p, QPointF(-36, 45), 6);
    circle(p, QPointF(36, 45), 6);
}

void PartSketch::drawFixing(QPainter& p, const QColor&) {
    p.setPen(outline());
    // Nut, face on.
    QPolygonF hexagon;
    for (int k = 0; k < 6; ++k) {
        const qreal angle = k * M_PI / 3;
        hexagon << QPointF(-75 + 55 * qCos(angle), 55 * qSin(angle));
    }
    p.setBrush(metal(hexagon.boundingRect()));
    p.drawPolygon(hexagon);
    p.setBrush(paper);
    circle(p, QPointF(-75, 0), 24);
    p.setPen(QPen(darkSteel, 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    circle(p, QPointF(-75, 0), 28);
    // Bolt, side on.
    p.setPen(outline());
    p.setBrush(metal(QRectF(20, -35, 30, 70), darkSteel));
    p.drawRect(QRectF(20, -35, 30, 70));
    p.setBrush(metal(QRectF(50, -16, 90, 32)));
    p.drawRect(QRectF(50, -16, 90, 32));
    p.setPen(QPen(darkSteel, 2));
    for (int x = 70; x < 140; x += 7)
        p.drawLine(QPointF(x, -16), QPointF(x + 4, 16));
}

void PartSketch::drawSilencer(QPainter& p, const QColor& tint) {
    p.setPen(outline());
    p.setBrush(metal(QRectF(-140, -10, 280, 20), darkSteel));
    p.drawRect(QRectF(-145, -9, 290, 18));
    p.setBrush(metal(QRectF(-90, -55, 180, 110), tint.darker(120)));
    p.drawRoundedRect(QRectF(-90, -55, 180, 110), 50, 50);
    p.setPen(QPen(tint.darker(200), 2));
    p.drawLine(QPointF(-50, -54), QPointF(-50, 54));
    p.drawLine(QPointF(50, -54), QPointF(50, 54));
}

void PartSketch::draw(QPainter& painter, PartDrawing drawing, const QColor& tint) {
    switch (drawing) {
    case PartDrawing::Filter:
        return drawFilter(painter, tint);
    case PartDrawing::BrakePads:
        return drawBrakePads(painter, tint);
    case PartDrawing::BrakeDisc:
        return drawBrakeDisc(painter, tint);
    case PartDrawing::Gasket:
        return drawGasket(painter, tint);
    case PartDrawing::Bush:
        return drawBush(painter, tint);
    case PartDrawing::Lamp:
        return drawLamp(painter, tint);
    case PartDrawing::Panel:
        return drawPanel(painter, tint);
    case PartDrawing::Hose:
        return drawHose(painter, tint);
    case PartDrawing::Belt:
        return drawBelt(painter, tint);
    case PartDrawing::Shock:
        return drawShock(painter, tint);
    case PartDrawing::Spring:
        return drawSpring(painter, tint);
    case PartDrawing::Bearing:
        return drawBearing(painter, tint);
    case PartDrawing::Mirror:
        return drawMirror(painter, tint);
    case PartDrawing::Wiper:
        return drawWiper(painter, tint);
    case PartDrawing::Pump:
        return drawPump(painter, tint);
    case PartDrawing::Plug:
        return drawPlug(painter, tint);
    case PartDrawing::Cable:
        return drawCable(painter, tint);
    case PartDrawing::Seal:
        return drawSeal(painter, tint);
    case PartDrawing::Switch:
        return drawSwitch(painter, tint);
    case PartDrawing::Bulb:
        return drawBulb(painter, tint);
    case PartDrawing::Fixing:
        return drawFixing(painter, tint);
    case PartDrawing::Silencer:
        return drawSilencer(painter, tint);
    }
}

} // namespace quillon
