#include "orders/order_part_adder.h"

#include "orders/order_lifecycle.h"
#include "orders/order_quantity_dialog.h"
#include "platform/dialogs.h"
#include "prices/custom_part_record.h"
#include "prices/price_rule.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/part_key.h"
#include "session/program_state.h"
#include "store/locale_formats.h"
#include "store/statement_builder.h"

namespace quillon {

namespace {

// A quantity as an order line holds it; an absent one counts as none.
qint32 storedQuantity(const Value& quantity) {
    return quantity.isAbsent() ? 0 : quantity.toInt32();
}

// The condition that finds the part's line within the current order.
SqlCondition orderLineCondition(qint32 orderNum, const SelectedPart& part) {
    return SqlCondition::equals(u"OrderNum", SqlLiteral::number(orderNum)) &&
           SqlCondition::equals(part.keyColumn(), SqlLiteral::text(part.keyValue()));
}

} // namespace

OrderPartAdder::OrderPartAdder(AppContext& context)
    : OrderPartAdder(context, context.state.selectedPart) {}

OrderPartAdder::OrderPartAdder(AppContext& context, SelectedPart part)
    : context_(context), part_(std::move(part)) {}

bool OrderPartAdder::cmdOrder_Click() {
    const ProgramState& state = context_.state;
    if (!state.orderActive) {
        OrderLifecycle(context_).showNoOrderError();
        return false;
    }
    return part_.id != 0 && state.resultsListed && addOrderPart();
}

Recordset OrderPartAdder::checkOrderPart() {
    const ProgramState& state = context_.state;
    return state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts", orderLineCondition(state.currentOrderNum, part_).parenthesised()));
}

bool OrderPartAdder::addOrderPart() {
    const Recordset line = checkOrderPart();
    return line.bof() && line.eof() ? addNewLine() : updateExistingLine(line);
}

Money OrderPartAdder::linePrice(bool newLine) {
    const Recordset custom =
        CustomPartRecord(part_.roverNum, part_.dorvaneNum).checkCustomPart(*context_.state.userDb);
    return PriceRule::linePrice(custom, part_.customerPrice, part_.lrPrice, newLine);
}

QuantityAnswer OrderPartAdder::askQuantity(qint32 quantity, const QString& comment) {
    return OrderQuantityDialog::ask(context_, {part_.dorvaneNum, part_.roverNum, part_.description},
                                    {quantity, comment, part_.unitIssue},
                                    context_.window.windowWidget());
}

bool OrderPartAdder::addNewLine() {
    ProgramState& state = context_.state;
    const QuantityAnswer answer = askQuantity();
    if (!answer.ok)
        return false;
    const Money price = linePrice(true);

    // Every value stands quoted, the order number too; the last alias is "Comment" while the
    // column is Comments: the values go to the listed columns by position.
    state.userDb->execute(StatementBuilder::insertRow(
        u"orderParts",
        {{QStringLiteral("OrderNum"), SqlLiteral::text(QString::number(state.currentOrderNum))},
         {QStringLiteral("DorvaneNum"), SqlLiteral::text(part_.dorvaneNum)},
         {QStringLiteral("RoverNum"), SqlLiteral::text(part_.roverNum)},
         {QStringLiteral("Description"), SqlLiteral::text(part_.description)},
         {QStringLiteral("Quantity"), SqlLiteral::text(answer.quantity)},
         {QStringLiteral("Price"), SqlLiteral::amount(price)},
         {QStringLiteral("Comments"), SqlLiteral::text(answer.comment),
          QStringLiteral("Comment")}}));

    context_.window.setStatusText(QStringLiteral("Part added to order number ") +
                                  QString::number(state.currentOrderNum));
    context_.window.setFinaliseCommandsEnabled(true);
    context_.window.showOrderSummary();
    return true;
}

bool OrderPartAdder::updateExistingLine(const Recordset& line) {
    ProgramState& state = context_.state;
    Dialogs& dialogs = context_.dialogs;
    dialogs.beep();

    const qint32 quantity = storedQuantity(line.field(u"Quantity"));
    const QString comment = line.field(u"Comments").toText();

    const QString prompt = QStringLiteral("Part exists in order.\r\n\r\nQuantity = ") +
                           QString::number(quantity) +
                           QStringLiteral("\r\nSpecial instructions = \"") + comment +
                           QStringLiteral("\"\r\n\r\nUpdate quantity or special instructions?");
    if (dialogs.messageBox(prompt, Dialogs::Buttons::YesNo) != Dialogs::Button::Yes) {
        context_.window.setStatusText(QStringLiteral("Part order NOT updated in order number ") +
                                      QString::number(state.currentOrderNum));
        return false;
    }

    const QuantityAnswer answer = askQuantity(quantity, comment);
    if (!answer.ok)
        return false;
    // The price follows the prices in force now.
    const Money price = linePrice(false);
    state.userDb->execute(StatementBuilder::updateRow(
        u"orderParts",
        {{QStringLiteral("Quantity"), SqlLiteral::text(answer.quantity)},
         {QStringLiteral("Comments"), SqlLiteral::text(answer.comment)},
         {QStringLiteral("Price"), SqlLiteral::amount(price)}},
        orderLineCondition(state.currentOrderNum, part_)));

    context_.window.setStatusText(QStringLiteral("Part order updated in order number ") +
                                  QString::number(state.currentOrderNum));
    context_.window.showOrderSummary();
    return true;
}

} // namespace quillon
