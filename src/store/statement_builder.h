#pragma once

#include "store/sql_condition.h"
#include "store/sql_literal.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillon {

// The program's INSERT, UPDATE, DELETE and key lookups, in the stores' dialect. Values reach the
// text only as literals, so none can go in unquoted or unescaped.
class StatementBuilder {
public:
    struct Column {
        QString name;
        SqlLiteral value;
        // The name after AS in an insertion; the column's own name when empty.
        QString alias = {};
    };

    // "INSERT INTO t(a,b) SELECT 'x' AS a, 'y' AS b": INSERT ... SELECT without FROM.
    static QString insertRow(QStringView table, const QList<Column>& columns);
    // "UPDATE t SET a = 'x',b = 'y' WHERE <condition>"
    static QString updateRow(QStringView table, const QList<Column>& columns,
                             const SqlCondition& where);
    // "SELECT <columns> FROM t WHERE <condition>"
    static QString selectWhere(QStringView table, const SqlCondition& where,
                               QStringView columns = u"*");
    // "DELETE * FROM t WHERE <condition>"
    static QString deleteWhere(QStringView table, const SqlCondition& where);
};

} // namespace quillon
