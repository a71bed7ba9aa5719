#include "store/sql_literal.h"

#include "store/money.h"
#include "store/sql_text.h"

#include <QStringBuilder>

namespace quillon {

SqlLiteral SqlLiteral::text(QStringView value) {
    return SqlLiteral(u'\'' % sqlEscape(value) % u'\'');
}

SqlLiteral SqlLiteral::number(qint64 value) {
    return SqlLiteral(QString::number(value));
}

SqlLiteral SqlLiteral::boolean(bool value) {
    return SqlLiteral(value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

SqlLiteral SqlLiteral::amount(const Money& value) {
    return text(value.toPlainText());
}

} // namespace quillon
