#include "store_dump.h"

#include <QDataStream>
#include <QIODevice>
#include <QStringList>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace quillon::tests {

StoreDump::Rows StoreDump::read(sqlite3* db) {
    // Each query yields the entity's key first and the row's content after it.
    static const char* const queries[][2] = {
        {"order:", "SELECT OrderNum, OrderDate, OrderStatus FROM orders"},
        {"line:", "SELECT coalesce(OrderNum, 'null') || ':' || ID, * FROM orderParts"},
        {"custom:", "SELECT rowid, * FROM customParts"},
        {"oaddr:", "SELECT rowid, * FROM orderCompanyDetails"},
        {"daddr:", "SELECT rowid, * FROM deliveryCompanyDetails"},
    };
    Rows rows;
    for (const auto& [prefix, sql] : queries) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw,
                                                                              sqlite3_finalize);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            QStringList values;
            for (int column = 1; column < sqlite3_column_count(raw); ++column) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, column));
                values << QString::number(sqlite3_column_type(raw, column)) +
                              QString::fromUtf8(text, sqlite3_column_bytes(raw, column));
            }
            rows.insert(QLatin1String(prefix) + QString::fromUtf8(reinterpret_cast<const char*>(
                                                    sqlite3_column_text(raw, 0))),
                        values.join(QChar(0x1f)));
        }
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    return rows;
}

QByteArray StoreDump::encode(const Rows& rows) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << rows;
    return bytes.toBase64();
}

StoreDump::Rows StoreDump::decode(const QByteArray& token) {
    Rows rows;
    QDataStream stream(QByteArray::fromBase64(token));
    stream >> rows;
    return rows;
}

} // namespace quillon::tests
