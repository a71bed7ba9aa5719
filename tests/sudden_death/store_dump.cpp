#include "store_dump.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace quillon::tests {

namespace {

// Each query yields the entity's key in its first column and the row's content after it.
struct TableQuery {
    const char* prefix;
    const char* sql;
};

const TableQuery tableQueries[] = {
    {"order:", "SELECT OrderNum, OrderDate, OrderStatus FROM orders"},
    {"line:", "SELECT coalesce(OrderNum, 'null') || ':' || ID, * FROM orderParts"},
    {"custom:", "SELECT rowid, * FROM customParts"},
    {"oaddr:", "SELECT rowid, * FROM orderCompanyDetails"},
    {"daddr:", "SELECT rowid, * FROM deliveryCompanyDetails"},
};

QString columnText(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QStringLiteral("n");
    case SQLITE_INTEGER:
        return QStringLiteral("i") + QString::number(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return QStringLiteral("r") +
               QString::number(sqlite3_column_double(statement, column), 'g', 17);
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QStringLiteral("t") +
               QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
    }
    default: {
        const QByteArray blob(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                              sqlite3_column_bytes(statement, column));
        return QStringLiteral("b") + QString::fromLatin1(blob.toHex());
    }
    }
}

[[noreturn]] void fail(sqlite3* db, const char* what) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

} // namespace

StoreDump::Rows StoreDump::read(sqlite3* db) {
    Rows rows;
    for (const TableQuery& query : tableQueries) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, query.sql, -1, &raw, nullptr) != SQLITE_OK)
            fail(db, query.sql);
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw,
                                                                              sqlite3_finalize);
        const int columns = sqlite3_column_count(raw);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            QStringList values;
            for (int column = 1; column < columns; ++column)
                values << columnText(raw, column);
            const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
            rows.insert(QString::fromLatin1(query.prefix) + QString::fromUtf8(key),
                        values.join(QChar(0x1f)));
        }
        if (rc != SQLITE_DONE)
            fail(db, query.sql);
    }
    return rows;
}

QList<StoreDump::Change> StoreDump::diff(const Rows& before, const Rows& after) {
    QList<Change> changes;
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (!after.contains(it.key()))
            changes.append({it.key(), std::nullopt});
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        const auto old = before.find(it.key());
        if (old == before.end() || old.value() != it.value())
            changes.append({it.key(), it.value()});
    }
    return changes;
}

void StoreDump::apply(Rows& rows, const QList<Change>& changes) {
    for (const Change& change : changes) {
        if (change.value)
            rows.insert(change.entity, *change.value);
        else
            rows.remove(change.entity);
    }
}

QString StoreDump::encode(const Change& change) {
    return change.entity + u'=' +
           (change.value ? QString::fromLatin1(change.value->toUtf8().toBase64())
                         : QStringLiteral("!"));
}

std::optional<StoreDump::Change> StoreDump::decode(const QString& token) {
    const qsizetype equals = token.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    Change change{token.left(equals), std::nullopt};
    const QString value = token.mid(equals + 1);
    if (value != u"!") {
        const auto decoded = QByteArray::fromBase64Encoding(
            value.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        change.value = QString::fromUtf8(*decoded);
    }
    return change;
}

QString StoreDump::orderOf(const QString& entity) {
    const QStringList parts = entity.split(u':');
    return parts.size() >= 2 && (parts[0] == u"order" || parts[0] == u"line") ? parts[1]
                                                                              : QString();
}

} // namespace quillon::tests
