#pragma once

#include "orders/quantity_answer.h"
#include "session/selected_part.h"
#include "store/money.h"
#include "store/recordset.h"

#include <QString>

namespace quillon {

struct AppContext;

// Add to Order (cmdOrder, mnuAddToOrder and a double click on the results grid): puts the part
// shown into the current order with a quantity and special instructions from the Part Order
// Details dialog, or offers to change the part's line when the order holds it already. A part
// stands at most once in an order, found by its part key.
class OrderPartAdder final {
public:
    // Acts on the part shown.
    explicit OrderPartAdder(AppContext& context);
    OrderPartAdder(AppContext& context, SelectedPart part);

    // The no-order error without a current order; nothing without a part shown; else
    // addOrderPart. True when a line was written: the quantity dialog closed with OK.
    bool cmdOrder_Click();
    // Adds the line of the part shown, or updates the line the order holds for it; true when a
    // line was written.
    bool addOrderPart();
    // Opens the part's line in the current order.
    [[nodiscard]] Recordset checkOrderPart();

    // The unit price of the part shown: its custom CustomerPrice when the customer keeps one
    // (a new line takes 0 for a negative one; an empty one gives 0), else the catalogue's
    // CustomerPrice when above 0, else its LR price. Looks the custom record up.
    [[nodiscard]] Money linePrice(bool newLine);

private:
    // Shows the Part Order Details dialog offering a line's quantity and comment (0: the part's
    // unit of issue).
    QuantityAnswer askQuantity(qint32 quantity = 0, const QString& comment = {});
    bool addNewLine();
    bool updateExistingLine(const Recordset& line);

    AppContext& context_;
    SelectedPart part_;
};

} // namespace quillon
