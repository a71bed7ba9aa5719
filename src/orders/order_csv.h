#pragma once

#include "store/money.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quillon {

class Recordset;

// An order's lines as a CSV file for the supplier's and the customer's own systems: RFC 4180
// (CRLF line ends; a field holding a comma, a double quote or a line break quoted, its quotes
// doubled), UTF-8 with a byte-order mark, a header row, then one row per line in the order's
// order. Amounts are plain decimals with a point and no currency sign. A text that a spreadsheet
// would take for a formula (one starting with =, +, -, @, a tab or a carriage return) is written
// with an apostrophe before it, so that it shows as text and never runs.
class OrderCsv final {
public:
    // One line of an order as stored with it.
    struct Line {
        QString dorvaneNum;
        QString roverNum;
        QString description;
        QString quantity; // as stored
        Money price;
        QString comments;
    };

    // Every line of the recordset, first to last (moves it through all its rows).
    [[nodiscard]] static QList<Line> lines(Recordset& orderParts);
    // The whole file.
    [[nodiscard]] static QByteArray file(const QList<Line>& lines);

    [[nodiscard]] static QString header() {
        return QStringLiteral("DV Number,Rover Number,Description,Quantity,Unit Price,Line "
                              "Total,Special Instructions");
    }
    // A text as one field: guarded against formulas, then quoted when it needs to be.
    [[nodiscard]] static QString textField(const QString& text);
    // A number (quantity or amount) as one field: quoted when it needs to be, never guarded (a
    // negative number stays a number).
    [[nodiscard]] static QString numberField(const QString& text);
};

} // namespace quillon
