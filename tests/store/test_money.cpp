// Amounts as statements carry them and as boxes show and read them, the leading number of a
// quantity, and the values a result holds.
#include "store/locale_formats.h"
#include "store/money.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "store/value.h"
#include "test_registry.h"

#include <limits>
#include <stdexcept>

using quillon::LocaleFormats;
using quillon::Money;
using quillon::StoreError;
using quillon::Value;

namespace {

void row(const char* tag, const char* first, const char* second, const char* third = "") {
    QTest::newRow(tag) << QString::fromUtf8(first) << QString::fromUtf8(second)
                       << QString::fromUtf8(third);
}

void threeColumns(const char* first, const char* second, const char* third) {
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    QTest::addColumn<QString>(third);
}

} // namespace

class MoneyTest : public QObject {
    Q_OBJECT

    const LocaleFormats uk{QLocale(QLocale::English, QLocale::UnitedKingdom)};

private slots:
    // The plain decimal text of statements; "" is refused. What is read gives its text back.
    void plainText_data() {
        threeColumns("text", "plain", "unused");
        row("fraction", "12.5", "12.5");
        row("negative", "-3.125", "-3.125");
        row("leading point", ".5", "0.5");
        row("blanks and plus", " +7 ", "7");
        row("four decimals", "1.2345", "1.2345");
        row("smallest", "0.0001", "0.0001");
        row("half to even, up", "1.23455", "1.2346");
        row("half to even, stays", "1.23465", "1.2346");
        row("above half", "1.234551", "1.2346");
        row("largest", "922337203685477.5807", "922337203685477.5807");
        row("too large", "922337203685478", "");
        for (const char* refused :
             {"", "   ", "abc", "12abc", "1.2.3", "£5", "1,234", "1e5", "-", "."})
            row(refused, refused, "");
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
        const Money price = *Money::fromPlainText(u"2.5");
        QCOMPARE((price * 3 + *Money::fromPlainText(u"0.1")).toPlainText(), QStringLiteral("7.6"));
        QCOMPARE((-price).toPlainText(), QStringLiteral("-2.5"));
        Money total;
        for (int i = 0; i < 10; ++i)
            total += *Money::fromPlainText(u"0.1");
        QCOMPARE(total, Money::fromWhole(1));
        const Money largest = Money::fromUnits(std::numeric_limits<qint64>::max());
        QCOMPARE(Money::fromUnits(std::numeric_limits<qint64>::min()).toPlainText(),
                 QStringLiteral("-922337203685477.5808"));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest * 2);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, largest + Money::fromUnits(1));
    }

    // What a box reads (its plain text; "" refused) and how the amount shows in pounds.
    void currency_data() {
        threeColumns("typed", "amount", "shown");
        row("plain", "12.5", "12.5", "£12.50");
        row("zero", "0", "0", "£0.00");
        row("grouping after one digit", "£1,234.50", "1234.5", "£1,234.50");
        row("negative", "-£1,234.50", "-1234.5", "-£1,234.50");
        row("millions", "1234567.891", "1234567.891", "£1,234,567.89");
        row("half a penny rounds up", "0.125", "0.125", "£0.13");
        row("half a penny below zero", "-0.005", "-0.005", "-£0.01");
        row("below half a penny", "0.0049", "0.0049", "£0.00");
        row("rounding to zero has no sign", "-0.001", "-0.001", "£0.00");
        row("rounding carries", "999.999", "999.999", "£1,000.00");
        row("sign after the symbol", "£-5", "-5", "-£5.00");
        row("grouped without symbol", "1,234.50", "1234.5", "£1,234.50");
        row("blanks", " £ 3.00 ", "3", "£3.00");
        for (const char* refused : {"12,34", "abc", "", "£", "$5", "£1.2.3"})
            row(refused, refused, "", "");
    }
    void currency() {
        QFETCH(QString, typed);
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        const auto parsed = uk.parseAmount(typed);
        QCOMPARE(parsed ? parsed->toPlainText() : QString(), amount);
        if (parsed)
            QCOMPARE(uk.currency(*parsed), shown);
    }

    void displayFormParsesBackInOtherLocales() {
        for (const char* name : {"en_US", "de_DE", "fr_FR", "de_CH"}) {
            const QLocale locale(QString::fromLatin1(name));
            const LocaleFormats formats(locale);
            for (const char* text : {"1234567.5", "-1234.25", "0.1", "12"}) {
                const Money amount = *Money::fromPlainText(QString::fromLatin1(text));
                const QString shown = formats.currency(amount);
                QVERIFY2(shown.contains(locale.currencySymbol()), qPrintable(shown));
                QCOMPARE(formats.parseAmount(shown), std::optional<Money>(amount));
            }
        }
        const LocaleFormats c(QLocale::c()); // falls back to the United Kingdom
        QCOMPARE(c.currency(Money::fromWhole(5)), QStringLiteral("£5.00"));
        QCOMPARE(c.shortDate(QDate(2026, 12, 6)), QStringLiteral("06/12/2026"));
    }

    void leadingNumber_data() {
        threeColumns("text", "number", "unused");
        row("number and word", "3 boxes", "3");
        row("trailing zero dropped", "2.50", "2.5");
        row("word", "PAIR", "0");
        row("empty", "", "0");
        row("blanks and sign", "  -2", "-2");
        row("blanks inside", "1 2", "12");
        row("point first", ".5", "0.5");
        row("negative zero", "-0", "0");
        row("leading zeros", "007", "7");
        row("second point ends it", "1.2.3", "1.2");
        row("sign after digits ends it", "5-3", "5");
        row("longer than an amount", "123456789012345678901234", "123456789012345678901234");
        row("non-ASCII digits are no number", "٣", "0");
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(quillon::leadingNumberText(text), number);
    }

    void valueConversions() {
        QVERIFY(Value().isNull() && Value().isAbsent() && Value::text("").isAbsent());
        QVERIFY(!Value::text("").isNull() && !Value::text(" ").isAbsent());
        QVERIFY(!Value::integer(0).isAbsent());
        QCOMPARE(Value::amount(*Money::fromPlainText(u"12.50")).toText(), QStringLiteral("12.5"));
        QCOMPARE(Value::boolean(true).toText(), QStringLiteral("True"));
        QCOMPARE(Value::text(" 3 ").toInteger(), qint64(3));
        QCOMPARE(Value::text("2.5").toMoney(), *Money::fromPlainText(u"2.5"));
        QCOMPARE(Value::integer(3).toMoney(), Money::fromWhole(3));
        QVERIFY(Value::integer(-1).toBool());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::text("2.5").toInteger());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value().toMoney());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::text("abc").toMoney());
        QVERIFY_THROWS_EXCEPTION(StoreError, Value::integer(1LL << 40).toInt32());
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 Value::integer(std::numeric_limits<qint64>::max()).toMoney());
    }
};

QUILLON_TEST_CLASS(MoneyTest)

#include "test_money.moc"
