#pragma once

#include "store/sql_parameter.h"

#include <QByteArray>
#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace quillon {

// One compiled statement, finalized when it goes out of scope, on every path. Failures throw
// StoreError with the engine's message and the statement as the caller gave it.
class PreparedStatement final {
public:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    // A compiled statement, finalized with its owner.
    using Compiled = std::unique_ptr<sqlite3_stmt, Finalizer>;

    // Compiles the first statement of sql; tail() is what follows it. A text holding only blanks
    // and comments gives an empty statement (isEmpty()).
    PreparedStatement(sqlite3* db, const QByteArray& sql, const QString& statement,
                      qsizetype offset = 0);
    // Takes over a statement compiled before (reset, its values unbound).
    PreparedStatement(sqlite3* db, Compiled compiled, const QString& statement);

    bool isEmpty() const { return !stmt_; }
    sqlite3_stmt* get() const { return stmt_.get(); }
    // Where the rest of the text begins, as a byte offset into sql.
    qsizetype tailOffset() const { return tailOffset_; }

    void bind(int index, const SqlParameter& value);
    // Runs to the next row: true when a row is there, false when the statement is done.
    bool step();
    // Gives up the compiled statement to the caller.
    [[nodiscard]] Compiled release() { return std::move(stmt_); }

private:
    [[noreturn]] void fail(const char* what) const;

    sqlite3* db_;
    QString statement_;
    Compiled stmt_;
    qsizetype tailOffset_ = 0;
};

} // namespace quillon
