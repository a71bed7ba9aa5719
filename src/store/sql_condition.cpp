#include "store/sql_condition.h"

#include <QStringBuilder>

namespace quillon {

SqlCondition SqlCondition::equals(QStringView column, const SqlLiteral& value) {
    return SqlCondition(column % QStringLiteral(" = ") % value.sql());
}

SqlCondition SqlCondition::equalsTight(QStringView column, const SqlLiteral& value) {
    return SqlCondition(column % u'=' % value.sql());
}

SqlCondition SqlCondition::operator&&(const SqlCondition& other) const {
    return SqlCondition(sql_ % QStringLiteral(" AND ") % other.sql_);
}

SqlCondition SqlCondition::parenthesised() const {
    return SqlCondition(u'(' % sql_ % u')');
}

} // namespace quillon
