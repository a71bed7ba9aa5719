#pragma once

#include <QString>

struct sqlite3;

namespace quillon::bench {

// The floor a search is compared to: the same WHERE clause, with % wildcards, run through the
// engine's own LIKE by the C API on the same catalogue file, on a connection of its own without
// the program's LIKE. Text columns declare the stores' collation, so that is installed (for the
// = of the vehicle filter); LIKE stays the engine's.
class BaselineQuery final {
public:
    explicit BaselineQuery(const QString& cataloguePath);
    ~BaselineQuery();
    BaselineQuery(const BaselineQuery&) = delete;
    BaselineQuery& operator=(const BaselineQuery&) = delete;

    // Runs "SELECT * FROM Parts WHERE <where>" to its last row; milliseconds. rows: the count.
    double run(const QString& where, int* rows = nullptr, qint64* firstId = nullptr);

    // The WHERE clauses of the two searches, as the program builds them but with % for *.
    static QString partNumberWhere(const QString& text);
    static QString descriptionWhere(const QString& keyword, const QString& vehicle);
    // The part-number search's rows with the loose number match: the clause above, or a number
    // column without blanks, dashes, dots and slashes holding the text without them. Not a
    // floor (the program's rows to check against), so it is not timed.
    static QString looseNumberWhere(const QString& text);

private:
    sqlite3* db_ = nullptr;
};

} // namespace quillon::bench
