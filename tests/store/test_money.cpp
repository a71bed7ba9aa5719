// Amounts as statements carry them and as boxes show and read them, the leading number of a
// quantity, and the values a result holds.
#include "store/locale_formats.h"
#include "store/money.h"
#include "store/store_error.h"
#include "store/value.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <limits>
#include <stdexcept>

using namespace quillon;
using namespace Qt::StringLiterals;
using tests::textTable;

class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    // Texts read as amounts: "plain" as statements carry them, "box" as a box reads them, with
    // how the amount shows in pounds; and as the leading "number" of a quantity. An empty
    // result: refused.
    void conversions_data() {
        textTable(
            {"how", "text", "result", "shown"},
            "plain>12.5>12.5|plain>-3.125>-3.125|plain>0.0001>0.0001|plain>.5>0.5|plain> +7 >7|"
            "plain>922337203685477.5807>922337203685477.5807|plain>922337203685478|"
            "plain>1.23455>1.2346|plain>1.23465>1.2346|plain>1.234551>1.2346|plain>|"
            "plain>   |plain>12abc|plain>1.2.3|plain>£5|plain>1,234|plain>1e5|plain>-|plain>.|"
            "box>0>0>£0.00|box>£1,234.50>1234.5>£1,234.50|box>-£1,234.50>-1234.5>-£1,234.50|"
            "box>£-5>-5>-£5.00|box>1234567.891>1234567.891>£1,234,567.89|box> £ 3.00 >3>£3.00|"
            "box>999.999>999.999>£1,000.00|box>0.0049>0.0049>£0.00|box>-0.001>-0.001>£0.00|"
            "box>0.125>0.125>£0.13|box>-0.005>-0.005>-£0.01|box>12,34|box>abc|box>|box>£|"
            "box>$5|box>£1.2.3|box>1.2.3|box>.25>0.25>£0.25|box>12.500>12.5>£12.50|box>£12.50abc|"
            "box>12'5|box>99999999999999999999|number>3 "
            "boxes>3|number>2.50>2.5|number>PAIR>0|number>>0|"
            "number>  -2>-2|number>1 2>12|number>.5>0.5|number>-0>0|number>007>7|number>5-3>5|"
            "number>1.2.3>1.2|number>٣>0|number>123456789012345678901>123456789012345678901");
    }
    void conversions() {
        QFETCH(QString, how);
        QFETCH(QString, text);
        const LocaleFormats uk(QLocale(QLocale::English, QLocale::UnitedKingdom));
        const auto parsed = how == u"plain" ? Money::fromPlainText(text) : uk.parseAmount(text);
        QTEST(how == u"number" ? leadingNumberText(text)
                               : (parsed ? parsed->toPlainText() : QString()),
              "result");
        QCOMPARE(parsed ? Money::fromPlainText(parsed->toPlainText()) : parsed, parsed);
        if (how == u"box")
            QTEST(parsed ? uk.currency(*parsed) : QString(), "shown");
    }

    void arithmeticIsExactAndChecked() {
        Money total;
        for (int i = 0; i < 10; ++i)
            total += *Money::fromPlainText(u"0.1");
        QCOMPARE(total, Money::fromWhole(1));
        QCOMPARE((-(total * 3)).toPlainText(), u"-3"_s);
        const Money largest = Money::fromUnits(std::numeric_limits<qint64>::max());
        QCOMPARE((-largest - Money::fromUnits(1)).toPlainText(), u"-922337203685477.5808"_s);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest * 2);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest + Money::fromUnits(1));
    }

    // Other locales are the fuzz target's; the C locale falls back to the United Kingdom.
    void cLocale() {
        const LocaleFormats c(QLocale::c());
        QCOMPARE(c.currency(Money::fromWhole(5)) + c.shortDate(QDate(2026, 12, 6)),
                 u"£5.0006/12/2026"_s);
    }

    void valueConversions() {
        QVERIFY(Value().isAbsent() && Value::text({}).isAbsent() && !Value::text({}).isNull());
        QCOMPARE(Value::text(u" 3 "_s).toInteger(), 3);
        QCOMPARE(Value::text(u"2.5"_s).toMoney(), *Money::fromPlainText(u"2.5"));
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::text(u"2.5"_s).toInteger());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value().toMoney());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::integer(1LL << 40).toInt32());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::integer(1LL << 62).toMoney());
    }
};

QUILLON_TEST_CLASS(MoneyTest)

#include "test_money.moc"
