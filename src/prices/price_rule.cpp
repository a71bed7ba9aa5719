#include "prices/price_rule.h"

#include "store/recordset.h"

namespace quillon {

Money PriceRule::linePrice(const Recordset& custom, Money customerPrice, Money lrPrice,
                           bool newLine) {
    if (!custom.isEmpty()) {
        const Value& recordPrice = custom.field(u"CustomerPrice");
        // A record without a price gives 0, on a new line and on an update alike.
        if (recordPrice.isAbsent())
            return Money();
        const Money price = recordPrice.toMoney();
        return newLine && price.isNegative() ? Money() : price;
    }
    return customerPrice > Money() ? customerPrice : lrPrice;
}

} // namespace quillon
