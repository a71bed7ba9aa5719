#pragma once

#include "store/recordset.h"

namespace quillon {

struct AppContext;

// The one current order: New Order, Delete Order, View Order, its creation, deletion and
// completion, and its resumption at start-up. Keeps orderActive, currentOrderNum, the order and
// finalise command groups and the order indicator in step.
class OrderLifecycle final {
public:
    explicit OrderLifecycle(AppContext& context);

    // New Order (cmdStartOrder and mnuNewOrder).
    void cmdStartOrder_Click();
    // Delete Order (mnuDeleteOrder).
    void mnuDeleteOrder_Click();
    // View Order (cmdViewOrder and mnuOrderItem): the View Parts Order window, or the no-order
    // error.
    void cmdViewOrder_Click();

    void createOrder();
    // Deletes the current order and its lines in one transaction.
    void deleteOrder();
    // Marks the current order completed; Finalise Order calls it last.
    void completeOrder();
    // Opens the current order's lines.
    [[nodiscard]] Recordset selectOrderParts();
    // The last step of start-up.
    void resumeOpenOrder();

    // The "Error: No current order" warning.
    void showNoOrderError();

private:
    AppContext& context_;
};

} // namespace quillon
