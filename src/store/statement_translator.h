#pragma once

#include "store/loose_match.h"
#include "store/translated_statement.h"

#include <QString>
#include <QStringList>

namespace quillon {

class TableCatalog;

// Translates a statement of the stores' dialect into the engine's SQL, token by token:
//  - "DELETE * FROM t" becomes "DELETE FROM t";
//  - "INSERT INTO t(c1,c2) SELECT 'v1' AS a, 'v2' AS b" without FROM (and INSERT ... VALUES)
//    becomes an INSERT ... VALUES whose values go to the listed columns by position, and
//    "UPDATE t SET c = 'v', ..." binds its values the same way: each quoted text is converted
//    to the type of its column (whole number, amount, TRUE/FALSE, text), and a text the column
//    can't hold throws StoreError naming the column and the value;
//  - TRUE and FALSE become 1 and 0, [bracketed] names become quoted names, "double-quoted"
//    texts become texts, and a number or quoted text compared with an amount column becomes
//    the amount's stored form;
//  - a SELECT on one table with a substring index (SearchIndex) is asked of the index where
//    its condition allows; one on one table with a WHERE condition lists the rows of a loose
//    match too (LooseMatch), found by the index when it holds the bare forms of its columns;
//  - everything else passes through as written. Statements that are not SELECT, INSERT,
//    UPDATE or DELETE (CREATE TABLE, PRAGMA, ...) pass through untouched.
// The statement is read through StatementTokens; the values that go to typed columns are
// written by TypedValues, and a SELECT that the index or a loose match serves by
// IndexedSearchRewrite.
// Parentheses that don't pair, or nest more than 100 deep, are refused with StoreError. Any
// statement is answered in time proportional to its length.
class StatementTranslator final {
public:
    explicit StatementTranslator(TableCatalog& catalog) : catalog_(catalog) {}

    // keptColumns, when not empty: the only columns of the result the caller reads; a
    // "SELECT * FROM t" then asks the engine for those alone.
    [[nodiscard]] TranslatedStatement translate(const QString& statement,
                                                const LooseMatch& loose = {},
                                                const QStringList& keptColumns = {});
    // What kind of statement it is, without translating it: that of its first word, or for
    // "WITH ..." that of the statement the common table expressions lead to. Comments and
    // blanks before it count for nothing.
    [[nodiscard]] static TranslatedStatement::Kind kindOf(const QString& statement);

private:
    TableCatalog& catalog_;
};

} // namespace quillon
