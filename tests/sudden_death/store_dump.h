#pragma once

#include <QDataStream>
#include <QIODevice>
#include <QMap>
#include <QStringList>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace quillon::tests {

// The logical content of a User database, one entry per row, read straight from the engine:
// "order:<OrderNum>", "line:<OrderNum>:<ID>", "custom:<rowid>", "oaddr:<rowid>", "daddr:<rowid>",
// each with its columns tagged by storage class (so that Null, "", 0 and "0" all differ); as one
// token without blanks or tabs, and back.
class StoreDump final {
public:
    using Rows = QMap<QString, QString>;

    static Rows read(sqlite3* db) {
        Rows rows;
        for (const char* sql : {"SELECT 'order:' || OrderNum, OrderDate, OrderStatus FROM orders",
                                "SELECT 'line:' || coalesce(OrderNum, 'null') || ':' || ID, * "
                                "FROM orderParts",
                                "SELECT 'custom:' || rowid, * FROM customParts",
                                "SELECT 'oaddr:' || rowid, * FROM orderCompanyDetails",
                                "SELECT 'daddr:' || rowid, * FROM deliveryCompanyDetails"}) {
            sqlite3_stmt* raw = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
                throw std::runtime_error(sqlite3_errmsg(db));
            const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw,
                                                                                  sqlite3_finalize);
            int rc = SQLITE_ROW;
            while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
                QStringList values;
                for (int column = 0; column < sqlite3_column_count(raw); ++column)
                    values << QString::number(sqlite3_column_type(raw, column)) +
                                  QString::fromUtf8(reinterpret_cast<const char*>(
                                                        sqlite3_column_text(raw, column)),
                                                    sqlite3_column_bytes(raw, column));
                rows.insert(values.takeFirst().mid(1), values.join(QChar(0x1f)));
            }
            if (rc != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(db));
        }
        return rows;
    }

    static QByteArray encode(const Rows& rows) {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream << rows;
        return bytes.toBase64();
    }

    static Rows decode(const QByteArray& token) {
        Rows rows;
        QDataStream stream(QByteArray::fromBase64(token));
        stream >> rows;
        return rows;
    }
};

} // namespace quillon::tests
