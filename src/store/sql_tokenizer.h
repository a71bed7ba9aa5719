#pragma once

#include "store/sql_token.h"

#include <QString>
#include <vector>

namespace quillon {

// Splits a statement of the stores' dialect into tokens. Joining the tokens' texts gives the
// statement back unchanged. An unterminated quote or bracket throws StoreError.
class SqlTokenizer final {
public:
    [[nodiscard]] static std::vector<SqlToken> tokenize(const QString& statement);
};

} // namespace quillon
