#pragma once

#include <QString>

namespace quillon {

// What the Part Order Details dialog answers: ok when it closed with OK on a quantity to write,
// the quantity as the plain decimal text of the number the quantity box began with, and the
// special instructions. Cancel, Esc and the window's frame answer not ok, with nothing else.
struct QuantityAnswer {
    bool ok = false;
    QString quantity;
    QString comment;
};

} // namespace quillon
