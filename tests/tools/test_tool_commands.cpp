// Both programs' command lines: refusals and answers, restoring a backup, queries, and a store
// left mid-change.
#include "folder_snapshot.h"
#include "platform/instance_lock.h"
#include "read_only_place.h"
#include "store/database.h"
#include "store/transaction.h"
#include "test_registry.h"
#include "tool_test_support.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::tests::tool;
using namespace Qt::StringLiterals;
using quillon::tests::folderSnapshot;
using quillon::tests::ReadOnlyPlace;

class TestToolCommands : public QObject {
    Q_OBJECT

    QTemporaryDir fixture_; // files of every kind the tool may be given, made once

private slots:
    void initTestCase() { makeFixture(fixture_); }

    // Refusals and answers of both programs: the exit code, what they print, and the folder (with
    // the home the program is given) left as it was.
    void commandLines_data() {
        // arguments: file names are those of the fixture; says: %1 the fixture's folder; csv:
        // written to broken.csv when not empty
        tests::addColumns<QString, int, QString, QByteArray>("arguments", "exitCode", "says",
                                                             "csv");
        const auto row = [](const char* name, const char* arguments, int exitCode, const char* says,
                            const QByteArray& csv = {}) {
            tests::addRow(name, arguments, exitCode, says, csv);
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

    void query_data() {
        // The statements of separate runs joined by "\n;;\n" (%1: the folder); the output when
        // done, a piece of the error if not.
        tests::addColumns<QString, int, QString>("statement", "exitCode", "expected");
        using tests::addRow;
        addRow("rows, one a line",
               "SELECT ID, RoverNum, Description, CustomerPrice, Brand FROM Parts WHERE (RoverNum "
               "LIKE '*12*') ORDER BY ID ASC",
               0,
               "ID\tRoverNum\tDescription\tCustomerPrice\tBrand\n1\tERR1234\tOIL FILTER\t12.5\t\n"
               "2\tLR012345\tTAB\\tAND\\nBREAK\t0.25\t\n");
        addRow("UPDATE, then found by the new text",
               "UPDATE Parts SET Description = 'FUEL PUMP' WHERE ID = 3\n;;\nSELECT ID FROM Parts "
               "WHERE Description LIKE '*UEL PU*' OR Description LIKE '*AIR FIL*'",
               0, "1\nID\n3\n");
        addRow("DELETE: its rows, not the index's", "DELETE * FROM Parts WHERE ID = 2", 0, "1\n");
        addRow("two statements", "PRAGMA foreign_keys; DELETE * FROM Parts WHERE ID = 2", 1,
               "Only one statement");
        addRow("not SQL", "SELEC * FROM Parts", 1, "syntax error");
        addRow("not an amount", "UPDATE Parts SET CustomerPrice = 'cheap'", 1, "cheap");
        // Nothing but the store's rows: no other file, no schema, no settings, no code.
        addRow("a PRAGMA that reads", "PRAGMA user_version", 0, "user_version\n1\n");
        addRow("a PRAGMA read as a table",
               "SELECT name FROM pragma_table_info('Parts') WHERE cid < 2", 0,
               "name\nID\nDorvaneNum\n");
        addRow("a DELETE after WITH",
               "WITH gone AS (SELECT 3 AS n) DELETE FROM Parts WHERE ID IN (SELECT n FROM gone)", 0,
               "1\n");
        addRow("VACUUM INTO a file", "VACUUM INTO '%1/copy.mdb'", 1,
               "VACUUM is not allowed in a query");
        addRow("VACUUM after a comment", "/* tidy */ VACUUM", 1,
               "VACUUM is not allowed in a query");
        addRow("ATTACH", "ATTACH '%1/other.mdb' AS other", 1, "ATTACH is not allowed in a query");
        addRow("writable_schema", "PRAGMA writable_schema = ON", 1,
               "PRAGMA writable_schema is not allowed");
        addRow("a PRAGMA that sets", "PRAGMA user_version = 7", 1,
               "PRAGMA user_version = 7 is not allowed");
        addRow("a PRAGMA that acts", "PRAGMA optimize", 1, "PRAGMA optimize is not allowed");
        addRow("load_extension", "SELECT load_extension('%1/evil.so')", 1,
               "load_extension() is not allowed");
        addRow("CREATE TABLE", "CREATE TABLE Notes (A TEXT)", 1,
               "CREATE is not allowed in a query");
        addRow("DROP TABLE", "DROP TABLE Parts", 1, "DROP is not allowed in a query");
        addRow("BEGIN", "BEGIN", 1, "BEGIN is not allowed in a query");
        addRow("SAVEPOINT", "SAVEPOINT a", 1, "SAVEPOINT is not allowed in a query");
        addRow("DETACH", "DETACH main", 1, "DETACH is not allowed in a query");
        addRow("REPLACE", "REPLACE INTO Parts (ID) VALUES (1)", 1,
               "REPLACE is not allowed in a query");
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
        // arrange: the store and what lies beside it; command: %D the store, %B a backup of a User
        // database; says: pieces joined by "|", %D, %B and %J the store's journal; after: the
        // store and its journal then
        tests::addColumns<QString, QStringList, int, QString, QString>("arrange", "command",
                                                                       "exitCode", "says", "after");
        using tests::addRow;
        const QStringList check{u"check"_s, u"%D"_s};
        const QStringList search{u"query"_s, u"%D"_s,
                                 u"SELECT count(*) AS n FROM Parts WHERE Description LIKE "
                                 u"'*FILTER*'"_s};
        const QStringList orders{u"query"_s, u"%D"_s, u"SELECT count(*) AS n FROM orders"_s};
        const QString readOnly = u"%J|mid-change|quillon-db check %D"_s;
        const QString catalogueJournal =
            u"|undoing the change from it damaged the file (malformed database schema (1))|%D was "
            "put back exactly as it was, and the journal set aside as %J-set-aside. %D is sound "
            "as it stands."_s;
        addRow("check, read-only folder", "catalogue, read-only", check, 1, readOnly, "as found");
        addRow("search, read-only folder", "catalogue, read-only", search, 1, readOnly, "as found");
        addRow("change, read-only folder", "catalogue, read-only",
               QStringList{u"query"_s, u"%D"_s, u"DELETE * FROM Parts"_s}, 1, readOnly, "as found");
        addRow("check undoes the change", "catalogue", check, 0,
               "ok\n|%D had been left mid-change by an interrupted update: the change was undone "
               "from its journal %J, and the file checked sound.",
               "undone");
        addRow("search, journal of the larger file a backup replaced", "user database, old journal",
               orders, 0,
               "n\n1\n|written for a larger file|set aside as %J-set-aside, and %D left exactly as "
               "it was. %D is sound as it stands.",
               "journal set aside");
        addRow("check, journal of a catalogue's change", "user database, catalogue's journal",
               check, 0, u"ok\n"_s + catalogueJournal, "journal set aside");
        addRow("search, journal of a catalogue's change", "user database, catalogue's journal",
               orders, 0, u"n\n1\n"_s + catalogueJournal, "journal set aside");
        // Copied over by hand, the backup would be spoilt by that journal at the next start.
        addRow("restored over a User database mid-change", "user database mid-change",
               QStringList{u"restore-user-data"_s, u"%B"_s, u"%D"_s}, 0,
               "%D now holds the data of %B|the old file is kept as %D.before-restore|interrupted "
               "change beside it moved to %D.before-restore-journal",
               "restored");
    }

    // A store as an update killed half-way leaves it: the file partly changed, beside it the
    // journal that undoes the change; or a User database restored by hand, the journal of the file
    // it replaced still beside it. In a folder that can't be written the tool touches nothing and
    // says how to mend the file. Else it undoes the change, or sets aside a journal that doesn't
    // belong to the file and leaves or puts the file back byte for byte; and says so. A backup
    // restored over the file leaves the file and its journal beside it, as they were.
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
        const QString backup = folder.filePath(u"backup.mdb"_s);
        makeUserStore(backup, 1);
        const bool ownChange = arrange.endsWith(u"mid-change"); // the journal of the file's own
        if (arrange.endsWith(u"old journal")) { // a change of 1000 lines to the file replaced
            makeUserStore(work, 1000);
            makeUserStore(db, 1);
        } else if (ownChange) {
            makeUserStore(work, 2000);
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
            QVERIFY(((user && !ownChange) || QFile::copy(work, db)) &&
                    QFile::copy(work + u"-journal", journalOf));
        }
        QVERIFY(QFile::remove(work));
        const QByteArray before = readFile(db);
        const QByteArray journal = readFile(journalOf);
        QString why;
        std::unique_ptr<ReadOnlyPlace> place;
        if (arrange.endsWith(u"read-only") && !(place = ReadOnlyPlace::make(folder.path(), &why)))
            QSKIP(qPrintable(u"no way to make a folder read-only here: "_s + why));
        for (QString& argument : command)
            argument.replace(u"%D"_s, db).replace(u"%B"_s, backup);
        const QByteArray backupBefore = readFile(backup);
        const Run done = run(command);
        place.reset();
        QVERIFY2(done.exitCode == exitCode && done.out.isEmpty() == (exitCode != 0),
                 done.describe());
        for (QString piece : says.split(u'|'))
            QVERIFY2(done.text().contains(piece.replace(u"%J"_s, journalOf)
                                              .replace(u"%D"_s, db)
                                              .replace(u"%B"_s, backup)),
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
        QCOMPARE(readFile(backup), backupBefore);
        if (after == u"restored") {
            QVERIFY(!QFile::exists(journalOf));
            QCOMPARE(rowsOf(*Database::open(db, Database::Access::ReadOnly),
                            u"SELECT count(*) FROM orderParts"_s),
                     u"1"_s);
            QCOMPARE(readFile(db + u".before-restore"), before);
            QCOMPARE(readFile(db + u".before-restore-journal"), journal);
            return;
        }
        QCOMPARE(readFile(db), before);
        QCOMPARE(readFile(after == u"as found" ? journalOf : journalOf + u"-set-aside"), journal);
        QCOMPARE(QFile::exists(journalOf), after == u"as found");
    }
};

QUILLON_TEST_CLASS(TestToolCommands)
#include "test_tool_commands.moc"
