// The statement dialect on a scratch store made afresh for every input and fenced in (no ATTACH,
// no PRAGMA but table_info, long runs stopped). Input: a mode byte, then UTF-8 text.
// Odd: the text as a statement: its tokens join to it or it is refused; the translator and the
// engine refuse it, fail with StoreError or run it; nothing else, never a crash.
// Even: the text as a value typed by a user, put into statements through the quoting helper: it
// is stored, found by "=", changed and deleted, and reads back exactly as written.

#include "fuzz_support.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/sql_tokenizer.h"
#include "store/store_error.h"

#include <QFile>
#include <sqlite3.h>

using quillon::Database;
using quillon::StoreError;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<Database> freshStore(int& steps) {
    static const QString path = quillon::fuzz::scratchFolder() + u"/user.mdb";
    static const QByteArray made = [] {
        const auto db = Database::create(path);
        quillon::Schema::createUser(*db);
        quillon::Schema::createCatalogue(*db);
        db->execute(u"INSERT INTO Parts(ID, RoverNum, Description, CustomerPrice) VALUES (1, "
                    "'ERR1001', 'Oil filter', '4.5')"_s);
        db->execute(u"INSERT INTO orders(orderDate) SELECT '1/2/2025' AS d"_s);
        db->close();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QFile::remove(path + u"-journal");
    QFile file(path);
    FUZZ_CHECK(!made.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(made) == made.size(),
               path);
    file.close();
    auto db = Database::open(path, Database::Access::ReadWrite);
    sqlite3* handle = db->handle();
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, 1 << 20);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    const auto fence = [](void*, int action, const char* name, const char*, const char*,
                          const char*) {
        const bool columns = action == SQLITE_PRAGMA && qstricmp(name, "table_info") == 0;
        return action == SQLITE_ATTACH || (action == SQLITE_PRAGMA && !columns) ? SQLITE_DENY
                                                                                : SQLITE_OK;
    };
    sqlite3_set_authorizer(handle, fence, nullptr);
    const auto stop = [](void* count) { return ++*static_cast<int*>(count) > 2000 ? 1 : 0; };
    sqlite3_progress_handler(handle, 1000, stop, &steps);
    return db;
}

void statementMode(const QString& statement, Database& db) {
    try {
        QString joined;
        for (const auto& token : quillon::SqlTokenizer::tokenize(statement))
            joined += token.text;
        FUZZ_CHECK(joined == statement, u"the tokens join to " + joined);
    } catch (const StoreError&) { // an unclosed quote, bracket or comment
    }
    try {
        auto outcome = db.run(statement);
        if (auto* result = std::get_if<quillon::Recordset>(&outcome))
            for (; !result->eof(); result->moveNext())
                for (int column = 0; column < result->columnCount(); ++column)
                    (void)result->field(column).toText();
    } catch (const StoreError&) { // refused or failed, as a caller sees it
    }
}

void valueMode(const QString& value, Database& db) {
    const auto quoted = [](const QString& text) -> QString {
        return u'\'' + quillon::sqlEscape(text) + u'\'';
    };
    const QString where = u" WHERE RoverNum = " + quoted(value);
    const auto readBack = [&](const char* column) {
        auto found = db.openRecordset(u"SELECT * FROM customParts" + where);
        return found.recordCount() == 1 ? found.field(QString::fromLatin1(column)).toText()
                                        : u"-"_s;
    };
    try {
        FUZZ_CHECK(db.execute(u"INSERT INTO customParts(DorvaneNum,RoverNum,"
                              "CustomerPrice,CustomerLRPrice,CustomerUnitSale) "
                              "SELECT %1 AS a, %1 AS b, '1.5' AS c, '2' AS d, %1 "
                              "AS e"_s.arg(quoted(value))) == 1,
                   value);
        for (const char* column : {"DorvaneNum", "RoverNum", "CustomerUnitSale"})
            FUZZ_CHECK(readBack(column) == value, value);
        FUZZ_CHECK(db.execute(u"UPDATE customParts SET CustomerUnitSale = " +
                              quoted(value + value) + u", CustomerLRPrice = '3.25'" + where) == 1,
                   value);
        FUZZ_CHECK(readBack("CustomerUnitSale") == value + value, value);
        FUZZ_CHECK(db.execute(u"DELETE * FROM customParts" + where) == 1, value);
    } catch (const StoreError& error) {
        FUZZ_CHECK(false, value + u' ' + error.message() + u' ' + error.statement());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096)
        return 0;
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data + 1, size - 1));
    int steps = 0;
    const auto db = freshStore(steps);
    data[0] % 2 == 1 ? statementMode(text, *db) : valueMode(text, *db);
    return 0;
}
