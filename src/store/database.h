#pragma once

#include "store/loose_match.h"
#include "store/recordset.h"
#include "store/store_recovery.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <variant>

struct sqlite3;

namespace quillon {

class SelectCache;
class TableCatalog;
struct TranslatedStatement;

// One open store file, spoken to in the program's SQL dialect:
//  - "DELETE * FROM t WHERE ..."; "INSERT INTO t(cols) SELECT 'v' AS a, 'v' AS b" with no FROM,
//    whose values go to the listed columns by position, each converted to its column's type
//    (a value the column can't hold is refused with a StoreError and nothing is written);
//  - TRUE and FALSE; table and column names in any letter case;
//  - LIKE with the stores' wildcards: * any run, ? one character, # one digit, [abc], [a-z],
//    [!abc]; a "[" with no closing "]" is the character itself; % and _ are plain characters;
//  - text compared with LIKE and = without regard to letter case, also beyond ASCII.
// "SELECT OrderNum FROM orders" lists orders in ascending OrderNum; order numbers and order line
// IDs are never reused. Failures throw StoreError with the engine's message and the statement.
class Database {
public:
    enum class Access { ReadOnly, ReadWrite };

    // Opens an existing store file. A missing file is an error naming it: no file is created.
    // A journal that an interrupted update left beside the file goes through StoreRecovery
    // first, also for a store only read: the change is undone where the file and its folder can
    // be written (where they can't, the error says so and how to mend the file), and a journal
    // that doesn't belong to the file is set aside.
    // A read-write store uses the rollback journal and synchronous=EXTRA, so every statement
    // that has returned survives a crash or a power cut.
    static std::unique_ptr<Database> open(const QString& path, Access access);
    // Creates a new, empty store file (read-write). Fails if the file exists already.
    static std::unique_ptr<Database> create(const QString& path);
    // Whether the file begins as every store file does, read without the engine (which, opening
    // a file, may write into it: it rolls back a journal left beside it). False for a file that
    // can't be read, is empty or holds something else.
    [[nodiscard]] static bool hasStoreFormat(const QString& path);
    // Whether the first bytes of a file (16 are enough) are those every store file begins with.
    [[nodiscard]] static bool beginsAsStore(const QByteArray& firstBytes);
    // The longest path of a store file the engine can open, in bytes of the system's encoding
    // of the full path with its links resolved: the engine takes paths of a fixed length, its
    // journal's among them (the store's path + "-journal").
    [[nodiscard]] static qsizetype longestPath();
    // The length of a store file's path as longestPath() counts it.
    [[nodiscard]] static qsizetype pathLength(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A SELECT, materialised. While the engine works on it, whileRunning (when given) is called
    // every few thousand of the engine's steps, on this thread: a long search can paint from
    // it. What it throws ends the statement and is thrown on. A loose match adds the rows it
    // finds to those of a SELECT on one table with a WHERE condition, in the statement's order.
    // keptColumns, when not empty, names the only columns of the statement's result that are
    // kept (any letter case; the first column of a name), in the statement's order: a caller
    // that reads a few columns of many rows holds those alone. Reading another throws.
    Recordset openRecordset(const QString& statement,
                            const std::function<void()>& whileRunning = {},
                            const LooseMatch& loose = {}, const QStringList& keptColumns = {});
    // An INSERT, UPDATE or DELETE (or schema statement), taking effect at once. Returns the
    // number of rows changed. One statement only.
    int execute(const QString& statement);
    // One statement of any kind, as someone types it into the support tool: the rows of one that
    // gives columns (a SELECT, a PRAGMA that answers), else the number of rows the statement
    // itself changed (not counting the rows its triggers changed). One statement only.
    std::variant<Recordset, int> run(const QString& statement);

    // Releases the file, so that it can be copied. Further statements throw.
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }
    Access access() const { return access_; }

    // The engine's integrity check: empty when the file is sound, else what it found.
    QStringList integrityCheck();

    // The raw handle, for the tool and the benchmarks' baseline queries. Null once closed.
    sqlite3* handle() const { return db_; }
    // What opening found beside the file and did about it.
    const StoreRecovery::Outcome& recovery() const { return recovery_; }

private:
    friend class Transaction;
    Database(sqlite3* db, QString path, Access access);
    void exec(const char* sql);
    // A statement of the engine's own SQL (CREATE TABLE, PRAGMA, ...): its rows go to rows when
    // it gives columns and rows is given. Returns the number of rows it changed.
    int runOwnSql(const QByteArray& sql, const QString& statement, Recordset* rows);
    // The engine's page cache for the statement about to run: see openRecordset().
    void sizeCacheFor(const TranslatedStatement& statement);

    sqlite3* db_ = nullptr;
    QString path_;
    Access access_;
    std::unique_ptr<TableCatalog> catalog_; // the tables' declared types, read once
    std::unique_ptr<SelectCache> selects_;  // the SELECTs run last, compiled
    StoreRecovery::Outcome recovery_;
    int cacheKib_ = 0; // the page cache's size as last set; 0: the engine's default
};

} // namespace quillon
