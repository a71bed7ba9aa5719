#pragma once

#include <QFont>

class QWidget;

namespace quillon {

// The program's font for labels, buttons and status bars: Verdana, or the closest font the
// machine has (DejaVu Sans, Bitstream Vera Sans, ...).
class ControlFont final {
public:
    static QFont verdana();
    // Gives every label, button and status bar under root (root included) the font.
    static void applyTo(QWidget* root);
};

} // namespace quillon
