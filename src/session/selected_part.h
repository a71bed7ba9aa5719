#pragma once

#include "session/part_key.h"
#include "store/money.h"

#include <QString>

namespace quillon {

// The part shown in Part Detail, as its catalogue row gave it: what Add to Order, the Part Order
// Details dialog and the customer's own prices act on. Made whole when a part is shown; a
// default one is no part.
struct SelectedPart {
    qint32 id = 0; // the catalogue ID; 0: no part shown
    QString roverNum;
    QString dorvaneNum;
    QString description;
    QString unitIssue;
    Money customerPrice; // 0 when the catalogue has none
    Money lrPrice;       // 0 when the catalogue has none

    // The part's key in the User database (see PartKey).
    [[nodiscard]] QString keyColumn() const { return PartKey::column(roverNum); }
    [[nodiscard]] const QString& keyValue() const { return PartKey::value(roverNum, dorvaneNum); }
};

} // namespace quillon
