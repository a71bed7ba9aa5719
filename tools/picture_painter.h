#pragma once

#include "part_drawing.h"

#include <QImage>
#include <QString>

namespace quillon {

// Draws the demo catalogue's part pictures: a line drawing of the part family, framed with the
// supplier's name, the part's numbers and its description. Needs a QGuiApplication (fonts).
class PicturePainter final {
public:
    static constexpr int width = 400;
    static constexpr int height = 300;

    struct Subject {
        PartDrawing drawing;
        QString dorvaneNum;
        QString roverNum;
        QString description;
        int view = 1;     // 2, 3, ... show the part from other angles
        unsigned hue = 0; // 0..359: the colour of the part's paint or rubber
    };

    [[nodiscard]] static QImage paint(const Subject& subject);
};

} // namespace quillon
