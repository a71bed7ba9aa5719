// One run of the program a folder: a second start on the same Application folder says the
// program is already running there and ends; other folders, and a folder whose program was
// killed, start as usual.
#include "app/start_up.h"
#include "platform/instance_lock.h"
#include "robustness_fixture.h"
#include "robustness_tests.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <optional>

using namespace quillon;
using quillon::tests::AppFolderFixture;
using quillon::tests::ProgramRun;

namespace {

QString alreadyRunning(const AppFolder& folder) {
    return QStringLiteral("Dorvane Quillon is already running from %1.")
        .arg(QDir::toNativeSeparators(folder.path()));
}

QString lockPath(const AppFolder& folder) {
    return folder.file(InstanceLock::fileName());
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void twoHoldersInOneProcess() {
        AppFolderFixture fx;
        AppFolderFixture other;
        std::optional<InstanceLock> first;
        first.emplace(fx.folder.path());
        InstanceLock second(fx.folder.path());
        InstanceLock elsewhere(other.folder.path());

        QCOMPARE(first->tryAcquire(), InstanceLock::Outcome::Acquired);
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::HeldElsewhere);
        QVERIFY(!second.isHeld());
        const auto holder = second.holder();
        QVERIFY(holder.has_value());
        QCOMPARE(holder->processId, QCoreApplication::applicationPid());
        QCOMPARE(elsewhere.tryAcquire(), InstanceLock::Outcome::Acquired);
        QCOMPARE(first->tryAcquire(), InstanceLock::Outcome::Acquired); // taking it again is fine
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::HeldElsewhere);

        // The lock goes with its holder.
        first.reset();
        QVERIFY(!QFile::exists(lockPath(fx.folder)));
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::Acquired);
        QVERIFY(QFile::exists(lockPath(fx.folder)));
    }

    // A run killed between making the lock file and writing into it leaves an empty file: it
    // holds nobody once it has stood a moment, while a fresh one still counts.
    void emptyLockFileLeftByAKill_data() {
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("takenOver");
        QTest::newRow("old") << 60 << true;
        QTest::newRow("just made") << 0 << false;
    }
    void emptyLockFileLeftByAKill() {
        QFETCH(int, ageSeconds);
        QFETCH(bool, takenOver);
        AppFolderFixture fx;
        QFile empty(lockPath(fx.folder));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QVERIFY(empty.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                  QFileDevice::FileModificationTime));
        empty.close();
        InstanceLock lock(fx.folder.path());
        QCOMPARE(lock.tryAcquire(), takenOver ? InstanceLock::Outcome::Acquired
                                              : InstanceLock::Outcome::HeldElsewhere);
    }

    // A killed holder whose process ID the next start happens to get again.
    void lockNamingThisProcessLeftByAKill() {
        AppFolderFixture fx;
        QFile left(lockPath(fx.folder));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                   QCoreApplication::applicationName().toUtf8() + '\n' +
                   QSysInfo::machineHostName().toUtf8() + '\n');
        left.close();
        InstanceLock lock(fx.folder.path());
        QCOMPARE(lock.tryAcquire(), InstanceLock::Outcome::Acquired);
    }

    void secondStartOnTheSameFolderIsRefused() {
        AppFolderFixture fx;
        fx.makeUserDatabase();
        ProgramRun first;
        QVERIFY2(first.start(fx.folder), qPrintable(first.onlyPrompt()));
        const QByteArray userBefore = AppFolderFixture::readFile(fx.folder.userDatabase());

        ProgramRun second;
        QVERIFY(!second.start(fx.folder));
        QVERIFY2(second.refused(), qPrintable(second.onlyPrompt()));
        QVERIFY(!second.state.orderActive); // the open order stays with the first
        const auto& box = second.dialogs.boxes().first();
        QVERIFY2(box.prompt.startsWith(alreadyRunning(fx.folder) + QStringLiteral("\r\n\r\n")),
                 qPrintable(box.prompt));
        QVERIFY(StartUp::failureExitCode != 0);

        // The first run goes on as before, still holding the folder.
        QCOMPARE(AppFolderFixture::readFile(fx.folder.userDatabase()), userBefore);
        QVERIFY(first.state.orderActive);
        QCOMPARE(first.state.userDb->execute(
                     QStringLiteral("UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 1")),
                 1);
        QVERIFY(QFile::exists(lockPath(fx.folder)));

        // Once the first has ended, the folder starts again.
        first.window.reset();
        QVERIFY(!QFile::exists(lockPath(fx.folder)));
        ProgramRun third;
        QVERIFY2(third.start(fx.folder), qPrintable(third.onlyPrompt()));
    }

    void differentFoldersDontBlockEachOther() {
        AppFolderFixture a;
        AppFolderFixture b;
        ProgramRun first;
        ProgramRun second;
        QVERIFY2(first.start(a.folder), qPrintable(first.onlyPrompt()));
        QVERIFY2(second.start(b.folder), qPrintable(second.onlyPrompt()));
        QVERIFY(first.state.userDb && second.state.userDb);
    }

    void failedStartLeavesTheFolderFree() {
        AppFolderFixture fx;
        QVERIFY(QFile::remove(fx.folder.catalogue()));
        ProgramRun failed;
        QVERIFY(!failed.start(fx.folder));
        QVERIFY(failed.dialogs.boxes().first().prompt.contains(QLatin1String("parts.mdb")));
        QVERIFY(!QFile::exists(lockPath(fx.folder)));

        // And a start refused because the folder was taken doesn't free it for anyone else.
        AppFolderFixture ok;
        ProgramRun holder;
        QVERIFY(holder.start(ok.folder));
        ProgramRun refused;
        QVERIFY(!refused.start(ok.folder));
        ProgramRun refusedAgain;
        QVERIFY(!refusedAgain.start(ok.folder));
        QVERIFY(refusedAgain.onlyPrompt().startsWith(alreadyRunning(ok.folder)));
    }

    // The real program holds its folder from the start; killed, it leaves a lock file that no
    // longer counts.
    void killedProgramDoesNotBlockTheNextStart() {
#ifndef QUILLON_PROGRAM_PATH
        QSKIP("the program is not part of this build");
#else
        AppFolderFixture fx;
        fx.makeUserDatabase();
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(QUILLON_PROGRAM_PATH),
                      {QStringLiteral("--app-folder"), fx.folder.path()});
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));

        // Wait for the program to hold the folder.
        InstanceLock probe(fx.folder.path());
        QDeadlineTimer deadline(30000);
        bool held = false;
        while (!held && !deadline.hasExpired() && program.state() == QProcess::Running) {
            const auto holder = probe.holder();
            held = holder && holder->processId == program.processId();
            if (!held)
                QThread::msleep(50);
        }
        QVERIFY2(held, "the program did not take its folder");

        ProgramRun second;
        QVERIFY(!second.start(fx.folder));
        QVERIFY2(second.onlyPrompt().startsWith(alreadyRunning(fx.folder)),
                 qPrintable(second.onlyPrompt()));

        program.kill();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(lockPath(fx.folder))); // left behind by the killed program

        ProgramRun next;
        QVERIFY2(next.start(fx.folder), qPrintable(next.onlyPrompt()));
        QVERIFY(next.state.orderActive); // the open order is taken up by the new run
        const auto holder = probe.holder();
        QVERIFY(holder.has_value());
        QCOMPARE(holder->processId, QCoreApplication::applicationPid());
#endif
    }
};

QUILLON_ROBUSTNESS_TEST(SingleInstanceTest)
#include "test_single_instance.moc"
