// The faults the fuzz targets (fuzz/) found that their seed corpora don't replay, each kept as a
// case here.
#include "csv_reader.h"
#include "csv_writer.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "test_registry.h"

#include <QBuffer>
#include <QTemporaryDir>

using namespace quillon;

class FuzzFindingsTest : public QObject {
    Q_OBJECT

private slots:
    // The engine reads a statement only up to a NUL character: a quoted text holding one could
    // be stored but never found, changed or deleted again; one outside quotes cut the statement
    // short, or made the running of several statements loop for ever.
    void nulCharacters() {
        QTemporaryDir dir;
        const auto db = Database::create(dir.filePath(QStringLiteral("user.mdb")));
        Schema::createUser(*db);
        const QString name = QStringLiteral("Smith") + QChar(0) + QStringLiteral("& Sons");
        const QString where = QStringLiteral(" WHERE RecordName = '%1'").arg(sqlEscape(name));
        QCOMPARE(db->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName) SELECT "
                                            "'%1' AS RecordName")
                                 .arg(sqlEscape(name))),
                 1);
        auto found = db->openRecordset(QStringLiteral("SELECT * FROM orderCompanyDetails") + where);
        QCOMPARE(found.field(QStringLiteral("RecordName")).toText(), name);
        QCOMPARE(
            db->execute(QStringLiteral("UPDATE orderCompanyDetails SET OrderTel = '2'") + where),
            1);
        QCOMPARE(db->execute(QStringLiteral("DELETE * FROM orderCompanyDetails") + where), 1);
        for (const QString& statement :
             {QStringLiteral("\t") + QChar(0) + QStringLiteral("CREATE TABLE t (a)"),
              QStringLiteral("SELECT * FROM orders") + QChar(0) +
                  QStringLiteral("; DROP TABLE orders"),
              QStringLiteral("DELETE * FROM orders") + QChar(0) + QStringLiteral(" WHERE 0")})
            QVERIFY_THROWS_EXCEPTION(StoreError, db->execute(statement));
        QVERIFY(db->openRecordset(QStringLiteral("SELECT * FROM orders")).isOpen());
    }

    // A record of one empty field was written as a blank line, which reading skips.
    void csvRecordOfOneEmptyField() {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        CsvWriter writer(buffer);
        for (const QString& field :
             {QStringLiteral("Description"), QString(), QStringLiteral("Oil")})
            writer.writeRecord({field});
        buffer.seek(0);
        CsvReader reader(buffer);
        std::vector<QByteArray> fields;
        QList<QByteArray> read;
        while (reader.readRecord(fields))
            read << (fields.size() == 1 ? fields[0] : QByteArray("?"));
        QCOMPARE(read, (QList<QByteArray>{"Description", "", "Oil"}));
    }
};

QUILLON_TEST_CLASS(FuzzFindingsTest)
#include "test_fuzz_findings.moc"
