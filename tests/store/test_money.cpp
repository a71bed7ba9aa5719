#include "store/locale_formats.h"
#include "store/money.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "store/value.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <limits>
#include <stdexcept>

using quillon::LocaleFormats;
using quillon::Money;
using quillon::Value;
using quillon::tests::textRow;

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
        QTest::newRow("12.5") << qint64(125000) << "12.5";
        QTest::newRow("7") << qint64(70000) << "7";
        QTest::newRow("0.25") << qint64(2500) << "0.25";
        QTest::newRow("-3.125") << qint64(-31250) << "-3.125";
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
        textRow("grouping", "1234.5", "£1,234.50");
        textRow("negative", "-1234.5", "-£1,234.50");
        textRow("zero", "0", "£0.00");
        textRow("pence", "12.5", "£12.50");
        textRow("millions", "1234567.891", "£1,234,567.89");
        textRow("half a penny rounds up", "0.005", "£0.01");
        textRow("below half a penny", "0.0049", "£0.00");
        textRow("negative rounding to zero", "-0.001", "£0.00");
        textRow("three digits", "999.999", "£1,000.00");
    }
    void currencyDisplay() {
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        QCOMPARE(uk.currency(*Money::fromPlainText(amount)), shown);
    }

    void amountParsing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount"); // empty: refused
        textRow("plain", "12.5", "12.5");
        textRow("display", "£12.50", "12.5");
        textRow("grouped display", "£1,234.50", "1234.5");
        textRow("negative display", "-£1,234.50", "-1234.5");
        textRow("sign after symbol", "£-5", "-5");
        textRow("grouped without sign", "1,234.50", "1234.5");
        textRow("blanks", " £ 3.00 ", "3");
        textRow("bad grouping", "12,34", "");
        textRow("letters", "abc", "");
        textRow("empty", "", "");
        textRow("symbol alone", "£", "");
        textRow("other currency", "$5", "");
        textRow("two points", "£1.2.3", "");
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
        textRow("number and word", "3 boxes", "3");
        textRow("trailing zero dropped", "2.50", "2.5");
        textRow("word", "PAIR", "0");
        textRow("empty", "", "0");
        textRow("leading blanks and sign", "  -2", "-2");
        textRow("blanks inside", "1 2", "12");
        textRow("point first", ".5", "0.5");
        textRow("plus", "+5", "5");
        textRow("zero", "0", "0");
        textRow("negative zero", "-0", "0");
        textRow("leading zeros", "007", "7");
        textRow("second point ends it", "1.2.3", "1.2");
        textRow("sign alone", "-", "0");
        textRow("sign after digits ends it", "5-3", "5");
        textRow("ten", "10", "10");
        textRow("long", "123456789012345678901234", "123456789012345678901234");
        textRow("non-ASCII digits are no number", "٣", "0");
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(quillon::leadingNumberText(text), number);
    }

    void quoting_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("escaped");
        textRow("plain", "Defender", "Defender");
        textRow("apostrophe", "O'Brien's", "O''Brien''s");
        textRow("only quotes", "''", "''''");
        textRow("double quote unchanged", "6\" hose", "6\" hose");
        textRow("empty", "", "");
    }
    void quoting() {
        QFETCH(QString, value);
        QFETCH(QString, escaped);
        QCOMPARE(quillon::sqlEscape(value), escaped);
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
