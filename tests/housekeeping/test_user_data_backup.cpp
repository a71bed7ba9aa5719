#include "housekeeping/user_data_backup.h"
#include "platform/app_folder.h"
#include "platform/safe_file_writer.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"
#include "store/database.h"
#include "store/schema.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>
#include <optional>

using quillon::AppFolder;
using quillon::Database;
using quillon::Dialogs;
using quillon::ProgramState;
using quillon::ScriptedDialogs;
using quillon::UserDataBackup;

namespace {

// An Application folder with a User database holding one order, opened as the program holds it.
struct Fixture {
    QTemporaryDir dir;
    AppFolder folder{dir.path()};
    ProgramState state;
    ScriptedDialogs dialogs;
    int reopened = 0;
    UserDataBackup backup{state, dialogs, folder, [this] {
                              state.userDb = Database::open(folder.userDatabase(),
                                                            Database::Access::ReadWrite);
                              ++reopened;
                          }};

    Fixture() {
        {
            auto db = Database::create(folder.userDatabase());
            quillon::Schema::createUser(*db);
            db->execute("INSERT INTO orders (OrderDate, OrderStatus) VALUES ('01/03/2024', FALSE)");
        }
        state.userDb = Database::open(folder.userDatabase(), Database::Access::ReadWrite);
        state.orderActive = true;
        state.currentOrderNum = 1;
    }

    QByteArray read(const QString& path) const {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("could not read %s", qPrintable(path));
        return file.readAll();
    }

    void write(const QString& path, const QByteArray& content) const {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) < 0)
            qFatal("could not write %s", qPrintable(path));
    }

    // The files of the folder: no temporary copy may be left behind.
    QStringList files() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    // Adds an order line on the open User database and reads it back.
    bool storeWorks() const {
        if (!state.userDb || !state.userDb->isOpen())
            return false;
        state.userDb->execute(
            "INSERT INTO orderParts (OrderNum, DorvaneNum, RoverNum, Description, Quantity, Price, "
            "Comments) SELECT 1 AS a, 'DA1234' AS b, 'ERR1234' AS c, 'Oil filter' AS d, 2 AS e, "
            "'4.5' AS f, '' AS g");
        return state.userDb->openRecordset("SELECT * FROM orderParts WHERE OrderNum = 1")
                   .recordCount() >= 1;
    }
};

void checkQuestion(const ScriptedDialogs::Box& box) {
    QCOMPARE(box.prompt, "Do you wish to backup your user data file?\r\n\r\n"
                         "Your data will be copied to the file userdatabackup.mdb.");
    QCOMPARE(box.title, "Dorvane Quillon");
    QCOMPARE(box.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(box.icon, Dialogs::Icon::Question);
}

class UserDataBackupTest : public QObject {
    Q_OBJECT

private slots:
    void answeredNoChangesNothing() {
        Fixture f;
        f.write(f.folder.userBackup(), "the earlier backup");
        f.dialogs.answerNext(Dialogs::Button::No);
        Database* const before = f.state.userDb.get();

        f.backup.mnuBackup_Click();

        QCOMPARE(f.dialogs.boxes().size(), 1);
        checkQuestion(f.dialogs.boxes().at(0));
        QCOMPARE(f.read(f.folder.userBackup()), QByteArray("the earlier backup"));
        QCOMPARE(f.state.userDb.get(), before);
        QCOMPARE(f.reopened, 0);
        QVERIFY(f.storeWorks());
    }

    void answeredYesCopiesTheStore_data() {
        QTest::addColumn<bool>("earlierBackup");
        QTest::newRow("first backup") << false;
        QTest::newRow("earlier backup replaced") << true;
    }

    void answeredYesCopiesTheStore() {
        QFETCH(bool, earlierBackup);
        Fixture f;
        if (earlierBackup)
            f.write(f.folder.userBackup(), QByteArray(100000, 'x'));
        QVERIFY(f.storeWorks());
        f.dialogs.answerNext(Dialogs::Button::Yes);

        f.backup.mnuBackup_Click();

        QCOMPARE(f.dialogs.boxes().size(), 2);
        checkQuestion(f.dialogs.boxes().at(0));
        const auto& done = f.dialogs.boxes().at(1);
        QCOMPARE(done.prompt, "User data file copied to userdatabackup.mdb");
        QCOMPARE(done.title, "Dorvane Quillon");
        QCOMPARE(done.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(done.icon, Dialogs::Icon::None);

        const QByteArray copy = f.read(f.folder.userBackup());
        QCOMPARE(copy, f.read(f.folder.userDatabase()));
        QCOMPARE(f.files(), QStringList({"user.mdb", "userdatabackup.mdb"}));
        // The backup is a store of its own, with the order line written before it.
        {
            auto backupDb = Database::open(f.folder.userBackup(), Database::Access::ReadOnly);
            QCOMPARE(backupDb->openRecordset("SELECT * FROM orderParts").recordCount(), 1);
        }

        QCOMPARE(f.reopened, 1);
        QVERIFY(f.storeWorks());
        QVERIFY(f.state.orderActive);
        QCOMPARE(f.state.currentOrderNum, 1);
        QVERIFY(f.dialogs.errors().isEmpty());
    }

    // A copy that can't be made keeps whatever backup there was, says so, and the User database
    // is open again afterwards.
    void failedCopyKeepsTheEarlierBackup_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("backup name taken by a folder") << "folder";
        QTest::newRow("disk full during the copy") << "full";
    }

    void failedCopyKeepsTheEarlierBackup() {
        QFETCH(QString, obstacle);
        Fixture f;
        const QByteArray earlier(3000, 'e');
        if (obstacle == "folder") {
            QVERIFY(QDir().mkpath(f.folder.userBackup()));
            f.write(f.folder.userBackup() + "/keep.txt", earlier);
        } else {
            f.write(f.folder.userBackup(), earlier);
        }
        const QStringList filesBefore = f.files();
        f.dialogs.answerNext(Dialogs::Button::Yes);

        {
            std::optional<quillon::SafeFileWriter::InjectedFault> diskFull;
            if (obstacle == "full")
                diskFull.emplace(ENOSPC);
            f.backup.mnuBackup_Click();
        }

        QCOMPARE(f.dialogs.boxes().size(), 2);
        const auto& report = f.dialogs.boxes().at(1);
        QVERIFY2(
            report.prompt.startsWith("User data file NOT copied to userdatabackup.mdb\r\n\r\n"),
            qPrintable(report.prompt));
        QVERIFY2(report.prompt.contains(QDir::toNativeSeparators(f.folder.userBackup()) +
                                        (obstacle == "full" ? " could not be written: the disk "
                                                              "is full"
                                                            : "")),
                 qPrintable(report.prompt));
        QCOMPARE(report.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(report.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(report.title, "Dorvane Quillon");

        if (obstacle == "folder")
            QCOMPARE(f.read(f.folder.userBackup() + "/keep.txt"), earlier);
        else
            QCOMPARE(f.read(f.folder.userBackup()), earlier);
        QCOMPARE(f.files(), filesBefore);

        QCOMPARE(f.reopened, 1);
        QVERIFY(f.storeWorks());
    }

    void restoreNotice() {
        Fixture f;
        f.backup.mnuRestore_Click();
        QCOMPARE(f.dialogs.boxes().size(), 1);
        const auto& box = f.dialogs.boxes().at(0);
        QCOMPARE(box.prompt, "Please contact the IT Manager at Dorvane PLC (01632 960418)\r\n"
                             "if you wish to restore a previous backup of your user data file.");
        QCOMPARE(box.title, "Dorvane Quillon");
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(box.icon, Dialogs::Icon::None);
        QVERIFY(f.storeWorks());
    }
};

} // namespace

QUILLON_TEST_CLASS(UserDataBackupTest)

#include "test_user_data_backup.moc"
