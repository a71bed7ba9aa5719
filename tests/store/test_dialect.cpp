// The stores' dialect: how each statement form becomes the engine's SQL, and which statements
// are refused before they reach the engine.
#include "store/schema.h"
#include "store/search_index.h"
#include "store/sql_tokenizer.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/table_catalog.h"
#include "store_fixture.h"
#include "test_registry.h"

using namespace quillon;
using Kind = TranslatedStatement::Kind;

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

// A row of the translation table: the statement, the SQL it becomes (or "refused: " and what
// the message names) and its bound values.
void row(const char* tag, const QString& statement, const QString& sql,
         const QString& parameters = {}) {
    QTest::newRow(tag) << statement << sql << parameters;
}

void same(const char* tag, const QString& statement) {
    row(tag, statement, statement);
}

} // namespace

class DialectTest : public QObject {
    Q_OBJECT

    tests::StoreFixture fixture;
    std::unique_ptr<Database> db;
    std::unique_ptr<TableCatalog> catalog;

    TranslatedStatement translate(const QString& statement) {
        return StatementTranslator(*catalog).translate(statement);
    }

private slots:
    void initTestCase() {
        db = fixture.createStore(QStringLiteral("user.mdb"), true);
        SearchIndex::create(db->handle(), QStringLiteral("Parts"), QStringLiteral("ID"),
                            {QStringLiteral("Description")});
        catalog = std::make_unique<TableCatalog>(db->handle());
    }

    void translation_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("parameters");
        row("DELETE *", "delete  *  from orders where OrderNum=3",
            "delete from orders where OrderNum=3");
        same("DELETE without star", "DELETE FROM orders");
        row("FALSE", "SELECT * FROM orders WHERE OrderStatus = FALSE",
            "SELECT * FROM orders WHERE OrderStatus = 0");
        row("UPDATE to TRUE", "UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 2",
            "UPDATE \"orders\" SET \"OrderStatus\" = 1 WHERE OrderNum = 2");
        row("order line, values by position",
            "INSERT INTO orderParts(OrderNum,DorvaneNum,Description,Quantity,Price,Comments) "
            "SELECT '1' AS OrderNum, 'DA1' AS DorvaneNum, 'Oil filter' AS Description, '3' AS "
            "Quantity, '12.5' AS Price, '' AS Comment",
            "INSERT INTO \"orderParts\" (\"OrderNum\", \"DorvaneNum\", \"Description\", "
            "\"Quantity\", \"Price\", \"Comments\") VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
            "1,'DA1','Oil filter',3,125000,''");
        row("aliases play no part",
            "INSERT INTO customParts(CustomerUnitSale,DorvaneNum) SELECT 'BOX' AS DorvaneNum, "
            "'DA1' AS CustomerUnitSale",
            "INSERT INTO \"customParts\" (\"CustomerUnitSale\", \"DorvaneNum\") VALUES (?1, ?2)",
            "'BOX','DA1'");
        row("alias without AS", "INSERT INTO orderParts(Comments) SELECT 'x' Comment",
            "INSERT INTO \"orderParts\" (\"Comments\") VALUES (?1)", "'x'");
        row("names in any case, display amount",
            "insert into CUSTOMPARTS(dorvanenum, customerprice) select 'x''y' as d, "
            "'£1,234.50' as p",
            "INSERT INTO \"customParts\" (\"DorvaneNum\", \"CustomerPrice\") VALUES (?1, ?2)",
            "'x'y',12345000");
        row("all columns when none are listed",
            "INSERT INTO orders SELECT '5' AS a, '1/1/2026' AS b, 'True' AS c",
            "INSERT INTO \"orders\" (\"OrderNum\", \"OrderDate\", \"OrderStatus\") VALUES (?1, "
            "?2, ?3)",
            "5,'1/1/2026',1");
        row("VALUES, NULL and negative numbers",
            "INSERT INTO orderParts(OrderNum,Comments,Price) VALUES ('1', NULL, -2.5)",
            "INSERT INTO \"orderParts\" (\"OrderNum\", \"Comments\", \"Price\") VALUES (?1, ?2, "
            "?3)",
            "1,NULL,-25000");
        row("INSERT over a table passes through",
            "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = TRUE",
            "INSERT INTO orders(OrderDate) SELECT OrderDate FROM orders WHERE OrderStatus = 1");
        row("UPDATE of a line",
            "UPDATE orderParts SET Quantity = '5',Comments = 'it''s',Price = '13.25' WHERE "
            "OrderNum = 1 AND RoverNum = 'ERR1'",
            "UPDATE \"orderParts\" SET \"Quantity\" = ?1, \"Comments\" = ?2, \"Price\" = ?3 WHERE "
            "OrderNum = 1 AND RoverNum = 'ERR1'",
            "5,'it's',132500");
        row("UPDATE with a qualified column and an expression",
            "UPDATE orderParts SET orderParts.Quantity = Quantity + 1",
            "UPDATE \"orderParts\" SET \"Quantity\" = Quantity + 1");
        row("amounts compared with numbers and display forms",
            "SELECT * FROM orderParts WHERE Price<>-1.5 OR 12.5 < orderParts.Price OR Price >= "
            "'£1,000' OR Price NOT BETWEEN 1 AND '2.5' OR Price IN (1, '0.5')",
            "SELECT * FROM orderParts WHERE Price<>-15000 OR 125000 < orderParts.Price OR Price "
            ">= 10000000 OR Price NOT BETWEEN 10000 AND 25000 OR Price IN (10000, 5000)");
        row("Boolean compared with -1 and text",
            "SELECT * FROM orders WHERE OrderStatus = -1 OR 'False' = OrderStatus",
            "SELECT * FROM orders WHERE OrderStatus = 1 OR 0 = OrderStatus");
        same("amount in arithmetic is left alone", "SELECT * FROM orderParts WHERE Price = 5 - 3");
        same("whole number compared as written", "SELECT * FROM orderParts WHERE Quantity = 12");
        row("bracketed names", "SELECT [Order Num], [OrderDate] FROM [orders]",
            "SELECT \"Order Num\", \"OrderDate\" FROM \"orders\"");
        row("double quotes are a text", "SELECT * FROM orders WHERE OrderDate = \"it's\"",
            "SELECT * FROM orders WHERE OrderDate = 'it''s'");
        same("quotes and comments kept", "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders");
        row("TRUE as a name part stays", "SELECT t.TRUE, TRUE FROM orders t",
            "SELECT t.TRUE, 1 FROM orders t");
        row("trailing semicolon", "SELECT 1;", "SELECT 1");
        same("schema statements pass through",
             "CREATE TABLE t (a TEXT DEFAULT TRUE); DROP TABLE t");
        same("a search", tests::partNumberSearch(QStringLiteral("ab")));

        row("unterminated text", "SELECT * FROM orders WHERE OrderDate = 'abc",
            "refused: not closed");
        row("unterminated name", "SELECT [abc FROM orders", "refused: not closed");
        row("unterminated comment", "SELECT 1 /* open", "refused: not closed");
        row("parameter mark", "SELECT * FROM orders WHERE OrderNum = ?", "refused: ?");
        row("two statements", "DELETE * FROM orders; DELETE * FROM orderParts",
            "refused: one statement");
        row("unknown table", "INSERT INTO nowhere(a) SELECT '1' AS a", "refused: nowhere");
        row("unknown column", "UPDATE orders SET Nothing = '1'", "refused: Nothing");
        row("too many values", "INSERT INTO orders(OrderDate) SELECT '1' AS a, '2' AS b",
            "refused: 2 values");
        row("amount compared with text", "SELECT * FROM orderParts WHERE Price = 'cheap'",
            "refused: cheap");
        row("Boolean compared with text", "SELECT * FROM orders WHERE OrderStatus = 'maybe'",
            "refused: maybe");
        row("no value", "UPDATE orders SET OrderDate = WHERE OrderNum = 1", "refused: OrderDate");
        row("( not closed", "SELECT (1", "refused: \"(\" that is not closed");
        row(") closing nothing", "SELECT 1) FROM orders", "refused: closes nothing");
        row("nested too deep",
            "SELECT * FROM Parts WHERE " + QString(100000, u'(') + "Description LIKE '*abcd*'" +
                QString(100000, u')'),
            "refused: more than 100 deep");
    }
    void translation() {
        QFETCH(QString, statement);
        QFETCH(QString, sql);
        QFETCH(QString, parameters);
        if (sql.startsWith(u"refused: ")) {
            try {
                (void)translate(statement);
                QFAIL("the statement was taken");
            } catch (const StoreError& e) {
                QVERIFY2(e.message().contains(sql.mid(9)), qPrintable(e.message()));
                QCOMPARE(e.statement(), statement);
            }
            return;
        }
        const TranslatedStatement translated = translate(statement);
        QCOMPARE(translated.sql, sql);
        QCOMPARE(renderParameters(translated.parameters), parameters);
        QString joined; // the tokens give the statement back
        for (const auto& token : SqlTokenizer::tokenize(statement))
            joined += token.text;
        QCOMPARE(joined, statement);
    }

    void kinds_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("select after a comment") << "-- a note\n select 1" << Kind::Select;
        QTest::newRow("insert") << "INSERT INTO orders(OrderDate) SELECT 'x' AS d" << Kind::Insert;
        QTest::newRow("update") << "Update orders SET OrderStatus = 1" << Kind::Update;
        QTest::newRow("pragma") << "PRAGMA integrity_check" << Kind::Other;
        QTest::newRow("nothing") << " -- nothing\n" << Kind::Other;
        QTest::newRow("WITH ... SELECT")
            << "WITH o(n) AS (SELECT 1) SELECT n FROM o" << Kind::Select;
        QTest::newRow("WITH ... DELETE")
            << "WITH o AS (SELECT 1 AS n) DELETE FROM orders WHERE OrderNum IN o" << Kind::Delete;
    }
    void kinds() {
        QFETCH(QString, statement);
        QFETCH(Kind, kind);
        QCOMPARE(translate(statement).kind, kind);
        QCOMPARE(StatementTranslator::kindOf(statement), kind);
    }

    void catalogueFollowsSchemaChanges() {
        db->execute(
            QStringLiteral("CREATE TABLE extra (n INTEGER, a CURRENCY, b BOOLEAN, t TEXT)"));
        QCOMPARE(
            renderParameters(translate(QStringLiteral("INSERT INTO extra(n,a,b,t) SELECT '1' "
                                                      "AS n, '2' AS a, 'FALSE' AS b, '4' AS t"))
                                 .parameters),
            QStringLiteral("1,20000,0,'4'"));
        db->execute(QStringLiteral("DROP TABLE extra"));
    }
};

QUILLON_TEST_CLASS(DialectTest)

#include "test_dialect.moc"
