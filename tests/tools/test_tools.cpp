// Runs the built quillon-db on files made in temporary folders and checks what it writes, what it
// prints and what it leaves behind.
#include "folder_snapshot.h"
#include "platform/instance_lock.h"
#include "read_only_place.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "tool_process.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

using quillon::Database;
using quillon::InstanceLock;
using quillon::Recordset;
using quillon::Schema;
using quillon::tests::folderSnapshot;
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

// The rows of a SELECT, one line each with its fields joined by "|": Null as "-", an amount
// after "£".
QString rowsOf(Database& store, const QString& select) {
    QStringList lines;
    for (Recordset rows = store.openRecordset(select); !rows.eof(); rows.moveNext()) {
        QStringList fields;
        for (int column = 0; column < rows.columnCount(); ++column) {
            const quillon::Value value = rows.field(column);
            fields << (value.isNull()                                 ? QStringLiteral("-")
                       : value.kind() == quillon::Value::Kind::Amount ? u'£' + value.toText()
                                                                      : value.toText());
        }
        lines << fields.join(u'|');
    }
    return lines.join(u'\n');
}

// The folder's files with their contents, and which of them are links to where.
QString folderState(const QString& folder) {
    QString state;
    const QMap<QString, QByteArray> files = folderSnapshot(folder);
    for (auto it = files.begin(); it != files.end(); ++it)
        state += it.key() + u' ' + QString::fromLatin1(it.value().toHex()) + u' ' +
                 QFileInfo(folder + u'/' + it.key()).symLinkTarget() + u'\n';
    return state;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void importReadsFieldsThroughTheEngine_data();
    void importReadsFieldsThroughTheEngine();
    void importReplacesWhileOldFileIsOpen();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void stoppedImportsLeaveNothing_data();
    void stoppedImportsLeaveNothing();
    void restoreSetsAStaleJournalAside();
    void demoIsDeterministic();
    void demoHasTheShapeOfACatalogue();
    void query_data();
    void query();
    void catalogueLeftMidChange_data();
    void catalogueLeftMidChange();

private:
    QTemporaryDir fixture_;  // files of every kind that the tool may be given, made once
    QString queryCatalogue_; // three parts, one with a tab and a line break in its description
};

// The fixture: parts.csv and new.csv (price files), parts.mdb (a catalogue), user.mdb and
// backup.mdb (empty User databases), damaged.mdb (a User database with a damaged table), old.mdb
// with old.mdb.before-restore, notes.txt (no store), other.mdb (a store without Parts), link.mdb
// (a link to parts.mdb) and big.csv (a price file of 9 MB).
void TestTools::initTestCase() {
    QVERIFY(fixture_.isValid());
    const auto file = [&](const char* name) { return fixture_.filePath(QLatin1String(name)); };
    writeFile(file("parts.csv"), "DorvaneNum\r\nKEEP1\r\n");
    writeFile(file("new.csv"), "DorvaneNum\r\nNEW1\r\n");
    writeFile(file("notes.txt"), "not a store\n");
    QCOMPARE(
        ToolProcess::run({QStringLiteral("import-catalogue"), file("parts.csv"), file("parts.mdb")})
            .exitCode,
        0);
    QCOMPARE(ToolProcess::run({QStringLiteral("make-user-template"), file("user.mdb")}).exitCode,
             0);
    QByteArray user = readFile(file("user.mdb"));
    for (const char* copy : {"backup.mdb", "old.mdb", "old.mdb.before-restore"})
        writeFile(file(copy), user);
    user.replace(2 * 4096, 4096, QByteArray(4096, '\xA5'));
    writeFile(file("damaged.mdb"), user);
    Database::create(file("other.mdb"))->execute(QStringLiteral("CREATE TABLE Things (A TEXT)"));
    QVERIFY(QFile::link(file("parts.mdb"), file("link.mdb")));
    writeFile(file("big.csv"),
              "DorvaneNum,Description\r\n" +
                  QByteArray("DV1,A DESCRIPTION LONG ENOUGH FOR A BIG FILE\r\n").repeated(200000));
    const QString csv = fixture_.filePath(QStringLiteral("q.csv"));
    writeFile(csv, "ID,DorvaneNum,RoverNum,Description,CustomerPrice,Brand\r\n"
                   "1,OF1001,ERR1234,OIL FILTER,12.50,\r\n"
                   "2,OF1002,LR012345,\"TAB\tAND\nBREAK\",0.25,\r\n"
                   "3,OF1003,STC9999,AIR FILTER,,CORVEX\r\n");
    queryCatalogue_ = fixture_.filePath(QStringLiteral("q.mdb"));
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), csv, queryCatalogue_}).exitCode,
             0);
}

void TestTools::importReadsFieldsThroughTheEngine_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("CR LF") << QByteArray("\r\n") << QByteArray("description");
    QTest::newRow("LF") << QByteArray("\n") << QByteArray("description");
    QTest::newRow("UTF-8 mark, quoted")
        << QByteArray("\r\n") << QByteArray("\xEF\xBB\xBF\"description\"");
}

void TestTools::importReadsFieldsThroughTheEngine() {
    QFETCH(QByteArray, lineEnd);
    QFETCH(QByteArray, start);
    const QString csv = fixture_.filePath(QStringLiteral("good.csv"));
    const QString db = fixture_.filePath(QStringLiteral("good.mdb"));
    // Columns in another order and letter case; a description with a comma, quotes and a line
    // break; empty fields; amounts plain and in their display form.
    QByteArray text = start +
                      ",id,ROVERNUM,CustomerPrice,LRPrice,DorvaneNum,"
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
    QCOMPARE(
        rowsOf(*store, QStringLiteral("SELECT ID, Description, RoverNum, CustomerPrice, "
                                      "LRPrice, LRDiscountCode, DorvaneNum, AltDorvaneNum, "
                                      "Application1, Picture1 FROM Parts WHERE Description LIKE "
                                      "'*e*' ORDER BY ID ASC")),
        QStringLiteral("3|DRIVER'S DOOR SEAL - Ø 50mm|LR012345|£0.25|£7|A|DS1001|-|Freelander|"
                       "seal.htm\n"
                       "7|WHEEL NUT, 3/4\" \"ALLOY\"|ERR1234|£12.5|£1234.5|0|NU1001|-|Defender|"
                       "nut.jpg\n"
                       "9|GASKET SET\nTOP END|-|£0|-|-|DOR'S 1|-|-|-"));
    QVERIFY(entries(fixture_.path()).filter(QStringLiteral(".tmp")).isEmpty());
}

void TestTools::importReplacesWhileOldFileIsOpen() {
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    const QString first = folder.filePath(QStringLiteral("first.csv"));
    const QString second = fixture_.filePath(QStringLiteral("new.csv"));
    writeFile(first, "DorvaneNum,RoverNum\r\nC3,Z\r\nA1,Y\r\n\r\nB2,X\r\n");
    QCOMPARE(ToolProcess::run({QStringLiteral("import-catalogue"), first, db}).exitCode, 0);

    // A running program holds the old catalogue open while a new one is put in place. Without
    // an ID column the parts are numbered in the order of the file.
    auto running = Database::open(db, Database::Access::ReadOnly);
    const QString parts = QStringLiteral("SELECT ID, DorvaneNum FROM Parts ORDER BY ID ASC");
    QCOMPARE(rowsOf(*running, parts), QStringLiteral("1|C3\n2|A1\n3|B2"));
    const ToolProcess run = ToolProcess::run({QStringLiteral("import-catalogue"), second, db});
    QVERIFY2(run.exitCode == 0, run.describe());
    QCOMPARE(rowsOf(*running, parts), QStringLiteral("1|C3\n2|A1\n3|B2"));
    QCOMPARE(rowsOf(*Database::open(db, Database::Access::ReadOnly), parts),
             QStringLiteral("1|NEW1"));
}

void TestTools::refusalsChangeNothing_data() {
    QTest::addColumn<QString>("arguments"); // file names are those of the fixture
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");   // in what it prints; %1 is the fixture's folder
    QTest::addColumn<QByteArray>("csv"); // written to broken.csv when not empty
    const auto row = [](const char* name, const char* arguments, int exitCode, const char* says,
                        const QByteArray& csv = {}) {
        QTest::newRow(name) << QString::fromUtf8(arguments) << exitCode << QString::fromUtf8(says)
                            << csv;
    };
    const auto broken = [&](const char* name, const QByteArray& csv, const char* says) {
        row(name, "import-catalogue broken.csv parts.mdb", 1, says, csv);
    };
    const QByteArray header = "ID,DorvaneNum,Description,CustomerPrice\r\n";
    broken("bad amount", header + "1,A1,NUT,1.50\r\n2,A2,BOLT,12,50\r\n", "line 3: ");
    broken("text amount", header + "1,A1,NUT,1.50\r\n2,A2,BOLT,abc\r\n", "line 3: ");
    broken("too few fields", header + "1,A1,NUT,1.5\r\n2,A2,BOLT,1\r\n3,A3\r\n", "line 4: ");
    broken("too many fields", header + "1,A1,NUT,1.5,9\r\n", "line 2: ");
    broken("unknown column", "ID,DorvaneNum,Colour\r\n1,A1,red\r\n", "line 1: ");
    broken("column twice", "ID,DorvaneNum,dorvanenum\r\n1,A1,A\r\n", "line 1: ");
    broken("quote never closed", header + "1,A1,NUT,1\r\n2,A2,\"BOLT\r\n3,A3,WASHER,1\r\n",
           "line 3: ");
    broken("quote inside a field", header + "1,A1,3/4\" NUT,1\r\n", "line 2: ");
    broken("text after closing quote", header + "1,A1,\"NUT\"X,1\r\n", "line 2: ");
    broken("line count after quoted break", header + "1,A1,\"TWO\r\nLINES\",1\r\n2,A2,NUT,x\r\n",
           "line 4: ");
    broken("same ID twice", header + "1,A1,NUT,1\r\n1,A2,BOLT,2\r\n", "line 3: ");
    broken("ID not a number", header + "one,A1,NUT,1\r\n", "line 2: ");
    broken("ID empty", header + ",A1,NUT,1\r\n", "line 2: ");
    broken("not UTF-8", header + "1,A1,WASHER \xD8 8,1\r\n", "line 2: ");
    broken("UTF-8 mark on a later line",
           "\xEF\xBB\xBFID,DorvaneNum\r\n1,A1\r\n\xEF\xBB\xBF\"2\",A2\r\n",
           "line 3: a UTF-8 byte-order mark");
    broken("UTF-8 mark inside a field", header + "1,A1,NUT\xEF\xBB\xBF,1\r\n",
           "line 2: a UTF-8 byte-order mark");
    broken("empty file", "\xEF\xBB\xBF", "line 1: ");
    broken("no parts", "ID,DorvaneNum\r\n\r\n", "no parts");
    row("a store as price file", "import-catalogue user.mdb parts.mdb", 1, "not a price file");
    row("into the price file", "import-catalogue new.csv new.csv", 1, "the price file itself");
    row("into a User database", "import-catalogue new.csv user.mdb", 1, "is a User database");
    row("into no store", "import-catalogue new.csv notes.txt", 1, "not a store");
    row("into a store without Parts", "import-catalogue new.csv other.mdb", 1, "without a Parts");
    row("into a link", "import-catalogue new.csv link.mdb", 1,
        "is a link to %1/parts.mdb: give %1/parts.mdb itself");
    row("restore a damaged backup", "restore-user-data damaged.mdb user.mdb", 1,
        "damaged.mdb is not a sound User database");
    row("restore a catalogue", "restore-user-data parts.mdb user.mdb", 1,
        "parts.mdb is not a sound User database");
    row("restore over a catalogue", "restore-user-data backup.mdb parts.mdb", 1,
        "not a User database");
    row("restore twice", "restore-user-data backup.mdb old.mdb", 1,
        "old.mdb.before-restore is there from an earlier restore");
    row("restore while the program runs", "restore-user-data backup.mdb user.mdb", 1,
        "Dorvane Quillon is running on the folder %1");
    row("check a catalogue", "check parts.mdb", 0, "ok\n");
    row("check no store", "check notes.txt", 1, "not a valid store");
    row("check a damaged store", "check damaged.mdb", 1, "malformed");
    row("help", "--help", 0, "restore-user-data BACKUP USERDB");
    row("nothing", "", 2, "Usage:");
    row("unknown command", "frobnicate", 2, "Usage:");
    row("import without DB", "import-catalogue a.csv", 2, "Usage:");
    row("demo without seed", "demo-catalogue --parts 10 --out x", 2, "Usage:");
    row("demo with bad count", "demo-catalogue --parts many --seed 1 --out x", 2, "Usage:");
    row("query without statement", "query a.mdb", 2, "Usage:");
}

void TestTools::refusalsChangeNothing() {
    QFETCH(QString, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QFETCH(QByteArray, csv);
    const QString folder = QFileInfo(fixture_.path()).canonicalFilePath();
    if (!csv.isEmpty())
        writeFile(fixture_.filePath(QStringLiteral("broken.csv")), csv);
    std::unique_ptr<InstanceLock> program;
    if (QByteArray(QTest::currentDataTag()).contains("program runs")) {
        program = std::make_unique<InstanceLock>(folder);
        QCOMPARE(program->tryAcquire(), InstanceLock::Outcome::Acquired);
    }
    QStringList given = arguments.split(u' ', Qt::SkipEmptyParts);
    for (QString& argument : given) {
        if (QFileInfo::exists(fixture_.filePath(argument)) || argument.endsWith(u".csv"))
            argument = fixture_.filePath(argument);
    }
    const QString before = folderState(folder);
    const ToolProcess run = ToolProcess::run(given);
    QVERIFY2(run.exitCode == exitCode && !run.crashed, run.describe());
    QVERIFY2((run.outText() + run.errText()).contains(says.replace(QStringLiteral("%1"), folder)),
             run.describe());
    QCOMPARE(folderState(folder), before);
}

// An import stopped part way leaves the folder as it was: SIGINT and SIGTERM at once, SIGKILL
// (which can't be caught) from the next import there.
void TestTools::stoppedImportsLeaveNothing_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGKILL") << int(SIGKILL);
}

void TestTools::stoppedImportsLeaveNothing() {
    QFETCH(int, signal);
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    QVERIFY(QFile::copy(fixture_.filePath(QStringLiteral("parts.mdb")), db));
    const QString before = folderState(folder.path());

    QProcess run;
    // The signals as a terminal delivers them, whatever this test was started with.
    run.setChildProcessModifier([] { ::signal(SIGINT, SIG_DFL); });
    run.start(QStringLiteral(QUILLON_DB_PATH), {QStringLiteral("import-catalogue"),
                                                fixture_.filePath(QStringLiteral("big.csv")), db});
    QVERIFY(run.waitForStarted());
    // Its first progress report comes when the new catalogue is part built.
    run.setReadChannel(QProcess::StandardError);
    while (!run.readAllStandardError().contains('%') && run.state() == QProcess::Running)
        run.waitForReadyRead(1000);
    QVERIFY2(run.state() == QProcess::Running, "the import ended before it could be stopped");
    QVERIFY(entries(folder.path()).filter(QStringLiteral(".tmp-journal")).size() == 1);
    ::kill(pid_t(run.processId()), signal);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitStatus(), QProcess::CrashExit);
    if (signal == SIGKILL) {
        // The next import removes what the killed one left, and nothing of a run still going.
        const QString running = QStringLiteral(".parts.mdb.%1-0badf00d.tmp").arg(::getpid());
        writeFile(folder.filePath(running), "a run still going");
        const ToolProcess next = ToolProcess::run({QStringLiteral("import-catalogue"),
                                                   fixture_.filePath(QStringLiteral("new.csv")),
                                                   folder.filePath(QStringLiteral("other.mdb"))});
        QVERIFY2(next.exitCode == 0 && next.errText().contains(QStringLiteral("removed 2")),
                 next.describe());
        QVERIFY(QFile::remove(folder.filePath(running)));
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("other.mdb"))));
    }
    QCOMPARE(folderState(folder.path()), before);
}

// A User database left with the journal of an interrupted change: copied over, the backup would
// be spoilt by that journal at the next start. Restored, it holds the backup's data, and the old
// file with its journal is kept, still recoverable.
void TestTools::restoreSetsAStaleJournalAside() {
    QTemporaryDir folder;
    const auto file = [&](const char* name) { return folder.filePath(QLatin1String(name)); };
    const auto orders = [](const QString& path) {
        auto store = Database::open(path, Database::Access::ReadWrite);
        return store->integrityCheck().join(u' ') +
               rowsOf(*store, QStringLiteral("SELECT OrderNum FROM orders"));
    };
    QVERIFY(QFile::copy(fixture_.filePath(QStringLiteral("user.mdb")), file("user.mdb")));
    for (int order = 1; order <= 3; ++order) {
        Database::open(file("user.mdb"), Database::Access::ReadWrite)
            ->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT '01/02/2026' AS X"));
        if (order == 1)
            QVERIFY(QFile::copy(file("user.mdb"), file("userdatabackup.mdb")));
    }
    // A change under way, its pages partly written, as a crash would leave it.
    QVERIFY(QFile::copy(file("user.mdb"), file("work.mdb")));
    sqlite3* work = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(file("work.mdb")).constData(), &work), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(work, sqlite3_close);
    QCOMPARE(sqlite3_exec(work,
                          "PRAGMA cache_size = 1; BEGIN; DELETE FROM orders; CREATE TABLE "
                          "Filler (A TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                          "i + 1 FROM n WHERE i < 2000) INSERT INTO Filler SELECT "
                          "printf('%.500c', 'x') FROM n",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    QVERIFY(QFile::remove(file("user.mdb")));
    QVERIFY(QFile::copy(file("work.mdb"), file("user.mdb")));
    QVERIFY(QFile::copy(file("work.mdb-journal"), file("user.mdb-journal")));
    const QByteArray backup = readFile(file("userdatabackup.mdb"));

    const ToolProcess run = ToolProcess::run(
        {QStringLiteral("restore-user-data"), file("userdatabackup.mdb"), file("user.mdb")});
    QVERIFY2(run.exitCode == 0, run.describe());
    QVERIFY(!QFile::exists(file("user.mdb-journal")));
    QCOMPARE(orders(file("user.mdb")), QStringLiteral("1"));
    QCOMPARE(readFile(file("userdatabackup.mdb")), backup);
    QVERIFY(QFile::exists(file("user.mdb.before-restore-journal")));
    QCOMPARE(orders(file("user.mdb.before-restore")), QStringLiteral("1\n2\n3"));
}

void TestTools::demoIsDeterministic() {
    QTemporaryDir folder;
    const auto generate = [&](const char* name, const char* seed) {
        const QString out = folder.filePath(QLatin1String(name));
        ToolProcess::run({QStringLiteral("demo-catalogue"), QStringLiteral("--parts"),
                          QStringLiteral("400"), QStringLiteral("--seed"), QLatin1String(seed),
                          QStringLiteral("--out"), out});
        return readFile(out + QStringLiteral("/parts.csv")) +
               entries(out + QStringLiteral("/images")).join(u',').toUtf8();
    };
    const QByteArray a = generate("a", "42");
    QVERIFY(a.size() > 10000);
    QVERIFY(a == generate("b", "42"));
    QVERIFY(a != generate("c", "43"));
}

void TestTools::demoHasTheShapeOfACatalogue() {
    QTemporaryDir folder;
    const int parts = 2000;
    const QString out = folder.filePath(QStringLiteral("demo"));
    ToolProcess run = ToolProcess::run({QStringLiteral("demo-catalogue"), QStringLiteral("--parts"),
                                        QString::number(parts), QStringLiteral("--seed"),
                                        QStringLiteral("7"), QStringLiteral("--out"), out});
    QVERIFY2(run.exitCode == 0, run.describe());

    // The price file names the Parts columns in table order, and goes into a store as it is.
    QCOMPARE(readFile(out + QStringLiteral("/parts.csv")).split('\n').first().trimmed(),
             Schema::partsColumns().join(u',').toUtf8());
    const QString db = folder.filePath(QStringLiteral("parts.mdb"));
    run = ToolProcess::run(
        {QStringLiteral("import-catalogue"), out + QStringLiteral("/parts.csv"), db});
    QVERIFY2(run.exitCode == 0, run.describe());
    auto store = Database::open(db, Database::Access::ReadOnly);
    const auto count = [&](const QString& where) {
        return store->openRecordset(QStringLiteral("SELECT ID FROM Parts WHERE ") + where)
            .recordCount();
    };
    QCOMPARE(count(QStringLiteral("ID BETWEEN 1 AND %1").arg(parts)), parts);
    QStringList faults{QStringLiteral("DorvaneNum IS NULL OR Description IS NULL OR Application1 "
                                      "IS NULL OR CustomerPrice IS NULL")};
    QStringList pictureColumns;
    for (int k = 1; k <= 9; ++k) {
        faults << QStringLiteral("Application%1 NOT IN ('%2')")
                      .arg(k)
                      .arg(vehicleNames.join(QStringLiteral("', '")));
        pictureColumns << QStringLiteral("Picture%1").arg(k);
    }
    QCOMPARE(count(faults.join(QStringLiteral(" OR "))), 0);
    for (const auto& [where, low, high] :
         {std::tuple(QStringLiteral("RoverNum = 'Dorvane Only'"), 3, 7),
          std::tuple(QStringLiteral("RoverSuper1 IS NOT NULL"), 24, 36),
          std::tuple(QStringLiteral("Picture1 IS NOT NULL"), 11, 19)}) {
        const int found = count(where);
        QVERIFY2(found >= parts * low / 100 && found <= parts * high / 100,
                 qPrintable(QStringLiteral("%1: %2").arg(where).arg(found)));
    }
    QVERIFY(count(QStringLiteral("CustomerPrice = 0")) > 0);
    QVERIFY(count(QStringLiteral("LRDiscountCode = '0'")) > 0);
    QSet<QString> pictureNames;
    for (const QString& name :
         rowsOf(*store, QStringLiteral("SELECT %1 FROM Parts").arg(pictureColumns.join(u',')))
             .split(QRegularExpression(QStringLiteral("[|\n]"))))
        pictureNames.insert(name);
    pictureNames.remove(QStringLiteral("-"));

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

QTEST_MAIN(TestTools)
#include "test_tools.moc"
