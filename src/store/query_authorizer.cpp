#include "store/query_authorizer.h"

#include "store/sql_tokenizer.h"

#include <QSet>
#include <sqlite3.h>

namespace quillon {

namespace {

// PRAGMAs that read, given the name of a table or index (or nothing).
const QSet<QString>& pragmasReadingObjects() {
    static const QSet<QString> names{
        QStringLiteral("table_info"),       QStringLiteral("table_xinfo"),
        QStringLiteral("table_list"),       QStringLiteral("index_info"),
        QStringLiteral("index_xinfo"),      QStringLiteral("index_list"),
        QStringLiteral("foreign_key_list"), QStringLiteral("foreign_key_check"),
        QStringLiteral("integrity_check"),  QStringLiteral("quick_check")};
    return names;
}

// PRAGMAs that read a setting when given no value (and would set it when given one).
const QSet<QString>& pragmasReadingSettings() {
    static const QSet<QString> names{QStringLiteral("analysis_limit"),
                                     QStringLiteral("application_id"),
                                     QStringLiteral("auto_vacuum"),
                                     QStringLiteral("automatic_index"),
                                     QStringLiteral("busy_timeout"),
                                     QStringLiteral("cache_size"),
                                     QStringLiteral("cache_spill"),
                                     QStringLiteral("cell_size_check"),
                                     QStringLiteral("collation_list"),
                                     QStringLiteral("compile_options"),
                                     QStringLiteral("data_version"),
                                     QStringLiteral("database_list"),
                                     QStringLiteral("defer_foreign_keys"),
                                     QStringLiteral("encoding"),
                                     QStringLiteral("foreign_keys"),
                                     QStringLiteral("freelist_count"),
                                     QStringLiteral("function_list"),
                                     QStringLiteral("hard_heap_limit"),
                                     QStringLiteral("ignore_check_constraints"),
                                     QStringLiteral("journal_mode"),
                                     QStringLiteral("journal_size_limit"),
                                     QStringLiteral("legacy_alter_table"),
                                     QStringLiteral("locking_mode"),
                                     QStringLiteral("max_page_count"),
                                     QStringLiteral("mmap_size"),
                                     QStringLiteral("module_list"),
                                     QStringLiteral("page_count"),
                                     QStringLiteral("page_size"),
                                     QStringLiteral("pragma_list"),
                                     QStringLiteral("query_only"),
                                     QStringLiteral("read_uncommitted"),
                                     QStringLiteral("recursive_triggers"),
                                     QStringLiteral("reverse_unordered_selects"),
                                     QStringLiteral("schema_version"),
                                     QStringLiteral("secure_delete"),
                                     QStringLiteral("soft_heap_limit"),
                                     QStringLiteral("synchronous"),
                                     QStringLiteral("temp_store"),
                                     QStringLiteral("threads"),
                                     QStringLiteral("trusted_schema"),
                                     QStringLiteral("user_version"),
                                     QStringLiteral("wal_autocheckpoint")};
    return names;
}

// Functions that would reach beyond the store: code loaded from a file, files read and written.
const QSet<QString>& functionsRefused() {
    static const QSet<QString> names{QStringLiteral("load_extension"), QStringLiteral("readfile"),
                                     QStringLiteral("writefile"), QStringLiteral("edit"),
                                     QStringLiteral("fts3_tokenizer")};
    return names;
}

// The names of the schema tables.
const QSet<QString>& schemaTables() {
    static const QSet<QString> names{
        QStringLiteral("sqlite_master"), QStringLiteral("sqlite_schema"),
        QStringLiteral("sqlite_temp_master"), QStringLiteral("sqlite_temp_schema")};
    return names;
}

const QString onlyWhat =
    QStringLiteral("query runs one SELECT, INSERT, UPDATE or DELETE, or a PRAGMA that reads.");

QString vacuumRefused() {
    return QStringLiteral("VACUUM is not allowed in a query: it rewrites the whole store, and "
                          "VACUUM INTO writes a copy of it (a customer's orders and addresses "
                          "included) to another file. query touches no file but its store.");
}

QString attachRefused(const QString& word) {
    return QStringLiteral("%1 is not allowed in a query: query works on its one store and opens "
                          "no other file.")
        .arg(word);
}

QString tablesRefused(const QString& what) {
    return QStringLiteral("%1 is not allowed in a query: it changes the store's tables "
                          "themselves; query reads and changes their rows only.")
        .arg(what);
}

QString transactionRefused(const QString& word) {
    return QStringLiteral("%1 is not allowed in a query: each query is one statement that takes "
                          "effect on its own.")
        .arg(word);
}

QString text(const char* utf8) {
    return utf8 != nullptr ? QString::fromUtf8(utf8) : QString();
}

} // namespace

QueryAuthorizer::QueryAuthorizer(sqlite3* db) : db_(db) {
    sqlite3_set_authorizer(db_, &QueryAuthorizer::decide, this);
    // Behind the rules, the engine's own guards: no file attached at all, and none of the
    // statements that can spoil a store's file (a writable schema, raw pages).
    attachedBefore_ = sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, -1, &defensiveBefore_);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
}

QueryAuthorizer::~QueryAuthorizer() {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, defensiveBefore_, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, attachedBefore_);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
}

QString QueryAuthorizer::refusalBefore(const QString& statement) {
    refusal_.clear();
    firstWord_.clear();
    for (const SqlToken& token : SqlTokenizer::tokenize(statement)) {
        if (token.isSignificant()) {
            firstWord_ = token.text.toUpper();
            break;
        }
    }
    // SELECT, INSERT, UPDATE, DELETE, WITH and PRAGMA go on to the engine and these rules.
    static const QSet<QString> tables{QStringLiteral("CREATE"), QStringLiteral("DROP"),
                                      QStringLiteral("ALTER"), QStringLiteral("REINDEX"),
                                      QStringLiteral("ANALYZE")};
    static const QSet<QString> transactions{QStringLiteral("BEGIN"),     QStringLiteral("COMMIT"),
                                            QStringLiteral("END"),       QStringLiteral("ROLLBACK"),
                                            QStringLiteral("SAVEPOINT"), QStringLiteral("RELEASE")};
    static const QSet<QString> others{QStringLiteral("EXPLAIN"), QStringLiteral("REPLACE"),
                                      QStringLiteral("VALUES")};
    if (firstWord_ == u"VACUUM")
        return vacuumRefused();
    if (firstWord_ == u"ATTACH" || firstWord_ == u"DETACH")
        return attachRefused(firstWord_);
    if (tables.contains(firstWord_))
        return tablesRefused(firstWord_);
    if (transactions.contains(firstWord_))
        return transactionRefused(firstWord_);
    if (others.contains(firstWord_))
        return QStringLiteral("%1 is not allowed in a query: %2").arg(firstWord_, onlyWhat);
    // The rest (nothing, or a word that begins no statement) is the engine's to report.
    return {};
}

int QueryAuthorizer::refuse(QString why) {
    // The first refusal is the one that stopped the statement; the engine may ask on.
    if (refusal_.isEmpty())
        refusal_ = std::move(why);
    return SQLITE_DENY;
}

int QueryAuthorizer::decide(void* self, int action, const char* first, const char* second,
                            const char* /*database*/, const char* /*trigger*/) {
    auto& rules = *static_cast<QueryAuthorizer*>(self);
    const QString one = text(first);
    const QString two = text(second);
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        // The engine's own tables (the numbers AUTOINCREMENT has handed out, the statistics,
        // the page images) are the engine's to write. The schema table is asked about when the
        // engine sets up a table of its own (pragma_table_info); a statement can't write it
        // without writable_schema, which is refused.
        if (one.startsWith(u"sqlite_", Qt::CaseInsensitive) &&
            !schemaTables().contains(one.toLower()))
            return rules.refuse(QStringLiteral("%1 is the engine's own table: query changes the "
                                               "rows of the store's tables only.")
                                    .arg(one));
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        if (functionsRefused().contains(two.toLower()))
            return rules.refuse(QStringLiteral("%1() is not allowed in a query: query loads no "
                                               "code and touches no file but its store.")
                                    .arg(two));
        return SQLITE_OK;
    case SQLITE_PRAGMA: {
        const QString name = one.toLower();
        if (name == u"writable_schema")
            return rules.refuse(QStringLiteral("PRAGMA writable_schema is not allowed in a "
                                               "query: it lets statements rewrite the store's "
                                               "schema."));
        if (pragmasReadingObjects().contains(name))
            return SQLITE_OK;
        // The store sizes the cache of its connection for a search it runs (memory, not the
        // file); a statement typed as a PRAGMA only reads.
        const bool storeSizingCache = name == u"cache_size" && rules.firstWord_ != u"PRAGMA";
        if (pragmasReadingSettings().contains(name) && (second == nullptr || storeSizingCache))
            return SQLITE_OK;
        if (pragmasReadingSettings().contains(name))
            return rules.refuse(QStringLiteral("PRAGMA %1 = %2 is not allowed in a query: query "
                                               "runs only PRAGMAs that read (PRAGMA %1 with no "
                                               "value reads it).")
                                    .arg(one, two));
        return rules.refuse(
            QStringLiteral("PRAGMA %1 is not allowed in a query: %2").arg(one, onlyWhat));
    }
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        // VACUUM attaches the file it writes.
        if (rules.firstWord_ == u"VACUUM")
            return rules.refuse(vacuumRefused());
        return rules.refuse(attachRefused(action == SQLITE_ATTACH ? QStringLiteral("ATTACH")
                                                                  : QStringLiteral("DETACH")));
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
        return rules.refuse(transactionRefused(one.isEmpty() ? QStringLiteral("SAVEPOINT") : one));
    default:
        // CREATE, DROP, ALTER, REINDEX, ANALYZE and whatever the engine may add.
        return rules.refuse(tablesRefused(one.isEmpty() ? QStringLiteral("The statement")
                                                        : QStringLiteral("Changing %1").arg(one)));
    }
}

} // namespace quillon
