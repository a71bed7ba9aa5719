#pragma once

namespace quillon {

// What a column holds, from its declared type: TEXT, INTEGER, CURRENCY (whole ten-thousandths
// of the currency unit) or BOOLEAN (0 or 1). Other declared types, and expressions, are Other.
enum class ColumnType { Text, Integer, Amount, Boolean, Other };

// The column type of a declared type ("CURRENCY", "integer", ...); a null type is Other.
ColumnType columnTypeFromDeclared(const char* declaredType);

} // namespace quillon
