#pragma once

#include "store/sql_literal.h"

#include <QString>
#include <QStringView>
#include <utility>

namespace quillon {

// The condition of a WHERE clause, built only from column names and literals.
class SqlCondition {
public:
    // "column = value"
    static SqlCondition equals(QStringView column, const SqlLiteral& value);
    // "column=value", the spelling of the deletions and of a few updates.
    static SqlCondition equalsTight(QStringView column, const SqlLiteral& value);

    // "this AND other"
    SqlCondition operator&&(const SqlCondition& other) const;
    // "(this)"
    SqlCondition parenthesised() const;

    const QString& sql() const { return sql_; }

private:
    explicit SqlCondition(QString sql) : sql_(std::move(sql)) {}

    QString sql_;
};

} // namespace quillon
