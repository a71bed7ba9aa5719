#include "store/column_type.h"

#include <QByteArray>

namespace quillon {

ColumnType columnTypeFromDeclared(const char* declaredType) {
    if (declaredType == nullptr)
        return ColumnType::Other;
    const QByteArray type = QByteArray(declaredType).trimmed().toUpper();
    if (type == "CURRENCY" || type == "MONEY")
        return ColumnType::Amount;
    if (type == "BOOLEAN" || type == "BIT" || type == "YESNO")
        return ColumnType::Boolean;
    if (type == "INTEGER" || type == "INT" || type == "LONG" || type == "BIGINT" ||
        type == "SMALLINT" || type == "COUNTER")
        return ColumnType::Integer;
    if (type.contains("CHAR") || type.contains("TEXT") || type.contains("CLOB") || type == "MEMO" ||
        type.startsWith("DATE"))
        return ColumnType::Text;
    return ColumnType::Other;
}

} // namespace quillon
