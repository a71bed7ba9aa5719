#include "store/prepared_statement.h"

#include "store/shown_path.h"
#include "store/store_error.h"

#include <QDir>
#include <sqlite3.h>
#include <utility>

namespace quillon {

void PreparedStatement::Finalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

PreparedStatement::PreparedStatement(sqlite3* db, const QByteArray& sql, const QString& statement,
                                     qsizetype offset)
    : db_(db), statement_(statement) {
    if (db_ == nullptr)
        throw StoreError(QStringLiteral("The store is closed."), statement_);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const char* begin = sql.constData() + offset;
    const int rc =
        sqlite3_prepare_v2(db_, begin, static_cast<int>(sql.size() - offset), &stmt, &tail);
    stmt_.reset(stmt);
    if (rc != SQLITE_OK)
        fail("can't be prepared");
    tailOffset_ = tail != nullptr ? offset + (tail - begin) : sql.size();
}

PreparedStatement::PreparedStatement(sqlite3* db, Compiled compiled, const QString& statement)
    : db_(db), statement_(statement), stmt_(std::move(compiled)) {}

void PreparedStatement::bind(int index, const SqlParameter& value) {
    int rc = SQLITE_OK;
    if (const auto* number = std::get_if<qint64>(&value)) {
        rc = sqlite3_bind_int64(stmt_.get(), index, *number);
    } else if (const auto* text = std::get_if<QString>(&value)) {
        const QByteArray utf8 = text->toUtf8();
        rc = sqlite3_bind_text64(stmt_.get(), index, utf8.constData(),
                                 static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
    } else {
        rc = sqlite3_bind_null(stmt_.get(), index);
    }
    if (rc != SQLITE_OK)
        fail("can't take its values");
}

bool PreparedStatement::step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail("failed");
}

void PreparedStatement::fail(const char* what) const {
    QString message = QStringLiteral("The statement %1: %2")
                          .arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db_)));
    // The engine's words for a file it can't write ("unable to open database file", "disk I/O
    // error") say little to the user: say which store and what may be the matter.
    const char* file = sqlite3_db_filename(db_, "main");
    const QString store =
        file != nullptr && *file != '\0' ? shownPath(QString::fromUtf8(file)) : QString();
    if (!store.isEmpty()) {
        switch (sqlite3_errcode(db_) & 0xff) {
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
            message += QStringLiteral("\r\n\r\nThe store %1 can't be written: its folder may be "
                                      "read-only.")
                           .arg(store);
            break;
        case SQLITE_FULL:
            message +=
                QStringLiteral("\r\n\r\nThe disk that holds the store %1 is full.").arg(store);
            break;
        case SQLITE_IOERR:
            message += QStringLiteral("\r\n\r\nThe store %1 could not be read or written: the disk "
                                      "may be full or failing.")
                           .arg(store);
            break;
        default:
            break;
        }
    }
    throw StoreError(message, statement_);
}

} // namespace quillon
