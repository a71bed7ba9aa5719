#pragma once

#include <QString>
#include <variant>

namespace quillon {

// A value bound to a statement parameter: Null, a whole number or a text.
using SqlParameter = std::variant<std::monostate, qint64, QString>;

} // namespace quillon
