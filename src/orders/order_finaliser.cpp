#include "orders/order_finaliser.h"

#include "orders/order_lifecycle.h"
#include "platform/dialogs.h"
#include "printing/order_form_printing.h"
#include "session/app_context.h"
#include "session/program_state.h"

#include <optional>

namespace quillon {

OrderFinaliser::OrderFinaliser(AppContext& context, QWidget* parent)
    : context_(context), parent_(parent) {}

QString OrderFinaliser::finalisePrompt() {
    return QStringLiteral("Do you want to finalise and print this order?\r\n\r\n"
                          "If you proceed no more items may be added to this order.\r\n\r\n"
                          "You will be prompted to choose delivery and billing address options,"
                          "\r\n and an order form will be generated and displayed in your browser "
                          "for printing.");
}

void OrderFinaliser::cmdFinaliseOrder_Click() {
    OrderLifecycle lifecycle(context_);
    if (!context_.state.orderActive) {
        lifecycle.showNoOrderError();
        return;
    }
    if (context_.dialogs.messageBox(finalisePrompt(), Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question,
                                    finaliseTitle()) != Dialogs::Button::Yes)
        return;
    Recordset lines = lifecycle.selectOrderParts();
    if (lines.bof() && lines.eof())
        return;
    OrderFormPrinting printing(context_, parent_);
    const std::optional<OrderFormPrinting::AddressBlocks> addresses = printing.chooseAddresses();
    if (!addresses || !printing.generateAndShow(lines, *addresses, true))
        return;
    lifecycle.completeOrder();
}

} // namespace quillon
