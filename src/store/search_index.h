#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;

namespace quillon {

// The substring index of a table: a trigram full-text index (the engine's FTS5) over some of its
// text columns, kept in step with the table by triggers. A LIKE of the form '*text*', whose text
// is at least three plain ASCII characters, can only match a row whose column holds the text
// (in any letter case), so the index finds a set of rows that holds every match; the LIKE still
// decides which of them match, so a search lists exactly the rows, in the order, of a scan.
// A store without the index scans.
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

    // Builds the index of the table over the columns (text columns of the table, rowid the
    // table's INTEGER PRIMARY KEY rowIdColumn), filled from the rows already there, the
    // triggers that keep it in step, and its terms table. Throws StoreError.
    static void create(sqlite3* db, const QString& table, const QString& rowIdColumn,
                       const QStringList& columns);

    // The text of a LIKE pattern of the form '*text*' whose text is at least three characters,
    // each a printable ASCII character other than the wildcards * ? # and [; nothing for any
    // other pattern.
    [[nodiscard]] static std::optional<QString> plainInfix(const QString& pattern);

    // The index query that finds the rows whose column (one of the columns) holds the text.
    // With the index's trigram counts, a text of more than two trigrams is looked for by its
    // two rarest trigrams rather than by all of them in a row: far less of the index to read
    // for a long text of common words, and still every row that holds the text.
    [[nodiscard]] static QString columnsHold(const QStringList& columns, const QString& text,
                                             const QHash<QString, qint64>& termRows = {});
};

} // namespace quillon
