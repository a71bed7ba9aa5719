// The built quillon-db and dorvane-quillon, run as a support person and a user run them: what
// they write, print and leave behind; and where the program finds its Application folder when it
// is installed.
#include "app/start_up.h"
#include "folder_snapshot.h"
#include "platform/app_folder_error.h"
#include "platform/app_folder_locator.h"
#include "platform/instance_lock.h"
#include "platform/per_user_folder.h"
#include "program_run.h"
#include "read_only_place.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "test_app_folder.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::folderSnapshot;
using quillon::tests::ProgramRun;
using quillon::tests::ReadOnlyPlace;

namespace {

// A program run to its end (at most two minutes): its exit code (-1: it crashed) and output.
struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QString text() const { return QString::fromUtf8(out + err); }
    QByteArray describe() const {
        return "exit " + QByteArray::number(exitCode) + ": " + out + err;
    }
};

Run run(const QStringList& arguments, const QString& program = QStringLiteral(QUILLON_DB_PATH),
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("can't write %s", qPrintable(path));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A catalogue of these parts (Dorvane numbers), made by quillon-db at path.
void importParts(const QString& path, const QStringList& numbers) {
    QTemporaryDir work;
    QByteArray csv = "DorvaneNum,RoverNum,Description,CustomerPrice\n";
    for (const QString& number : numbers)
        csv += u"%1,ERR%1,OIL FILTER,12.5\n"_s.arg(number).toUtf8();
    writeFile(work.filePath(u"p.csv"_s), csv);
    const Run done = run({u"import-catalogue"_s, work.filePath(u"p.csv"_s), path});
    if (done.exitCode != 0)
        qFatal("import-catalogue failed: %s", done.describe().constData());
}

// The rows of a SELECT, one line each, fields joined by "|", Null as "-", an amount after "£".
QString rowsOf(Database& store, const QString& select) {
    QStringList lines;
    for (Recordset rows = store.openRecordset(select); !rows.eof(); rows.moveNext()) {
        QStringList fields;
        for (int column = 0; column < rows.columnCount(); ++column) {
            const Value value = rows.field(column);
            fields << (value.isNull()                        ? u"-"_s
                       : value.kind() == Value::Kind::Amount ? u'£' + value.toText()
                                                             : value.toText());
        }
        lines << fields.join(u'|');
    }
    return lines.join(u'\n');
}

// A User database of one order of these many lines at path.
void makeUserStore(const QString& path, int lines) {
    const auto db = Database::create(path);
    Schema::createUser(*db);
    const QByteArray fill = "INSERT INTO orders(OrderDate) VALUES ('01/02/2026'); WITH RECURSIVE "
                            "n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                            QByteArray::number(lines) +
                            ") INSERT INTO orderParts(OrderNum, DorvaneNum, Comments) SELECT 1, "
                            "'DA' || i, printf('%.200c', 'c') FROM n";
    if (sqlite3_exec(db->handle(), fill.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("can't fill %s: %s", qPrintable(path), sqlite3_errmsg(db->handle()));
}

// An installed system: <root>/usr/bin, the read-only <root>/usr/share/dorvane-quillon (the
// shipped files, a catalogue of DA1001 and the template) and <root>/home.
struct Install {
    QTemporaryDir root;
    QString bin = root.filePath(u"usr/bin"_s);
    QString installed = root.filePath(u"usr/share/dorvane-quillon"_s);
    QString home = root.filePath(u"home"_s);
    QString dataHome = home + u"/.local/share"_s;
    QString user = dataHome + u"/dorvane-quillon"_s;
    // The folders' names as the system gives them, when a test sets them.
    QByteArray programName, userName;

    Install() {
        QDir().mkpath(bin);
        QDir().mkpath(home);
        const QString data = qEnvironmentVariable("QUILLON_TEST_DATA");
        QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString target = installed + u'/' + QDir(data).relativeFilePath(it.next());
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(it.filePath(), target);
        }
        importParts(installed + u"/parts.mdb"_s, {u"DA1001"_s});
        Schema::createUser(*Database::create(installed + u"/systemuserDB.dat"_s));
        QDirIterator files(installed, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            QFile::setPermissions(files.next(), QFile::ReadOwner | QFile::ReadGroup);
    }
    // The folder found from the program in programFolder (default bin), which the process may
    // write or not, and completed, as the start that holds it completes it.
    AppFolderLocator::Location locate(bool canWrite = false, QString programFolder = {},
                                      const QStringList& more = {}) const {
        const auto location = AppFolderLocator({programFolder.isEmpty() ? bin : programFolder, user,
                                                [canWrite](const QString&) { return canWrite; },
                                                programName, userName})
                                  .locate(QStringList{u"dorvane-quillon"_s} + more);
        AppFolderLocator::complete(location);
        return location;
    }
};

QString searched(ProgramRun& program, const QString& number) {
    program.find<QLineEdit>(u"txtPart"_s)->setText(number);
    QTest::mouseClick(program.find<QPushButton>(u"cmdSearchPart"_s), Qt::LeftButton);
    return program.window->statusText() == u"No Parts Found!"
               ? QString()
               : program.state.selectedPart.dorvaneNum;
}

} // namespace

class TestTools : public QObject {
    Q_OBJECT

    QTemporaryDir fixture_; // files of every kind the tool may be given, made once

private slots:
    // parts.csv, new.csv (price files), parts.mdb (a catalogue), user.mdb and backup.mdb (empty
    // User databases), damaged.mdb, old.mdb with old.mdb.before-restore, notes.txt (no store),
    // other.mdb (a store without Parts), link.mdb (a link to parts.mdb) and q.mdb.
    void initTestCase() {
        const auto file = [&](const char* name) { return fixture_.filePath(QLatin1String(name)); };
        writeFile(file("parts.csv"), "DorvaneNum\r\nKEEP1\r\n");
        writeFile(file("new.csv"), "DorvaneNum\r\nNEW1\r\n");
        writeFile(file("notes.txt"), "not a store\n");
        QCOMPARE(run({u"import-catalogue"_s, file("parts.csv"), file("parts.mdb")}).exitCode, 0);
        QCOMPARE(run({u"make-user-template"_s, file("user.mdb")}).exitCode, 0);
        QByteArray user = readFile(file("user.mdb"));
        for (const char* copy : {"backup.mdb", "old.mdb", "old.mdb.before-restore"})
            writeFile(file(copy), user);
        writeFile(file("damaged.mdb"), user.replace(2 * 4096, 4096, QByteArray(4096, '\xA5')));
        Database::create(file("other.mdb"))->execute(u"CREATE TABLE Things (A TEXT)"_s);
        QVERIFY(QFile::link(file("parts.mdb"), file("link.mdb")));
        writeFile(file("q.csv"), "ID,DorvaneNum,RoverNum,Description,CustomerPrice,Brand\r\n"
                                 "1,OF1001,ERR1234,OIL FILTER,12.50,\r\n"
                                 "2,OF1002,LR012345,\"TAB\tAND\nBREAK\",0.25,\r\n"
                                 "3,OF1003,STC9999,AIR FILTER,,CORVEX\r\n");
        QCOMPARE(run({u"import-catalogue"_s, file("q.csv"), file("q.mdb")}).exitCode, 0);
    }

    void importReadsFields_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("CR LF") << QByteArray("\r\n") << QByteArray("description");
        QTest::newRow("LF") << QByteArray("\n") << QByteArray("description");
        const QByteArray mark = "\xEF\xBB\xBF";
        QTest::newRow("UTF-8 mark, quoted") << QByteArray("\r\n") << mark + "\"description\"";
    }

    // Columns in another order and letter case; a description with a comma, quotes and a line
    // break; empty fields; amounts plain and in their display form.
    void importReadsFields() {
        QFETCH(QByteArray, lineEnd);
        QFETCH(QByteArray, start);
        QTemporaryDir folder;
        const QString csv = folder.filePath(u"good.csv"_s);
        const QString db = folder.filePath(u"parts.mdb"_s);
        QVERIFY(QFile::copy(fixture_.filePath(u"parts.mdb"_s), db));
        writeFile(csv, start +
                           ",id,ROVERNUM,CustomerPrice,LRPrice,DorvaneNum,LRDiscountCode,"
                           "Application1,Picture1" +
                           lineEnd +
                           "\"WHEEL NUT, 3/4\"\" \"\"ALLOY\"\"\",7,ERR1234,12.5,\"\xC2\xA3"
                           "1,234.50\",NU1001,0,Defender,nut.jpg" +
                           lineEnd + "\"GASKET SET\nTOP END\",9,,0,,DOR'S 1,,,\"\"" + lineEnd +
                           "DRIVER'S DOOR SEAL - \xC3\x98 50mm,3,LR012345,.25, 7 ,DS1001,A,"
                           "Freelander,seal.htm" +
                           lineEnd);
        const Run done = run({u"import-catalogue"_s, csv, db});
        QVERIFY2(done.exitCode == 0, done.describe());
        auto store = Database::open(db, Database::Access::ReadOnly);
        QCOMPARE(rowsOf(*store, u"SELECT ID, Description, RoverNum, CustomerPrice, LRPrice, "
                                u"LRDiscountCode, DorvaneNum, AltDorvaneNum, Application1, "
                                u"Picture1 FROM Parts WHERE Description LIKE '*e*' ORDER BY "
                                u"ID ASC"_s),
                 u"3|DRIVER'S DOOR SEAL - Ø 50mm|LR012345|£0.25|£7|A|DS1001|-|Freelander|"
                 u"seal.htm\n7|WHEEL NUT, 3/4\" \"ALLOY\"|ERR1234|£12.5|£1234.5|0|NU1001|-|"
                 u"Defender|nut.jpg\n9|GASKET SET\nTOP END|-|£0|-|-|DOR'S 1|-|-|-"_s);
        QCOMPARE(entries(folder.path()), (QStringList{u"good.csv"_s, u"parts.mdb"_s}));
    }

    // Refusals and answers of both programs: the exit code, what they print, and the folder (with
    // the home the program is given) left as it was.
    void commandLines_data() {
        QTest::addColumn<QString>("arguments"); // file names are those of the fixture
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");   // %1: the fixture's folder
        QTest::addColumn<QByteArray>("csv"); // written to broken.csv when not empty
        const auto row = [](const char* name, const char* arguments, int exitCode, const char* says,
                            const QByteArray& csv = {}) {
            QTest::newRow(name) << QString::fromUtf8(arguments) << exitCode
                                << QString::fromUtf8(says) << csv;
        };
        const auto broken = [&](const char* name, const QByteArray& csv, const char* says) {
            row(name, "import-catalogue broken.csv parts.mdb", 1, says, csv);
        };
        const QByteArray header = "ID,DorvaneNum,Description,CustomerPrice\r\n";
        broken("bad amount", header + "1,A1,NUT,1.50\r\n2,A2,BOLT,12,50\r\n", "line 3: ");
        broken("too few fields", header + "1,A1,NUT,1.5\r\n2,A2,BOLT,1\r\n3,A3\r\n", "line 4: ");
        broken("unknown column", "ID,DorvaneNum,Colour\r\n1,A1,red\r\n", "line 1: ");
        broken("quote never closed", header + "1,A1,NUT,1\r\n2,A2,\"BOLT\r\n3,A3,W,1\r\n",
               "line 3: ");
        broken("line count after quoted break", header + "1,A1,\"TWO\r\nLINES\",1\r\n2,A2,N,x\r\n",
               "line 4: ");
        broken("same ID twice", header + "1,A1,NUT,1\r\n1,A2,BOLT,2\r\n", "line 3: ");
        broken("not UTF-8", header + "1,A1,WASHER \xD8 8,1\r\n", "line 2: ");
        broken("UTF-8 mark on a later line",
               "\xEF\xBB\xBFID,DorvaneNum\r\n1,A1\r\n\xEF\xBB\xBF\"2\",A2\r\n",
               "line 3: a UTF-8 byte-order mark");
        broken("no parts", "ID,DorvaneNum\r\n\r\n", "no parts");
        row("a store as price file", "import-catalogue user.mdb parts.mdb", 1, "not a price file");
        row("into the price file", "import-catalogue new.csv new.csv", 1, "the price file itself");
        row("into a User database", "import-catalogue new.csv user.mdb", 1, "is a User database");
        row("into no store", "import-catalogue new.csv notes.txt", 1, "not a store");
        row("into a store without Parts", "import-catalogue new.csv other.mdb", 1,
            "without a Parts");
        row("into a link", "import-catalogue new.csv link.mdb", 1,
            "is a link to %1/parts.mdb: give %1/parts.mdb itself");
        row("restore a damaged backup", "restore-user-data damaged.mdb user.mdb", 1,
            "damaged.mdb is not a sound User database");
        row("restore over a catalogue", "restore-user-data backup.mdb parts.mdb", 1,
            "not a User database");
        row("restore twice", "restore-user-data backup.mdb old.mdb", 1,
            "old.mdb.before-restore is there from an earlier restore");
        row("restore while the program runs", "restore-user-data backup.mdb user.mdb", 1,
            "Dorvane Quillon is running on the folder %1");
        row("check a catalogue", "check parts.mdb", 0, "ok\n");
        row("check no store", "check notes.txt", 1, "not a valid store");
        row("check a damaged store", "check damaged.mdb", 1, "malformed");
        row("unknown command", "frobnicate", 2, "Usage:");
        row("program: version", "dorvane-quillon --version", 0, "dorvane-quillon 1.0.0\n");
        row("program: unknown", "dorvane-quillon --helpme", 2, "unknown argument: --helpme");
        row("program: no folder", "dorvane-quillon --app-folder", 2, "needs a folder");
        // A folder that is there, its name with a byte that isn't UTF-8: named as it is.
        row("program: folder name not UTF-8", "dorvane-quillon --app-folder caf%FF", 2,
            "The folder %1/caf\\xFF given with --app-folder can't be used: its name holds a "
            "byte (\\xFF) that isn't UTF-8 text");
    }

    void commandLines() {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFETCH(QByteArray, csv);
        const QString folder = QFileInfo(fixture_.path()).canonicalFilePath();
        if (!csv.isEmpty())
            writeFile(fixture_.filePath(u"broken.csv"_s), csv);
        std::unique_ptr<InstanceLock> program;
        if (arguments.startsWith(u"restore-user-data backup.mdb user.mdb")) {
            program = std::make_unique<InstanceLock>(folder);
            QCOMPARE(program->tryAcquire(), InstanceLock::Outcome::Acquired);
        }
        QStringList given = arguments.split(u' ', Qt::SkipEmptyParts);
        for (QString& argument : given) {
            if (QFileInfo::exists(fixture_.filePath(argument)) || argument.endsWith(u".csv"))
                argument = fixture_.filePath(argument);
        }
        // The program, with a home in the folder and no desktop (only the answers need none).
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, folder + u"/home"_s);
        for (const char* name : {"XDG_DATA_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (exitCode != 0)
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        const bool theProgram = !given.isEmpty() && given[0] == u"dorvane-quillon";
        // A name given as bytes (%FF) is made, and reaches the program as those bytes.
        const QByteArray bytes = QFile::encodeName(folder) + '/' +
                                 QByteArray::fromPercentEncoding(given.last().toLatin1());
        const bool raw = given.last().contains(u'%');
        if (raw)
            QCOMPARE(::mkdir(bytes.constData(), 0700), 0);
        const auto removeRaw = qScopeGuard([&] {
            if (raw)
                ::rmdir(bytes.constData());
        });
        QStringList octal;
        for (const char byte : bytes)
            octal << u"\\%1"_s.arg(static_cast<unsigned char>(byte), 3, 8, QLatin1Char('0'));
        const auto before = folderSnapshot(folder);
        const Run done =
            raw          ? run({u"-c"_s, u"exec \"$0\" \"$1\" \"$(printf '%b' \"$2\")\""_s,
                                QStringLiteral(QUILLON_PROGRAM_PATH), given[1], octal.join(QString())},
                               u"/bin/sh"_s, environment)
            : theProgram ? run(given.mid(1), QStringLiteral(QUILLON_PROGRAM_PATH), environment)
                         : run(given);
        QVERIFY2(done.exitCode == exitCode, done.describe());
        QVERIFY2(done.text().contains(says.replace(u"%1"_s, folder)), done.describe());
        QCOMPARE(folderSnapshot(folder), before);
    }

    // A User database left with the journal of an interrupted change: copied over, the backup would
    // be spoilt by that journal at the next start. Restored, it holds the backup's data, and the
    // old file with its journal is kept, still recoverable.
    void restoreSetsAStaleJournalAside() {
        QTemporaryDir folder;
        const auto file = [&](const char* name) { return folder.filePath(QLatin1String(name)); };
        const auto orders = [](const QString& path) -> QString {
            auto store = Database::open(path, Database::Access::ReadWrite);
            return store->integrityCheck().join(u' ') +
                   rowsOf(*store, u"SELECT OrderNum FROM orders"_s);
        };
        QVERIFY(QFile::copy(fixture_.filePath(u"user.mdb"_s), file("user.mdb")));
        for (int order = 1; order <= 3; ++order) {
            Database::open(file("user.mdb"), Database::Access::ReadWrite)
                ->execute(u"INSERT INTO orders(orderDate) SELECT '01/02/2026' AS X"_s);
            if (order == 1)
                QVERIFY(QFile::copy(file("user.mdb"), file("userdatabackup.mdb")));
        }
        // A change under way, its pages partly written, as a crash would leave it.
        QVERIFY(QFile::copy(file("user.mdb"), file("work.mdb")));
        sqlite3* work = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(file("work.mdb")).constData(), &work), SQLITE_OK);
        const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(work, sqlite3_close);
        QCOMPARE(
            sqlite3_exec(work,
                         "PRAGMA cache_size = 1; BEGIN; DELETE FROM orders; CREATE TABLE Filler "
                         "(A TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                         "n WHERE i < 2000) INSERT INTO Filler SELECT printf('%.500c', 'x') FROM n",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
        QVERIFY(QFile::remove(file("user.mdb")) && QFile::copy(file("work.mdb"), file("user.mdb")));
        QVERIFY(QFile::copy(file("work.mdb-journal"), file("user.mdb-journal")));
        const QByteArray backup = readFile(file("userdatabackup.mdb"));

        const Run done =
            run({u"restore-user-data"_s, file("userdatabackup.mdb"), file("user.mdb")});
        QVERIFY2(done.exitCode == 0, done.describe());
        QVERIFY(!QFile::exists(file("user.mdb-journal")));
        QCOMPARE(orders(file("user.mdb")), u"1"_s);
        QCOMPARE(readFile(file("userdatabackup.mdb")), backup);
        QVERIFY(QFile::exists(file("user.mdb.before-restore-journal")));
        QCOMPARE(orders(file("user.mdb.before-restore")), u"1\n2\n3"_s);
    }

    void query_data() {
        QTest::addColumn<QString>(
            "statement"); // of separate runs joined by "\n;;\n"; %1: the folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // the output when done, a piece of the error if not
        QTest::newRow("rows, one a line")
            << "SELECT ID, RoverNum, Description, CustomerPrice, Brand FROM Parts WHERE (RoverNum "
               "LIKE "
               "'*12*') ORDER BY ID ASC"
            << 0
            << "ID\tRoverNum\tDescription\tCustomerPrice\tBrand\n1\tERR1234\tOIL FILTER\t12.5\t\n"
               "2\tLR012345\tTAB\\tAND\\nBREAK\t0.25\t\n";
        QTest::newRow("UPDATE, then found by the new text")
            << "UPDATE Parts SET Description = 'FUEL PUMP' WHERE ID = 3\n;;\nSELECT ID FROM Parts "
               "WHERE Description LIKE '*UEL PU*' OR Description LIKE '*AIR FIL*'"
            << 0 << "1\nID\n3\n";
        QTest::newRow("DELETE: its rows, not the index's")
            << "DELETE * FROM Parts WHERE ID = 2" << 0 << "1\n";
        QTest::newRow("two statements")
            << "PRAGMA foreign_keys; DELETE * FROM Parts WHERE ID = 2" << 1 << "Only one statement";
        QTest::newRow("not SQL") << "SELEC * FROM Parts" << 1 << "syntax error";
        QTest::newRow("not an amount")
            << "UPDATE Parts SET CustomerPrice = 'cheap'" << 1 << "cheap";
        // Nothing but the store's rows: no other file, no schema, no settings, no code.
        QTest::newRow("a PRAGMA that reads") << "PRAGMA user_version" << 0 << "user_version\n1\n";
        QTest::newRow("a PRAGMA read as a table")
            << "SELECT name FROM pragma_table_info('Parts') WHERE cid < 2" << 0
            << "name\nID\nDorvaneNum\n";
        QTest::newRow("a DELETE after WITH")
            << "WITH gone AS (SELECT 3 AS n) DELETE FROM Parts WHERE ID IN (SELECT n FROM gone)"
            << 0 << "1\n";
        QTest::newRow("VACUUM INTO a file")
            << "VACUUM INTO '%1/copy.mdb'" << 1 << "VACUUM is not allowed in a query";
        QTest::newRow("VACUUM after a comment")
            << "/* tidy */ VACUUM" << 1 << "VACUUM is not allowed in a query";
        QTest::newRow("ATTACH") << "ATTACH '%1/other.mdb' AS other" << 1
                                << "ATTACH is not allowed in a query";
        QTest::newRow("writable_schema")
            << "PRAGMA writable_schema = ON" << 1 << "PRAGMA writable_schema is not allowed";
        QTest::newRow("a PRAGMA that sets")
            << "PRAGMA user_version = 7" << 1 << "PRAGMA user_version = 7 is not allowed";
        QTest::newRow("a PRAGMA that acts")
            << "PRAGMA optimize" << 1 << "PRAGMA optimize is not allowed";
        QTest::newRow("load_extension")
            << "SELECT load_extension('%1/evil.so')" << 1 << "load_extension() is not allowed";
        QTest::newRow("CREATE TABLE")
            << "CREATE TABLE Notes (A TEXT)" << 1 << "CREATE is not allowed in a query";
        QTest::newRow("DROP TABLE") << "DROP TABLE Parts" << 1 << "DROP is not allowed in a query";
        QTest::newRow("BEGIN") << "BEGIN" << 1 << "BEGIN is not allowed in a query";
        QTest::newRow("SAVEPOINT") << "SAVEPOINT a" << 1 << "SAVEPOINT is not allowed in a query";
        QTest::newRow("DETACH") << "DETACH main" << 1 << "DETACH is not allowed in a query";
        QTest::newRow("REPLACE") << "REPLACE INTO Parts (ID) VALUES (1)" << 1
                                 << "REPLACE is not allowed in a query";
    }

    void priceFileSources_data() {
        QTest::addColumn<QString>("given");  // "-" (a pipe), "<" (- with a file), "fifo", "file"…
        QTest::addColumn<QByteArray>("csv"); // what it holds; "big": a file of 180,000 parts
        QTest::addColumn<QString>("change"); // made to the file mid-import: "append", "replace"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says"); // the parts the catalogue holds after, or the error
        const QByteArray two = "DorvaneNum\r\nA1\r\nA2\r\n";
        QTest::newRow("- with a pipe") << "-" << two << "" << 0 << "A1\nA2";
        QTest::newRow("- with a file") << "<" << two << "" << 0 << "A1\nA2";
        QTest::newRow("- with an empty pipe")
            << "-" << QByteArray() << "" << 1 << "standard input, line 1: the file is empty";
        QTest::newRow("- with a store")
            << "-" << QByteArray("SQLite format 3\0\x10\0\x01\x01", 20) << "" << 1
            << "standard input: the file is a store, not a price file";
        QTest::newRow("FIFO") << "fifo" << two << "" << 0 << "A1\nA2";
        QTest::newRow("FIFO whose writer wrote nothing")
            << "fifo" << QByteArray() << "" << 1 << "line 1: the file is empty";
        QTest::newRow("a device that never ends")
            << "/dev/zero" << QByteArray() << "" << 1 << "can't be read: it is a device";
        QTest::newRow("a folder") << "folder" << QByteArray() << "" << 1
                                  << "can't be read: it is a folder";
        QTest::newRow("appended to mid-import")
            << "file" << QByteArray("big") << "append" << 1
            << "went from 9248913 to 9248922 bytes while it was being read";
        QTest::newRow("replaced mid-import") << "file" << QByteArray("big") << "replace" << 1
                                             << "was replaced or removed while it was being read";
    }

    // A price file given as a stream is read once, whole; one that changes while it is read is
    // refused, the catalogue left byte for byte as it was.
    void priceFileSources() {
        QFETCH(QString, given);
        QFETCH(QByteArray, csv);
        QFETCH(QString, change);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QTemporaryDir folder;
        const QString db = folder.filePath(u"parts.mdb"_s);
        const QString feed = folder.filePath(u"feed.csv"_s);
        QVERIFY(QFile::copy(fixture_.filePath(u"parts.mdb"_s), db));
        if (csv == "big") {
            csv = "DorvaneNum,Description\n";
            for (int i = 0; i < 180000; ++i)
                csv +=
                    "BIG" + QByteArray::number(i) + ",A DESCRIPTION LONG ENOUGH TO TAKE A WHILE\n";
        }
        writeFile(feed, csv);
        QString source = given == u"-" || given == u"<" ? u"-"_s : feed;
        QProcess writer; // a program writing the FIFO, which waits for the tool to open it
        if (given == u"fifo") {
            source = folder.filePath(u"prices.fifo"_s);
            QCOMPARE(::mkfifo(QFile::encodeName(source).constData(), 0600), 0);
            writer.start(u"/bin/sh"_s, {u"-c"_s, u"cat \"$1\" > \"$0\""_s, source, feed});
            QVERIFY(writer.waitForStarted());
        } else if (given == u"folder") {
            source = folder.path();
        } else if (given.startsWith(u'/')) {
            source = given;
        }
        const QByteArray before = readFile(db);
        QProcess import;
        if (given == u"<")
            import.setStandardInputFile(feed);
        import.start(u"" QUILLON_DB_PATH ""_s, {u"import-catalogue"_s, source, db});
        QVERIFY(import.waitForStarted());
        if (given == u"-")
            import.write(csv);
        import.closeWriteChannel();
        QByteArray err;
        if (!change.isEmpty()) {
            // Its first progress report comes when the file is part read.
            import.setReadChannel(QProcess::StandardError);
            while (!err.contains('%') && import.state() == QProcess::Running)
                if (import.waitForReadyRead(1000))
                    err += import.readAllStandardError();
            QVERIFY2(import.state() == QProcess::Running, "the import ended before the change");
            if (change == u"append") {
                QFile file(feed);
                QVERIFY(file.open(QIODevice::Append) && file.write("LATE PART") == 9);
            } else {
                writeFile(feed + u".new"_s, "DorvaneNum\nNEW1\n");
                QVERIFY(::rename(QFile::encodeName(feed + u".new"_s).constData(),
                                 QFile::encodeName(feed).constData()) == 0);
            }
        }
        QVERIFY(import.waitForFinished(120000));
        QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(30000));
        const Run done{import.exitStatus() == QProcess::NormalExit ? import.exitCode() : -1,
                       import.readAllStandardOutput(), err + import.readAllStandardError()};
        QVERIFY2(done.exitCode == exitCode, done.describe());
        if (exitCode == 0) {
            auto store = Database::open(db, Database::Access::ReadOnly);
            QCOMPARE(rowsOf(*store, u"SELECT DorvaneNum FROM Parts ORDER BY ID ASC"_s), says);
        } else {
            QVERIFY2(done.text().contains(says), done.describe());
            QCOMPARE(readFile(db), before);
        }
        QCOMPARE(entries(folder.path()).filter(u"parts.mdb"_s), QStringList{u"parts.mdb"_s});
    }

    void stoppedImportsLeaveNothing_data() {
        QTest::addColumn<int>("signal");
        for (const int signal : {SIGINT, SIGTERM, SIGKILL})
            QTest::addRow("%s", sigabbrev_np(signal)) << signal;
    }

    // An import stopped part way leaves the folder as it was: SIGINT and SIGTERM at once, SIGKILL
    // (which can't be caught) at the next import there, which leaves a run still going alone.
    void stoppedImportsLeaveNothing() {
        QFETCH(int, signal);
        QTemporaryDir folder;
        const QString db = folder.filePath(u"parts.mdb"_s);
        QByteArray csv = "DorvaneNum,Description\n";
        for (int i = 0; i < 400000; ++i)
            csv += "BIG" + QByteArray::number(i) + ",A DESCRIPTION LONG ENOUGH TO TAKE A WHILE\n";
        writeFile(folder.filePath(u"big.csv"_s), csv);
        QVERIFY(QFile::copy(fixture_.filePath(u"parts.mdb"_s), db));
        const auto before = folderSnapshot(folder.path());
        QProcess import;
        import.start(u"" QUILLON_DB_PATH ""_s,
                     {u"import-catalogue"_s, folder.filePath(u"big.csv"_s), db});
        QVERIFY(import.waitForStarted());
        // Its first progress report comes when the new catalogue is part built.
        while (!import.readAllStandardError().contains('%') && import.state() == QProcess::Running)
            import.waitForReadyRead(1000);
        QVERIFY2(import.state() == QProcess::Running, "the import ended before it was stopped");
        QCOMPARE(entries(folder.path()).filter(u".tmp-journal"_s).size(), 1);
        ::kill(pid_t(import.processId()), signal);
        QVERIFY(import.waitForFinished(60000));
        if (signal == SIGKILL) {
            const QString going = folder.filePath(u".parts.mdb.%1-0badf00d.tmp"_s.arg(getpid()));
            writeFile(going, "a run still going");
            const Run next = run({u"import-catalogue"_s, fixture_.filePath(u"new.csv"_s),
                                  folder.filePath(u"other.mdb"_s)});
            QVERIFY2(next.exitCode == 0 && next.err.contains("removed 2"), next.describe());
            QVERIFY(QFile::remove(going) && QFile::remove(folder.filePath(u"other.mdb"_s)));
        }
        QCOMPARE(folderSnapshot(folder.path()), before);
    }

    void query() {
        QFETCH(QString, statement);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        const QString db = folder.filePath(u"q.mdb"_s);
        QVERIFY(QFile::copy(fixture_.filePath(u"q.mdb"_s), db));
        const QByteArray before = readFile(db);
        QString out;
        Run done;
        for (const QString& one : statement.split(u"\n;;\n"_s)) {
            done = run({u"query"_s, db, QString(one).replace(u"%1"_s, folder.path())});
            QVERIFY2(done.exitCode == exitCode, done.describe());
            out += QString::fromUtf8(done.out);
        }
        if (exitCode == 0) {
            QCOMPARE(out, expected);
            return;
        }
        QVERIFY2(done.text().contains(expected) && done.out.isEmpty(), done.describe());
        QCOMPARE(readFile(db), before);
        QCOMPARE(entries(folder.path()), QStringList{u"q.mdb"_s});
    }

    void storeLeftMidChange_data() {
        QTest::addColumn<QString>("arrange");     // the store and what lies beside it
        QTest::addColumn<QStringList>("command"); // the file goes after the command's name
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");  // pieces joined by "|"; %D: the store, %J: its journal
        QTest::addColumn<QString>("after"); // the store and its journal then
        const QStringList check{u"check"_s};
        const QStringList search{u"query"_s, u"SELECT count(*) AS n FROM Parts WHERE Description "
                                             u"LIKE '*FILTER*'"_s};
        const QStringList orders{u"query"_s, u"SELECT count(*) AS n FROM orders"_s};
        const QString readOnly = u"%J|mid-change|quillon-db check %D"_s;
        QTest::newRow("check, read-only folder")
            << "catalogue, read-only" << check << 1 << readOnly << "as found";
        QTest::newRow("search, read-only folder")
            << "catalogue, read-only" << search << 1 << readOnly << "as found";
        QTest::newRow("change, read-only folder")
            << "catalogue, read-only" << QStringList{u"query"_s, u"DELETE * FROM Parts"_s} << 1
            << readOnly << "as found";
        QTest::newRow("check undoes the change")
            << "catalogue" << check << 0
            << "ok\n|%D had been left mid-change by an interrupted update: the change was undone "
               "from its journal %J, and the file checked sound."
            << "undone";
        QTest::newRow("search, journal of the larger file a backup replaced")
            << "user database, old journal" << orders << 0
            << "n\n1\n|written for a larger file|set aside as %J-set-aside, and %D left exactly "
               "as it was. %D is sound as it stands."
            << "journal set aside";
        for (const char* name : {"check", "search"})
            QTest::addRow("%s, journal of a catalogue's change", name)
                << "user database, catalogue's journal"
                << (qstrcmp(name, "check") == 0 ? check : orders) << 0
                << (qstrcmp(name, "check") == 0 ? u"ok\n"_s : u"n\n1\n"_s) +
                       u"|undoing the change from it damaged the file (malformed database "
                       u"schema (1))|%D was put back exactly as it was, and the journal set aside "
                       u"as %J-set-aside. %D is sound as it stands."_s
                << "journal set aside";
    }

    // A store as an update killed half-way leaves it: the file partly changed, beside it the
    // journal that undoes the change; or a User database restored by hand, the journal of the file
    // it replaced still beside it. In a folder that can't be written the tool touches nothing and
    // says how to mend the file. Else it undoes the change, or sets aside a journal that doesn't
    // belong to the file and leaves or puts the file back byte for byte; and says so.
    void storeLeftMidChange() {
        QFETCH(QString, arrange);
        QFETCH(QStringList, command);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QFETCH(QString, after);
        QTemporaryDir folder;
        QByteArray rows = "DorvaneNum,Description\r\n";
        for (int i = 0; i < 300; ++i)
            rows += "N" + QByteArray::number(i) + (i % 2 ? ",OIL FILTER" : ",BRAKE PAD") +
                    " OF A LENGTH THAT FILLS THE PAGES OF THE FILE\r\n";
        writeFile(folder.filePath(u"big.csv"_s), rows);
        const QString work = folder.filePath(u"work.mdb"_s);
        const bool user = arrange.startsWith(u"user");
        const QString db = folder.filePath(user ? u"user.mdb"_s : u"parts.mdb"_s);
        const QString journalOf = db + u"-journal";
        if (arrange.endsWith(u"old journal")) { // a change of 1000 lines to the file replaced
            makeUserStore(work, 1000);
            makeUserStore(db, 1);
        } else {
            QCOMPARE(run({u"import-catalogue"_s, folder.filePath(u"big.csv"_s), work}).exitCode, 0);
            if (user)
                makeUserStore(db, 2000);
        }
        {
            auto writer = Database::open(work, Database::Access::ReadWrite);
            writer->execute(u"PRAGMA cache_size = 1"_s); // the change spills into the file
            Transaction change(*writer);
            writer->execute(user && !arrange.endsWith(u"catalogue's journal")
                                ? u"DELETE * FROM orderParts"_s
                                : u"UPDATE Parts SET Description = 'CHANGED'"_s);
            QVERIFY((user || QFile::copy(work, db)) && QFile::copy(work + u"-journal", journalOf));
        }
        QVERIFY(QFile::remove(work));
        const QByteArray before = readFile(db);
        const QByteArray journal = readFile(journalOf);
        QString why;
        std::unique_ptr<ReadOnlyPlace> place;
        if (arrange.endsWith(u"read-only") && !(place = ReadOnlyPlace::make(folder.path(), &why)))
            QSKIP(qPrintable(u"no way to make a folder read-only here: "_s + why));
        const Run done = run(QStringList{command[0], db} + command.mid(1));
        place.reset();
        QVERIFY2(done.exitCode == exitCode && done.out.isEmpty() == (exitCode != 0),
                 done.describe());
        for (QString piece : says.split(u'|'))
            QVERIFY2(done.text().contains(piece.replace(u"%J"_s, journalOf).replace(u"%D"_s, db)),
                     done.describe());
        QVERIFY2(!done.text().contains(u"not a valid store"_s), done.describe());
        QCOMPARE(entries(folder.path()).filter(u"before-recovery"_s), QStringList());
        if (after == u"undone") {
            QVERIFY(!QFile::exists(journalOf));
            QCOMPARE(rowsOf(*Database::open(db, Database::Access::ReadOnly),
                            u"SELECT count(*) FROM Parts WHERE Description = 'CHANGED'"_s),
                     u"0"_s);
            return;
        }
        QCOMPARE(readFile(db), before);
        QCOMPARE(readFile(after == u"as found" ? journalOf : journalOf + u"-set-aside"), journal);
        QCOMPARE(QFile::exists(journalOf), after == u"as found");
    }

    // Where the program finds its Application folder: given, its own folder when that holds a
    // catalogue and can be written, else a per-user folder made from the installed one.
    void installLayouts_data() {
        QTest::addColumn<QString>("arrange");
        QTest::addColumn<bool>("canWrite");    // the program's folder
        QTest::addColumn<QString>("program");  // the program's folder: bin or installed
        QTest::addColumn<QString>("expected"); // kind and folder, or the error's words
        QTest::newRow("given folder") << "given" << true << "installed"
                                      << "Given given";
        QTest::newRow("portable") << "" << true << "installed"
                                  << "ProgramFolder installed";
        QTest::newRow("writable without catalogue") << "" << true << "bin"
                                                    << "PerUser user made";
        QTest::newRow("share beside bin") << "" << false << "bin"
                                          << "PerUser user made";
        QTest::newRow("installed in the program folder") << "" << false << "installed"
                                                         << "PerUser user made";
        QTest::newRow("nothing installed") << "no install" << false << "bin"
                                           << "ProgramFolder bin";
        QTest::newRow("nothing installed, user's own folder")
            << "no install, own folder" << false << "bin"
            << "PerUser user";
        QTest::newRow("catalogue missing") << "parts.mdb" << false << "bin"
                                           << "error: catalogue database parts.mdb is missing|%I";
        QTest::newRow("catalogue damaged") << "parts.mdb=PK\x03\x04 no store" << false << "bin"
                                           << "error: parts.mdb|damaged|%I";
        QTest::newRow("template missing") << "systemuserDB.dat" << false << "bin"
                                          << "error: empty user database systemuserDB.dat|%I";
        // The per-user folder is the user's alone: made 0700 (the folders above it that the
        // program makes too) whatever the umask; one that others can change is refused.
        QTest::newRow("made under umask 000") << "umask 000" << false << "bin"
                                              << "PerUser user made";
        QTest::newRow("own folder writable by others")
            << "own folder 0777" << false << "bin"
            << "error: The folder %U, which holds your own files, can be changed by other "
               "users|chmod 700 %U\r\nthen start|Nothing has been changed.";
        QTest::newRow("own folder group-writable")
            << "own folder 0770, group 65534" << false << "bin"
            << "error: The folder %U, which holds|chmod 700 %U";
        QTest::newRow("own folder of another user")
            << "own folder 0700, owner 65534" << false << "bin"
            << "error: The folder %U, which holds your own files, belongs to another user|"
               "mv %U %U.not-mine";
        QTest::newRow("own folder not writable by others") << "own folder 0755" << false << "bin"
                                                           << "PerUser user";
        QTest::newRow("data folder writable by others")
            << "data 0777" << false << "bin"
            << "error: The folder %D, above the one that holds your own files (%U), can be "
               "changed by other users|chmod go-w %D";
        QTest::newRow("home writable by others")
            << "home 0757" << false << "bin"
            << "error: The folder %H, above the one|chmod go-w %H";
        QTest::newRow("home of another user")
            << "home 0755, owner 65534" << false << "bin"
            << "error: The folder %H, above the one that holds your own files (%U), belongs to "
               "another user|XDG_DATA_HOME";
        QTest::newRow("home writable by all, sticky") << "home 01777" << false << "bin"
                                                      << "PerUser user made";
        // A folder whose name the system gives with a byte that isn't UTF-8 is named as it is.
        QTest::newRow("home name not UTF-8")
            << "user name caf%FF" << false << "bin"
            << "error: The folder %H/caf\\xFF/.local/share/dorvane-quillon can't be used: its "
               "name holds a byte (\\xFF) that isn't UTF-8 text";
        QTest::newRow("program folder name not UTF-8")
            << "program name b%FE%FFn" << true << "installed"
            << "error: /b\\xFE\\xFFn can't be used: its name holds bytes (\\xFE, \\xFF) that "
               "aren't UTF-8";
        QTest::newRow("given folder, program folder name not UTF-8")
            << "given, program name b%FF" << true << "installed"
            << "Given given";
    }

    void installLayouts() {
        QFETCH(QString, arrange);
        QFETCH(bool, canWrite);
        QFETCH(QString, program);
        QFETCH(QString, expected);
        Install install;
        const QTemporaryDir given;
        if (arrange.startsWith(u"no install"))
            QVERIFY(QDir(install.installed).removeRecursively());
        if (arrange.endsWith(u"own folder"))
            QVERIFY(QDir().mkpath(install.user));
        if (arrange.contains(u".mdb") || arrange.contains(u".dat")) { // removed, or made that
            QFile::remove(install.installed + u'/' + arrange.section(u'=', 0, 0));
            if (arrange.contains(u'='))
                writeFile(install.installed + u'/' + arrange.section(u'=', 0, 0),
                          arrange.section(u'=', 1).toLatin1());
        }
        // "<which> <mode>[, group|owner <id>]": a folder of the user's made so.
        const QMap<QString, QString> folders{{u"own folder"_s, install.user},
                                             {u"data"_s, install.dataHome},
                                             {u"home"_s, install.home}};
        const QRegularExpression arranged(
            u"^(own folder|data|home) ([0-7]+)(?:, (\\w+) (\\d+))?$"_s);
        if (const auto m = arranged.match(arrange); m.hasMatch()) {
            const QByteArray path = QFile::encodeName(folders.value(m.captured(1)));
            QVERIFY(QDir().mkpath(QFile::decodeName(path)));
            QCOMPARE(::chmod(path.constData(), mode_t(m.captured(2).toUInt(nullptr, 8))), 0);
            if (!m.captured(3).isEmpty() && ::geteuid() != 0)
                QSKIP("only the system's administrator can give a folder to another user");
            const uid_t id = m.captured(4).toUInt();
            if (m.captured(3) == u"owner")
                QCOMPARE(::chown(path.constData(), id, gid_t(-1)), 0);
            else if (m.captured(3) == u"group")
                QCOMPARE(::chown(path.constData(), uid_t(-1), id), 0);
        }
        if (arrange.contains(u" name ")) {
            const QByteArray name =
                QByteArray::fromPercentEncoding(arrange.section(u' ', -1).toLatin1());
            if (arrange.contains(u"program name"))
                install.programName = QFile::encodeName(install.installed) + '/' + name;
            else
                install.userName =
                    QFile::encodeName(install.home) + '/' + name + "/.local/share/dorvane-quillon";
        }
        const auto before = folderSnapshot(install.installed);
        const auto homeBefore = folderSnapshot(install.home);
        const QStringList more = arrange.startsWith(u"given")
                                     ? QStringList{u"--app-folder"_s, given.path()}
                                     : QStringList{};
        const mode_t umask = ::umask(arrange == u"umask 000" ? 0 : 022);
        try {
            const auto location =
                install.locate(canWrite, program == u"bin" ? install.bin : install.installed, more);
            ::umask(umask);
            const QMap<QString, QString> found{{u"given"_s, given.path()},
                                               {u"installed"_s, install.installed},
                                               {u"user"_s, install.user},
                                               {u"bin"_s, install.bin}};
            const QStringList kinds{u"Given"_s, u"ProgramFolder"_s, u"PerUser"_s};
            QCOMPARE(u"%1 %2%3"_s.arg(kinds[int(location.kind)], found.key(location.folder.path()),
                                      location.made ? u" made"_s : QString()),
                     expected);
        } catch (const AppFolderError& error) {
            ::umask(umask);
            QVERIFY2(expected.startsWith(u"error"), qPrintable(error.message()));
            for (QString words : expected.mid(7).split(u'|')) {
                words.replace(u"%I"_s, QDir::toNativeSeparators(install.installed))
                    .replace(u"%U"_s, QDir::toNativeSeparators(install.user))
                    .replace(u"%D"_s, QDir::toNativeSeparators(install.dataHome))
                    .replace(u"%H"_s, QDir::toNativeSeparators(install.home));
                QVERIFY2(error.message().contains(words), qPrintable(error.message()));
            }
            QCOMPARE(folderSnapshot(install.home), homeBefore); // nothing made
        }
        QCOMPARE(folderSnapshot(install.installed), before);
        if (expected.startsWith(u"error"))
            return;
        QCOMPARE(QFileInfo::exists(install.user), expected.startsWith(u"PerUser"));
        // What the program made is the user's alone.
        for (const QString& folder :
             QStringList{install.home + u"/.local"_s, install.dataHome, install.user}) {
            struct stat info {};
            if (expected.endsWith(u"made"))
                QVERIFY2(::stat(QFile::encodeName(folder).constData(), &info) == 0 &&
                             (info.st_mode & 07777) == 0700,
                         qPrintable(folder));
        }
    }

    // The per-user folder: the templates copied (the user may edit them), the rest linked, so that
    // a catalogue update reaches it. The start makes user.mdb;
    // a start while another holds the folder changes nothing; later starts keep user.mdb and the
    // edits, and complete the folder.
    void perUserFolderMadeAndKept() {
        Install install;
        const auto installedBefore = folderSnapshot(install.installed);
        const auto location = install.locate();
        QVERIFY(location.made);
        for (const QString& name : PerUserFolder::copiedEntries()) {
            const QFileInfo copy(install.user + u'/' + name);
            QVERIFY2(copy.isFile() && !copy.isSymLink() && (copy.permissions() & QFile::WriteOwner),
                     qPrintable(name));
            QCOMPARE(readFile(copy.filePath()), readFile(install.installed + u'/' + name));
            writeFile(copy.filePath(), "<p>Hammond &amp; Sons, Unit 4</p>\r\n");
        }
        for (const QString& name : PerUserFolder::linkedEntries())
            QCOMPARE(QFileInfo(install.user + u'/' + name).symLinkTarget(),
                     install.installed + u'/' + name);
        QVERIFY(QFileInfo(location.folder.htmlIcon()).isFile());
        QVERIFY(!QFileInfo::exists(location.folder.userDatabase()));
        QCOMPARE(entries(install.user).filter(QRegularExpression(u"^\\."_s)), QStringList());
        QByteArray userDb;
        {
            ProgramRun first;
            QVERIFY2(first.start(location.folder), qPrintable(first.onlyPrompt()));
            const QFileInfo made(location.folder.userDatabase());
            QVERIFY(made.isFile() && !made.isSymLink() && (made.permissions() & QFile::WriteOwner));
            // A second start while the first runs hands over, and repairs nothing.
            QVERIFY(QFile::remove(location.folder.helpText()));
            ProgramRun second;
            const auto again =
                AppFolderLocator({install.bin, install.user, [](const QString&) { return false; }})
                    .locate({u"dorvane-quillon"_s});
            QVERIFY(!StartUp::start(
                second.state, second.dialogs, second.browser, again.folder,
                [&] { AppFolderLocator::complete(again); }, &second.handedOver));
            QVERIFY(second.handedOver);
            QVERIFY(!QFileInfo::exists(location.folder.helpText()));
            userDb = readFile(location.folder.userDatabase());
        }
        QCOMPARE(folderSnapshot(install.installed), installedBefore);
        // The next start puts back what went missing (help.dat), points a link that leads
        // nowhere (an installation that moved) at the installed entry, and keeps a file or link
        // of the user's own in place of a link. The template is needed only to make user.mdb, and
        // a catalogue of the user's own needs none installed.
        const QString ownPixel = install.home + u"/own-pixel.gif"_s;
        const QString ownParts = install.home + u"/own-parts.mdb"_s;
        writeFile(ownPixel, "own pixel");
        importParts(ownParts, {u"DA7001"_s});
        for (const auto& [name, link] :
             {std::pair("images", u"/nowhere/images"_s), std::pair("1pixel-black.gif", ownPixel),
              std::pair("parts.mdb", ownParts), std::pair("image-icon.bmp", QString())}) {
            QVERIFY(QFile::remove(install.user + u'/' + QLatin1String(name)));
            if (link.isEmpty())
                writeFile(install.user + u'/' + QLatin1String(name), "own icon");
            else
                QVERIFY(QFile::link(link, install.user + u'/' + QLatin1String(name)));
        }
        for (const char* name : {"systemuserDB.dat", "parts.mdb"})
            QVERIFY(QFile::remove(install.installed + u'/' + QLatin1String(name)));
        const auto again = install.locate();
        QVERIFY(!again.made);
        for (const char* name : {"help.dat", "images"})
            QCOMPARE(QFileInfo(install.user + u'/' + QLatin1String(name)).symLinkTarget(),
                     install.installed + u'/' + QLatin1String(name));
        QCOMPARE(readFile(install.user + u"/image-icon.bmp"_s), "own icon");
        QCOMPARE(QFileInfo(install.user + u"/1pixel-black.gif"_s).symLinkTarget(), ownPixel);
        ProgramRun next;
        QVERIFY2(next.startShown(again.folder), qPrintable(next.onlyPrompt()));
        QCOMPARE(searched(next, u"DA7001"_s), u"DA7001"_s);
        QCOMPARE(readFile(location.folder.userDatabase()), userDb);
        for (const QString& name : PerUserFolder::copiedEntries())
            QCOMPARE(readFile(install.user + u'/' + name), "<p>Hammond &amp; Sons, Unit 4</p>\r\n");
    }

    // A second start on a folder asks the first to show its window, through a socket in a
    // folder of the user's alone: the runtime folder, else one made 0700 in the user's cache;
    // never the shared temporary folder. With no private place the second start says the
    // program is running. The socket goes with the first run.
    void aSecondStartAsksTheFirst_data() {
        QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR: "", or its mode
        QTest::addColumn<QString>("cache");   // the mode of the cache folder, when it is made
        QTest::addColumn<QString>("socketIn");
        QTest::newRow("runtime folder") << "0700"
                                        << ""
                                        << "run";
        QTest::newRow("no runtime folder") << ""
                                           << ""
                                           << "cache/dorvane-quillon/run";
        QTest::newRow("runtime folder others may write") << "0777"
                                                         << ""
                                                         << "cache/dorvane-quillon/run";
        QTest::newRow("cache of the user's, group may read") << ""
                                                             << "0750"
                                                             << "cache/dorvane-quillon/run";
        QTest::newRow("no private place") << ""
                                          << "0777"
                                          << "";
    }
    void aSecondStartAsksTheFirst() {
        QFETCH(QString, runtime);
        QFETCH(QString, cache);
        QFETCH(QString, socketIn);
        const QTemporaryDir home;
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
            qputenv("XDG_CACHE_HOME", savedCache);
        });
        qunsetenv("XDG_RUNTIME_DIR");
        const auto make = [&](const char* name, const QString& mode) {
            const QByteArray path = QFile::encodeName(home.filePath(QLatin1String(name)));
            QVERIFY(QDir().mkpath(QFile::decodeName(path)));
            QCOMPARE(::chmod(path.constData(), mode_t(mode.toUInt(nullptr, 8))), 0);
        };
        if (!runtime.isEmpty()) {
            make("run", runtime);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(u"run"_s)));
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(u"cache"_s)));
        if (!cache.isEmpty())
            make("cache", cache);
        const QStringList tempBefore = entries(QDir::tempPath()).filter(u"dorvane-quillon"_s);
        const QString folder = socketIn.isEmpty() ? QString() : home.filePath(socketIn);
        QCOMPARE(InstanceLock::socketFolder(), folder);
        const tests::TestAppFolder app;
        {
            ProgramRun first;
            QVERIFY2(first.start(app.folder), qPrintable(first.onlyPrompt()));
            const QString socket = InstanceLock(app.folder.path()).serverName();
            QCOMPARE(socket.isEmpty(), socketIn.isEmpty());
            if (!socketIn.isEmpty()) {
                QCOMPARE(QFileInfo(socket).absolutePath(), folder);
                struct stat info {};
                QVERIFY(::lstat(QFile::encodeName(socket).constData(), &info) == 0 &&
                        S_ISSOCK(info.st_mode));
                QVERIFY(::stat(QFile::encodeName(folder).constData(), &info) == 0 &&
                        (info.st_mode & 07777) == 0700);
            }
            ProgramRun second;
            QCOMPARE(second.start(app.folder), false);
            QCOMPARE(second.handedOver, !socketIn.isEmpty());
            QCOMPARE(second.dialogs.boxes().size(), socketIn.isEmpty() ? 1 : 0);
            if (socketIn.isEmpty())
                QVERIFY2(second.onlyPrompt().contains(u"already running"_s),
                         qPrintable(second.onlyPrompt()));
        }
        if (!folder.isEmpty())
            QCOMPARE(entries(folder), QStringList());
        QCOMPARE(entries(QDir::tempPath()).filter(u"dorvane-quillon"_s), tempBefore);
    }

    void catalogueUpdatedUnderARunningProgram_data() {
        QTest::addColumn<QString>("update");
        for (const char* update : {"a new catalogue", "removed", "not a store"})
            QTest::newRow(update) << QString::fromLatin1(update);
    }

    // The running program reads the catalogue it opened until a search finds it replaced; one that
    // can't be opened leaves it on the old. The new file is readable by every user whatever the
    // umask of the person updating it.
    void catalogueUpdatedUnderARunningProgram() {
        QFETCH(QString, update);
        const QString found = update == u"a new catalogue" ? u"DA2001"_s : QString();
        Install install;
        const auto location = install.locate();
        ProgramRun program;
        QVERIFY2(program.startShown(location.folder), qPrintable(program.onlyPrompt()));
        QCOMPARE(searched(program, u"DA1001"_s), u"DA1001"_s);
        const QString target = install.installed + u"/parts.mdb"_s;
        if (!found.isEmpty()) {
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ReadGroup | QFile::ReadOther));
            const mode_t saved = ::umask(077);
            importParts(target, {u"DA2001"_s, u"DA2002"_s});
            ::umask(saved);
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, mode_t(0644));
        } else {
            QVERIFY(QFile::remove(target));
            if (update == u"not a store")
                writeFile(target, "half a catalogue, copied by hand");
        }
        QCOMPARE(searched(program, u"DA2001"_s), found);
        QCOMPARE(searched(program, u"DA1001"_s), found.isEmpty() ? u"DA1001"_s : QString());
    }
};

QTEST_MAIN(TestTools)
#include "test_tools.moc"
