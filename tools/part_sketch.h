#pragma once

#include "part_drawing.h"
#include "sketch_palette.h"

namespace quillon {

// The line drawings of the part families, for the demo catalogue's pictures: each drawn around
// the painter's origin.
class PartSketch final : private SketchPalette {
public:
    // Draws the part; tint: the colour of its paint or rubber.
    static void draw(QPainter& painter, PartDrawing drawing, const QColor& tint);

private:
    static void drawFilter(QPainter& p, const QColor& tint);
    static void drawBrakePads(QPainter& p, const QColor& tint);
    static void drawBrakeDisc(QPainter& p, const QColor& tint);
    static void drawGasket(QPainter& p, const QColor& tint);
    static void drawBush(QPainter& p, const QColor& tint);
    static void drawLamp(QPainter& p, const QColor& tint);
    static void drawPanel(QPainter& p, const QColor& tint);
    static void drawHose(QPainter& p, const QColor& tint);
    static void drawBelt(QPainter& p, const QColor& tint);
    static void drawShock(QPainter& p, const QColor& tint);
    static void drawSpring(QPainter& p, const QColor& tint);
    static void drawBearing(QPainter& p, const QColor& tint);
    static void drawMirror(QPainter& p, const QColor& tint);
    static void drawWiper(QPainter& p, const QColor& tint);
    static void drawPump(QPainter& p, const QColor& tint);
    static void drawPlug(QPainter& p, const QColor& tint);
    static void drawCable(QPainter& p, const QColor& tint);
    static void drawSeal(QPainter& p, const QColor& tint);
    static void drawSwitch(QPainter& p, const QColor& tint);
    static void drawBulb(QPainter& p, const QColor& tint);
    static void drawFixing(QPainter& p, const QColor& tint);
    static void drawSilencer(QPainter& p, const QColor& tint);
};

} // namespace quillon
