#include "orders/order_summary.h"

#include "session/program_state.h"
#include "store/locale_formats.h"
#include "store/statement_builder.h"
#include "store/store_error.h"

#include <stdexcept>

namespace quillon {

QString OrderSummary::text(const ProgramState& state) {
    if (!state.orderActive || !state.userDb)
        return {};
    Recordset lines = state.userDb->openRecordset(StatementBuilder::selectWhere(
        u"orderParts",
        SqlCondition::equals(u"OrderNum", SqlLiteral::number(state.currentOrderNum))));
    int count = 0;
    Money total;
    bool added = true;
    for (; !lines.eof(); lines.moveNext()) {
        ++count;
        if (!added)
            continue;
        const Value& price = lines.field(u"Price");
        const Value& quantity = lines.field(u"Quantity");
        try {
            total += (price.isAbsent() ? Money() : price.toMoney()) *
                     (quantity.isAbsent() ? 0 : quantity.toInteger());
        } catch (const std::overflow_error&) {
            added = false;
        } catch (const StoreError&) {
            added = false;
        }
    }
    const QString separator = QStringLiteral(" \u00B7 ");
    const QString summary = QStringLiteral("Order ") + QString::number(state.currentOrderNum) +
                            separator + QString::number(count) +
                            (count == 1 ? QStringLiteral(" line") : QStringLiteral(" lines"));
    // An order written by something else may hold amounts the program can't add up.
    return summary + separator +
           (added ? LocaleFormats().currency(total) : QStringLiteral("total not known"));
}

} // namespace quillon
