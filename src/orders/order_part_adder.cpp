#include "orders/order_part_adder.h"

#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "session/part_key.h"
#include "orders/order_lifecycle.h"
#include "orders/order_quantity_dialog.h"
#include "platform/dialogs.h"
#include "prices/custom_part_lookup.h"
#include "store/locale_formats.h"
#include "store/sql_text.h"

namespace quillon {

namespace {

// A quantity as an order line holds it; an absent one counts as none.
qint32 storedQuantity(const Value& quantity) {
    return quantity.isAbsent() ? 0 : quantity.toInt32();
}

// The condition that finds the part's line within the current order, after the order number.
QString partKeyCondition(const ProgramState& state) {
    return PartKey::isDorvaneOnly(state.selectedRoverNum)
               ? QStringLiteral(" AND DorvaneNum = '") + sqlEscape(state.selectedDorvaneNum)
               : QStringLiteral(" AND RoverNum = '") + sqlEscape(state.selectedRoverNum);
}

} // namespace

OrderPartAdder::OrderPartAdder(AppContext& context) : context_(context) {}

bool OrderPartAdder::cmdOrder_Click() {
    const ProgramState& state = context_.state;
    if (!state.orderActive) {
        OrderLifecycle(context_).showNoOrderError();
        return false;
    }
    return state.selectedPartId != 0 && state.resultsListed && addOrderPart();
}

void OrderPartAdder::checkOrderPart() {
    ProgramState& state = context_.state;
    state.orderPartRecordset = state.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orderParts WHERE (OrderNum = ") +
        QString::number(state.currentOrderNum) + partKeyCondition(state) + QStringLiteral("')"));
}

bool OrderPartAdder::addOrderPart() {
    checkOrderPart();
    const Recordset& line = context_.state.orderPartRecordset;
    return line.bof() && line.eof() ? addNewLine() : updateExistingLine();
}

Money OrderPartAdder::linePrice(bool newLine) {
    ProgramState& state = context_.state;
    CustomPartLookup::checkCustomPart(state);
    const Recordset& custom = state.customPartRecordset;
    if (!custom.isEmpty()) {
        const Value& customerPrice = custom.field(u"CustomerPrice");
        // A record without a price gives 0, on a new line and on an update alike.
        if (customerPrice.isAbsent())
            return Money();
        const Money price = customerPrice.toMoney();
        return newLine && price.isNegative() ? Money() : price;
    }
    return state.selectedCustomerPrice > Money() ? state.selectedCustomerPrice
                                                 : state.selectedLRPrice;
}

bool OrderPartAdder::askQuantity() {
    const ProgramState& state = context_.state;
    OrderQuantityDialog dialog(
        context_, {state.selectedDorvaneNum, state.selectedRoverNum, state.selectedDescription},
        context_.window.windowWidget());
    context_.dialogs.showModal(dialog);
    return leadingNumberText(context_.state.orderQuantity) != u"0";
}

bool OrderPartAdder::addNewLine() {
    ProgramState& state = context_.state;
    if (!askQuantity())
        return false;
    const Money price = linePrice(true);

    state.userDb->execute(
        QStringLiteral("INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,Description,Quantity,"
                       "Price,Comments) SELECT '") +
        QString::number(state.currentOrderNum) + QStringLiteral("' AS OrderNum, '") +
        sqlEscape(state.selectedDorvaneNum) + QStringLiteral("' AS DorvaneNum, '") +
        sqlEscape(state.selectedRoverNum) + QStringLiteral("' AS RoverNum, '") +
        sqlEscape(state.selectedDescription) + QStringLiteral("' AS Description, '") +
        sqlEscape(state.orderQuantity) + QStringLiteral("' AS Quantity, '") + price.toPlainText() +
        QStringLiteral("' AS Price, '") + sqlEscape(state.orderComment) +
        QStringLiteral("' AS Comment"));

    context_.window.setStatusText(QStringLiteral("Part added to order number ") +
                                  QString::number(state.currentOrderNum));
    context_.window.setFinaliseCommandsEnabled(true);
    return true;
}

bool OrderPartAdder::updateExistingLine() {
    ProgramState& state = context_.state;
    Dialogs& dialogs = context_.dialogs;
    dialogs.beep();

    const Recordset& line = state.orderPartRecordset;
    state.presetQuantity = storedQuantity(line.field(u"Quantity"));
    state.presetComment = line.field(u"Comments").toText();

    const QString prompt = QStringLiteral("Part exists in order.\r\n\r\nQuantity = ") +
                           QString::number(state.presetQuantity) +
                           QStringLiteral("\r\nSpecial instructions = \"") + state.presetComment +
                           QStringLiteral("\"\r\n\r\nUpdate quantity or special instructions?");
    if (dialogs.messageBox(prompt, Dialogs::Buttons::YesNo) != Dialogs::Button::Yes) {
        // The next showing of the dialog, for whatever part, must not offer this line's values.
        state.presetQuantity = 0;
        state.presetComment.clear();
        context_.window.setStatusText(QStringLiteral("Part order NOT updated in order number ") +
                                      QString::number(state.currentOrderNum));
        return false;
    }

    if (!askQuantity())
        return false;
    // The price follows the prices in force now.
    const Money price = linePrice(false);
    state.userDb->execute(QStringLiteral("UPDATE orderParts SET Quantity = '") +
                          sqlEscape(state.orderQuantity) + QStringLiteral("',Comments = '") +
                          sqlEscape(state.orderComment) + QStringLiteral("',Price = '") +
                          price.toPlainText() + QStringLiteral("' WHERE OrderNum = ") +
                          QString::number(state.currentOrderNum) + partKeyCondition(state) +
                          QStringLiteral("'"));

    context_.window.setStatusText(QStringLiteral("Part order updated in order number ") +
                                  QString::number(state.currentOrderNum));
    return true;
}

} // namespace quillon
