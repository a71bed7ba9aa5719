// Faults of the user database at start-up: the program says what is wrong, doesn't start, and
// leaves every file as it was.
#include "app/start_up.h"
#include "housekeeping/user_data_backup.h"
#include "platform/instance_lock.h"
#include "robustness_fixture.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

void damage(const AppFolderFixture& fx, const QString& how) {
    const QString user = fx.folder.userDatabase();
    if (how == u"garbage") {
        QRandomGenerator random(9);
        QByteArray bytes(64 * 1024, '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        AppFolderFixture::writeFile(user, bytes);
    } else if (how == u"empty file") {
        AppFolderFixture::writeFile(user, QByteArray());
    } else if (how == u"text") {
        AppFolderFixture::writeFile(user, "OrderNum,OrderDate\r\n1,01/02/2025\r\n");
    } else if (how == u"header only") {
        AppFolderFixture::writeFile(user, QByteArray("SQLite format 3\0", 16));
    } else if (how == u"truncated") {
        makeLargeUserDatabase(fx);
        QFile file(user);
        QVERIFY(file.resize(3 * pageSize));
    } else if (how == u"page overwritten") {
        makeLargeUserDatabase(fx);
        QFile file(user);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > 10 * pageSize);
        QVERIFY(file.seek(4 * pageSize));
        QVERIFY(file.write(QByteArray(2 * pageSize, '\xA5')) == 2 * pageSize);
    } else if (how == u"no user tables") {
        QVERIFY(QFile::copy(fx.folder.catalogue(), user)); // the catalogue in its place
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown damage ") + how));
    }
}

} // namespace

class StartUpFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void readOnlyUserDatabaseIsRefused_data() {
        QTest::addColumn<QFileDevice::Permissions>("permissions");
        QTest::newRow("read-only for everyone")
            << (QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup |
                QFileDevice::ReadOther);
        QTest::newRow("readable by its owner only")
            << (QFileDevice::ReadOwner | QFileDevice::ReadUser);
    }

    // Root may write any file; the read-only mark is kept all the same, so the test holds for
    // root (as the tests run here) and for an ordinary user (whom the system refuses).
    void readOnlyUserDatabaseIsRefused() {
        QFETCH(QFileDevice::Permissions, permissions);
        AppFolderFixture fx;
        fx.makeUserDatabase();
        const QString user = fx.folder.userDatabase();
        QVERIFY(QFile::setPermissions(user, permissions));
        const auto before = fx.snapshot();

        ProgramRun run;
        QVERIFY(!run.start(fx.folder));

        QCOMPARE(fx.snapshot(), before);
        QVERIFY2(run.refused(), qPrintable(run.onlyPrompt()));
        const auto& box = run.dialogs.boxes().first();
        QVERIFY2(box.prompt.startsWith(
                     QStringLiteral("The user database user.mdb in the folder %1 can't be "
                                    "written: the file is read-only.")
                         .arg(QDir::toNativeSeparators(fx.folder.path()))),
                 qPrintable(box.prompt));
        QVERIFY(box.prompt.contains(QLatin1String("won't start")));

        // Writable again, the same file starts and its order is there.
        QVERIFY(QFile::setPermissions(user, QFile::permissions(user) | QFileDevice::WriteOwner));
        ProgramRun again;
        QVERIFY2(again.start(fx.folder), qPrintable(again.onlyPrompt()));
        QVERIFY(again.state.orderActive);
        QCOMPARE(again.state.currentOrderNum, 1);
    }

    void damagedUserDatabaseIsNeverTouched_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("withBackup");
        for (const char* how : {"garbage", "empty file", "text", "header only", "truncated",
                                "page overwritten", "no user tables"}) {
            QTest::addRow("%s, with a backup", how) << QString::fromLatin1(how) << true;
            QTest::addRow("%s, no backup", how) << QString::fromLatin1(how) << false;
        }
    }

    void damagedUserDatabaseIsNeverTouched() {
        QFETCH(QString, how);
        QFETCH(bool, withBackup);
        AppFolderFixture fx;
        if (withBackup) {
            fx.makeUserDatabase();
            QVERIFY(QFile::copy(fx.folder.userDatabase(), fx.folder.userBackup()));
            QVERIFY(QFile::remove(fx.folder.userDatabase()));
        }
        damage(fx, how);
        const auto before = fx.snapshot();

        ProgramRun run;
        QVERIFY(!run.start(fx.folder));

        // Not a byte changed, nothing added (no journal, no lock left behind).
        QCOMPARE(fx.snapshot(), before);
        QVERIFY2(run.refused(), qPrintable(run.onlyPrompt()));
        const auto& box = run.dialogs.boxes().first();
        const QString folder = QDir::toNativeSeparators(fx.folder.path());
        QVERIFY2(box.prompt.startsWith(QStringLiteral("The user database user.mdb in the folder %1 "
                                                      "is damaged and can't be used. Dorvane "
                                                      "Quillon has not changed it.")
                                           .arg(folder)),
                 qPrintable(box.prompt));
        QVERIFY2(box.prompt.contains(withBackup ? QStringLiteral("The last backup of your user "
                                                                 "data, userdatabackup.mdb, is "
                                                                 "in the same folder")
                                                : QStringLiteral("There is no backup of your user "
                                                                 "data (userdatabackup.mdb)")),
                 qPrintable(box.prompt));
        QVERIFY2(box.prompt.contains(UserDataBackup::restoreNotice()), qPrintable(box.prompt));
        QVERIFY(box.prompt.contains(QLatin1String("\r\n\r\nWhat is wrong: ")));
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
        makeLargeUserDatabase(source);
        AppFolderFixture fx;
        {
            const auto db =
                Database::open(source.folder.userDatabase(), Database::Access::ReadWrite);
            db->execute(QStringLiteral("PRAGMA cache_size=5")); // the change reaches the file
            db->execute(QStringLiteral("BEGIN"));
            db->execute(QStringLiteral("DELETE * FROM orderParts WHERE OrderNum=1"));
            db->execute(QStringLiteral("DELETE * FROM orders WHERE OrderNum=1"));
            // The files as a power cut at this moment would leave them.
            const QString journal = source.folder.userDatabase() + QStringLiteral("-journal");
            QVERIFY(QFileInfo(journal).size() > 0);
            QVERIFY(QFile::copy(source.folder.userDatabase(), fx.folder.userDatabase()));
            QVERIFY(QFile::copy(journal, fx.folder.userDatabase() + QStringLiteral("-journal")));
            db->execute(QStringLiteral("ROLLBACK"));
        }

        ProgramRun run;
        QVERIFY2(run.start(fx.folder), qPrintable(run.onlyPrompt()));
        QVERIFY(run.state.orderActive);
        QCOMPARE(run.state.currentOrderNum, 1);
        QCOMPARE(run.state.userDb
                     ->openRecordset(QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = 1"))
                     .recordCount(),
                 1001);
        QVERIFY(run.state.userDb->integrityCheck().isEmpty());
    }
};

QUILLON_TEST_CLASS(StartUpFaultsTest)
#include "test_start_up_faults.moc"
