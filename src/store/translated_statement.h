#pragma once

#include "store/sql_parameter.h"

#include <QString>
#include <vector>

namespace quillon {

// A statement of the stores' dialect made ready for the engine: its text in the engine's own
// SQL, and the values for its parameters ?1, ?2, ...
struct TranslatedStatement {
    enum class Kind { Select, Insert, Update, Delete, Other };

    Kind kind = Kind::Other;
    QString sql;
    std::vector<SqlParameter> parameters;
    bool indexed = false;       // a SELECT whose rows the substring index finds
    bool testsEveryRow = false; // a SELECT with a LIKE the index doesn't serve: likely a scan
};

} // namespace quillon
