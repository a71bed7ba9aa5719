#pragma once

#include <QFont>

class QWidget;

namespace quillon {

// The program's font for labels, buttons and status bars: Verdana, or the closest font the
// machine has (DejaVu Sans, Bitstream Vera Sans, ...). Text that doesn't need shaping to be
// legible is drawn unshaped, in these and in every other control of a window it is applied to.
class ControlFont final {
public:
    static QFont verdana();
    // Gives every label, button and status bar under root (root included) the font, and root
    // (so every other control under it) the same preference for unshaped text.
    static void applyTo(QWidget* root);
};

} // namespace quillon
