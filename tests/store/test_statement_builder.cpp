// The statements the program builds, piece by piece, against their exact texts.
#include "store/money.h"
#include "store/statement_builder.h"
#include "test_registry.h"

using quillon::Money;
using quillon::SqlCondition;
using quillon::SqlLiteral;
using quillon::StatementBuilder;

class StatementBuilderTest : public QObject {
    Q_OBJECT

private slots:
    void statements_data() {
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("expected");
        const auto text = [](const QString& value) { return SqlLiteral::text(value).sql(); };
        const auto amount = [](qint64 units) {
            return SqlLiteral::amount(Money::fromUnits(units)).sql();
        };
        QTest::newRow("apostrophes") << text("O'Brien's") << "'O''Brien''s'";
        QTest::newRow("backslash, double quote") << text("C:\\6\" x\\") << "'C:\\6\" x\\'";
        QTest::newRow("empty text") << text("") << "''";
        QTest::newRow("null text") << text(QString()) << "''";
        QTest::newRow("TRUE") << SqlLiteral::boolean(true).sql() << "TRUE";
        QTest::newRow("FALSE") << SqlLiteral::boolean(false).sql() << "FALSE";
        QTest::newRow("amount") << amount(125000) << "'12.5'";
        QTest::newRow("negative amount") << amount(-31250) << "'-3.125'";
        const auto a = [](const char* text) { return SqlLiteral::text(QString::fromUtf8(text)); };
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
