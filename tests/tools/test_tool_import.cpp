// quillon-db import-catalogue: the fields it reads, the price files it is given as streams,
// and an import stopped part way.
#include "store/database.h"
#include "test_registry.h"
#include "tool_test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::tests::tool;
using namespace Qt::StringLiterals;

class TestToolImport : public QObject {
    Q_OBJECT

    QTemporaryDir fixture_; // files of every kind the tool may be given, made once

private slots:
    void initTestCase() { makeFixture(fixture_); }

    void importReadsFields_data() {
        tests::addColumns<QByteArray, QByteArray>("lineEnd", "start");
        const QByteArray crLf = "\r\n", description = "description";
        tests::addRow("CR LF", crLf, description);
        tests::addRow("LF", QByteArray("\n"), description);
        tests::addRow("UTF-8 mark, quoted", crLf, QByteArray("\xEF\xBB\xBF\"description\""));
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

    void priceFileSources_data() {
        // given: "-" (a pipe), "<" (- with a file), "fifo", "file"…; csv: what it holds, "big" a
        // file of 180,000 parts; change: made to the file mid-import ("append", "replace"), or the
        // signal that stops it; says: the parts the catalogue holds after, or the error.
        tests::addColumns<QString, QByteArray, QString, int, QString>("given", "csv", "change",
                                                                      "exitCode", "says");
        using tests::addRow;
        const QByteArray two = "DorvaneNum\r\nA1\r\nA2\r\n", none, big = "big";
        addRow("- with a pipe", "-", two, "", 0, "A1\nA2");
        addRow("- with a file", "<", two, "", 0, "A1\nA2");
        addRow("- with an empty pipe", "-", none, "", 1,
               "standard input, line 1: the file is empty");
        addRow("- with a store", "-", QByteArray("SQLite format 3\0\x10\0\x01\x01", 20), "", 1,
               "standard input: the file is a store, not a price file");
        addRow("FIFO", "fifo", two, "", 0, "A1\nA2");
        addRow("FIFO whose writer wrote nothing", "fifo", none, "", 1, "line 1: the file is empty");
        addRow("a device that never ends", "/dev/zero", none, "", 1,
               "can't be read: it is a device");
        addRow("a folder", "folder", none, "", 1, "can't be read: it is a folder");
        addRow("appended to mid-import", "file", big, "append", 1,
               "went from 9248913 to 9248922 bytes while it was being read");
        addRow("replaced mid-import", "file", big, "replace", 1,
               "was replaced or removed while it was being read");
        for (const char* signal : {"SIGINT", "SIGTERM", "SIGKILL"}) // -1: stopped by it
            addRow(signal, "file", big, signal, -1, "");
    }

    // A price file given as a stream is read once, whole; one that changes while it is read is
    // refused, the catalogue left byte for byte as it was. An import stopped part way leaves the
    // folder as it was: SIGINT and SIGTERM at once, SIGKILL (which can't be caught) at the next
    // import there, which leaves a run still going alone.
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
        writeFile(feed, csv == "big" ? (csv = bigPriceFile(180000)) : csv);
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
            // Its first progress report comes when the file is part read, the catalogue part built.
            import.setReadChannel(QProcess::StandardError);
            while (!err.contains('%') && import.state() == QProcess::Running)
                if (import.waitForReadyRead(1000))
                    err += import.readAllStandardError();
            QVERIFY2(import.state() == QProcess::Running, "the import ended before the change");
            if (change == u"append") {
                QFile file(feed);
                QVERIFY(file.open(QIODevice::Append) && file.write("LATE PART") == 9);
            } else if (change == u"replace") {
                writeFile(feed + u".new"_s, "DorvaneNum\nNEW1\n");
                QVERIFY(::rename(QFile::encodeName(feed + u".new"_s).constData(),
                                 QFile::encodeName(feed).constData()) == 0);
            } else {
                QCOMPARE(entries(folder.path()).filter(u".tmp-journal"_s).size(), 1);
                ::kill(pid_t(import.processId()), change == u"SIGKILL"   ? SIGKILL
                                                  : change == u"SIGTERM" ? SIGTERM
                                                                         : SIGINT);
            }
        }
        QVERIFY(import.waitForFinished(120000));
        QVERIFY(writer.state() == QProcess::NotRunning || writer.waitForFinished(30000));
        const Run done{import.exitStatus() == QProcess::NormalExit ? import.exitCode() : -1,
                       import.readAllStandardOutput(), err + import.readAllStandardError()};
        QVERIFY2(done.exitCode == exitCode, done.describe());
        if (change == u"SIGKILL") {
            const QString going = folder.filePath(u".parts.mdb.%1-0badf00d.tmp"_s.arg(getpid()));
            writeFile(going, "a run still going");
            const Run next = run({u"import-catalogue"_s, fixture_.filePath(u"new.csv"_s),
                                  folder.filePath(u"other.mdb"_s)});
            QVERIFY2(next.exitCode == 0 && next.err.contains("removed 2"), next.describe());
            QVERIFY(QFile::remove(going) && QFile::remove(folder.filePath(u"other.mdb"_s)));
        }
        if (exitCode == 0) {
            auto store = Database::open(db, Database::Access::ReadOnly);
            QCOMPARE(rowsOf(*store, u"SELECT DorvaneNum FROM Parts ORDER BY ID ASC"_s), says);
        } else {
            QVERIFY2(done.text().contains(says), done.describe());
            QCOMPARE(readFile(db), before);
        }
        QCOMPARE(entries(folder.path()).filter(u"parts.mdb"_s), QStringList{u"parts.mdb"_s});
    }
};

QUILLON_TEST_CLASS(TestToolImport)
#include "test_tool_import.moc"
