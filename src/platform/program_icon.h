#pragma once

#include <QIcon>
#include <QPixmap>

namespace quillon {

// The program's picture: the Dorvane green badge with the Quillon initials, drawn at any size.
// The windows show it as their icon, About and Help beside their title.
class ProgramIcon final {
public:
    [[nodiscard]] static QPixmap badge(int side = 48);
    // The badge at the sizes a desktop asks for (task bar, title bar, window switcher).
    [[nodiscard]] static QIcon icon();
};

} // namespace quillon
