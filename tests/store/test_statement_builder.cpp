// The statements the program builds, piece by piece, against their exact texts.
#include "store/money.h"
#include "store/sql_text.h"
#include "store/statement_builder.h"
#include "test_registry.h"

using namespace quillon;

class StatementBuilderTest : public QObject {
    Q_OBJECT

private slots:
    void statements_data() {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");
        const auto a = [](const char* text) { return SqlLiteral::text(QString::fromUtf8(text)); };
        const auto amount = [](qint64 units) {
            return SqlLiteral::amount(Money::fromUnits(units)).sql();
        };
        QTest::newRow("quoting helper") << sqlEscape(u"O'Neill''s") << "O''Neill''''s";
        QTest::newRow("apostrophes") << a("3' HOSE's").sql() << "'3'' HOSE''s'";
        QTest::newRow("backslash, double quote") << a("C:\\6\" x\\").sql() << "'C:\\6\" x\\'";
        QTest::newRow("null text") << SqlLiteral::text(QString()).sql() << "''";
        QTest::newRow("Booleans") << SqlLiteral::boolean(true).sql() +
                                         SqlLiteral::boolean(false).sql()
                                  << "TRUEFALSE";
        QTest::newRow("amounts") << amount(125000) + amount(-31250) << "'12.5''-3.125'";
        QTest::newRow("insert, alias")
            << StatementBuilder::insertRow(u"t", {{"a", a("7")}, {"b", a("it's"), "c"}})
            << "INSERT INTO t(a,b) SELECT '7' AS a, 'it''s' AS c";
        QTest::newRow("update by two keys")
            << StatementBuilder::updateRow(u"t", {{"a", a("5")}, {"b", a("x'y")}},
                                           SqlCondition::equals(u"n", SqlLiteral::number(1)) &&
                                               SqlCondition::equals(u"k", a("K'1")))
            << "UPDATE t SET a = '5',b = 'x''y' WHERE n = 1 AND k = 'K''1'";
        QTest::newRow("delete, tight equals")
            << StatementBuilder::deleteWhere(u"t", SqlCondition::equalsTight(u"k", a("O'R")))
            << "DELETE * FROM t WHERE k='O''R'";
        QTest::newRow("lookup in brackets")
            << StatementBuilder::selectWhere(
                   u"t", SqlCondition::equals(u"ID", SqlLiteral::number(2)).parenthesised(),
                   u"a, b")
            << "SELECT a, b FROM t WHERE (ID = 2)";
    }
    void statements() {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }
};

QUILLON_TEST_CLASS(StatementBuilderTest)

#include "test_statement_builder.moc"
