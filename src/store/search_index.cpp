#include "store/search_index.h"

#include "store/store_error.h"

#include <sqlite3.h>

namespace quillon {

namespace {

QString quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString prefixed(const QString& prefix, const QStringList& columns) {
    QStringList out;
    for (const QString& column : columns)
        out << prefix + quoteName(column);
    return out.join(QStringLiteral(", "));
}

void exec(sqlite3* db, const QString& sql) {
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)), sql);
}

} // namespace

QString SearchIndex::indexName(const QString& table) {
    return table + QStringLiteral("_search");
}

void SearchIndex::create(sqlite3* db, const QString& table, const QString& rowIdColumn,
                         const QStringList& columns) {
    const QString index = quoteName(indexName(table));
    const QString source = quoteName(table);
    const QString rowId = quoteName(rowIdColumn);
    const QString names = prefixed(QString(), columns);
    // External content: the index keeps the trigrams only; the rows stay in the table.
    exec(db, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content=%3, "
                            "content_rowid=%4, tokenize='trigram')")
                 .arg(index, names, u'\'' + table + u'\'', u'\'' + rowIdColumn + u'\''));
    exec(db, QStringLiteral("INSERT INTO %1(%1) VALUES ('rebuild')").arg(index));
    const QString add = QStringLiteral("INSERT INTO %1(rowid, %2) VALUES (new.%3, %4);")
                            .arg(index, names, rowId, prefixed(QStringLiteral("new."), columns));
    const QString remove =
        QStringLiteral("INSERT INTO %1(%1, rowid, %2) VALUES ('delete', old.%3, %4);")
            .arg(index, names, rowId, prefixed(QStringLiteral("old."), columns));
    exec(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END")
                 .arg(quoteName(indexName(table) + QStringLiteral("_insert")), source, add));
    exec(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END")
                 .arg(quoteName(indexName(table) + QStringLiteral("_delete")), source, remove));
    exec(db,
         QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE ON %2 BEGIN %3 %4 END")
             .arg(quoteName(indexName(table) + QStringLiteral("_update")), source, remove, add));
}

std::optional<QString> SearchIndex::plainInfix(const QString& pattern) {
    if (pattern.size() < 5 || pattern.front() != u'*' || pattern.back() != u'*')
        return std::nullopt;
    const QString text = pattern.mid(1, pattern.size() - 2);
    for (QChar c : text) {
        // ASCII only: the index folds letter case as the LIKE does for these (the two letters
        // beyond ASCII that fold to ASCII, the Kelvin sign and the long s, fold alike in both).
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'*' || c == u'?' || c == u'#' ||
            c == u'[')
            return std::nullopt;
    }
    return text;
}

QString SearchIndex::columnsHold(const QStringList& columns, const QString& text) {
    QString phrase = text;
    phrase.replace(u'"', QStringLiteral("\"\""));
    return u'{' + columns.join(u' ') + QStringLiteral("} : \"") + phrase + u'"';
}

} // namespace quillon
