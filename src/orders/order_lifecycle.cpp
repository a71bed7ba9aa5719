#include "orders/order_lifecycle.h"

#include "orders/view_order_window.h"
#include "platform/dialogs.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/locale_formats.h"
#include "store/money.h"
#include "store/statement_builder.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QDate>
#include <stdexcept>

namespace quillon {

namespace {

const QString twoLineBreaks = QStringLiteral("\r\n\r\n");

QString number(qint32 value) {
    return QString::number(value);
}

// The first line of an order whose amounts are beyond the program's (its price, its price times
// its quantity, or the order's total up to it), for a person; empty when every line is within.
// Leaves the lines at the first.
QString lineBeyondAmounts(Recordset& lines) {
    if (lines.bof() && lines.eof())
        return {};
    QString found;
    Money total;
    int position = 1;
    for (lines.moveFirst(); !lines.eof() && found.isEmpty(); lines.moveNext(), ++position) {
        const Value& price = lines.field(u"Price");
        const Value& quantity = lines.field(u"Quantity");
        try {
            total += (price.isAbsent() ? Money() : price.toMoney()) *
                     (quantity.isAbsent() ? 0 : quantity.toInteger());
        } catch (const std::overflow_error&) {
            found = QStringLiteral("has an amount too large for Dorvane Quillon");
        } catch (const StoreError& error) {
            found = QStringLiteral("has a quantity or price Dorvane Quillon can't read (%1)")
                        .arg(error.message());
        }
        if (!found.isEmpty())
            found = QStringLiteral("line %1 (DV No. %2, Rover No. %3: quantity %4, price %5) ")
                        .arg(QString::number(position), lines.field(u"DorvaneNum").toText(),
                             lines.field(u"RoverNum").toText(), quantity.toText(), price.toText()) +
                    found;
    }
    lines.moveFirst();
    return found;
}

} // namespace

OrderLifecycle::OrderLifecycle(AppContext& context) : context_(context) {}

void OrderLifecycle::cmdStartOrder_Click() {
    ProgramState& state = context_.state;
    Dialogs& dialogs = context_.dialogs;
    if (state.orderActive) {
        const QString prompt =
            QStringLiteral("Order number ") + number(state.currentOrderNum) +
            QStringLiteral(" is currently active.") + twoLineBreaks +
            QStringLiteral("Do you want to cancel this order and create a new order?") +
            twoLineBreaks +
            QStringLiteral(
                "This will remove your previous order and all items added to the order.");
        const auto answer =
            dialogs.messageBox(prompt, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                               QStringLiteral("Cancel current order?"), Dialogs::Button::No);
        if (answer == Dialogs::Button::Yes) {
            // The status line keeps "Order <old number> deleted"; the box tells the new number.
            deleteOrder();
            createOrder();
        } else {
            context_.window.setStatusText(QStringLiteral("Order ") + number(state.currentOrderNum) +
                                          QStringLiteral(" is the current order"));
        }
        return;
    }

    const auto answer = dialogs.messageBox(QStringLiteral("Do you want to create a new order?"),
                                           Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                           QStringLiteral("Create new order?"));
    if (answer == Dialogs::Button::Yes) {
        createOrder();
        context_.window.setStatusText(QStringLiteral("New order started - Order number ") +
                                      number(state.currentOrderNum));
    }
}

void OrderLifecycle::mnuDeleteOrder_Click() {
    ProgramState& state = context_.state;
    if (!state.orderActive) {
        showNoOrderError();
        return;
    }
    const QString prompt = QStringLiteral("Order number ") + number(state.currentOrderNum) +
                           QStringLiteral(" is currently active.") + twoLineBreaks +
                           QStringLiteral("Do you want to delete this order?") + twoLineBreaks +
                           QStringLiteral("This will remove the order and all items added to "
                                          "the order.");
    const auto answer =
        context_.dialogs.messageBox(prompt, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                    QStringLiteral("Delete current order?"), Dialogs::Button::No);
    if (answer == Dialogs::Button::Yes)
        deleteOrder();
}

void OrderLifecycle::cmdViewOrder_Click() {
    if (!context_.state.orderActive) {
        showNoOrderError();
        return;
    }
    ViewOrderWindow window(context_, context_.window.windowWidget());
    context_.dialogs.showModal(window);
}

void OrderLifecycle::createOrder() {
    ProgramState& state = context_.state;
    Database& userDb = *state.userDb;
    const QString today = LocaleFormats().shortDate(QDate::currentDate());
    userDb.execute(StatementBuilder::insertRow(
        u"orders", {{QStringLiteral("orderDate"), SqlLiteral::text(today)}}));

    // The orders come in ascending OrderNum: the last is the one just made.
    Recordset orders = userDb.openRecordset(QStringLiteral("SELECT OrderNum FROM orders"));
    orders.moveLast();
    state.currentOrderNum = orders.field(u"OrderNum").toInt32();
    state.orderActive = true;

    // A new order has no lines: the finalise commands stay as they are (disabled).
    context_.window.setOrderIndicatorEnabled(true);
    context_.window.setOrderCommandsEnabled(true);

    context_.dialogs.messageBox(
        QStringLiteral("New order started.") + twoLineBreaks + QStringLiteral("Order number = ") +
            number(state.currentOrderNum),
        Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, QStringLiteral("New Order Started"));
}

void OrderLifecycle::deleteOrder() {
    ProgramState& state = context_.state;
    Database& userDb = *state.userDb;
    const QString orderNum = number(state.currentOrderNum);
    {
        // The order and its lines go together or not at all.
        Transaction transaction(userDb);
        const SqlCondition ofOrder =
            SqlCondition::equalsTight(u"OrderNum", SqlLiteral::number(state.currentOrderNum));
        userDb.execute(StatementBuilder::deleteWhere(u"orders", ofOrder));
        userDb.execute(StatementBuilder::deleteWhere(u"orderParts", ofOrder));
        transaction.commit();
    }
    state.orderActive = false;

    context_.window.setStatusText(QStringLiteral("Order ") + orderNum + QStringLiteral(" deleted"));
    context_.window.setOrderIndicatorEnabled(false);
    context_.window.setOrderCommandsEnabled(false);
    context_.window.setFinaliseCommandsEnabled(false);
}

void OrderLifecycle::completeOrder() {
    ProgramState& state = context_.state;
    const QString orderNum = number(state.currentOrderNum);
    state.userDb->execute(StatementBuilder::updateRow(
        u"orders", {{QStringLiteral("OrderStatus"), SqlLiteral::boolean(true)}},
        SqlCondition::equals(u"OrderNum", SqlLiteral::number(state.currentOrderNum))));

    context_.window.setStatusText(QStringLiteral("Order number ") + orderNum +
                                  QStringLiteral(" completed."));
    context_.window.setOrderIndicatorEnabled(false);
    context_.window.setOrderCommandsEnabled(false);
    context_.window.setFinaliseCommandsEnabled(false);
    state.orderActive = false;
}

Recordset OrderLifecycle::selectOrderParts() {
    const ProgramState& state = context_.state;
    return state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts",
        SqlCondition::equals(u"OrderNum", SqlLiteral::number(state.currentOrderNum))));
}

void OrderLifecycle::resumeOpenOrder() {
    ProgramState& state = context_.state;
    MainWindowInterface& window = context_.window;
    const Recordset openOrders = state.userDb->openRecordset(
        QStringLiteral("SELECT * FROM orders WHERE OrderStatus = FALSE"));
    if (openOrders.bof() && openOrders.eof()) {
        state.orderActive = false;
        window.setOrderIndicatorEnabled(false);
        window.setOrderCommandsEnabled(false);
        window.setFinaliseCommandsEnabled(false);
        return;
    }

    state.currentOrderNum = openOrders.field(u"OrderNum").toInt32();
    state.orderActive = true;
    const QString orderNum = number(state.currentOrderNum);

    window.setStatusText(QStringLiteral("Previous order number ") + orderNum +
                         QStringLiteral(" not completed. Now current order."));
    window.setOrderIndicatorEnabled(true);
    window.setOrderCommandsEnabled(true);

    Recordset lines = selectOrderParts();
    window.setFinaliseCommandsEnabled(!(lines.bof() && lines.eof()));

    context_.dialogs.messageBox(QStringLiteral("Previous order number ") + orderNum +
                                QStringLiteral(" was not completed and is now the current order."));
    // An order written by something else may hold amounts the program can't add up: the order
    // stays current, and the line is named instead of the window failing at every start.
    if (const QString line = lineBeyondAmounts(lines); !line.isEmpty()) {
        context_.dialogs.messageBox(
            QStringLiteral("Order number ") + orderNum + QStringLiteral(" can't be shown: ") +
                line + u'.' + twoLineBreaks +
                QStringLiteral("The order stays the current order. Delete it (Edit, Delete Order) "
                               "and write it again, or ask the IT Manager to correct the line."),
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return;
    }
    cmdViewOrder_Click();
}

void OrderLifecycle::showNoOrderError() {
    context_.dialogs.messageBox(QStringLiteral("No current order.") + twoLineBreaks +
                                    QStringLiteral("Select \"New Order\" to create a new order."),
                                Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                                QStringLiteral("Error: No current order"));
}

} // namespace quillon
