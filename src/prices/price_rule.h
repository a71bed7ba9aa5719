#pragma once

#include "store/money.h"

namespace quillon {

class Recordset;

// The unit price an order line takes for a part.
class PriceRule final {
public:
    // custom: the customer's own price record of the part, as CustomPartRecord found it. With a
    // record, its CustomerPrice (0 when the record has none; a new line takes 0 for a negative
    // one); without one, the catalogue's CustomerPrice when above 0, else its LR price.
    [[nodiscard]] static Money linePrice(const Recordset& custom, Money customerPrice,
                                         Money lrPrice, bool newLine);
};

} // namespace quillon
