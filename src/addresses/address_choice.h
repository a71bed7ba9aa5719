#pragma once

#include <QString>

namespace quillon {

// What the Order Address Options window answers when it closes: OK with an address on each side,
// Cancel (any close but OK), or OK while a side has no address at all. With Ok, the names in the
// two lists as typed or picked; they need not name a record.
struct AddressChoice {
    enum class Outcome { Ok, Cancel, NoAddress };

    Outcome outcome = Outcome::Cancel;
    QString orderName;
    QString deliveryName;
};

} // namespace quillon
