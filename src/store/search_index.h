#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;

namespace quillon {

// The substring index of a table: a trigram full-text index (the engine's FTS5) over some of its
// text columns, kept in step with the table by triggers. A LIKE of the form '*text*', whose text
// is at least three plain ASCII characters, can only match a row that holds every trigram of the
// text (in any letter case), so the index finds a set of rows that holds every match; the LIKE
// still decides which of them match, so a search lists exactly the rows, in the order, of a scan.
// A store without the index scans.
//
// The index keeps which rows hold a trigram, nothing more (no column, no position): a text is
// asked for as trigrams that all occur in the row. Beside each number column it indexes the
// column's bare form (the text without blanks, dashes, dots and slashes, where that differs), so
// that a number written with or without them is found too (LooseMatch).
class SearchIndex final {
public:
    // The index table of a table: "<table>_search".
    [[nodiscard]] static QString indexName(const QString& table);
    // The table of the index's trigrams with the number of rows that hold each:
    // "<table>_search_terms". Written with the index; it only guides which trigrams a search
    // asks the index for, so counts that have gone stale cost speed, never a row.
    [[nodiscard]] static QString termsName(const QString& table);
    // The trigram counts of a table's index, read from its terms table; empty without one.
    [[nodiscard]] static QHash<QString, qint64> readTermRows(sqlite3* db, const QString& table);
    // The table's highest rowid: about how many rows it has; 0 when it has none.
    [[nodiscard]] static qint64 highestRowid(sqlite3* db, const QString& table);
    // The index column that holds the bare form of a column: "<column>_bare".
    [[nodiscard]] static QString bareColumnName(const QString& column);

    // The text without blanks, dashes, dots and slashes.
    [[nodiscard]] static QString bareText(const QString& text);
    // The engine's SQL for the same of an expression's value (Null stays Null).
    [[nodiscard]] static QString bareSql(const QString& expression);

    // Builds the index of the table over the columns (text columns of the table, rowid the
    // table's INTEGER PRIMARY KEY rowIdColumn) and the bare forms of bareColumns, filled from
    // the rows already there, the triggers that keep it in step, and its terms table. Throws
    // StoreError.
    static void create(sqlite3* db, const QString& table, const QString& rowIdColumn,
                       const QStringList& columns, const QStringList& bareColumns = {});

    // The text of a LIKE pattern of the form '*text*' whose text is at least three characters,
    // each a printable ASCII character other than the wildcards * ? # and [; nothing for any
    // other pattern.
    [[nodiscard]] static std::optional<QString> plainInfix(const QString& pattern);

    // The index query that finds the rows that hold the text (a plain infix): trigrams of the
    // text that all occur in a row that holds it. With the index's trigram counts, a text of
    // more than two trigrams is looked for by its two rarest trigrams that don't overlap (a
    // third when it is about as rare as the rarest), and, given about how many rows the table
    // has, the rarest other one when at most a fifth of them hold it; without the counts, by
    // trigrams that cover it.
    [[nodiscard]] static QString rowsHolding(const QString& text,
                                             const QHash<QString, qint64>& termRows = {},
                                             qint64 tableRows = 0);
};

} // namespace quillon
