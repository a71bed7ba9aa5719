#pragma once

class QWidget;

namespace quillon {

// Lengths in twips (1/1440 inch) converted by the screen's logical resolution.
class Twips {
public:
    static int toPixelsX(int twips, const QWidget* widget = nullptr);
    static int toPixelsY(int twips, const QWidget* widget = nullptr);
    static int fromPixelsX(int pixels, const QWidget* widget = nullptr);
    static int fromPixelsY(int pixels, const QWidget* widget = nullptr);
};

} // namespace quillon
