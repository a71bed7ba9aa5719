// Runs the built quillon-db on files made in temporary folders and checks what it writes, what it
// prints and what it leaves behind.
#include "read_only_place.h"
#include "store/database.h"
#include "store/money.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "tool_process.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using quillon::Database;
using quillon::Money;
using quillon::Recordset;
using quillon::Schema;
using quillon::tests::ReadOnlyPlace;
using quillon::tests::ToolProcess;

namespace {

const QStringList vehicleNames = {QStringLiteral("Series 3"),    QStringLiteral("Defender"),
                                  QStringLiteral("Range Rover"), QStringLiteral("New R/Rover"),
                                  QStringLiteral("Discovery"),   QStringLiteral("Discovery 2"),
                                  QStringLiteral("TD 5"),        QStringLiteral("Freelander")};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Every entry of a folder, hidden ones included.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A minimal RFC 4180 splitter for checking the generator's output (quoted fields, doubled quotes).
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            record << field;
            field.clear();
        } else if (c == u'\r') {
            continue;
        } else if (c == u'\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void importReadsFieldsThroughTheEngine_data();
    void importReadsFieldsThroughTheEngine();
    void importAssignsIdsInFileOrder();
    void importRefusesBrokenFile_data();
    void importRefusesBrokenFile();
    void importReplacesWhileOldFileIsOpen();
    void demoIsDeterministic();
    void demoHasTheShapeOfACatalogue();
    void query_data();
    void query();
    void catalogueLeftMidChange_data();
    void catalogueLeftMidChange();
    void checkTellsGoodFromGarbage();
    void userTemplateHasTheUserTables();
    void badArgumentsGiveUsage_data();
    void badArgumentsGiveUsage();

private:
    QTemporaryDir dir_;
    QString queryCatalogue_; // three parts, one with a tab and a line break in its description
};

void TestTools::importReadsFieldsThroughTheEngine_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("CR LF") << QByteArray("\r\n") << QByteArray();
    QTest::newRow("LF") << QByteArray("\n") << QByteArray();
    QTest::newRow("UTF-8 mark") << QByteArray("\r\n") << QByteArray("\xEF\xBB\xBF");
}

void TestTools::importReadsFieldsThroughTheEngine() {
    QFETCH(QByteArray, lineEnd);
    QFETCH(QByteArray, start);
    QVERIFY(dir_.isValid());
    const QString csv = dir_.filePath(QStringLiteral("good.csv"));
    const QString db = dir_.filePath(QStringLiteral("good.mdb"));
    QFile::remove(db);
    // Columns in another order and letter case; a description with a comma, quotes and a line
    // break; empty fields; amounts plain and in their display form.
    QByteArray text = start +
                      "description,id,ROVERNUM,CustomerPrice,LRPrice,DorvaneNum,"
                      "LRDiscountCode,Application1,Picture1" +
                      lineEnd;
    text += "\"WHEEL NUT, 3/4\"\" \"\"ALLOY\"\"\",7,ERR1234,12.5,\"\xC2\xA3"
            "1,234.50\",NU1001,0,Defender,nut.jpg" +
            lineEnd;
    text += "\"GASKET SET\nTOP END\",9,,0,,DOR'S 1,,,\"\"" + lineEnd;
    text += "DRIVER'S DOOR SEAL - \xC3\x98 50mm,3,LR012345,.25, 7 ,DS1001,A,Freelander,seal.htm";
    text += lineEnd;
    writeFile(csv, text);

    const ToolProcess run = ToolProcess::run({QStringLiteral("import-catalogue"), csv, db});
    QVERIFY2(run.exitCode == 0 && !run.crashed, run.describe());

    auto store = Database::open(db, Database::Access::ReadOnly);
    Recordset rows = store->openRecordset(QStringLiteral("SELECT * FROM Parts ORDER BY ID ASC"));
    QCOMPARE(rows.recordCount(), 3);
    QCOMPARE(rows.columnNames(), Schema::partsColumns());

    QCOMPARE(rows.field(u"ID").toInteger(), 3);
    QCOMPARE(rows.field(u"Description").toText(), QStringLiteral("DRIVER'S DOOR SEAL - Ø 50mm"));
    QCOMPARE(rows.field(u"CustomerPrice").toMoney(), Money::fromUnits(2500));
    QCOMPARE(rows.field(u"LRPrice").toMoney(), Money::fromWhole(7));
    QCOMPARE(rows.field(u"LRDiscountCode").toText(), QStringLiteral("A"));
    QVERIFY(rows.field(u"AltDorvaneNum").isNull());

    rows.moveNext();
    QCOMPARE(rows.field(u"ID").toInteger(), 7);
    QCOMPARE(rows.field(u"Description").toText(), QStringLiteral("WHEEL NUT, 3/4\" \"ALLOY\""));
    QCOMPARE(rows.field(u"RoverNum").toText(), QStringLiteral("ERR1234"));
    QCOMPARE(rows.field(u"CustomerPrice").toMoney(), Money::fromUnits(125000));
    QCOMPARE(rows.field(u"LRPrice").toMoney(), Money::fromUnits(12345000));
    QCOMPARE(rows.field(u"LRDiscountCode").toText(), QStringLiteral("0"));
    QCOMPARE(rows.field(u"Application1").toText(), QStringLiteral("Defender"));
    QCOMPARE(rows.field(u"Picture1").toText(), QStringLiteral("nut.jpg"));

    rows.moveNext();
    QCOMPARE(rows.field(u"ID").toInteger(), 9);
    QCOMPARE(rows.field(u"Description").toText(), QStringLiteral("GASKET SET\nTOP END"));
    QVERIFY(rows.field(u"RoverNum").isNull());
    QVERIFY(rows.field(u"LRPrice").isNull());
    QCOMPARE(rows.field(u"CustomerPrice").toMoney(), Money());
    QVERIFY(!rows.field(u"CustomerPrice").isNull());
    QCOMPARE(rows.field(u"DorvaneNum").toText(), QStringLiteral("DOR'S 1"));
    QVERIFY(rows.field(u"Picture1").isNull()); // "" is an empty field too

    // The engine's dialect finds the parts by what went in.
    QCOMPARE(store
                 ->openRecordset(QStringLiteral("SELECT ID FROM Parts WHERE Description LIKE "
                                                "'*alloy*'"))
                 .recordCount(),
             1);
    QVERIFY(entries(dir_.path()).filter(QStringLiteral(".tmp")).isEmpty());
}

void TestTools::importAssignsIdsInFileOrder() {
    const QString csv = dir_.filePath(QStringLiteral("noid.csv"));
    const QString db = dir_.filePath(QStringLiteral("noid.mdb"));
    writeFile(csv, "DorvaneNum,RoverNum\r\nC3,Z\r\nA1,Y\r\n\r\nB2,X\r\n");
    const ToolProcess run = ToolProcess::run({QStringLiteral("import-catalogue"), csv, db});
    QVERIFY2(run.exitCode == 0, run.describe());
    auto store = Database::open(db, Database::Access::ReadOnly);
    Recordset rows =
        store->openRecordset(QStringLiteral("SELECT ID, DorvaneNum FROM Parts ORDER BY ID ASC"));
    QStringList seen;
    for (; !rows.eof(); rows.moveNext())
        seen << rows.field(0).toText() + u'=' + rows.field(1).toText();
    QCOMPARE(seen,
             QStringList({QStringLiteral("1=C3"), QStringLiteral("2=A1"), QStringLiteral("3=B2")}));
}

void TestTools::importRefusesBrokenFile_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    const QByteArray header = "ID,DorvaneNum,Description,CustomerPrice\r\n";
    QTest::newRow("bad amount") << header + "1,A1,NUT,1.50\r\n2,A2,BOLT,12,50\r\n" << 3;
    QTest::newRow("text amount") << header + "1,A1,NUT,1.50\r\n2,A2,BOLT,abc\r\n" << 3;
    QTest::newRow("too few fields") << header + "1,A1,NUT,1.5\r\n2,A2,BOLT,1\r\n3,A3\r\n" << 4;
    QTest::newRow("too many fields") << header + "1,A1,NUT,1.5,9\r\n" << 2;
    QTest::newRow("unknown column") << QByteArray("ID,DorvaneNum,Colour\r\n1,A1,red\r\n") << 1;
    QTest::newRow("column twice") << QByteArray("ID,DorvaneNum,dorvanenum\r\n1,A1,A\r\n") << 1;
    QTest::newRow("empty file") << QByteArray() << 1;
    QTest::newRow("quote never closed") << header + "1,A1,NUT,1\r\n2,A2,\"BOLT\r\n3,A3,WASHER,1\r\n"
                                        << 3;
    QTest::newRow("quote inside a field") << header + "1,A1,3/4\" NUT,1\r\n" << 2;
    QTest::newRow("text after closing quote") << header + "1,A1,\"NUT\"X,1\r\n" << 2;
    QTest::newRow("line count after quoted break")
        << header + "1,A1,\"TWO\r\nLINES\",1\r\n2,A2,NUT,x\r\n"
        << 4;
    QTest::newRow("same ID twice") << header + "1,A1,NUT,1\r\n1,A2,BOLT,2\r\n" << 3;
    QTest::newRow("ID not a number") << header + "one,A1,NUT,1\r\n" << 2;
    QTest::newRow("ID empty") << header + ",A1,NUT,1\r\n" << 2;
    QTest::newRow("not UTF-8") << header + "1,A1,WASHER \xD8 8,1\r\n" << 2;
}

void TestTools::importRefusesBrokenFile() {
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QTemporaryDir folder;
    const QString csvPath = folder.filePath(QStringLiteral("broken.csv"));
    writeFile(csvPath, csv);

    // No catalogue before: none after, and nothing half-built beside it.
    const QString fresh = folder.filePath(QStringLiteral("fresh.mdb"));
    const QStringList before = entries(folder.path());
    ToolProcess run = ToolProcess::run({QStringLiteral("import-catalogue"), csvPath, fresh});
    QVERIFY2(run.exitCode != 0 && !run.crashed, run.describe());
    QVERIFY2(run.errText().contains(QStringLiteral("line %1:").arg(line)), run.describe());
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(entries(folder.path()), before);

    // A catalogue before: the same bytes after.
    const QString existing = folder.filePath(QStringLiteral("parts.mdb"));
    const QString goodCsv = folder.filePath(QStringLiteral("good.csv"));
    writeFile(goodCsv, "DorvaneNum\r\nKEEP1\r\n");
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), goodCsv, existing}).exitCode, 0);
    const QByteArray old = readFile(existing);
    const QStringList withOld = entries(folder.path());
    run = ToolProcess::run({QStringLiteral("import-catalogue"), csvPath, existing});
    QVERIFY2(run.exitCode != 0, run.describe());
    QCOMPARE(readFile(existing), old);
    QCOMPARE(entries(folder.path()), withOld);
}

void TestTools::importReplacesWhileOldFileIsOpen() {
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    const QString first = folder.filePath(QStringLiteral("first.csv"));
    const QString second = folder.filePath(QStringLiteral("second.csv"));
    writeFile(first, "DorvaneNum\r\nOLD1\r\nOLD2\r\n");
    writeFile(second, "DorvaneNum\r\nNEW1\r\n");
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), first, db}).exitCode, 0);

    // A running program holds the old catalogue open while a new one is put in place.
    auto running = Database::open(db, Database::Access::ReadOnly);
    QCOMPARE(running->openRecordset(QStringLiteral("SELECT * FROM Parts")).recordCount(), 2);
    const ToolProcess run = ToolProcess::run({QStringLiteral("import-catalogue"), second, db});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(running->openRecordset(QStringLiteral("SELECT * FROM Parts")).recordCount(), 2);
    auto reopened = Database::open(db, Database::Access::ReadOnly);
    Recordset rows = reopened->openRecordset(QStringLiteral("SELECT DorvaneNum FROM Parts"));
    QCOMPARE(rows.recordCount(), 1);
    QCOMPARE(rows.field(0).toText(), QStringLiteral("NEW1"));
}

void TestTools::demoIsDeterministic() {
    QTemporaryDir folder;
    const auto generate = [&](const QString& name, const QString& seed) {
        const QString out = folder.filePath(name);
        const ToolProcess run = ToolProcess::run(
            {QStringLiteral("demo-catalogue"), QStringLiteral("--parts"), QStringLiteral("400"),
             QStringLiteral("--seed"), seed, QStringLiteral("--out"), out});
        if (run.exitCode != 0)
            qWarning("%s", run.describe().constData());
        return readFile(out + QStringLiteral("/parts.csv"));
    };
    const QByteArray a = generate(QStringLiteral("a"), QStringLiteral("42"));
    const QByteArray b = generate(QStringLiteral("b"), QStringLiteral("42"));
    const QByteArray c = generate(QStringLiteral("c"), QStringLiteral("43"));
    QVERIFY(!a.isEmpty());
    QCOMPARE(QCryptographicHash::hash(a, QCryptographicHash::Sha256),
             QCryptographicHash::hash(b, QCryptographicHash::Sha256));
    QVERIFY(a != c);
    QCOMPARE(entries(folder.filePath(QStringLiteral("a/images"))),
             entries(folder.filePath(QStringLiteral("b/images"))));
}

void TestTools::demoHasTheShapeOfACatalogue() {
    QTemporaryDir folder;
    const int parts = 2000;
    const QString out = folder.filePath(QStringLiteral("demo"));
    ToolProcess run = ToolProcess::run({QStringLiteral("demo-catalogue"), QStringLiteral("--parts"),
                                        QString::number(parts), QStringLiteral("--seed"),
                                        QStringLiteral("7"), QStringLiteral("--out"), out});
    QVERIFY2(run.exitCode == 0, run.describe());

    const QList<QStringList> records =
        parseCsv(QString::fromUtf8(readFile(out + QStringLiteral("/parts.csv"))));
    QCOMPARE(records.size(), parts + 1);
    const QStringList header = records.front();
    QCOMPARE(header, Schema::partsColumns());
    const auto column = [&](const char* name) { return header.indexOf(QLatin1String(name)); };

    int dorvaneOnly = 0, superseded = 0, withPictures = 0, zeroPrices = 0, zeroCodes = 0;
    QSet<QString> pictureNames;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList& part = records[r];
        QCOMPARE(part.size(), header.size());
        QCOMPARE(part[column("ID")], QString::number(r));
        QVERIFY(!part[column("DorvaneNum")].isEmpty());
        QVERIFY(!part[column("Description")].isEmpty());
        if (part[column("RoverNum")] == u"Dorvane Only")
            ++dorvaneOnly;
        if (!part[column("RoverSuper1")].isEmpty())
            ++superseded;
        const auto price = Money::fromPlainText(part[column("CustomerPrice")]);
        QVERIFY2(price.has_value(), qPrintable(part[column("CustomerPrice")]));
        if (price->isZero())
            ++zeroPrices;
        if (part[column("LRDiscountCode")] == u"0")
            ++zeroCodes;
        QVERIFY(!part[column("Application1")].isEmpty());
        for (int k = 1; k <= 9; ++k) {
            const QString vehicle =
                part[column(qPrintable(QStringLiteral("Application%1").arg(k)))];
            QVERIFY2(vehicle.isEmpty() || vehicleNames.contains(vehicle), qPrintable(vehicle));
        }
        if (!part[column("Picture1")].isEmpty())
            ++withPictures;
        for (int k = 1; k <= 9; ++k) {
            const QString picture = part[column(qPrintable(QStringLiteral("Picture%1").arg(k)))];
            if (!picture.isEmpty())
                pictureNames.insert(picture);
        }
    }
    QVERIFY2(dorvaneOnly >= parts * 3 / 100 && dorvaneOnly <= parts * 7 / 100,
             qPrintable(QString::number(dorvaneOnly)));
    QVERIFY2(superseded >= parts * 24 / 100 && superseded <= parts * 36 / 100,
             qPrintable(QString::number(superseded)));
    QVERIFY2(withPictures >= parts * 11 / 100 && withPictures <= parts * 19 / 100,
             qPrintable(QString::number(withPictures)));
    QVERIFY(zeroPrices > 0);
    QVERIFY(zeroCodes > 0);

    // Every picture named is there: photographs load as images, pages are HTML of both endings.
    int pages = 0, longPages = 0;
    for (const QString& name : std::as_const(pictureNames)) {
        const QString path = out + QStringLiteral("/images/") + name;
        QVERIFY2(QFile::exists(path), qPrintable(path));
        if (name.endsWith(QLatin1String(".jpg"))) {
            const QImage image(path);
            QVERIFY2(!image.isNull() && image.width() >= 200 && image.height() >= 150,
                     qPrintable(path));
        } else {
            QVERIFY2(name.endsWith(QLatin1String(".htm")) || name.endsWith(QLatin1String(".html")),
                     qPrintable(name));
            ++pages;
            if (name.endsWith(QLatin1String(".html")))
                ++longPages;
            QVERIFY(readFile(path).contains("<html>"));
        }
    }
    QVERIFY(pages > longPages && longPages > 0);

    // The catalogue goes into a store as it is.
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    run = ToolProcess::run(
        {QStringLiteral("import-catalogue"), out + QStringLiteral("/parts.csv"), db});
    QVERIFY2(run.exitCode == 0, run.describe());
    auto store = Database::open(db, Database::Access::ReadOnly);
    QCOMPARE(store->openRecordset(QStringLiteral("SELECT ID FROM Parts")).recordCount(), parts);
}

void TestTools::initTestCase() {
    QVERIFY(dir_.isValid());
    const QString csv = dir_.filePath(QStringLiteral("q.csv"));
    writeFile(csv, "ID,DorvaneNum,RoverNum,Description,CustomerPrice,Brand\r\n"
                   "1,OF1001,ERR1234,OIL FILTER,12.50,\r\n"
                   "2,OF1002,LR012345,\"TAB\tAND\nBREAK\",0.25,\r\n"
                   "3,OF1003,STC9999,AIR FILTER,,CORVEX\r\n");
    queryCatalogue_ = dir_.filePath(QStringLiteral("q.mdb"));
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), csv, queryCatalogue_}).exitCode,
             0);
}

void TestTools::query_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // the output when done, a piece of the error if not
    QTest::newRow("rows, one a line")
        << "SELECT ID, RoverNum, Description, CustomerPrice, Brand FROM Parts WHERE (RoverNum LIKE "
           "'*12*') ORDER BY ID ASC"
        << 0
        << "ID\tRoverNum\tDescription\tCustomerPrice\tBrand\n1\tERR1234\tOIL FILTER\t12.5\t\n"
           "2\tLR012345\tTAB\\tAND\\nBREAK\t0.25\t\n";
    QTest::newRow("no rows: the header") << "SELECT ID FROM Parts WHERE ID = 99" << 0 << "ID\n";
    QTest::newRow("NUL in a value") << "SELECT 'A' || char(0) || 'B' AS v" << 0 << "v\nA\\0B\n";
    QTest::newRow("SELECT after a comment")
        << "-- the oil filter\nSELECT ID FROM Parts WHERE RoverNum = 'ERR1234'" << 0 << "ID\n1\n";
    QTest::newRow("WITH ... SELECT")
        << "WITH f AS (SELECT ID FROM Parts WHERE Description LIKE '*FILTER*') SELECT "
           "count(*) AS n FROM f"
        << 0 << "n\n2\n";
    QTest::newRow("PRAGMA that answers") << "PRAGMA foreign_keys" << 0 << "foreign_keys\n0\n";
    QTest::newRow("UPDATE") << "UPDATE Parts SET Brand = 'VELMORA' WHERE Description LIKE "
                               "'*filter*'"
                            << 0 << "2\n";
    QTest::newRow("DELETE: its rows, not the index's")
        << "DELETE * FROM Parts WHERE ID = 2" << 0 << "1\n";
    QTest::newRow("WITH ... DELETE")
        << "WITH gone AS (SELECT 3 AS ID) DELETE FROM Parts WHERE ID IN gone" << 0 << "1\n";
    QTest::newRow("two statements")
        << "PRAGMA foreign_keys; DELETE * FROM Parts WHERE ID = 2" << 1 << "Only one statement";
    QTest::newRow("no such table") << "SELECT * FROM NoSuchTable" << 1 << "NoSuchTable";
    QTest::newRow("not SQL") << "SELEC * FROM Parts" << 1 << "syntax error";
    QTest::newRow("not an amount") << "UPDATE Parts SET CustomerPrice = 'cheap'" << 1 << "cheap";
}

void TestTools::query() {
    QFETCH(QString, statement);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("q.mdb"));
    QVERIFY(QFile::copy(queryCatalogue_, db));
    const QByteArray before = readFile(db);
    const ToolProcess run = ToolProcess::run({QStringLiteral("query"), db, statement});
    QVERIFY2(run.exitCode == exitCode && !run.crashed, run.describe());
    if (exitCode == 0) {
        QCOMPARE(run.outText(), expected);
        return;
    }
    QVERIFY2(run.errText().contains(expected) && run.out.isEmpty(), run.describe());
    QCOMPARE(readFile(db), before);
    QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("q.mdb")});
}

void TestTools::catalogueLeftMidChange_data() {
    QTest::addColumn<QStringList>("command"); // the file goes after the command's name
    QTest::addColumn<bool>("readOnly");       // the folder
    QTest::addColumn<QString>("expected");    // what it prints when the change is undone
    const QStringList check{QStringLiteral("check")};
    const QStringList search{QStringLiteral("query"),
                             QStringLiteral("SELECT count(*) AS n FROM Parts WHERE Description "
                                            "LIKE '*FILTER*'")};
    QTest::newRow("check") << check << false << "ok\n";
    QTest::newRow("search") << search << false << "n\n150\n";
    QTest::newRow("check, read-only") << check << true << "";
    QTest::newRow("search, read-only") << search << true << "";
    QTest::newRow("change, read-only")
        << QStringList{QStringLiteral("query"), QStringLiteral("DELETE * FROM Parts")} << true
        << "";
}

// A catalogue as an update killed half-way leaves it: the file partly changed, and beside it the
// journal that undoes the change.
void TestTools::catalogueLeftMidChange() {
    QFETCH(QStringList, command);
    QFETCH(bool, readOnly);
    QFETCH(QString, expected);
    QTemporaryDir folder;
    const QString csv = folder.filePath(QStringLiteral("big.csv"));
    QByteArray rows = "DorvaneNum,Description\r\n";
    for (int i = 0; i < 300; ++i)
        rows += "N" + QByteArray::number(i) + (i % 2 ? ",OIL FILTER" : ",BRAKE PAD") +
                " OF A LENGTH THAT FILLS THE PAGES OF THE FILE\r\n";
    writeFile(csv, rows);
    const QString work = folder.filePath(QStringLiteral("work.mdb"));
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), csv, work}).exitCode, 0);
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    {
        auto writer = Database::open(work, Database::Access::ReadWrite);
        writer->execute(QStringLiteral("PRAGMA cache_size = 1")); // the change spills into the file
        quillon::Transaction change(*writer);
        writer->execute(QStringLiteral("UPDATE Parts SET Description = 'CHANGED'"));
        QVERIFY(QFile::copy(work, db) && QFile::copy(work + "-journal", db + "-journal"));
    }
    QVERIFY2(readFile(db) != readFile(work), "the change didn't reach the file");
    const QByteArray journal = readFile(db + "-journal");

    QString why;
    auto place =
        readOnly ? ReadOnlyPlace::make(ReadOnlyPlace::Kind::Folder, folder.path(), &why) : nullptr;
    if (readOnly && !place)
        QSKIP(qPrintable(QStringLiteral("no way to make a folder read-only here: ") + why));
    const ToolProcess run = ToolProcess::run(QStringList{command[0], db} + command.mid(1));
    place.reset();
    if (!readOnly) {
        QVERIFY2(run.exitCode == 0, run.describe());
        QCOMPARE(run.outText(), expected);
        QVERIFY(!QFile::exists(db + "-journal"));
        return;
    }
    // What happened, to which file, and how to mend it; nothing touched.
    QVERIFY2(run.exitCode == 1 && run.out.isEmpty(), run.describe());
    for (const QString& piece :
         {db + "-journal", QStringLiteral("mid-change"), QStringLiteral("quillon-db check ") + db})
        QVERIFY2(run.errText().contains(piece), run.describe());
    QVERIFY2(!run.errText().contains(QStringLiteral("not a valid store")), run.describe());
    QCOMPARE(readFile(db + "-journal"), journal);
}

void TestTools::checkTellsGoodFromGarbage() {
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("good.mdb"));
    const QString csv = folder.filePath(QStringLiteral("c.csv"));
    writeFile(csv, "DorvaneNum\r\nA1\r\n");
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), csv, good}).exitCode, 0);
    ToolProcess run = ToolProcess::run({QStringLiteral("check"), good});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(run.outText(), QStringLiteral("ok\n"));

    const QString garbage = folder.filePath(QStringLiteral("garbage.mdb"));
    QByteArray noise;
    for (int i = 0; i < 8192; ++i)
        noise += static_cast<char>((i * 7919) % 251);
    writeFile(garbage, noise);
    run = ToolProcess::run({QStringLiteral("check"), garbage});
    QVERIFY2(run.exitCode == 1 && !run.crashed, run.describe());
    QVERIFY(!run.outText().startsWith(QStringLiteral("ok")));

    // A store whose pages were damaged in the middle.
    const QString damaged = folder.filePath(QStringLiteral("damaged.mdb"));
    const QString bigCsv = folder.filePath(QStringLiteral("big.csv"));
    QByteArray rows = "DorvaneNum,Description\r\n";
    for (int i = 0; i < 2000; ++i)
        rows += "N" + QByteArray::number(i) + ",A LONG ENOUGH DESCRIPTION OF A PART\r\n";
    writeFile(bigCsv, rows);
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), bigCsv, damaged}).exitCode, 0);
    QByteArray bytes = readFile(damaged);
    QVERIFY(bytes.size() > 16 * 4096);
    for (qsizetype i = 4 * 4096; i < 12 * 4096; ++i)
        bytes[i] = static_cast<char>(0xA5);
    writeFile(damaged, bytes);
    run = ToolProcess::run({QStringLiteral("check"), damaged});
    QVERIFY2(run.exitCode == 1 && !run.crashed, run.describe());
}

void TestTools::userTemplateHasTheUserTables() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("systemuserDB.dat"));
    writeFile(path, "an older template");
    const ToolProcess run = ToolProcess::run({QStringLiteral("make-user-template"), path});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("systemuserDB.dat")});
    auto store = Database::open(path, Database::Access::ReadOnly);
    for (const char* table :
         {"orders", "orderParts", "customParts", "orderCompanyDetails", "deliveryCompanyDetails"}) {
        const Recordset rows =
            store->openRecordset(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
        QVERIFY(rows.bof() && rows.eof());
    }
}

void TestTools::badArgumentsGiveUsage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0;
    QTest::newRow("nothing") << QStringList{} << 2;
    QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << 2;
    QTest::newRow("import without DB")
        << QStringList{QStringLiteral("import-catalogue"), QStringLiteral("a.csv")} << 2;
    QTest::newRow("demo without seed")
        << QStringList{QStringLiteral("demo-catalogue"), QStringLiteral("--parts"),
                       QStringLiteral("10"), QStringLiteral("--out"), QStringLiteral("x")}
        << 2;
    QTest::newRow("demo with bad count") << QStringList{QStringLiteral("demo-catalogue"),
                                                        QStringLiteral("--parts"),
                                                        QStringLiteral("many"),
                                                        QStringLiteral("--seed"),
                                                        QStringLiteral("1"),
                                                        QStringLiteral("--out"),
                                                        QStringLiteral("x")}
                                         << 2;
    QTest::newRow("query without statement")
        << QStringList{QStringLiteral("query"), QStringLiteral("a.mdb")} << 2;
}

void TestTools::badArgumentsGiveUsage() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    const ToolProcess run = ToolProcess::run(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY((exitCode == 0 ? run.outText() : run.errText()).contains(QStringLiteral("Usage:")));
}

QTEST_MAIN(TestTools)
#include "test_tools.moc"
