// The stores' dialect: the statements the program builds, how each statement form becomes the
// engine's SQL, and which statements are refused before they reach the engine.
#include "store/search_index.h"
#include "store/sql_text.h"
#include "store/sql_tokenizer.h"
#include "store/statement_builder.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/table_catalog.h"
#include "store_fixture.h"
#include "test_registry.h"

using namespace quillon;
using namespace Qt::StringLiterals;

namespace {

QString renderParameters(const std::vector<SqlParameter>& parameters) {
    QStringList texts;
    for (const SqlParameter& p : parameters)
        texts << (std::holds_alternative<qint64>(p)    ? QString::number(std::get<qint64>(p))
                  : std::holds_alternative<QString>(p) ? u'\'' + std::get<QString>(p) + u'\''
                                                       : u"NULL"_s);
    return texts.join(u',');
}

// A row of the translation table: the statement, the SQL it becomes (or "refused: " and what
// the message names) and its bound values.
void row(const char* tag, QAnyStringView statement, QAnyStringView sql, const char* bound = "") {
    QTest::newRow(tag) << statement.toString() << sql.toString() << QString::fromUtf8(bound);
}

} // namespace

class DialectTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<TableCatalog> catalog;

    TranslatedStatement translate(const QString& statement) {
        return StatementTranslator(*catalog).translate(statement);
    }

private slots:
    void initTestCase() {
        db = tests::createStore(dir, u"user.mdb"_s, true);
        SearchIndex::create(db->handle(), u"Parts"_s, u"ID"_s, {u"Description"_s});
        catalog = std::make_unique<TableCatalog>(db->handle());
    }

    // The statements the program builds, piece by piece, every text quoted.
    void builtStatements() {
        const auto a = [](const char* text) { return SqlLiteral::text(QString::fromUtf8(text)); };
        QCOMPARE(sqlEscape(u"O'Neill''s"), u"O''Neill''''s"_s);
        QCOMPARE(a("3' HOSE's").sql() + a("C:\\6\"").sql(), u"'3'' HOSE''s''C:\\6\"'"_s);
        QCOMPARE(SqlLiteral::text(QString()).sql() + SqlLiteral::boolean(true).sql() +
                     SqlLiteral::boolean(false).sql() +
                     SqlLiteral::amount(Money::fromUnits(-31250)).sql(),
                 u"''TRUEFALSE'-3.125'"_s);
        QCOMPARE(StatementBuilder::insertRow(u"t", {{u"a"_s, a("7")}, {u"b"_s, a("it's"), u"c"_s}}),
                 u"INSERT INTO t(a,b) SELECT '7' AS a, 'it''s' AS c"_s);
        QCOMPARE(StatementBuilder::updateRow(u"t", {{u"a"_s, a("5")}, {u"b"_s, a("x'y")}},
                                             SqlCondition::equals(u"n", SqlLiteral::number(1)) &&
                                                 SqlCondition::equals(u"k", a("K'1"))),
                 u"UPDATE t SET a = '5',b = 'x''y' WHERE n = 1 AND k = 'K''1'"_s);
        QCOMPARE(StatementBuilder::deleteWhere(u"t", SqlCondition::equalsTight(u"k", a("O'R"))),
                 u"DELETE * FROM t WHERE k='O''R'"_s);
    }

    void translation_data() {
        tests::addColumns<QString, QString, QString>("statement", "sql", "parameters");
        row("DELETE *", "delete  *  from orders where OrderNum=3",
            "delete from orders where OrderNum=3");
        row("TRUE, FALSE, -1 and text as Booleans",
            "UPDATE orders SET OrderStatus = TRUE WHERE OrderStatus = FALSE OR -1 = OrderStatus "
            "OR OrderStatus = 'False'",
            "UPDATE \"orders\" SET \"OrderStatus\" = 1 WHERE OrderStatus = 0 OR 1 = OrderStatus "
            "OR OrderStatus = 0");
        row("values by position, aliases play no part",
            "INSERT INTO orderParts(Description,Quantity,Price) SELECT 'Oil' AS Price, '3' AS "
            "Quantity, '12.5' AS x",
            "INSERT INTO \"orderParts\" (\"Description\", \"Quantity\", \"Price\") VALUES (?1, ?2, "
            "?3)",
            "'Oil',3,125000");
        row("names in any case, display amount, alias without AS",
            "insert into CUSTOMPARTS(customerprice) select '£1,234.50' p",
            "INSERT INTO \"customParts\" (\"CustomerPrice\") VALUES (?1)", "12345000");
        row("all columns when none are listed",
            "INSERT INTO orders SELECT '5' AS a, 'x' AS b, 'True'",
            "INSERT INTO \"orders\" (\"OrderNum\", \"OrderDate\", \"OrderStatus\") VALUES (?1, ?2, "
            "?3)",
            "5,'x',1");
        row("VALUES, NULL and negative numbers",
            "INSERT INTO orderParts(Comments,Price) VALUES (NULL, -2.5)",
            "INSERT INTO \"orderParts\" (\"Comments\", \"Price\") VALUES (?1, ?2)", "NULL,-25000");
        row("UPDATE of a line",
            "UPDATE orderParts SET Quantity = '5',Comments = 'it''s',Price = '13.25' WHERE "
            "RoverNum = 'ERR1'",
            "UPDATE \"orderParts\" SET \"Quantity\" = ?1, \"Comments\" = ?2, \"Price\" = ?3 WHERE "
            "RoverNum = 'ERR1'",
            "5,'it's',132500");
        row("amounts compared with numbers and display forms",
            "SELECT * FROM orderParts WHERE Price<>-1.5 OR 12.5 < orderParts.Price OR Price >= "
            "'£1,000' OR Price NOT BETWEEN 1 AND '2.5' OR Price IN (1, '0.5') OR Price = 5 - 3 "
            "AND Quantity = 12",
            "SELECT * FROM orderParts WHERE Price<>-15000 OR 125000 < orderParts.Price OR Price "
            ">= 10000000 OR Price NOT BETWEEN 10000 AND 25000 OR Price IN (10000, 5000) OR Price "
            "= 5 - 3 AND Quantity = 12");
        row("double quotes hold a text",
            "SELECT * FROM orders WHERE OrderDate = \"1/1/2026\" OR OrderDate = \"it's\"",
            "SELECT * FROM orders WHERE OrderDate = '1/1/2026' OR OrderDate = 'it''s'");
        row("quotes and comments kept", "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders",
            "SELECT 'TRUE', 'a''b' -- TRUE\nFROM /* FALSE */ orders");
        row("unterminated text", "SELECT * FROM orders WHERE OrderDate = 'abc",
            "refused: not closed");
        row("parameter mark", "SELECT * FROM orders WHERE OrderNum = ?", "refused: ?");
        row("two statements", "DELETE * FROM orders; DELETE * FROM orderParts",
            "refused: one statement");
        row("unknown column", "UPDATE orders SET Nothing = '1'", "refused: Nothing");
        row("too many values", "INSERT INTO orders(OrderDate) SELECT '1' AS a, '2' AS b",
            "refused: 2 values");
        row("amount compared with text", "SELECT * FROM orderParts WHERE Price = 'cheap'",
            "refused: cheap");
        row(") closing nothing", "SELECT 1) FROM orders", "refused: closes nothing");
        row("nested too deep",
            u"SELECT * FROM Parts WHERE " + QString(100000, u'(') + u"Description LIKE '*abcd*'" +
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
        QCOMPARE(StatementTranslator::kindOf(statement), translated.kind);
        QString joined; // the tokens give the statement back
        for (const auto& token : SqlTokenizer::tokenize(statement))
            joined += token.text;
        QCOMPARE(joined, statement);
    }
};

QUILLON_TEST_CLASS(DialectTest)

#include "test_dialect.moc"
