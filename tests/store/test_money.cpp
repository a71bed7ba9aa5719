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
using tests::textTable;

class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    // The plain decimal text of statements ("" refused), and what it gives back.
    void plainText_data() {
        textTable(
            {"text", "plain"},
            "12.5>12.5|-3.125>-3.125|1.2345>1.2345|0.0001>0.0001|.5>0.5| +7 >7|"
            "922337203685477.5807>922337203685477.5807|922337203685478|" // the largest, and more
            "1.23455>1.2346|1.23465>1.2346|1.234551>1.2346|"             // half to even
            "|   |12abc|1.2.3|£5|1,234|1e5|-|.");
    }
    void plainText() {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        const auto parsed = Money::fromPlainText(text);
        QCOMPARE(parsed ? parsed->toPlainText() : QString(), plain);
        if (parsed)
            QCOMPARE(Money::fromPlainText(parsed->toPlainText()), parsed);
    }

    void arithmeticIsExactAndChecked() {
        Money total;
        for (int i = 0; i < 10; ++i)
            total += *Money::fromPlainText(u"0.1");
        QCOMPARE(total, Money::fromWhole(1));
        QCOMPARE((-(total * 3)).toPlainText(), "-3");
        const Money largest = Money::fromUnits(std::numeric_limits<qint64>::max());
        QCOMPARE((-largest - Money::fromUnits(1)).toPlainText(), "-922337203685477.5808");
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest * 2);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest + Money::fromUnits(1));
    }

    // What a box reads (its plain text; "" refused) and how that shows in pounds.
    void currency_data() {
        textTable({"typed", "amount", "shown"},
                  "0>0>£0.00|£1,234.50>1234.5>£1,234.50|-£1,234.50>-1234.5>-£1,234.50|"
                  "£-5>-5>-£5.00|1234567.891>1234567.891>£1,234,567.89| £ 3.00 >3>£3.00|"
                  "999.999>999.999>£1,000.00|0.0049>0.0049>£0.00|-0.001>-0.001>£0.00|"
                  "0.125>0.125>£0.13|-0.005>-0.005>-£0.01|" // half a penny, away from zero
                  "12,34|abc||£|$5|£1.2.3");
    }
    void currency() {
        QFETCH(QString, typed);
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        const LocaleFormats uk(QLocale(QLocale::English, QLocale::UnitedKingdom));
        const auto parsed = uk.parseAmount(typed);
        QCOMPARE(parsed ? parsed->toPlainText() : QString(), amount);
        QCOMPARE(parsed ? uk.currency(*parsed) : QString(), shown);
    }

    // Other locales are the fuzz target's; the C locale falls back to the United Kingdom.
    void cLocale() {
        const LocaleFormats c(QLocale::c());
        QCOMPARE(c.currency(Money::fromWhole(5)) + c.shortDate(QDate(2026, 12, 6)),
                 "£5.0006/12/2026");
    }

    void leadingNumber_data() {
        textTable({"text", "number"},
                  "3 boxes>3|2.50>2.5|PAIR>0|>0|  -2>-2|1 2>12|.5>0.5|-0>0|007>7|5-3>5|1.2.3>1.2|"
                  "٣>0|123456789012345678901>123456789012345678901");
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(leadingNumberText(text), number);
    }

    void valueConversions() {
        QVERIFY(Value().isAbsent() && Value::text("").isAbsent() && !Value::text("").isNull());
        QCOMPARE(Value::text(" 3 ").toInteger(), 3);
        QCOMPARE(Value::text("2.5").toMoney(), *Money::fromPlainText(u"2.5"));
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::text("2.5").toInteger());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value().toMoney());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::integer(1LL << 40).toInt32());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::integer(1LL << 62).toMoney());
    }
};

QUILLON_TEST_CLASS(MoneyTest)

#include "test_money.moc"
