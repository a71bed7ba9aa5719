#include "store/table_catalog.h"

#include "store/prepared_statement.h"
#include "store/search_index.h"

#include <sqlite3.h>

namespace quillon {

namespace {

QString columnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

const TableCatalog::Column* TableCatalog::Table::column(QStringView wanted) const {
    for (const Column& c : columns) {
        if (sameName(c.name, wanted))
            return &c;
    }
    return nullptr;
}

const TableCatalog::Table* TableCatalog::table(QStringView name) {
    if (!loaded_)
        load();
    if (const Table* found = find(name))
        return found;
    // The schema may have changed behind our back (a table made through the raw handle).
    load();
    return find(name);
}

const std::vector<TableCatalog::Table>& TableCatalog::tables() {
    if (!loaded_)
        load();
    return tables_;
}

const TableCatalog::Table* TableCatalog::find(QStringView name) const {
    for (const Table& t : tables_) {
        if (sameName(t.name, name))
            return &t;
    }
    return nullptr;
}

void TableCatalog::load() {
    const QString what = QStringLiteral("(reading the tables of the store)");
    std::vector<Table> tables;
    {
        PreparedStatement list(db_,
                               QByteArrayLiteral("SELECT name FROM sqlite_schema WHERE type = "
                                                 "'table' AND substr(name, 1, 7) <> 'sqlite_'"),
                               what);
        while (list.step())
            tables.push_back({columnText(list.get(), 0), {}, {}, {}, {}});
    }
    for (Table& t : tables) {
        PreparedStatement info(
            db_, QByteArrayLiteral("SELECT name, type FROM pragma_table_info(?1)"), what);
        info.bind(1, t.name);
        while (info.step()) {
            const auto* declared =
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
            t.columns.push_back({columnText(info.get(), 0), columnTypeFromDeclared(declared)});
        }
    }
    // A substring index is used only when the engine can read it (the statement that lists
    // its columns fails otherwise) and it is the trigram index SearchIndex builds.
    for (Table& t : tables) {
        const QString index = SearchIndex::indexName(t.name);
        PreparedStatement kind(db_,
                               QByteArrayLiteral("SELECT sql FROM sqlite_schema WHERE type = "
                                                 "'table' AND name = ?1"),
                               what);
        kind.bind(1, index);
        if (!kind.step())
            continue;
        const QString sql = columnText(kind.get(), 0);
        if (!sql.contains(QLatin1String("fts5"), Qt::CaseInsensitive) ||
            !sql.contains(QLatin1String("trigram"), Qt::CaseInsensitive))
            continue;
        sqlite3_stmt* raw = nullptr;
        const QByteArray list = "SELECT name FROM pragma_table_info(?1)";
        if (sqlite3_prepare_v2(db_, list.constData(), -1, &raw, nullptr) != SQLITE_OK) {
            sqlite3_finalize(raw);
            continue;
        }
        const QByteArray name = index.toUtf8();
        sqlite3_bind_text(raw, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        std::vector<QString> columns;
        while (sqlite3_step(raw) == SQLITE_ROW)
            columns.push_back(columnText(raw, 0));
        sqlite3_finalize(raw);
        if (columns.empty())
            continue;
        t.searchIndex = index;
        t.searchColumns = std::move(columns);
        t.searchTermRows = SearchIndex::readTermRows(db_, t.name);
        t.rowEstimate = SearchIndex::highestRowid(db_, t.name);
    }
    tables_ = std::move(tables);
    loaded_ = true;
}

} // namespace quillon
