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
        QTest::newRow("only quotes") << text("''") << "''''''";
        QTest::newRow("backslash, double quote") << text("C:\\6\" x\\") << "'C:\\6\" x\\'";
        QTest::newRow("empty text") << text("") << "''";
        QTest::newRow("null text") << text(QString()) << "''";
        QTest::newRow("number bare") << SqlLiteral::number(-42).sql() << "-42";
        QTest::newRow("TRUE") << SqlLiteral::boolean(true).sql() << "TRUE";
        QTest::newRow("FALSE") << SqlLiteral::boolean(false).sql() << "FALSE";
        QTest::newRow("amount") << amount(125000) << "'12.5'";
        QTest::newRow("negative amount") << amount(-31250) << "'-3.125'";
        QTest::newRow("zero amount") << amount(0) << "'0'";
        QTest::newRow("insert, alias")
            << StatementBuilder::insertRow(u"orderParts",
                                           {{"OrderNum", SqlLiteral::text(u"7")},
                                            {"Comments", SqlLiteral::text(u"it's"), "Comment"}})
            << "INSERT INTO orderParts(OrderNum,Comments) SELECT '7' AS OrderNum, 'it''s' AS "
               "Comment";
        QTest::newRow("update by two keys")
            << StatementBuilder::updateRow(
                   u"orderParts",
                   {{"Quantity", SqlLiteral::text(u"5")}, {"Comments", SqlLiteral::text(u"a'b")}},
                   SqlCondition::equals(u"OrderNum", SqlLiteral::number(1)) &&
                       SqlCondition::equals(u"RoverNum", SqlLiteral::text(u"ERR'1")))
            << "UPDATE orderParts SET Quantity = '5',Comments = 'a''b' WHERE OrderNum = 1 AND "
               "RoverNum = 'ERR''1'";
        QTest::newRow("delete, tight equals")
            << StatementBuilder::deleteWhere(
                   u"customParts", SqlCondition::equalsTight(u"RoverNum", SqlLiteral::text(u"O'R")))
            << "DELETE * FROM customParts WHERE RoverNum='O''R'";
        QTest::newRow("lookup in brackets")
            << StatementBuilder::selectWhere(
                   u"Parts", SqlCondition::equals(u"ID", SqlLiteral::number(2)).parenthesised(),
                   u"ID, x")
            << "SELECT ID, x FROM Parts WHERE (ID = 2)";
    }
    void statements() {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
    }
};

QUILLON_TEST_CLASS(StatementBuilderTest)

#include "test_statement_builder.moc"
