#pragma once

#include "store/loose_match.h"
#include "store/sql_parameter.h"
#include "store/table_catalog.h"

#include <QString>
#include <functional>
#include <optional>

namespace quillon {

class StatementTokens;

// Rewrites "SELECT ... FROM t WHERE condition [GROUP BY | ORDER BY | ...]" on one table so that
// its rows are found fast:
//  - on a table with a substring index (SearchIndex) whose condition holds only for rows the
//    index finds ("c LIKE '*text*'" on an indexed column, such conditions joined by OR, or one
//    of them joined by AND to others), the condition stays as it is and is tested only on the
//    rows the index finds;
//  - a loose match (LooseMatch) adds its rows to the condition's: found by the index when it
//    holds the bare forms of the match's columns and the bare text is plain, else by testing
//    every row.
class IndexedSearchRewrite final {
public:
    // What the rewrite writes the statement with: the engine's SQL for the statement's tokens at
    // positions [from, to), and the placeholder of a new parameter holding a value.
    struct Writer {
        std::function<QString(qsizetype from, qsizetype to)> passThrough;
        std::function<QString(SqlParameter value)> parameter;
    };

    IndexedSearchRewrite(const StatementTokens& tokens, TableCatalog& catalog,
                         const LooseMatch& loose)
        : tokens_(tokens), catalog_(catalog), loose_(loose) {}

    struct Rewritten {
        QString sql;
        bool indexed = false; // the index finds the rows; otherwise every row is tested
    };
    // The SELECT in the engine's SQL, rewritten; nothing when neither the index nor the loose
    // match has a part in it.
    [[nodiscard]] std::optional<Rewritten> rewrite(const Writer& writer) const;

private:
    std::optional<QString> indexQuery(qsizetype from, qsizetype to,
                                      const TableCatalog::Table& table) const;
    std::optional<QString> looseText() const;
    bool indexHoldsBareForms(const TableCatalog::Table& table) const;
    QString looseCondition(const TableCatalog::Table& table, const QString& bare,
                           const Writer& writer) const;

    const StatementTokens& tokens_;
    TableCatalog& catalog_;
    const LooseMatch& loose_;
};

} // namespace quillon
