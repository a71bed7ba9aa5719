#pragma once

#include <QString>
#include <QStringView>
#include <utility>

namespace quillon {

class Money;

// One value as it stands in a statement's text. A text can only be made quoted and escaped, so a
// caller can't put a typed text in bare: texts and amounts stand between single quotes, whole
// numbers (OrderNum, ID) are written bare, Booleans as TRUE and FALSE.
class SqlLiteral {
public:
    static SqlLiteral text(QStringView value);
    static SqlLiteral number(qint64 value);
    static SqlLiteral boolean(bool value);
    // The plain decimal text of the amount, quoted: '12.5', '-3', '0.25'.
    static SqlLiteral amount(const Money& value);

    const QString& sql() const { return sql_; }

private:
    explicit SqlLiteral(QString sql) : sql_(std::move(sql)) {}

    QString sql_;
};

} // namespace quillon
