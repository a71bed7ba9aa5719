#pragma once

#include "store/column_type.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

struct sqlite3;

namespace quillon {

// The tables of one connection with their columns' declared types, read once and kept until
// the schema changes. Names are looked up without regard to letter case.
class TableCatalog final {
public:
    struct Column {
        QString name;
        ColumnType type;
    };
    struct Table {
        QString name;
        std::vector<Column> columns;
        // The table's substring index (SearchIndex) and the columns it covers; empty without.
        QString searchIndex;
        std::vector<QString> searchColumns;
        // How many rows hold each trigram of the index; empty when the store doesn't say.
        QHash<QString, qint64> searchTermRows;
        // About how many rows the table has (its highest rowid), read with the counts.
        qint64 rowEstimate = 0;
        // The column of that name in any letter case, or null.
        const Column* column(QStringView name) const;
    };

    explicit TableCatalog(sqlite3* db) : db_(db) {}

    // The table of that name in any letter case, or null when the store has none.
    const Table* table(QStringView name);
    const std::vector<Table>& tables();
    // Forgets what was read (after a change of the schema).
    void invalidate() { loaded_ = false; }

private:
    void load();
    const Table* find(QStringView name) const;

    sqlite3* db_;
    std::vector<Table> tables_;
    bool loaded_ = false;
};

} // namespace quillon
