#pragma once

struct sqlite3;

namespace quillon {

// What every connection to a store needs before its first statement: the case-insensitive
// collation that the text columns declare, and LIKE with the stores' wildcards.
class EngineFunctions final {
public:
    // Registers both on the connection; throws StoreError when the engine refuses.
    static void install(sqlite3* db);
};

} // namespace quillon
