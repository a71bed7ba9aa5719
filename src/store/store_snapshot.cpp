#include "store/store_snapshot.h"

#include "store/database.h"
#include "store/store_error.h"

#include <QStringList>
#include <QUrl>
#include <QtEndian>
#include <memory>
#include <sqlite3.h>

namespace quillon {

namespace {

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct EngineFree {
    void operator()(unsigned char* bytes) const noexcept { sqlite3_free(bytes); }
};

QString engineMessage(sqlite3* db) {
    return db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// The engine's integrity check of an open connection: its first finding, empty when sound.
QString integrityFinding(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &raw, nullptr) != SQLITE_OK)
        return engineMessage(db);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    QStringList found;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        found << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
    if (rc != SQLITE_DONE)
        return engineMessage(db);
    if (found == QStringList{QStringLiteral("ok")})
        return {};
    return found.value(0, QStringLiteral("the check gave no answer"));
}

// Ends the read transaction a copy holds on the store.
struct EndRead {
    void operator()(sqlite3* db) const noexcept {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
};

} // namespace

QByteArray StoreSnapshot::take(Database& store) {
    if (store.handle() == nullptr)
        throw StoreError(QStringLiteral("The store %1 is closed.").arg(store.path()));
    sqlite3* raw = nullptr;
    sqlite3_open_v2(":memory:", &raw,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    const Connection copy(raw);
    if (copy == nullptr || sqlite3_errcode(copy.get()) != SQLITE_OK)
        throw StoreError(QStringLiteral("No room for a copy of the store %1: %2")
                             .arg(store.path(), engineMessage(copy.get())));
    // One read transaction on the store for the whole copy, so that the copy is of one moment.
    // Taking it waits (the store's wait for a lock) while another program holds the store
    // mid-change.
    if (sqlite3_exec(store.handle(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(QStringLiteral("The store %1 can't be read for the copy: %2")
                             .arg(store.path(), engineMessage(store.handle())));
    const std::unique_ptr<sqlite3, EndRead> reading(store.handle());
    qint64 schemaCookie = -1;
    if (sqlite3_exec(
            store.handle(), "PRAGMA schema_version",
            [](void* cookie, int, char** values, char**) {
                *static_cast<qint64*>(cookie) = values[0] ? QByteArray(values[0]).toLongLong() : -1;
                return 0;
            },
            &schemaCookie, nullptr) != SQLITE_OK)
        throw StoreError(QStringLiteral("The store %1 can't be read for the copy: %2")
                             .arg(store.path(), engineMessage(store.handle())));
    sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", store.handle(), "main");
    if (backup == nullptr)
        throw StoreError(QStringLiteral("The store %1 can't be copied: %2")
                             .arg(store.path(), engineMessage(copy.get())));
    const int stepped = sqlite3_backup_step(backup, -1); // every page in one step
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        throw StoreError(QStringLiteral("The store %1 can't be read for the copy: %2")
                             .arg(store.path(), QString::fromUtf8(sqlite3_errstr(
                                                    stepped != SQLITE_DONE ? stepped : finished))));
    if (const QString finding = integrityFinding(copy.get()); !finding.isEmpty())
        throw StoreError(
            QStringLiteral("The copy of the store %1 is not sound: %2").arg(store.path(), finding));
    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, EngineFree> bytes(
        sqlite3_serialize(copy.get(), "main", &size, 0));
    if (bytes == nullptr)
        throw StoreError(QStringLiteral("No room for a copy of the store %1.").arg(store.path()));
    QByteArray file(reinterpret_cast<const char*>(bytes.get()), qsizetype(size));
    // The engine counts the copy's schema one on from its own empty one, to tell its other
    // connections to read it again: the file gets the store's count back, and so the very bytes
    // of the store as it was.
    constexpr qsizetype schemaCookieAt = 40;
    if (schemaCookie >= 0 && file.size() >= schemaCookieAt + 4)
        qToBigEndian(quint32(schemaCookie), file.data() + schemaCookieAt);
    return file;
}

QString StoreSnapshot::faultOf(const QString& path) {
    // Immutable: the engine takes no lock, looks for no journal and writes nothing.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(uri.constData(), &raw,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    const Connection db(raw);
    if (rc != SQLITE_OK)
        return engineMessage(db.get());
    return integrityFinding(db.get());
}

} // namespace quillon
