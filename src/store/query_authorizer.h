#pragma once

#include <QString>

struct sqlite3;

namespace quillon {

// What a statement typed into the support tool's query may do: read and change the rows of the
// store's tables, and read the engine's settings. Everything else is refused before it runs:
// opening or writing another file (ATTACH, VACUUM INTO), changing the tables themselves
// (CREATE, DROP, ALTER), PRAGMAs that set something (writable_schema among them), loading code
// (load_extension) and file functions. The rules hold for one connection while this object
// lives; the program's own connections never carry them.
class QueryAuthorizer final {
public:
    explicit QueryAuthorizer(sqlite3* db);
    ~QueryAuthorizer();
    QueryAuthorizer(const QueryAuthorizer&) = delete;
    QueryAuthorizer& operator=(const QueryAuthorizer&) = delete;

    // Judges the statement by its first word before it is compiled: empty when it may go on to
    // the engine, which shows its every step to these rules again; else why it may not run.
    [[nodiscard]] QString refusalBefore(const QString& statement);
    // Why the engine was stopped since refusalBefore(): empty when it wasn't.
    [[nodiscard]] const QString& refusal() const { return refusal_; }

private:
    static int decide(void* self, int action, const char* first, const char* second,
                      const char* database, const char* trigger);
    int refuse(QString why);

    sqlite3* db_;
    int attachedBefore_ = 0;
    int defensiveBefore_ = 0;
    QString firstWord_; // of the statement being run, in capitals
    QString refusal_;
};

} // namespace quillon
