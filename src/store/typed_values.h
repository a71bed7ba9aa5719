#pragma once

#include "store/column_type.h"
#include "store/locale_formats.h"
#include "store/sql_parameter.h"
#include "store/table_catalog.h"

#include <QHash>
#include <QString>
#include <optional>

namespace quillon {

class StatementTokens;

// The values of one statement that a column keeps in another form than they are written:
//  - a number or quoted text compared with an amount or Boolean column ("c = 12.5",
//    "12.5 < c", "c [NOT] BETWEEN 1 AND 2", "c [NOT] IN (1, 2)", but not one that is part of
//    arithmetic) is written as the column keeps it: an amount in ten-thousandths, TRUE and
//    FALSE as 1 and 0;
//  - a value going into a column is converted to the column's type (whole number, amount,
//    TRUE/FALSE, text) to be bound as a parameter.
// A value the column can't hold throws StoreError naming the column and the value.
class TypedValues final {
public:
    // A literal compared with an amount or Boolean column: how many tokens it takes (a sign and
    // a number take two), and the column.
    struct ComparedLiteral {
        qsizetype length;
        ColumnType type;
        QString column;
    };

    TypedValues(const StatementTokens& tokens, TableCatalog& catalog)
        : tokens_(tokens), catalog_(catalog) {}

    // The literals compared with amount and Boolean columns, by the position they begin at.
    // Found the first time they are asked for, from the statement's tokens as they are then.
    const QHash<qsizetype, ComparedLiteral>& comparedLiterals();
    // The literal at p, in the form its column keeps.
    QString storedForm(qsizetype p, const ComparedLiteral& literal) const;

    // The value at positions [from, to) going into a column, converted to its type, when it is
    // a number, a quoted text or NULL; nothing when it is an expression.
    std::optional<SqlParameter> boundValue(qsizetype from, qsizetype to,
                                           const TableCatalog::Table& table,
                                           const TableCatalog::Column& column) const;

private:
    const QHash<QString, ColumnType>& typedColumns();
    std::optional<ColumnType> typedColumnAt(qsizetype p);
    bool signIsUnaryAt(qsizetype p) const;
    qsizetype literalLengthAt(qsizetype p) const;
    bool arithmeticAt(qsizetype p) const;
    void findComparedLiterals();
    SqlParameter convert(const QString& text, const TableCatalog::Table& table,
                         const TableCatalog::Column& column) const;
    const LocaleFormats& formats() const;

    const StatementTokens& tokens_;
    TableCatalog& catalog_;
    mutable std::optional<LocaleFormats> formats_; // made when the first amount is read
    std::optional<QHash<QString, ColumnType>> typedColumns_;
    std::optional<QHash<qsizetype, ComparedLiteral>> comparedLiterals_;
};

} // namespace quillon
