// The stores' dialect: how each statement form becomes the engine's SQL, and which statements
// are refused before they reach the engine.
#include "store/database.h"
#include "store/schema.h"
#include "store/search_index.h"
#include "store/sql_tokenizer.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/table_catalog.h"
#include "store_fixture.h"
#include "test_registry.h"

using quillon::Database;
using quillon::SqlParameter;
using quillon::SqlTokenizer;
using quillon::StatementTranslator;
using quillon::StoreError;
using quillon::TableCatalog;
using quillon::TranslatedStatement;
using quillon::tests::StoreFixture;

namespace {

QString renderParameters(const std::vector<SqlParameter>& parameters) {
    QStringList texts;
    for (const SqlParameter& p : parameters) {
        if (const auto* number = std::get_if<qint64>(&p))
            texts << QString::number(*number);
        else if (const auto* text = std::get_if<QString>(&p))
            texts << u'\'' + *text + u'\'';
        else
            texts << QStringLiteral("NULL");
    }
    return texts.join(u',');
}

} // namespace

class DialectTest : public QObject {
    Q_OBJECT

private:
    StoreFixture fixture;
    std::unique_ptr<Database> db;
    std::unique_ptr<TableCatalog> catalog;

private slots:
    void initTestCase() {
        db = fixture.createUserStore();
        quillon::Schema::createCatalogue(*db);
        quillon::SearchIndex::create(db->handle(), QStringLiteral("Parts"), QStringLiteral("ID"),
                                     {QStringLiteral("Description")});
        catalog = std::make_unique<TableCatalog>(db->handle());
    }

    void translation_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("parameters");

        QTest::newRow("DELETE *") << "DELETE * FROM orders WHERE OrderNum=3"
                                  << "DELETE FROM orders WHERE OrderNum=3"
                                  << "";
        QTest::newRow("DELETE * in other case and spacing")
            << "delete  *  from orderParts where ID=12"
            << "delete from orderParts where ID=12"
            << "";
        QTest::newRow("DELETE without star") << "DELETE FROM orders"
                                             << "DELETE FROM orders"
                                             << "";
        QTest::newRow("FALSE") << "SELECT * FROM orders WHERE OrderStatus = FALSE"
                               << "SELECT * FROM orders WHERE OrderStatus = 0"
                               << "";
        QTest::newRow("UPDATE to TRUE")
            << "UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 2"
            << "UPDATE \"orders\" SET \"OrderStatus\" = 1 WHERE OrderNum = 2"
            << "";
        QTest::newRow("new order")
            << "INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate"
            << "INSERT INTO \"orders\" (\"OrderDate\") VALUES (?1)"
            << "'06/12/2026'";
        QTest::newRow("order line, values by position")
            << "INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,Description,Quantity,Price,"
               "Comments) SELECT '1' AS OrderNum, 'DA1' AS DorvaneNum, 'ERR1' AS RoverNum, "
               "'Oil filter' AS Description, '3' AS Quantity, '12.5' AS Price, '' AS Comment"
            << "INSERT INTO \"orderParts\" (\"OrderNum\", \"DorvaneNum\", \"RoverNum\", "
               "\"Description\", \"Quantity\", \"Price\", \"Comments\") VALUES (?1, ?2, ?3, ?4, "
               "?5, ?6, ?7)"
            << "1,'DA1','ERR1','Oil filter',3,125000,''";
        QTest::newRow("aliases play no part")
            << "INSERT INTO customParts(CustomerUnitSale,DorvaneNum) SELECT 'BOX' AS DorvaneNum, "
               "'DA1' AS CustomerUnitSale"
            << "INSERT INTO \"customParts\" (\"CustomerUnitSale\", \"DorvaneNum\") VALUES (?1, ?2)"
            << "'BOX','DA1'";
        QTest::newRow("alias without AS") << "INSERT INTO orderParts(Comments) SELECT 'x' Comment"
                                          << "INSERT INTO \"orderParts\" (\"Comments\") VALUES (?1)"
                                          << "'x'";
        QTest::newRow("names in any case")
            << "insert into CUSTOMPARTS(dorvanenum, customerprice) select 'x''y' as d, "
               "'£1,234.50' as p"
            << "INSERT INTO \"customParts\" (\"DorvaneNum\", \"CustomerPrice\") VALUES (?1, ?2)"
            << "'x'y',12345000";
        QTest::newRow("all columns when none are listed")
            << "INSERT INTO orders SELECT '5' AS a, '1/1/2026' AS b, 'True' AS c"
            << "INSERT INTO \"orders\" (\"OrderNum\", \"OrderDate\", \"OrderStatus\") VALUES "
               "(?1, ?2, ?3)"
            << "5,'1/1/2026',1";
        QTest::newRow("VALUES")
            << "INSERT INTO orderParts(OrderNum,Price) VALUES ('1', 2.5)"
            << "INSERT INTO \"orderParts\" (\"OrderNum\", \"Price\") VALUES (?1, ?2)"
            << "1,25000";
        QTest::newRow("NULL and negative numbers")
            << "INSERT INTO orderParts(Comments,Price) VALUES (NULL, -2)"
            << "INSERT INTO \"orderParts\" (\"Comments\", \"Price\") VALUES (?1, ?2)"
            << "NULL,-20000";
        QTest::newRow("INSERT over a table passes through")
            << "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = TRUE"
            << "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = 1"
            << "";
        QTest::newRow("UPDATE of a line")
            << "UPDATE orderParts SET Quantity = '5',Comments = 'it''s urgent',Price = '13.25' "
               "WHERE OrderNum = 1 AND RoverNum = 'ERR1'"
            << "UPDATE \"orderParts\" SET \"Quantity\" = ?1, \"Comments\" = ?2, \"Price\" = ?3 "
               "WHERE OrderNum = 1 AND RoverNum = 'ERR1'"
            << "5,'it's urgent',132500";
        QTest::newRow("UPDATE with a qualified column and an expression")
            << "UPDATE orderParts SET orderParts.Quantity = Quantity + 1 WHERE ID=1"
            << "UPDATE \"orderParts\" SET \"Quantity\" = Quantity + 1 WHERE ID=1"
            << "";
        QTest::newRow("UPDATE without WHERE")
            << "UPDATE customParts SET CustomerUnitSale = 'EACH'"
            << "UPDATE \"customParts\" SET \"CustomerUnitSale\" = ?1"
            << "'EACH'";
        QTest::newRow("amount compared with a number")
            << "SELECT * FROM orderParts WHERE Price = 12.5"
            << "SELECT * FROM orderParts WHERE Price = 125000"
            << "";
        QTest::newRow("amount compared with a negative number")
            << "SELECT * FROM orderParts WHERE Price<>-1.5"
            << "SELECT * FROM orderParts WHERE Price<>-15000"
            << "";
        QTest::newRow("amount on the right")
            << "SELECT * FROM orderParts WHERE 12.5 < orderParts.Price"
            << "SELECT * FROM orderParts WHERE 125000 < orderParts.Price"
            << "";
        QTest::newRow("amount compared with its display form")
            << "SELECT * FROM customParts WHERE CustomerLRPrice >= '£1,000'"
            << "SELECT * FROM customParts WHERE CustomerLRPrice >= 10000000"
            << "";
        QTest::newRow("amount BETWEEN")
            << "SELECT * FROM orderParts WHERE Price NOT BETWEEN 1 AND '2.5'"
            << "SELECT * FROM orderParts WHERE Price NOT BETWEEN 10000 AND 25000"
            << "";
        QTest::newRow("amount IN")
            << "SELECT * FROM orderParts WHERE Price IN (1, -2, '0.5')"
            << "SELECT * FROM orderParts WHERE Price IN (10000, -20000, 5000)"
            << "";
        QTest::newRow("Boolean compared with -1 and text")
            << "SELECT * FROM orders WHERE OrderStatus = -1 OR 'False' = OrderStatus"
            << "SELECT * FROM orders WHERE OrderStatus = 1 OR 0 = OrderStatus"
            << "";
        QTest::newRow("amount in arithmetic is left alone")
            << "SELECT * FROM orderParts WHERE Price = 5 - 3"
            << "SELECT * FROM orderParts WHERE Price = 5 - 3"
            << "";
        QTest::newRow("whole number compared as written")
            << "SELECT * FROM orderParts WHERE Quantity = 12"
            << "SELECT * FROM orderParts WHERE Quantity = 12"
            << "";
        QTest::newRow("bracketed names") << "SELECT [Order Num], [OrderDate] FROM [orders]"
                                         << "SELECT \"Order Num\", \"OrderDate\" FROM \"orders\""
                                         << "";
        QTest::newRow("double quotes are a text")
            << "SELECT * FROM orders WHERE OrderDate = \"it's\""
            << "SELECT * FROM orders WHERE OrderDate = 'it''s'"
            << "";
        QTest::newRow("quotes, comments and blanks kept")
            << "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders"
            << "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders"
            << "";
        QTest::newRow("TRUE as a name part stays") << "SELECT t.TRUE, TRUE FROM orders t"
                                                   << "SELECT t.TRUE, 1 FROM orders t"
                                                   << "";
        QTest::newRow("trailing semicolon") << "SELECT 1;"
                                            << "SELECT 1"
                                            << "";
        QTest::newRow("schema statements pass through untouched")
            << "CREATE TABLE t (a TEXT DEFAULT TRUE); DROP TABLE t"
            << "CREATE TABLE t (a TEXT DEFAULT TRUE); DROP TABLE t"
            << "";
        QTest::newRow("ORDER BY") << partSearch() << partSearch() << "";
    }
    void translation() {
        QFETCH(QString, statement);
        QFETCH(QString, sql);
        QFETCH(QString, parameters);
        const TranslatedStatement translated = StatementTranslator(*catalog).translate(statement);
        QCOMPARE(translated.sql, sql);
        QCOMPARE(renderParameters(translated.parameters), parameters);
    }

    void kinds_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<TranslatedStatement::Kind>("kind");
        QTest::newRow("select") << " select 1" << TranslatedStatement::Kind::Select;
        QTest::newRow("insert") << "INSERT INTO orders(OrderDate) SELECT 'x' AS d"
                                << TranslatedStatement::Kind::Insert;
        QTest::newRow("update") << "Update orders SET OrderStatus = 1"
                                << TranslatedStatement::Kind::Update;
        QTest::newRow("delete") << "DELETE * FROM orders" << TranslatedStatement::Kind::Delete;
        QTest::newRow("pragma") << "PRAGMA integrity_check" << TranslatedStatement::Kind::Other;
        QTest::newRow("nothing") << " -- nothing\n" << TranslatedStatement::Kind::Other;
        QTest::newRow("after a comment")
            << "-- a note\nSELECT 1" << TranslatedStatement::Kind::Select;
        QTest::newRow("WITH ... SELECT")
            << "WITH o(n) AS (SELECT 1) SELECT n FROM o" << TranslatedStatement::Kind::Select;
        QTest::newRow("WITH ... DELETE")
            << "WITH o AS (SELECT 1 AS n) DELETE FROM orders WHERE OrderNum IN o"
            << TranslatedStatement::Kind::Delete;
    }
    void kinds() {
        QFETCH(QString, statement);
        QFETCH(TranslatedStatement::Kind, kind);
        QCOMPARE(StatementTranslator(*catalog).translate(statement).kind, kind);
        QCOMPARE(StatementTranslator::kindOf(statement), kind);
    }

    void refused_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("named");
        QTest::newRow("unterminated text") << "SELECT * FROM orders WHERE OrderDate = 'abc"
                                           << "not closed";
        QTest::newRow("unterminated name") << "SELECT [abc FROM orders"
                                           << "not closed";
        QTest::newRow("unterminated comment") << "SELECT 1 /* open"
                                              << "not closed";
        QTest::newRow("parameter mark") << "SELECT * FROM orders WHERE OrderNum = ?"
                                        << "?";
        QTest::newRow("two statements") << "DELETE * FROM orders; DELETE * FROM orderParts"
                                        << "one statement";
        QTest::newRow("unknown table") << "INSERT INTO nowhere(a) SELECT '1' AS a"
                                       << "nowhere";
        QTest::newRow("unknown column") << "UPDATE orders SET Nothing = '1'"
                                        << "Nothing";
        QTest::newRow("too many values")
            << "INSERT INTO orders(OrderDate) SELECT '1' AS a, '2' AS b"
            << "2 values";
        QTest::newRow("amount compared with text")
            << "SELECT * FROM orderParts WHERE Price = 'cheap'"
            << "cheap";
        QTest::newRow("Boolean compared with text")
            << "SELECT * FROM orders WHERE OrderStatus = 'maybe'"
            << "maybe";
        QTest::newRow("no value") << "UPDATE orders SET OrderDate = WHERE OrderNum = 1"
                                  << "OrderDate";
        QTest::newRow("( not closed") << "SELECT (1"
                                      << "\"(\" that is not closed";
        QTest::newRow(") closing nothing") << "SELECT 1) FROM orders"
                                           << "closes nothing";
        for (int depth : {10000, 100000})
            QTest::addRow("nested %d deep", depth)
                << "SELECT * FROM Parts WHERE " + QString(depth, u'(') +
                       "Description LIKE '*abcd*'" + QString(depth, u')')
                << "more than 100 deep";
    }
    void refused() {
        QFETCH(QString, statement);
        QFETCH(QString, named);
        try {
            (void)StatementTranslator(*catalog).translate(statement);
            QFAIL("the statement was taken");
        } catch (const StoreError& e) {
            QVERIFY2(e.message().contains(named), qPrintable(e.message()));
            QCOMPARE(e.statement(), statement);
        }
    }

    void tokensGiveTheStatementBack_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("search") << partSearch();
        QTest::newRow("everything")
            << "SELECT [a b], \"c\"\"d\", 'e''f', `g`, 1.5e-3, .5, 0x1F, x<=y, a||b -- end\n"
               "/* Ünïcode 𝄞 */ ÄÖÜ£ FROM t WHERE\tz <> 'é'";
    }
    void tokensGiveTheStatementBack() {
        QFETCH(QString, statement);
        QString joined;
        for (const auto& token : SqlTokenizer::tokenize(statement))
            joined += token.text;
        QCOMPARE(joined, statement);
    }

    void catalogueFollowsSchemaChanges() {
        db->execute(
            QStringLiteral("CREATE TABLE extra (n INTEGER, a CURRENCY, b BOOLEAN, t TEXT)"));
        const TranslatedStatement translated = StatementTranslator(*catalog).translate(
            QStringLiteral("INSERT INTO extra(n,a,b,t) SELECT '1' AS n, '2' AS a, 'FALSE' AS b, "
                           "'4' AS t"));
        QCOMPARE(renderParameters(translated.parameters), QStringLiteral("1,20000,0,'4'"));
        db->execute(QStringLiteral("DROP TABLE extra"));
    }

private:
    static QString partSearch() {
        return QStringLiteral(
            "SELECT * FROM Parts WHERE (DorvaneNum LIKE '*ab*' OR RoverNum LIKE '*ab*' OR "
            "AltDorvaneNum LIKE '*ab*') ORDER BY ID ASC");
    }
};

QUILLON_TEST_CLASS(DialectTest)

#include "test_dialect.moc"
