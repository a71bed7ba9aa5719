#include "store/statement_builder.h"

#include <QStringBuilder>

namespace quillon {

QString StatementBuilder::insertRow(QStringView table, const QList<Column>& columns) {
    QString names;
    QString values;
    for (const Column& column : columns) {
        if (!names.isEmpty()) {
            names += u',';
            values += QStringLiteral(", ");
        }
        names += column.name;
        values += column.value.sql() % QStringLiteral(" AS ") %
                  (column.alias.isEmpty() ? column.name : column.alias);
    }
    return QStringLiteral("INSERT INTO ") % table % u'(' % names % QStringLiteral(") SELECT ") %
           values;
}

QString StatementBuilder::updateRow(QStringView table, const QList<Column>& columns,
                                    const SqlCondition& where) {
    QString statement = QStringLiteral("UPDATE ") % table % QStringLiteral(" SET ");
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0)
            statement += u',';
        statement += columns[i].name % QStringLiteral(" = ") % columns[i].value.sql();
    }
    return statement % QStringLiteral(" WHERE ") % where.sql();
}

QString StatementBuilder::selectWhere(QStringView table, const SqlCondition& where,
                                      QStringView columns) {
    return QStringLiteral("SELECT ") % columns % QStringLiteral(" FROM ") % table %
           QStringLiteral(" WHERE ") % where.sql();
}

QString StatementBuilder::deleteWhere(QStringView table, const SqlCondition& where) {
    return QStringLiteral("DELETE * FROM ") % table % QStringLiteral(" WHERE ") % where.sql();
}

} // namespace quillon
