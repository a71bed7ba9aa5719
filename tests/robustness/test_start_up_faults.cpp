// Faults of the files at start-up: the program says what is wrong, doesn't start, and leaves
// every file as it was.
#include "app/start_up.h"
#include "housekeeping/user_data_backup.h"
#include "robustness_fixture.h"
#include "store/database.h"
#include "store/transaction.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sys/stat.h>

using namespace quillon;
using quillon::tests::AppFolderFixture;
using quillon::tests::ProgramRun;

namespace {

constexpr qint64 pageSize = 4096;

// A user.mdb that spans many pages: the open order with a thousand lines.
void makeLargeUserDatabase(const AppFolderFixture& fx) {
    fx.makeUserDatabase();
    const auto db = Database::open(fx.folder.userDatabase(), Database::Access::ReadWrite);
    Transaction transaction(*db);
    for (int i = 0; i < 1000; ++i)
        db->execute(QStringLiteral("INSERT INTO orderParts(OrderNum,DorvaneNum,RoverNum,"
                                   "Description,Quantity,Price,Comments) SELECT '1' AS a, 'DA%1' "
                                   "AS b, 'NRC%1' AS c, 'Part %1' AS d, '1' AS e, '2.5' AS f, "
                                   "'%2' AS g")
                        .arg(i)
                        .arg(QString(100, u'c')));
    transaction.commit();
}

// A change to a large user.mdb interrupted by a power cut: its journal, copied to journal.
void interruptedChange(const AppFolderFixture& source, const QString& copyTo,
                       const QString& journalTo) {
    makeLargeUserDatabase(source);
    const auto db = Database::open(source.folder.userDatabase(), Database::Access::ReadWrite);
    db->execute(QStringLiteral("PRAGMA cache_size=5")); // the change reaches the file
    db->execute(QStringLiteral("BEGIN"));
    db->execute(QStringLiteral("DELETE * FROM orderParts WHERE OrderNum=1"));
    db->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=1"));
    const QString journal = source.folder.userDatabase() + QStringLiteral("-journal");
    QVERIFY(QFileInfo(journal).size() > 0);
    QVERIFY(copyTo.isEmpty() || QFile::copy(source.folder.userDatabase(), copyTo));
    QVERIFY(QFile::copy(journal, journalTo));
    db->execute(QStringLiteral("ROLLBACK"));
}

// Puts the fault named by how in the folder; start is the folder to start on.
void arrange(const AppFolderFixture& fx, const QString& how, AppFolder& start) {
    const QString user = fx.folder.userDatabase();
    const auto garbage = [](const QString& path) {
        QRandomGenerator random(9);
        QByteArray bytes(64 * 1024, '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        AppFolderFixture::writeFile(path, bytes);
    };
    if (how.startsWith(u"backup, ")) {
        fx.makeUserDatabase();
        QVERIFY(QFile::copy(user, fx.folder.userBackup()));
        QVERIFY(QFile::remove(user));
    }
    if (how == u"garbage") {
        garbage(user);
    } else if (how == u"empty file") {
        AppFolderFixture::writeFile(user, QByteArray());
    } else if (how == u"header only") {
        AppFolderFixture::writeFile(user, QByteArray("SQLite format 3\0", 16));
    } else if (how == u"truncated") {
        makeLargeUserDatabase(fx);
        QFile file(user);
        QVERIFY(file.resize(3 * pageSize));
    } else if (how.endsWith(u"page overwritten")) {
        makeLargeUserDatabase(fx);
        QFile file(user);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 10 * pageSize);
        QVERIFY(file.seek(4 * pageSize));
        QVERIFY(file.write(QByteArray(2 * pageSize, '\xA5')) == 2 * pageSize);
    } else if (how == u"no user tables") {
        QVERIFY(QFile::copy(fx.folder.catalogue(), user)); // the catalogue in its place
    } else if (how == u"column missing") {
        fx.makeUserDatabase();
        Database::open(user, Database::Access::ReadWrite)
            ->execute(QStringLiteral("ALTER TABLE orders DROP COLUMN OrderDate"));
    } else if (how == u"dangling link") {
        QVERIFY(QFile::link(QStringLiteral("/nowhere/drive/user.mdb"), user));
    } else if (how == u"folder") {
        QVERIFY(QDir(fx.folder.path()).mkdir(QStringLiteral("user.mdb")));
    } else if (how == u"named pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(user).constData(), 0644), 0);
    } else if (how == u"unreadable" || how == u"read-only") {
        fx.makeUserDatabase();
        QVERIFY(QFile::setPermissions(user, how == u"read-only" ? QFileDevice::ReadOwner
                                                                : QFileDevice::WriteOwner));
    } else if (how.startsWith(u"stale journal")) {
        // A backup copied over user.mdb by hand, with the journal of a change to the file it
        // replaced still beside it: a larger file, or (the backup holding many prices) a smaller.
        fx.makeUserDatabase();
        if (how.endsWith(u"larger backup")) {
            const auto db = Database::open(user, Database::Access::ReadWrite);
            Transaction transaction(*db);
            for (int i = 0; i < 4000; ++i)
                db->execute(QStringLiteral("INSERT INTO customParts(DorvaneNum) SELECT 'DA%1' AS a")
                                .arg(i, 40, 10, QChar(u'0')));
            transaction.commit();
        }
        AppFolderFixture other;
        interruptedChange(other, {}, user + QStringLiteral("-journal"));
    } else if (how == u"too long a path") {
        QString deep = fx.folder.path();
        while (QFile::encodeName(deep + QStringLiteral("/user.mdb")).size() <=
               Database::longestPath())
            deep += u'/' + QString(60, u'd');
        QVERIFY(QDir().mkpath(deep));
        start = AppFolder(deep);
        for (const QString& file : {start.catalogue(), start.userTemplate(), start.userDatabase()})
            QVERIFY(QFile::copy(fx.folder.userTemplate(), file));
        QVERIFY(QFile::remove(start.catalogue()));
        QVERIFY(QFile::copy(fx.folder.catalogue(), start.catalogue()));
    } else if (how == u"catalogue without Parts") {
        QVERIFY(QFile::remove(fx.folder.catalogue()));
        QVERIFY(QFile::copy(fx.folder.userTemplate(), fx.folder.catalogue()));
    } else if (how == u"parts.mdb missing") {
        QVERIFY(QFile::remove(fx.folder.catalogue()));
    } else if (how == u"template missing") {
        QVERIFY(QFile::remove(fx.folder.userTemplate()));
    } else if (how == u"template not a store") {
        garbage(fx.folder.userTemplate());
    } else if (how == u"parts.mdb a folder") {
        QVERIFY(QFile::remove(fx.folder.catalogue()));
        QVERIFY(QDir(fx.folder.path()).mkdir(QStringLiteral("parts.mdb")));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown fault ") + how));
    }
}

} // namespace

class StartUpFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void whatStandsThereIsLeftAsItWas_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("words"); // the key parts of the box; %F: the folder
        const auto row = [](const char* how, const QStringList& words) {
            QTest::newRow(how) << QString::fromLatin1(how) << words;
        };
        for (const char* how : {"garbage", "empty file", "header only", "truncated",
                                "page overwritten", "no user tables"})
            row(how, {"user.mdb in the folder %F is damaged and can't be used. Dorvane Quillon "
                      "has not changed it.",
                      "There is no backup of your user data (userdatabackup.mdb)",
                      UserDataBackup::restoreNotice(), "\r\n\r\nWhat is wrong: "});
        row("backup, page overwritten",
            {"is damaged",
             "The last backup of your user data, userdatabackup.mdb, is in the same"});
        row("column missing", {"is damaged", "What is wrong: the table orders has no column "
                                             "OrderDate."});
        row("dangling link", {"user.mdb in the folder %F is a link to /nowhere/drive/user.mdb, "
                              "which doesn't exist",
                              "has not changed anything"});
        row("folder", {"user.mdb in the folder %F is a folder, not a file."});
        row("named pipe", {"user.mdb in the folder %F is a named pipe (FIFO), not a file."});
        row("unreadable", {"user.mdb in the folder %F can't be read"});
        row("read-only", {"user.mdb in the folder %F can't be written: the file is read-only."});
        for (const char* how : {"stale journal, smaller backup", "stale journal, larger backup"})
            row(how, {"the journal of an interrupted change, user.mdb-journal, that doesn't "
                      "belong to it",
                      "exactly as it was, and moved the journal aside as "
                      "user.mdb-journal-set-aside.",
                      "user.mdb is sound as it is: start Dorvane Quillon again"});
        row("too long a path", {"The path of the Application folder %F is too long"});
        row("catalogue without Parts",
            {"parts.mdb in the folder %F can't be used: the table Parts is missing."});
        row("parts.mdb missing", {"parts.mdb is missing from the folder %F"});
        row("template missing", {"systemuserDB.dat is missing from the folder %F"});
        row("template not a store", {"systemuserDB.dat in the folder %F is not a usable store"});
        row("parts.mdb a folder", {"parts.mdb in the folder %F is a folder, not a file."});
    }

    void whatStandsThereIsLeftAsItWas() {
        QFETCH(QString, how);
        QFETCH(QStringList, words);
        AppFolderFixture fx;
        AppFolder start = fx.folder;
        arrange(fx, how, start);
        auto expected = fx.snapshot();
        const bool journal = how.contains(u"journal");
        if (journal) // the journal alone is moved aside, as it was
            expected.insert(QStringLiteral("user.mdb-journal-set-aside"),
                            expected.take(QStringLiteral("user.mdb-journal")));

        ProgramRun run;
        QVERIFY(!run.start(start));

        QCOMPARE(fx.snapshot(), expected);
        QVERIFY2(run.refused(), qPrintable(run.onlyPrompt()));
        for (QString part : words) {
            part.replace(QLatin1String("%F"), QDir::toNativeSeparators(start.path()));
            QVERIFY2(run.onlyPrompt().contains(part), qPrintable(run.onlyPrompt()));
        }
        if (journal) { // the restored backup starts with its order
            ProgramRun again;
            QVERIFY2(again.start(start), qPrintable(again.onlyPrompt()));
            QCOMPARE(again.state.currentOrderNum, 1);
        }
    }

    // A user database that another program holds locked is in use, not damaged: the message
    // must not send anyone to restore a backup over a sound file.
    void lockedUserDatabaseIsInUseNotDamaged() {
        AppFolderFixture fx;
        fx.makeUserDatabase();
        const QByteArray before = AppFolderFixture::readFile(fx.folder.userDatabase());
        const auto other = Database::open(fx.folder.userDatabase(), Database::Access::ReadWrite);
        other->execute(QStringLiteral("BEGIN EXCLUSIVE"));

        ProgramRun run;
        QVERIFY(!run.start(fx.folder)); // after the engine's wait for the lock
        QVERIFY2(run.onlyPrompt().startsWith(
                     QStringLiteral("The user database user.mdb in the folder %1 is in use by "
                                    "another program.")
                         .arg(QDir::toNativeSeparators(fx.folder.path()))),
                 qPrintable(run.onlyPrompt()));
        QVERIFY(!run.onlyPrompt().contains(QLatin1String("damaged")));

        other->execute(QStringLiteral("ROLLBACK"));
        QCOMPARE(AppFolderFixture::readFile(fx.folder.userDatabase()), before);
        ProgramRun again;
        QVERIFY2(again.start(fx.folder), qPrintable(again.onlyPrompt()));
    }

    // A user database left by a crash in the middle of a change (its journal beside it) is not
    // damaged: the start undoes the unfinished change and goes on with everything before it.
    void interruptedChangeIsUndone() {
        AppFolderFixture source;
        AppFolderFixture fx;
        interruptedChange(source, fx.folder.userDatabase(),
                          fx.folder.userDatabase() + QStringLiteral("-journal"));

        ProgramRun run;
        QVERIFY2(run.start(fx.folder), qPrintable(run.onlyPrompt()));
        QVERIFY(run.state.orderActive);
        QCOMPARE(run.state.currentOrderNum, 1);
        QCOMPARE(run.state.userDb
                     ->openRecordset(QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = 1"))
                     .recordCount(),
                 1001);
        QVERIFY(run.state.userDb->integrityCheck().isEmpty());
        QVERIFY(!QFile::exists(fx.folder.userDatabase() + QStringLiteral("-before-recovery")));
    }

    // An open order with an amount beyond the program's: the order is resumed, the line named,
    // and the program goes on.
    void openOrderWithTooLargeAnAmount() {
        AppFolderFixture fx;
        fx.makeUserDatabase();
        Database::open(fx.folder.userDatabase(), Database::Access::ReadWrite)
            ->execute(QStringLiteral("UPDATE orderParts SET Price = '900000000000000'"));

        ProgramRun run;
        QVERIFY(run.start(fx.folder));
        QVERIFY(run.state.orderActive);
        QCOMPARE(run.dialogs.boxes().size(), 2);
        QVERIFY2(run.dialogs.boxes().last().prompt.startsWith(
                     QStringLiteral("Order number 1 can't be shown: line 1 (DV No. DA1001, Rover "
                                    "No. ERR1001: quantity 3, price 900000000000000) has an "
                                    "amount too large for Dorvane Quillon.")),
                 qPrintable(run.dialogs.boxes().last().prompt));
    }
};

QUILLON_TEST_CLASS(StartUpFaultsTest)
#include "test_start_up_faults.moc"
