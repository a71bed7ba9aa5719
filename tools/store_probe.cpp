#include "store_probe.h"

#include "store/database.h"

#include <QFile>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>

namespace quillon {

namespace {

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};

bool containsName(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

} // namespace

const QStringList& StoreProbe::userTables() {
    static const QStringList tables{
        QStringLiteral("orders"), QStringLiteral("orderParts"), QStringLiteral("customParts"),
        QStringLiteral("orderCompanyDetails"), QStringLiteral("deliveryCompanyDetails")};
    return tables;
}

bool StoreProbe::sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

StoreProbe::StoreProbe(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        kind_ = Kind::Missing;
        return;
    }
    if (S_ISLNK(status.st_mode)) {
        kind_ = Kind::Link;
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        kind_ = Kind::NotAFile;
        return;
    }
    if (!Database::hasStoreFormat(path)) {
        kind_ = Kind::NotAStore;
        return;
    }
    // Immutable: the engine takes no lock, looks for no journal and writes nothing.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(uri.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const std::unique_ptr<sqlite3, ConnectionCloser> db(raw);
    sqlite3_stmt* stmt = nullptr;
    if (rc != SQLITE_OK ||
        sqlite3_prepare_v2(db.get(), "SELECT name FROM sqlite_schema WHERE type = 'table'", -1,
                           &stmt, nullptr) != SQLITE_OK) {
        kind_ = Kind::Unreadable;
        problem_ = raw != nullptr ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString();
        return;
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        tables_ << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (step != SQLITE_DONE) {
        kind_ = Kind::Unreadable;
        problem_ = QString::fromUtf8(sqlite3_errmsg(raw));
        return;
    }
    if (containsName(tables_, QStringLiteral("Parts")))
        kind_ = Kind::Catalogue;
    else if (std::any_of(userTables().begin(), userTables().end(),
                         [&](const QString& table) { return containsName(tables_, table); }))
        kind_ = Kind::UserData;
    else
        kind_ = Kind::OtherStore;
}

} // namespace quillon
