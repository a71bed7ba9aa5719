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
using quillon::Value;

namespace {

// A row of a table of two texts.
void row(const char* tag, const char* first, const char* second) {
    QTest::newRow(tag) << QString::fromUtf8(first) << QString::fromUtf8(second);
}

} // namespace

class MoneyTest : public QObject {
    Q_OBJECT

private:
    const LocaleFormats uk{QLocale(QLocale::English, QLocale::UnitedKingdom)};

private slots:
    void plainTextParsing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("units");
        QTest::newRow("fraction") << "12.5" << true << qint64(125000);
        QTest::newRow("whole") << "7" << true << qint64(70000);
        QTest::newRow("quarter") << "0.25" << true << qint64(2500);
        QTest::newRow("negative") << "-3.125" << true << qint64(-31250);
        QTest::newRow("leading point") << ".5" << true << qint64(5000);
        QTest::newRow("blanks around") << " 7 " << true << qint64(70000);
        QTest::newRow("plus sign") << "+4" << true << qint64(40000);
        QTest::newRow("four decimals") << "1.2345" << true << qint64(12345);
        QTest::newRow("half to even, up") << "1.23455" << true << qint64(12346);
        QTest::newRow("half to even, stays") << "1.23465" << true << qint64(12346);
        QTest::newRow("above half") << "1.234551" << true << qint64(12346);
        QTest::newRow("largest") << "922337203685477.5807" << true
                                 << std::numeric_limits<qint64>::max();
        QTest::newRow("too large") << "922337203685478" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("blank") << "   " << false << qint64(0);
        QTest::newRow("letters") << "abc" << false << qint64(0);
        QTest::newRow("trailing letters") << "12abc" << false << qint64(0);
        QTest::newRow("two points") << "1.2.3" << false << qint64(0);
        QTest::newRow("currency sign") << "£5" << false << qint64(0);
        QTest::newRow("grouping") << "1,234" << false << qint64(0);
        QTest::newRow("exponent") << "1e5" << false << qint64(0);
        QTest::newRow("sign alone") << "-" << false << qint64(0);
        QTest::newRow("point alone") << "." << false << qint64(0);
    }
    void plainTextParsing() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, units);
        const auto parsed = Money::fromPlainText(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(parsed->units(), units);
    }

    void plainTextRoundTrips_data() {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("7") << qint64(70000) << "7";
        QTest::newRow("0.25") << qint64(2500) << "0.25";
        QTest::newRow("0") << qint64(0) << "0";
        QTest::newRow("0.0001") << qint64(1) << "0.0001";
        QTest::newRow("-0.0001") << qint64(-1) << "-0.0001";
        QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477.5808";
    }
    void plainTextRoundTrips() {
        QFETCH(qint64, units);
        QFETCH(QString, text);
        QCOMPARE(Money::fromUnits(units).toPlainText(), text);
        if (units != std::numeric_limits<qint64>::min())
            QCOMPARE(Money::fromPlainText(text)->units(), units);
    }

    void arithmeticIsExactAndChecked() {
        const Money price = *Money::fromPlainText(u"2.5");
        QCOMPARE((price * 3).toPlainText(), QStringLiteral("7.5"));
        QCOMPARE((price + *Money::fromPlainText(u"0.1")).toPlainText(), QStringLiteral("2.6"));
        QCOMPARE((-price).toPlainText(), QStringLiteral("-2.5"));
        Money total;
        for (int i = 0; i < 10; ++i)
            total += *Money::fromPlainText(u"0.1");
        QCOMPARE(total, Money::fromWhole(1));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error,
                                 Money::fromUnits(std::numeric_limits<qint64>::max()) * 2);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error,
                                 Money::fromUnits(std::numeric_limits<qint64>::max()) +
                                     Money::fromUnits(1));
    }

    void currencyDisplay_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("shown");
        row("grouping", "1234.5", "£1,234.50");
        row("negative", "-1234.5", "-£1,234.50");
        row("zero", "0", "£0.00");
        row("pence", "12.5", "£12.50");
        row("millions", "1234567.891", "£1,234,567.89");
        row("half a penny rounds up", "0.005", "£0.01");
        row("below half a penny", "0.0049", "£0.00");
        row("negative rounding to zero", "-0.001", "£0.00");
        row("three digits", "999.999", "£1,000.00");
    }
    void currencyDisplay() {
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        QCOMPARE(uk.currency(*Money::fromPlainText(amount)), shown);
    }

    void amountParsing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount"); // empty: refused
        row("plain", "12.5", "12.5");
        row("display", "£12.50", "12.5");
        row("grouped display", "£1,234.50", "1234.5");
        row("negative display", "-£1,234.50", "-1234.5");
        row("sign after symbol", "£-5", "-5");
        row("grouped without sign", "1,234.50", "1234.5");
        row("blanks", " £ 3.00 ", "3");
        row("bad grouping", "12,34", "");
        row("letters", "abc", "");
        row("empty", "", "");
        row("symbol alone", "£", "");
        row("other currency", "$5", "");
        row("two points", "£1.2.3", "");
    }
    void amountParsing() {
        QFETCH(QString, text);
        QFETCH(QString, amount);
        const auto parsed = uk.parseAmount(text);
        QCOMPARE(parsed.has_value(), !amount.isEmpty());
        if (parsed)
            QCOMPARE(parsed->toPlainText(), amount);
    }

    void displayFormParsesBackInOtherLocales_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom);
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France);
    }
    void displayFormParsesBackInOtherLocales() {
        QFETCH(QLocale, locale);
        const LocaleFormats formats(locale);
        for (const char* text : {"1234567.5", "-1234.25", "0.1", "12"}) {
            const Money amount = *Money::fromPlainText(QString::fromLatin1(text));
            const QString shown = formats.currency(amount);
            QVERIFY2(shown.contains(locale.currencySymbol()), qPrintable(shown));
            QCOMPARE(formats.parseAmount(shown), std::optional<Money>(amount));
        }
    }

    void cLocaleFallsBackToUnitedKingdom() {
        const LocaleFormats formats(QLocale::c());
        QCOMPARE(formats.currency(Money::fromWhole(5)), QStringLiteral("£5.00"));
        QCOMPARE(formats.shortDate(QDate(2026, 12, 6)), QStringLiteral("06/12/2026"));
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        row("number and word", "3 boxes", "3");
        row("trailing zero dropped", "2.50", "2.5");
        row("word", "PAIR", "0");
        row("empty", "", "0");
        row("leading blanks and sign", "  -2", "-2");
        row("blanks inside", "1 2", "12");
        row("point first", ".5", "0.5");
        row("plus", "+5", "5");
        row("zero", "0", "0");
        row("negative zero", "-0", "0");
        row("leading zeros", "007", "7");
        row("second point ends it", "1.2.3", "1.2");
        row("sign alone", "-", "0");
        row("sign after digits ends it", "5-3", "5");
        row("ten", "10", "10");
        row("long", "123456789012345678901234", "123456789012345678901234");
        row("non-ASCII digits are no number", "٣", "0");
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(quillon::leadingNumberText(text), number);
    }

    void valueConversions() {
        QVERIFY(Value().isNull());
        QVERIFY(Value().isAbsent());
        QVERIFY(Value::text("").isAbsent());
        QVERIFY(!Value::text("").isNull());
        QVERIFY(!Value::text(" ").isAbsent());
        QVERIFY(!Value::integer(0).isAbsent());
        QCOMPARE(Value().toText(), QString());
        QCOMPARE(Value::integer(-42).toText(), QStringLiteral("-42"));
        QCOMPARE(Value::amount(*Money::fromPlainText(u"12.50")).toText(), QStringLiteral("12.5"));
        QCOMPARE(Value::boolean(true).toText(), QStringLiteral("True"));
        QCOMPARE(Value::text(" 3 ").toInteger(), qint64(3));
        QCOMPARE(Value::amount(Money::fromWhole(4)).toInteger(), qint64(4));
        QCOMPARE(Value::text("2.5").toMoney(), *Money::fromPlainText(u"2.5"));
        QCOMPARE(Value::integer(3).toMoney(), Money::fromWhole(3));
        QVERIFY(Value::integer(-1).toBool());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError, Value::text("2.5").toInteger());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError, Value().toInteger());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError, Value().toMoney());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError, Value::text("abc").toMoney());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError, Value::integer(1LL << 40).toInt32());
        QVERIFY_THROWS_EXCEPTION(quillon::StoreError,
                                 Value::integer(std::numeric_limits<qint64>::max()).toMoney());
    }
};

QUILLON_TEST_CLASS(MoneyTest)

#include "test_money.moc"
