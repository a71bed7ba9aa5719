// What may stand in the Application folder when the program starts: damaged, odd or locked
// files, leftovers of a crash (the lock of a killed run, a journal), a running program. A start
// that can't go on says what is wrong in one box and leaves every file as it was; a start that can
// repairs what a crash left.
#include "app/start_up.h"
#include "housekeeping/user_data_backup.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "program_run.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "test_app_folder.h"
#include "test_registry.h"

#include <QDir>
#include <QRandomGenerator>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using quillon::tests::ProgramRun;
using quillon::tests::TestAppFolder;

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
        qFatal("could not write %s", qPrintable(path));
}

// user.mdb with one open order (OrderNum 1) of lines lines, the first of them DA1001 at 4.50.
void makeUserDatabase(const AppFolder& folder, int lines = 1) {
    const auto db = Database::create(folder.userDatabase());
    Schema::createUser(*db);
    Transaction transaction(*db);
    db->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT '01/02/2025' AS orderDate"));
    for (int i = 0; i < lines; ++i)
        db->execute(QStringLiteral("INSERT INTO orderParts(OrderNum, DorvaneNum, RoverNum, "
                                   "Description, Quantity, Price, Comments) SELECT '1' AS a, "
                                   "'DA%1' AS b, 'ERR%1' AS c, 'Oil filter' AS d, '3' AS e, "
                                   "'4.5' AS f, '%2' AS g")
                        .arg(1001 + i)
                        .arg(QString(i ? 100 : 0, u'c')));
    transaction.commit();
}

// The journal of a change to a large user.mdb cut short by a power cut, copied to journalTo (and
// the file as it then was to copyTo, when given).
void interruptedChange(const QString& copyTo, const QString& journalTo) {
    const TestAppFolder source;
    makeUserDatabase(source.folder, 1001);
    const auto db = Database::open(source.folder.userDatabase(), Database::Access::ReadWrite);
    db->execute(QStringLiteral("PRAGMA cache_size=5")); // the change reaches the file
    db->execute(QStringLiteral("BEGIN"));
    db->execute(QStringLiteral("DELETE * FROM orderParts WHERE OrderNum=1"));
    db->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=1"));
    if (!copyTo.isEmpty())
        QFile::copy(source.folder.userDatabase(), copyTo);
    QFile::copy(source.folder.userDatabase() + QStringLiteral("-journal"), journalTo);
    db->execute(QStringLiteral("ROLLBACK"));
}

// Puts what the row names in the folder.
void arrange(const TestAppFolder& fx, const QString& how, std::optional<InstanceLock>& lock,
             std::unique_ptr<Database>& other) {
    const AppFolder& folder = fx.folder;
    const QString user = folder.userDatabase();
    const QString lockFile = folder.file(InstanceLock::fileName());
    if (how.startsWith(u"backup, ")) {
        makeUserDatabase(folder);
        QVERIFY(QFile::rename(user, folder.userBackup()));
    }
    if (how.startsWith(u"lock ") || how.startsWith(u"in use") || how.startsWith(u"too large") ||
        how.startsWith(u"disk full"))
        makeUserDatabase(folder);
    if (how == u"garbage") {
        QByteArray bytes(64 * 1024, '\0');
        for (char& byte : bytes)
            byte = char(QRandomGenerator::global()->bounded(256));
        writeFile(user, bytes);
    } else if (how.endsWith(u"page overwritten")) {
        makeUserDatabase(folder, 1001);
        QFile file(user);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(4 * 4096));
        QCOMPARE(file.write(QByteArray(2 * 4096, '\xA5')), 2 * 4096);
    } else if (how == u"dangling link") {
        QVERIFY(QFile::link(QStringLiteral("/nowhere/drive/user.mdb"), user));
    } else if (how == u"folder") {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("user.mdb")));
    } else if (how == u"named pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(user).constData(), 0644), 0);
    } else if (how == u"unreadable" || how == u"read-only") {
        makeUserDatabase(folder);
        QVERIFY(QFile::setPermissions(user, how == u"read-only" ? QFileDevice::ReadOwner
                                                                : QFileDevice::WriteOwner));
    } else if (how.startsWith(u"stale journal")) {
        // A backup copied over user.mdb by hand, with the journal of a change to the file it
        // replaced still beside it.
        makeUserDatabase(folder);
        interruptedChange({}, user + QStringLiteral("-journal"));
    } else if (how == u"interrupted change") {
        interruptedChange(user, user + QStringLiteral("-journal"));
    } else if (how == u"in use by another program") {
        other = Database::open(user, Database::Access::ReadWrite);
        other->execute(QStringLiteral("BEGIN EXCLUSIVE"));
    } else if (how == u"too large an amount") {
        Database::open(user, Database::Access::ReadWrite)
            ->execute(QStringLiteral("UPDATE orderParts SET Price = '900000000000000'"));
    } else if (how == u"lock held by a run that takes no requests") {
        lock.emplace(folder.path());
        QCOMPARE(lock->tryAcquire(), InstanceLock::Outcome::Acquired);
    } else if (how.startsWith(u"lock left behind")) {
        writeFile(lockFile, how.endsWith(u"empty") ? QByteArray()
                            : how.endsWith(u"this process")
                                ? QByteArray::number(::getpid()) + "\nx\n"
                                : QByteArray("\xff\xfe no lock\n\n\n"));
    } else if (how.startsWith(u"lock a link")) {
        writeFile(fx.dir.path() + QStringLiteral("-notes.txt"), "the user's own notes\n");
        const QByteArray target = QFile::encodeName(fx.dir.path() + QStringLiteral("-notes.txt"));
        QCOMPARE(how.endsWith(u"hard") ? ::link(target.constData(), QFile::encodeName(lockFile))
                                       : ::symlink(target.constData(), QFile::encodeName(lockFile)),
                 0);
    } else if (how == u"catalogue without Parts") {
        QVERIFY(QFile::remove(folder.catalogue()));
        QVERIFY(QFile::copy(folder.userTemplate(), folder.catalogue()));
    } else if (how == u"parts.mdb missing") {
        QVERIFY(QFile::remove(folder.catalogue()));
    } else if (how == u"template missing") {
        QVERIFY(QFile::remove(folder.userTemplate()));
    } else if (how != u"disk full") {
        QFAIL(qPrintable(QStringLiteral("unknown arrangement ") + how));
    }
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void whatStandsInTheFolder_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("words"); // the key parts of the box; %F: the folder
        QTest::addColumn<bool>("starts");       // with its order 1 open
        const auto refused = [](const char* how, const QStringList& words) {
            QTest::newRow(how) << QString::fromLatin1(how) << words << false;
        };
        for (const char* how : {"garbage", "page overwritten"})
            refused(how, {"user.mdb in the folder %F is damaged and can't be used. Dorvane "
                          "Quillon has not changed it.",
                          "There is no backup of your user data (userdatabackup.mdb)",
                          UserDataBackup::restoreNotice(), "\r\n\r\nWhat is wrong: "});
        refused("backup, page overwritten",
                {"is damaged", "The last backup of your user data, userdatabackup.mdb, is in the"});
        refused("dangling link", {"user.mdb in the folder %F is a link to /nowhere/drive/user.mdb, "
                                  "which doesn't exist",
                                  "has not changed anything"});
        refused("folder", {"user.mdb in the folder %F is a folder, not a file."});
        refused("named pipe", {"user.mdb in the folder %F is a named pipe (FIFO), not a file."});
        refused("unreadable", {"user.mdb in the folder %F can't be read"});
        refused("read-only",
                {"user.mdb in the folder %F can't be written: the file is read-only."});
        refused("stale journal",
                {"the journal of an interrupted change, user.mdb-journal, that doesn't "
                 "belong to it",
                 "exactly as it was, and moved the journal aside as "
                 "user.mdb-journal-set-aside.",
                 "user.mdb is sound as it is: start Dorvane Quillon again"});
        // Locked by another program is in use, not damaged: nobody is sent to restore a backup.
        refused("in use by another program",
                {"The user database user.mdb in the folder %F is in use by another program."});
        refused("lock held by a run that takes no requests",
                {"Dorvane Quillon is already running from %F.\r\n\r\n"});
        for (const char* how : {"lock a link, symbolic", "lock a link, hard"})
            refused(how, {"quillon.lock in the Application folder %F is a link to another file"});
        refused("disk full", {"the disk is full", "Nothing has been changed."});
        refused("catalogue without Parts",
                {"parts.mdb in the folder %F can't be used: the table Parts is missing."});
        refused("parts.mdb missing", {"parts.mdb is missing from the folder %F"});
        refused("template missing", {"systemuserDB.dat is missing from the folder %F"});
        const auto starts = [](const char* how, const QStringList& words = {}) {
            QTest::newRow(how) << QString::fromLatin1(how) << words << true;
        };
        starts("interrupted change"); // undone, all before it kept
        starts("too large an amount", {"Order number 1 can't be shown: line 1 (DV No. DA1001, "
                                       "Rover No. ERR1001: quantity 3, price 900000000000000) "
                                       "has an amount too large for Dorvane Quillon."});
        for (const char* how : {"lock left behind, empty", "lock left behind, this process",
                                "lock left behind, garbage"})
            starts(how);
    }

    void whatStandsInTheFolder() {
        QFETCH(QString, how);
        QFETCH(QStringList, words);
        QFETCH(bool, starts);
        const TestAppFolder fx;
        const AppFolder& start = fx.folder;
        std::optional<InstanceLock> lock;
        std::unique_ptr<Database> other;
        arrange(fx, how, lock, other);
        auto expected = fx.snapshot();
        if (how.startsWith(u"stale journal")) // the journal alone is moved aside, as it was
            expected.insert(QStringLiteral("user.mdb-journal-set-aside"),
                            expected.take(QStringLiteral("user.mdb-journal")));
        const QString notes = fx.dir.path() + QStringLiteral("-notes.txt"); // planted links' target
        ProgramRun run;
        {
            std::optional<SafeFileWriter::InjectedFault> diskFull;
            if (how == u"disk full")
                diskFull.emplace(ENOSPC);
            QCOMPARE(run.start(start), starts);
        }
        for (QString& part : words)
            part.replace(QLatin1String("%F"), QDir::toNativeSeparators(start.path()));
        const QString said = starts && !run.dialogs.boxes().isEmpty()
                                 ? run.dialogs.boxes().last().prompt
                                 : run.onlyPrompt();
        for (const QString& part : words)
            QVERIFY2(said.contains(part), qPrintable(said));
        if (!starts) {
            QVERIFY2(run.refused(), qPrintable(said));
            QCOMPARE(fx.snapshot(), expected);
            QFile file(notes); // what a planted link leads to is never written
            QVERIFY(!file.open(QIODevice::ReadOnly) || file.readAll() == "the user's own notes\n");
            file.remove();
            if (!how.startsWith(u"lock"))
                QVERIFY(!QFile::exists(start.file(InstanceLock::fileName())));
            if (!how.startsWith(u"stale journal"))
                return;
            run.state = {}; // the restored backup starts with its order
            QVERIFY2(run.start(start), qPrintable(run.onlyPrompt()));
        }
        QVERIFY(run.state.orderActive);
        QCOMPARE(run.state.currentOrderNum, 1);
        QCOMPARE(run.state.userDb->integrityCheck(), QStringList());
        if (how == u"interrupted change")
            QCOMPARE(run.state.userDb->openRecordset(QStringLiteral("SELECT ID FROM orderParts"))
                         .recordCount(),
                     1001);
        QCOMPARE(InstanceLock(start.path()).holder()->processId,
                 QCoreApplication::applicationPid());
    }
};

QUILLON_TEST_CLASS(StartUpTest)
#include "test_start_up.moc"
