// The stores' dialect: how each statement form becomes the engine's SQL, and which statements
// are refused before they reach the engine.
#include "store/database.h"
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
using quillon::tests::textRow;

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
        catalog = std::make_unique<TableCatalog>(db->handle());
    }

    void translation_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("parameters");

        textRow("DELETE *", "DELETE * FROM orders WHERE OrderNum=3",
                "DELETE FROM orders WHERE OrderNum=3", "");
        textRow("DELETE * in other case and spacing", "delete  *  from orderParts where ID=12",
                "delete from orderParts where ID=12", "");
        textRow("DELETE without star", "DELETE FROM orders", "DELETE FROM orders", "");
        textRow("FALSE", "SELECT * FROM orders WHERE OrderStatus = FALSE",
                "SELECT * FROM orders WHERE OrderStatus = 0", "");
        textRow("UPDATE to TRUE", "UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 2",
                "UPDATE \"orders\" SET \"OrderStatus\" = 1 WHERE OrderNum = 2", "");
        textRow("new order", "INSERT INTO orders(orderDate) SELECT '06/12/2026' AS orderDate",
                "INSERT INTO \"orders\" (\"OrderDate\") VALUES (?1)", "'06/12/2026'");
        textRow("order line, values by position",
                "INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,Description,Quantity,Price,"
                "Comments) SELECT '1' AS OrderNum, 'DA1' AS DorvaneNum, 'ERR1' AS RoverNum, "
                "'Oil filter' AS Description, '3' AS Quantity, '12.5' AS Price, '' AS Comment",
                "INSERT INTO \"orderParts\" (\"OrderNum\", \"DorvaneNum\", \"RoverNum\", "
                "\"Description\", \"Quantity\", \"Price\", \"Comments\") VALUES (?1, ?2, ?3, ?4, "
                "?5, ?6, ?7)",
                "1,'DA1','ERR1','Oil filter',3,125000,''");
        textRow(
            "aliases play no part",
            "INSERT INTO customParts(CustomerUnitSale,DorvaneNum) SELECT 'BOX' AS DorvaneNum, "
            "'DA1' AS CustomerUnitSale",
            "INSERT INTO \"customParts\" (\"CustomerUnitSale\", \"DorvaneNum\") VALUES (?1, ?2)",
            "'BOX','DA1'");
        textRow("alias without AS", "INSERT INTO orderParts(Comments) SELECT 'x' Comment",
                "INSERT INTO \"orderParts\" (\"Comments\") VALUES (?1)", "'x'");
        textRow("names in any case",
                "insert into CUSTOMPARTS(dorvanenum, customerprice) select 'x''y' as d, "
                "'£1,234.50' as p",
                "INSERT INTO \"customParts\" (\"DorvaneNum\", \"CustomerPrice\") VALUES (?1, ?2)",
                "'x'y',12345000");
        textRow("all columns when none are listed",
                "INSERT INTO orders SELECT '5' AS a, '1/1/2026' AS b, 'True' AS c",
                "INSERT INTO \"orders\" (\"OrderNum\", \"OrderDate\", \"OrderStatus\") VALUES "
                "(?1, ?2, ?3)",
                "5,'1/1/2026',1");
        textRow("VALUES", "INSERT INTO orderParts(OrderNum,Price) VALUES ('1', 2.5)",
                "INSERT INTO \"orderParts\" (\"OrderNum\", \"Price\") VALUES (?1, ?2)", "1,25000");
        textRow(
            "NULL and negative numbers", "INSERT INTO orderParts(Comments,Price) VALUES (NULL, -2)",
            "INSERT INTO \"orderParts\" (\"Comments\", \"Price\") VALUES (?1, ?2)", "NULL,-20000");
        textRow(
            "INSERT over a table passes through",
            "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = TRUE",
            "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = 1", "");
        textRow("UPDATE of a line",
                "UPDATE orderParts SET Quantity = '5',Comments = 'it''s urgent',Price = '13.25' "
                "WHERE OrderNum = 1 AND RoverNum = 'ERR1'",
                "UPDATE \"orderParts\" SET \"Quantity\" = ?1, \"Comments\" = ?2, \"Price\" = ?3 "
                "WHERE OrderNum = 1 AND RoverNum = 'ERR1'",
                "5,'it's urgent',132500");
        textRow("UPDATE with a qualified column and an expression",
                "UPDATE orderParts SET orderParts.Quantity = Quantity + 1 WHERE ID=1",
                "UPDATE \"orderParts\" SET \"Quantity\" = Quantity + 1 WHERE ID=1", "");
        textRow("UPDATE without WHERE", "UPDATE customParts SET CustomerUnitSale = 'EACH'",
                "UPDATE \"customParts\" SET \"CustomerUnitSale\" = ?1", "'EACH'");
        textRow("amount compared with a number", "SELECT * FROM orderParts WHERE Price = 12.5",
                "SELECT * FROM orderParts WHERE Price = 125000", "");
        textRow("amount compared with a negative number",
                "SELECT * FROM orderParts WHERE Price<>-1.5",
                "SELECT * FROM orderParts WHERE Price<>-15000", "");
        textRow("amount on the right", "SELECT * FROM orderParts WHERE 12.5 < orderParts.Price",
                "SELECT * FROM orderParts WHERE 125000 < orderParts.Price", "");
        textRow("amount compared with its display form",
                "SELECT * FROM customParts WHERE CustomerLRPrice >= '£1,000'",
                "SELECT * FROM customParts WHERE CustomerLRPrice >= 10000000", "");
        textRow("amount BETWEEN", "SELECT * FROM orderParts WHERE Price NOT BETWEEN 1 AND '2.5'",
                "SELECT * FROM orderParts WHERE Price NOT BETWEEN 10000 AND 25000", "");
        textRow("amount IN", "SELECT * FROM orderParts WHERE Price IN (1, -2, '0.5')",
                "SELECT * FROM orderParts WHERE Price IN (10000, -20000, 5000)", "");
        textRow("Boolean compared with -1 and text",
                "SELECT * FROM orders WHERE OrderStatus = -1 OR 'False' = OrderStatus",
                "SELECT * FROM orders WHERE OrderStatus = 1 OR 0 = OrderStatus", "");
        textRow("amount in arithmetic is left alone",
                "SELECT * FROM orderParts WHERE Price = 5 - 3",
                "SELECT * FROM orderParts WHERE Price = 5 - 3", "");
        textRow("whole number compared as written", "SELECT * FROM orderParts WHERE Quantity = 12",
                "SELECT * FROM orderParts WHERE Quantity = 12", "");
        textRow("bracketed names", "SELECT [Order Num], [OrderDate] FROM [orders]",
                "SELECT \"Order Num\", \"OrderDate\" FROM \"orders\"", "");
        textRow("double quotes are a text", "SELECT * FROM orders WHERE OrderDate = \"it's\"",
                "SELECT * FROM orders WHERE OrderDate = 'it''s'", "");
        textRow("quotes, comments and blanks kept",
                "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders",
                "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders", "");
        textRow("TRUE as a name part stays", "SELECT t.TRUE, TRUE FROM orders t",
                "SELECT t.TRUE, 1 FROM orders t", "");
        textRow("trailing semicolon", "SELECT 1;", "SELECT 1", "");
        textRow("schema statements pass through untouched",
                "CREATE TABLE t (a TEXT DEFAULT TRUE); DROP TABLE t",
                "CREATE TABLE t (a TEXT DEFAULT TRUE); DROP TABLE t", "");
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
    }
    void kinds() {
        QFETCH(QString, statement);
        QFETCH(TranslatedStatement::Kind, kind);
        QCOMPARE(StatementTranslator(*catalog).translate(statement).kind, kind);
    }

    void refused_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("named");
        textRow("unterminated text", "SELECT * FROM orders WHERE OrderDate = 'abc", "not closed");
        textRow("unterminated name", "SELECT [abc FROM orders", "not closed");
        textRow("unterminated comment", "SELECT 1 /* open", "not closed");
        textRow("parameter mark", "SELECT * FROM orders WHERE OrderNum = ?", "?");
        textRow("two statements", "DELETE * FROM orders; DELETE * FROM orderParts",
                "one statement");
        textRow("unknown table", "INSERT INTO nowhere(a) SELECT '1' AS a", "nowhere");
        textRow("unknown column", "UPDATE orders SET Nothing = '1'", "Nothing");
        textRow("too many values", "INSERT INTO orders(OrderDate) SELECT '1' AS a, '2' AS b",
                "2 values");
        textRow("amount compared with text", "SELECT * FROM orderParts WHERE Price = 'cheap'",
                "cheap");
        textRow("Boolean compared with text", "SELECT * FROM orders WHERE OrderStatus = 'maybe'",
                "maybe");
        textRow("no value", "UPDATE orders SET OrderDate = WHERE OrderNum = 1", "OrderDate");
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
        textRow("everything",
                "SELECT [a b], \"c\"\"d\", 'e''f', `g`, 1.5e-3, .5, 0x1F, x<=y, a||b -- end\n"
                "/* Ünïcode 𝄞 */ ÄÖÜ£ FROM t WHERE\tz <> 'é'");
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
