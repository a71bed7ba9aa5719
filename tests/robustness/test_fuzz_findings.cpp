// The faults that the fuzz targets (fuzz/) found, each kept as a case here.
#include "csv_reader.h"
#include "csv_writer.h"
#include "store/database.h"
#include "store/locale_formats.h"
#include "store/money.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "test_registry.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <vector>

using namespace quillon;

namespace {

// An amount rounded to whole pence, half away from zero, as the "Currency" format shows it.
Money toPence(Money amount) {
    const bool negative = amount.isNegative();
    const quint64 magnitude =
        negative ? quint64(0) - quint64(amount.units()) : quint64(amount.units());
    const quint64 pence = magnitude / 100 * 100 + (magnitude % 100 >= 50 ? 100 : 0);
    return Money::fromUnits(negative ? qint64(quint64(0) - pence) : qint64(pence));
}

std::vector<std::vector<QByteArray>> readCsv(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    std::vector<std::vector<QByteArray>> records;
    std::vector<QByteArray> fields;
    while (reader.readRecord(fields))
        records.push_back(fields);
    return records;
}

// The two texts with a NUL character between them.
QString withNul(const char* before, const char* after) {
    return QString::fromUtf8(before) + QChar(0) + QString::fromUtf8(after);
}

} // namespace

class FuzzFindingsTest : public QObject {
    Q_OBJECT

private slots:
    // Locales whose digits aren't 0-9 showed every amount as the currency sign and a 7; a locale
    // whose currency sign Qt gives only inside its format (it_CH) couldn't read its own display
    // form back.
    void currencyReadsBackInEveryLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown"); // the display form of 1234.5, where it is fixed
        QTest::newRow("en_GB") << "en_GB" << QStringLiteral("£1,234.50");
        QTest::newRow("de_DE") << "de_DE" << QStringLiteral("1.234,50\u00A0€");
        QTest::newRow("it_CH") << "it_CH" << QString();
        QTest::newRow("fr_FR") << "fr_FR" << QString();
        QTest::newRow("ar_EG") << "ar_EG" << QString();
        QTest::newRow("fa_IR") << "fa_IR" << QString();
        QTest::newRow("bn_BD") << "bn_BD" << QString();
        QTest::newRow("mr_IN") << "mr_IN" << QString();
        QTest::newRow("my_MM") << "my_MM" << QString();
    }

    void currencyReadsBackInEveryLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        const LocaleFormats formats{QLocale(locale)};
        const Money amount = *Money::fromPlainText(u"1234.5");
        if (!shown.isEmpty())
            QCOMPARE(formats.currency(amount), shown);
        QVERIFY(formats.currency(amount) != formats.currency(Money::fromWhole(7)));
        // The amount in the locale's own digits.
        const QLocale qlocale(locale);
        QVERIFY2(formats.currency(amount).contains(qlocale.toString(3) + qlocale.toString(4)),
                 qPrintable(formats.currency(amount)));

        for (const char* plain : {"0", "7", "1234.5", "-1234.5", "0.005", "-0.004", "12.3456",
                                  "922337203685477.5807", "-922337203685477.5808"}) {
            const Money value = *Money::fromPlainText(QString::fromLatin1(plain));
            const QString text = formats.currency(value);
            QVERIFY2(formats.parseAmount(text) == std::optional<Money>(toPence(value)),
                     qPrintable(text));
            QCOMPARE(formats.parseAmount(value.toPlainText()), std::optional<Money>(value));
        }
    }

    // The engine reads a statement only up to a NUL character: a quoted text holding one could be
    // stored but never found, changed or deleted again.
    void nulInAQuotedTextIsStoredAndFound() {
        QTemporaryDir dir;
        const auto db = Database::create(dir.filePath(QStringLiteral("user.mdb")));
        Schema::createUser(*db);
        const QString name = withNul("Smith", "& Sons");
        const QString quoted = u'\'' + sqlEscape(name) + u'\'';
        QCOMPARE(db->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName, "
                                            "OrderTel) SELECT %1 AS RecordName, '1' AS OrderTel")
                                 .arg(quoted)),
                 1);
        const QString where = QStringLiteral(" WHERE RecordName = ") + quoted;
        auto found = db->openRecordset(QStringLiteral("SELECT * FROM orderCompanyDetails") + where);
        QCOMPARE(found.recordCount(), 1);
        QCOMPARE(found.field(QStringLiteral("RecordName")).toText(), name);
        QCOMPARE(
            db->execute(QStringLiteral("UPDATE orderCompanyDetails SET OrderTel = '2'") + where),
            1);
        QCOMPARE(db->execute(QStringLiteral("DELETE * FROM orderCompanyDetails") + where), 1);
    }

    // A NUL outside quotes cut the statement short, or made the running of several statements
    // one after the other loop for ever.
    void nulOutsideQuotesIsRefused() {
        QTemporaryDir dir;
        const auto db = Database::create(dir.filePath(QStringLiteral("user.mdb")));
        Schema::createUser(*db);
        QVERIFY_THROWS_EXCEPTION(StoreError, db->execute(withNul("\t", "CREATE TABLE t (a)")));
        QVERIFY_THROWS_EXCEPTION(
            StoreError, db->openRecordset(withNul("SELECT * FROM orders", "; DROP TABLE orders")));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 db->execute(withNul("DELETE * FROM orders", " WHERE 0")));
        QVERIFY(db->openRecordset(QStringLiteral("SELECT * FROM orders")).isOpen());
    }

    // A record of one empty field was written as a blank line, which reading skips.
    void csvRecordOfOneEmptyFieldSurvives() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CsvWriter writer(buffer);
        writer.writeRecord({QStringLiteral("Description")});
        writer.writeRecord({QString()});
        writer.writeRecord({QStringLiteral("Oil filter")});
        const auto records = readCsv(buffer.data());
        QCOMPARE(records.size(), std::size_t(3));
        QCOMPARE(records[1], std::vector<QByteArray>{QByteArray()});
    }
};

QUILLON_TEST_CLASS(FuzzFindingsTest)
#include "test_fuzz_findings.moc"
