// The stores' statement dialect, on a scratch User database that also holds a Parts table.
//
// Statement mode (first byte odd; the rest is the statement):
//  - the tokenizer gives tokens whose texts join to the statement, or refuses with StoreError;
//  - the translator either refuses with StoreError or translates;
//  - running the statement on the store (as a result for a SELECT, else as a change) either works
//    or fails with StoreError; nothing else, and never a crash.
// Value mode (first byte even; the rest is a text a user might type):
//  - a text placed into statements through the quoting helper, as the program does, is stored,
//    found by "=", changed and deleted, and reads back exactly as it was written.
//
// The scratch store is made afresh for every input. The engine is kept inside its folder (no
// ATTACH, no PRAGMA) and long-running statements are stopped.

#include "fuzz_support.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/sql_tokenizer.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/table_catalog.h"

#include <QFile>
#include <sqlite3.h>

namespace {

using quillon::Database;
using quillon::StoreError;
using quillon::fuzz::visible;

const QByteArray& templateBytes() {
    static const QByteArray bytes = [] {
        const QString path = quillon::fuzz::scratchFolder() + QStringLiteral("/template.mdb");
        QFile::remove(path);
        {
            const auto db = Database::create(path);
            quillon::Schema::createUser(*db);
            quillon::Schema::createCatalogue(*db);
            for (const char* statement :
                 {"INSERT INTO Parts(ID, DorvaneNum, RoverNum, Description, CustomerPrice, "
                  "LRPrice, UnitIssue, Application1) VALUES (1, 'DA1001', 'ERR1001', 'Oil filter', "
                  "'4.5', '5.25', '1', 'Defender')",
                  "INSERT INTO Parts(ID, DorvaneNum, RoverNum, Description, CustomerPrice) VALUES "
                  "(2, 'DA2002', 'Dorvane Only', 'Brake pad set', '12.5')",
                  "INSERT INTO orders(orderDate) SELECT '01/02/2025' AS orderDate",
                  "INSERT INTO orderParts(OrderNum, DorvaneNum, RoverNum, Description, Quantity, "
                  "Price, Comments) SELECT '1' AS a, 'DA1001' AS b, 'ERR1001' AS c, 'Oil filter' "
                  "AS d, '3' AS e, '4.5' AS f, 'urgent' AS Comment",
                  "INSERT INTO orderCompanyDetails(RecordName, OrderContactName, OrderPostcode) "
                  "SELECT 'Main' AS a, 'A. Smith' AS b, 'AB1 2CD' AS c"})
                db->execute(QString::fromLatin1(statement));
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            quillon::fuzz::fail(__FILE__, __LINE__, "template", QStringLiteral("can't read it"));
        return file.readAll();
    }();
    return bytes;
}

// No other files, and no PRAGMA but the ones that only read what the store holds (the store
// itself reads its tables' columns with table_info).
int denyOutsideTheStore(void*, int action, const char* name, const char*, const char*,
                        const char*) {
    if (action == SQLITE_ATTACH || action == SQLITE_DETACH)
        return SQLITE_DENY;
    if (action == SQLITE_PRAGMA) {
        const QByteArray pragma = QByteArray(name != nullptr ? name : "").toLower();
        for (const char* readOnly : {"table_info", "table_xinfo", "index_list", "index_info",
                                     "integrity_check", "quick_check", "foreign_key_list"}) {
            if (pragma == readOnly)
                return SQLITE_OK;
        }
        return SQLITE_DENY;
    }
    return SQLITE_OK;
}

int stopLongRuns(void* steps) {
    return ++*static_cast<int*>(steps) > 2000 ? 1 : 0;
}

// A fresh scratch store, fenced in.
std::unique_ptr<Database> freshStore(int& steps) {
    const QString path = quillon::fuzz::scratchFolder() + QStringLiteral("/user.mdb");
    QFile::remove(path + QStringLiteral("-journal"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(templateBytes()) != templateBytes().size())
            quillon::fuzz::fail(__FILE__, __LINE__, "scratch store", QStringLiteral("can't write"));
    }
    auto db = Database::open(path, Database::Access::ReadWrite);
    sqlite3* handle = db->handle();
    sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, 1 << 20);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_set_authorizer(handle, denyOutsideTheStore, nullptr);
    sqlite3_progress_handler(handle, 1000, stopLongRuns, &steps);
    return db;
}

void readEverything(quillon::Recordset result) {
    for (result.moveFirst(); !result.eof(); result.moveNext()) {
        for (int column = 0; column < result.columnCount(); ++column)
            (void)result.field(column).toText();
    }
}

void statementMode(const QString& statement) {
    try {
        const auto tokens = quillon::SqlTokenizer::tokenize(statement);
        QString joined;
        for (const auto& token : tokens)
            joined += token.text;
        FUZZ_CHECK(joined == statement, QStringLiteral("tokens of \"%1\" join to \"%2\"")
                                            .arg(visible(statement), visible(joined)));
    } catch (const StoreError&) {
        // refused: the statement has an unclosed quote, bracket or comment
    }

    int steps = 0;
    const auto db = freshStore(steps);
    try {
        quillon::TableCatalog catalog(db->handle());
        const auto translated = quillon::StatementTranslator(catalog).translate(statement);
        if (translated.kind == quillon::TranslatedStatement::Kind::Select)
            readEverything(db->openRecordset(statement));
        else
            (void)db->execute(statement);
    } catch (const StoreError&) {
        // refused or failed, as a caller sees it
    }
}

void valueMode(const QString& value) {
    int steps = 0;
    const auto db = freshStore(steps);
    const QString quoted = u'\'' + quillon::sqlEscape(value) + u'\'';
    const QString where = QStringLiteral(" WHERE RoverNum = ") + quoted;
    const QString shown = QStringLiteral("the value \"%1\"").arg(visible(value));
    try {
        const int inserted = db->execute(
            QStringLiteral("INSERT INTO customParts(DorvaneNum,RoverNum,CustomerPrice,"
                           "CustomerLRPrice,CustomerUnitSale) SELECT %1 AS DorvaneNum, %1 AS "
                           "RoverNum, '1.5' AS CustomerPrice, '2' AS CustomerLRPrice, %1 AS "
                           "CustomerUnitSale")
                .arg(quoted));
        FUZZ_CHECK(inserted == 1, shown + QStringLiteral(": %1 rows inserted").arg(inserted));

        auto found = db->openRecordset(QStringLiteral("SELECT * FROM customParts") + where);
        FUZZ_CHECK(found.recordCount() == 1,
                   shown + QStringLiteral(": found %1 times").arg(found.recordCount()));
        for (const char* column : {"DorvaneNum", "RoverNum", "CustomerUnitSale"}) {
            const QString stored = found.field(QString::fromLatin1(column)).toText();
            FUZZ_CHECK(stored == value, shown + QStringLiteral(" reads back from %1 as \"%2\"")
                                                    .arg(QLatin1String(column), visible(stored)));
        }

        const int changed =
            db->execute(QStringLiteral("UPDATE customParts SET CustomerUnitSale "
                                       "= %1, CustomerLRPrice = '3.25'")
                            .arg(u'\'' + quillon::sqlEscape(value + value) + u'\'') +
                        where);
        FUZZ_CHECK(changed == 1, shown + QStringLiteral(": %1 rows changed").arg(changed));
        found =
            db->openRecordset(QStringLiteral("SELECT CustomerUnitSale FROM customParts") + where);
        FUZZ_CHECK(found.recordCount() == 1 &&
                       found.field(QStringLiteral("CustomerUnitSale")).toText() == value + value,
                   shown + QStringLiteral(": the change doesn't read back"));

        const int deleted = db->execute(QStringLiteral("DELETE * FROM customParts") + where);
        FUZZ_CHECK(deleted == 1, shown + QStringLiteral(": %1 rows deleted").arg(deleted));
    } catch (const StoreError& error) {
        quillon::fuzz::fail(__FILE__, __LINE__, "no StoreError",
                            shown + QStringLiteral(": ") + error.message() +
                                QStringLiteral(" in ") + visible(error.statement()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096)
        return 0;
    const QString text = QString::fromUtf8(quillon::fuzz::bytes(data + 1, size - 1));
    if (data[0] % 2 == 1)
        statementMode(text);
    else
        valueMode(text);
    return 0;
}
