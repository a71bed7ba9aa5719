#include "store/database.h"

#include "store/column_type.h"
#include "store/engine_functions.h"
#include "store/prepared_statement.h"
#include "store/select_cache.h"
#include "store/sql_tokenizer.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/store_recovery.h"
#include "store/table_catalog.h"

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <optional>
#include <sqlite3.h>
#include <variant>

namespace quillon {

namespace {

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

QString engineMessage(sqlite3* db) {
    return db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// Opens the file with the engine, installs the dialect and proves that it is a store.
Connection connect(const QString& path, int flags) {
    sqlite3* raw = nullptr;
    // A connection is used only by the thread that opened it: no locking inside the engine.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        throw StoreError(
            QStringLiteral("Can't open the store %1: %2").arg(path, engineMessage(raw)));
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), 5000);
    EngineFunctions::install(db.get());
    // Reading the schema fails at once for a file that is not a store.
    if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        throw StoreError(
            QStringLiteral("%1 is not a valid store: %2").arg(path, engineMessage(db.get())));
    return db;
}

void setDurability(sqlite3* db, const QString& path) {
    // The rollback journal, and a sync after every transaction, so that a statement that has
    // returned survives a crash or a power cut.
    for (const char* pragma : {"PRAGMA journal_mode=DELETE", "PRAGMA synchronous=EXTRA"}) {
        if (sqlite3_exec(db, pragma, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw StoreError(
                QStringLiteral("Can't set up the store %1: %2").arg(path, engineMessage(db)),
                QString::fromLatin1(pragma));
    }
}

QString textAt(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

// Adds the value of a column of the current row to the result, of the kind its declared type
// gives. A stored value that doesn't fit the declared type (a file written by something else)
// reads as what it is.
void addCell(Recordset& result, sqlite3_stmt* stmt, int column, ColumnType type) {
    const int storage = sqlite3_column_type(stmt, column);
    if (storage == SQLITE_NULL) {
        result.addNull();
        return;
    }
    switch (type) {
    case ColumnType::Amount:
        if (storage == SQLITE_INTEGER) {
            result.addAmount(Money::fromUnits(sqlite3_column_int64(stmt, column)));
            return;
        }
        if (storage == SQLITE_FLOAT) {
            if (const auto amount = Money::fromPlainText(textAt(stmt, column))) {
                result.addAmount(*amount);
                return;
            }
        }
        break;
    case ColumnType::Boolean:
        if (storage == SQLITE_INTEGER) {
            result.addBoolean(sqlite3_column_int64(stmt, column) != 0);
            return;
        }
        break;
    case ColumnType::Integer:
    case ColumnType::Other:
        if (storage == SQLITE_INTEGER) {
            result.addInteger(sqlite3_column_int64(stmt, column));
            return;
        }
        break;
    case ColumnType::Text:
        break;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    result.addText(text, sqlite3_column_bytes(stmt, column));
}

// Calls a function from the engine's progress handler while it lives. The handler runs inside
// the engine, where no exception may pass: one thrown by the function is kept, the statement is
// interrupted, and rethrowOwn() throws it in the engine's error's place.
class ProgressCall {
public:
    ProgressCall(sqlite3* db, const std::function<void()>& call) : db_(db), call_(call) {
        if (call_)
            sqlite3_progress_handler(db_, stepsBetweenCalls, &ProgressCall::handler, this);
    }
    ~ProgressCall() {
        if (call_)
            sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    }
    ProgressCall(const ProgressCall&) = delete;
    ProgressCall& operator=(const ProgressCall&) = delete;

    void rethrowOwn() const {
        if (thrown_)
            std::rethrow_exception(thrown_);
    }

private:
    static constexpr int stepsBetweenCalls = 20000;

    static int handler(void* self) {
        auto* progress = static_cast<ProgressCall*>(self);
        try {
            progress->call_();
            return 0;
        } catch (...) {
            progress->thrown_ = std::current_exception();
            return 1;
        }
    }

    sqlite3* db_;
    const std::function<void()>& call_;
    std::exception_ptr thrown_;
};

// What follows the first statement in sql (from the byte offset tail) must be blanks, comments
// and semicolons. Told by the dialect's tokens, not by the engine, which would answer a second
// statement in the dialect ("DELETE * FROM") with its syntax error.
void refuseASecondStatement(const QByteArray& sql, qsizetype tail, const QString& statement) {
    for (const SqlToken& token : SqlTokenizer::tokenize(QString::fromUtf8(sql.mid(tail)))) {
        if (token.isSignificant() && !token.isSymbol(u";"))
            throw StoreError(QStringLiteral("Only one statement can be run at a time."), statement);
    }
}

// Every row of a compiled statement, each value of the kind its column's declared type gives.
// The rows of a statement, read to the end. keptColumns, when not empty, names the only columns
// kept (any letter case; the first column of a name); a name the statement lacks throws.
Recordset readAll(sqlite3* db, PreparedStatement& stmt, const std::function<void()>& whileRunning,
                  const QStringList& keptColumns, const QString& statement) {
    // The columns of the statement that the result keeps, with their declared types.
    QStringList columns;
    std::vector<int> read;
    std::vector<ColumnType> types;
    QStringList wanted;
    for (const QString& name : keptColumns)
        wanted << name.toCaseFolded();
    std::vector<bool> found(std::size_t(wanted.size()), false);
    for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt.get(), c));
        if (!keptColumns.isEmpty()) {
            const qsizetype index = wanted.indexOf(name.toCaseFolded());
            if (index < 0 || found[std::size_t(index)])
                continue; // not wanted, or a later column of a name kept already
            found[std::size_t(index)] = true;
        }
        columns << name;
        read.push_back(c);
        types.push_back(columnTypeFromDeclared(sqlite3_column_decltype(stmt.get(), c)));
    }
    for (qsizetype k = 0; k < keptColumns.size(); ++k) {
        if (!found[std::size_t(k)])
            throw StoreError(QStringLiteral("The result has no field %1.").arg(keptColumns[k]),
                             statement);
    }
    Recordset result(std::move(columns));
    ProgressCall progress(db, whileRunning);
    try {
        while (stmt.step()) {
            for (std::size_t k = 0; k < read.size(); ++k)
                addCell(result, stmt.get(), read[k], types[k]);
        }
    } catch (...) {
        progress.rethrowOwn();
        throw;
    }
    progress.rethrowOwn();
    return result;
}

// How many of the SELECTs run last a connection keeps compiled.
constexpr std::size_t keptSelects = 16;

// The translated statement as the engine reads it. The engine stops reading at a NUL character,
// so one left in the text (outside quotes: quoted texts holding one are parameters) would cut
// the statement short, or stop the engine's reading of several statements from moving on.
QByteArray engineText(const TranslatedStatement& translated, const QString& statement) {
    QByteArray sql = translated.sql.toUtf8();
    if (sql.contains('\0'))
        throw StoreError(QStringLiteral("The statement holds a NUL character outside quotes."),
                         statement);
    return sql;
}

} // namespace

Database::Database(sqlite3* db, QString path, Access access)
    : db_(db), path_(std::move(path)), access_(access),
      catalog_(std::make_unique<TableCatalog>(db)),
      selects_(std::make_unique<SelectCache>(keptSelects)) {}

Database::~Database() {
    close();
}

std::unique_ptr<Database> Database::open(const QString& path, Access access) {
    const QFileInfo info(path);
    if (!info.exists())
        throw StoreError(QStringLiteral("Store file not found: %1").arg(path));
    if (!info.isFile())
        throw StoreError(QStringLiteral("The store %1 is not a file.").arg(path));
    if (pathLength(path) > longestPath())
        throw StoreError(QStringLiteral("The path of the store %1 is too long for the engine (%2 "
                                        "bytes; it opens paths of up to %3 bytes).")
                             .arg(path)
                             .arg(pathLength(path))
                             .arg(longestPath()));
    // A journal left beside the file by an interrupted change: undone, or set aside when it
    // doesn't belong to the file.
    StoreRecovery::Outcome recovery = StoreRecovery::recover(path);
    // Without SQLITE_OPEN_CREATE: the engine never makes an empty file in a missing one's place.
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    Connection db = connect(path, flags);
    if (access == Access::ReadWrite) {
        // The engine falls back to reading only when the file can't be written; a store opened
        // for writing must fail here instead, not at its first change.
        if (sqlite3_db_readonly(db.get(), "main") != 0)
            throw StoreError(QStringLiteral("The store %1 can't be written.").arg(path));
        setDurability(db.get(), path);
    }
    std::unique_ptr<Database> opened(new Database(db.release(), path, access));
    opened->recovery_ = std::move(recovery);
    return opened;
}

std::unique_ptr<Database> Database::create(const QString& path) {
    if (QFileInfo::exists(path))
        throw StoreError(
            QStringLiteral("Can't create the store %1: the file exists already.").arg(path));
    Connection db = connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    setDurability(db.get(), path);
    // Write the file's header now, so that the new file is a store even before it has tables.
    if (sqlite3_exec(db.get(), "PRAGMA user_version=1", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(
            QStringLiteral("Can't create the store %1: %2").arg(path, engineMessage(db.get())));
    return std::unique_ptr<Database>(new Database(db.release(), path, Access::ReadWrite));
}

bool Database::hasStoreFormat(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && beginsAsStore(file.read(16));
}

bool Database::beginsAsStore(const QByteArray& firstBytes) {
    static const QByteArray header("SQLite format 3\0", 16);
    return firstBytes.startsWith(header);
}

qsizetype Database::longestPath() {
    const sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    return qsizetype(vfs != nullptr ? vfs->mxPathname : 0) - qsizetype(sizeof("-journal") - 1);
}

qsizetype Database::pathLength(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return QFile::encodeName(info.canonicalFilePath()).size();
    // A file yet to be made: its folder's path with the links resolved, and its name.
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QFile::encodeName((folder.isEmpty() ? info.absolutePath() : folder) + u'/' +
                             info.fileName())
        .size();
}

Recordset Database::openRecordset(const QString& statement,
                                  const std::function<void()>& whileRunning,
                                  const LooseMatch& loose, const QStringList& keptColumns) {
    if (db_ == nullptr)
        throw StoreError(QStringLiteral("The store is closed."), statement);
    // A SELECT run before is neither translated nor compiled again.
    std::optional<SelectCache::Entry> cached = selects_->take(statement, loose, keptColumns);
    TranslatedStatement translated;
    std::optional<PreparedStatement> compiled;
    if (cached) {
        translated = std::move(cached->translated);
        compiled.emplace(db_, std::move(cached->compiled), statement);
    } else {
        translated = StatementTranslator(*catalog_).translate(statement, loose, keptColumns);
        if (translated.kind == TranslatedStatement::Kind::Insert ||
            translated.kind == TranslatedStatement::Kind::Update ||
            translated.kind == TranslatedStatement::Kind::Delete)
            throw StoreError(QStringLiteral("A result can only be opened for a SELECT."),
                             statement);
        const QByteArray sql = engineText(translated, statement);
        compiled.emplace(db_, sql, statement);
        if (compiled->isEmpty())
            throw StoreError(QStringLiteral("The statement is empty."), statement);
        refuseASecondStatement(sql, compiled->tailOffset(), statement);
    }
    PreparedStatement& stmt = *compiled;
    for (std::size_t i = 0; i < translated.parameters.size(); ++i)
        stmt.bind(int(i) + 1, translated.parameters[i]);
    sizeCacheFor(translated);
    Recordset result = readAll(db_, stmt, whileRunning, keptColumns, statement);
    selects_->put(statement, loose, keptColumns, {std::move(translated), stmt.release()});
    return result;
}

// A search the index serves reads a few pages of the index and the rows it finds, the same ones
// each time it runs: a page cache that holds them spares reading them from the file again. A
// search that tests every row reads every page once; a cache would hold only pages it has passed,
// so it gets the engine's small default and the memory goes to the rows found.
void Database::sizeCacheFor(const TranslatedStatement& statement) {
    constexpr int indexedKib = 32 * 1024;
    constexpr int scanKib = 2 * 1024;
    if (!statement.indexed && !statement.testsEveryRow)
        return; // a row by its key, or a few: the cache stays as it is
    const int wanted = statement.indexed ? indexedKib : scanKib;
    if (wanted == cacheKib_)
        return;
    const QByteArray pragma = "PRAGMA cache_size=-" + QByteArray::number(wanted);
    if (sqlite3_exec(db_, pragma.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
        cacheKib_ = wanted;
}

int Database::execute(const QString& statement) {
    if (db_ == nullptr)
        throw StoreError(QStringLiteral("The store is closed."), statement);
    const TranslatedStatement translated = StatementTranslator(*catalog_).translate(statement);
    if (translated.kind == TranslatedStatement::Kind::Select)
        throw StoreError(QStringLiteral("A SELECT gives a result: open it as one."), statement);

    const QByteArray sql = engineText(translated, statement);
    if (translated.kind == TranslatedStatement::Kind::Other)
        return runOwnSql(sql, statement, nullptr);

    PreparedStatement stmt(db_, sql, statement);
    for (std::size_t i = 0; i < translated.parameters.size(); ++i)
        stmt.bind(int(i) + 1, translated.parameters[i]);
    while (stmt.step()) {
    }
    return sqlite3_changes(db_);
}

std::variant<Recordset, int> Database::run(const QString& statement) {
    switch (StatementTranslator::kindOf(statement)) {
    case TranslatedStatement::Kind::Select:
        return openRecordset(statement);
    case TranslatedStatement::Kind::Other:
        break;
    default:
        return execute(statement);
    }
    if (db_ == nullptr)
        throw StoreError(QStringLiteral("The store is closed."), statement);
    const TranslatedStatement translated = StatementTranslator(*catalog_).translate(statement);
    Recordset rows;
    const int changed = runOwnSql(engineText(translated, statement), statement, &rows);
    if (rows.isOpen())
        return rows;
    return changed;
}

int Database::runOwnSql(const QByteArray& sql, const QString& statement, Recordset* rows) {
    // It may change the tables: what is known of them is read again.
    catalog_->invalidate();
    selects_->clear();
    PreparedStatement stmt(db_, sql, statement);
    if (stmt.isEmpty())
        throw StoreError(QStringLiteral("The statement is empty."), statement);
    refuseASecondStatement(sql, stmt.tailOffset(), statement);
    const sqlite3_int64 before = sqlite3_total_changes64(db_);
    if (rows != nullptr && sqlite3_column_count(stmt.get()) > 0) {
        *rows = readAll(db_, stmt, {}, {}, statement);
    } else {
        while (stmt.step()) {
        }
    }
    catalog_->invalidate();
    selects_->clear();
    // The engine counts the rows of the last INSERT, UPDATE or DELETE it ran, whichever statement
    // that was: they are this one's only when it changed rows at all (REPLACE INTO ...). The
    // rows its triggers changed are counted in the total only.
    return sqlite3_total_changes64(db_) == before ? 0 : sqlite3_changes(db_);
}

void Database::close() {
    if (db_ == nullptr)
        return;
    selects_.reset();
    catalog_.reset();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

QStringList Database::integrityCheck() {
    const QString statement = QStringLiteral("PRAGMA integrity_check");
    PreparedStatement stmt(db_, statement.toUtf8(), statement);
    QStringList problems;
    while (stmt.step())
        problems << textAt(stmt.get(), 0);
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return problems;
}

void Database::exec(const char* sql) {
    if (db_ == nullptr)
        throw StoreError(QStringLiteral("The store is closed."), QString::fromLatin1(sql));
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(engineMessage(db_), QString::fromLatin1(sql));
}

} // namespace quillon
