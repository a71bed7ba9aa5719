#include "store/transaction.h"

#include "store/database.h"

#include <sqlite3.h>

namespace quillon {

Transaction::Transaction(Database& db) : db_(db) {
    // IMMEDIATE: take the write lock now, so that the statements inside can't fail for a lock.
    db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (done_ || db_.handle() == nullptr)
        return;
    // Never throws: a failed statement may have ended the transaction already.
    sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

} // namespace quillon
