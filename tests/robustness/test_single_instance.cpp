// One run of the program a folder: a second start on the same Application folder brings the
// running program's window forward (or says it is already running there) and ends; other
// folders, and a folder whose program was killed, start as usual.
#include "app/start_up.h"
#include "platform/instance_lock.h"
#include "platform/safe_file_writer.h"
#include "robustness_fixture.h"
#include "test_registry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <optional>
#include <sys/file.h>

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
        QCOMPARE(elsewhere.tryAcquire(), InstanceLock::Outcome::Acquired);
        QCOMPARE(first->tryAcquire(), InstanceLock::Outcome::Acquired); // taking it again is fine
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::HeldElsewhere);

        // The lock goes with its holder.
        first.reset();
        QVERIFY(!QFile::exists(lockPath(fx.folder)));
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::Acquired);
        QVERIFY(QFile::exists(lockPath(fx.folder)));
    }

    // A lock file whose holder is gone holds nobody, whatever it says and however new it is:
    // an empty one (killed before writing into it), one naming a process that runs (IDs are
    // reused; even this very process's ID), text that names nothing.
    void lockFileLeftBehindIsTakenOver_data() {
        QTest::addColumn<QByteArray>("content");
        const QByteArray here = '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("naming this process")
            << QByteArray::number(QCoreApplication::applicationPid()) + here;
        QTest::newRow("naming a running process") << QByteArray("1") + here;
        QTest::newRow("another computer") << QByteArray("4242\nquillon\ncounter-2\n");
        QTest::newRow("garbage") << QByteArray("\xff\xfe not a lock\n\n\n\n\n\n");
    }
    void lockFileLeftBehindIsTakenOver() {
        QFETCH(QByteArray, content);
        AppFolderFixture fx;
        AppFolderFixture::writeFile(lockPath(fx.folder), content);

        InstanceLock lock(fx.folder.path());
        QCOMPARE(lock.tryAcquire(), InstanceLock::Outcome::Acquired);
        const auto holder = lock.holder();
        QVERIFY(holder.has_value());
        QCOMPARE(holder->processId, QCoreApplication::applicationPid());
        QCOMPARE(holder->hostName, QSysInfo::machineHostName());
        InstanceLock second(fx.folder.path());
        QCOMPARE(second.tryAcquire(), InstanceLock::Outcome::HeldElsewhere);
    }

    // A run that has only just taken the lock, and not yet written its name into the file,
    // holds the folder all the same.
    void holderThatHasNotWrittenItsNameCounts() {
        AppFolderFixture fx;
        QFile taken(lockPath(fx.folder));
        QVERIFY(taken.open(QIODevice::ReadWrite));
        QCOMPARE(::flock(taken.handle(), LOCK_EX | LOCK_NB), 0);

        InstanceLock lock(fx.folder.path());
        QCOMPARE(lock.tryAcquire(), InstanceLock::Outcome::HeldElsewhere);
        QVERIFY(!lock.isHeld());
        QVERIFY(!lock.holder().has_value());
        taken.close(); // the lock goes with the file's last handle, as when a process is killed
        QCOMPARE(lock.tryAcquire(), InstanceLock::Outcome::Acquired);
    }

    // A second start on the folder asks the first to bring its window forward, and ends
    // without a box; a holder that doesn't answer leaves the box saying it is already running.
    void secondStartBringsTheFirstWindowForward() {
        AppFolderFixture fx;
        fx.makeUserDatabase();
        ProgramRun first;
        QVERIFY2(first.start(fx.folder), qPrintable(first.onlyPrompt()));
        const QByteArray userBefore = AppFolderFixture::readFile(fx.folder.userDatabase());
        auto* const lock = first.window->findChild<InstanceLock*>();
        QVERIFY(lock && lock->isHeld());
        QSignalSpy asked(lock, &InstanceLock::activationRequested);

        ProgramRun second;
        QVERIFY(!second.start(fx.folder));
        QVERIFY(second.handedOver);
        QCOMPARE(second.dialogs.boxes().size(), 0);
        QCOMPARE(asked.size(), 1);
        QVERIFY(!second.state.orderActive); // the open order stays with the first

        // The first run goes on as before, still holding the folder.
        QCOMPARE(AppFolderFixture::readFile(fx.folder.userDatabase()), userBefore);
        QVERIFY(first.state.orderActive);
        QCOMPARE(first.state.userDb->execute(
                     QStringLiteral("UPDATE orders SET OrderStatus = TRUE WHERE OrderNum = 1")),
                 1);

        // Once the first has ended, the folder starts again; a holder that takes no requests
        // gets the box.
        first.window.reset();
        QVERIFY(!QFile::exists(lockPath(fx.folder)));
        InstanceLock silent(fx.folder.path());
        QCOMPARE(silent.tryAcquire(), InstanceLock::Outcome::Acquired);
        ProgramRun refused;
        QVERIFY(!refused.start(fx.folder));
        QVERIFY2(refused.refused(), qPrintable(refused.onlyPrompt()));
        QVERIFY(!refused.handedOver);
        QVERIFY2(refused.onlyPrompt().startsWith(alreadyRunning(fx.folder) + "\r\n\r\n"),
                 qPrintable(refused.onlyPrompt()));
    }

    void failedStartLeavesTheFolderFree() {
        AppFolderFixture fx;
        AppFolderFixture ok;
        QVERIFY(QFile::remove(fx.folder.catalogue()));
        ProgramRun failed;
        QVERIFY(!failed.start(fx.folder));
        QVERIFY(failed.dialogs.boxes().first().prompt.contains(QLatin1String("parts.mdb")));
        QVERIFY(!QFile::exists(lockPath(fx.folder)));

        // A full disk: said so, and no lock file is left behind.
        QVERIFY(QFile::copy(ok.folder.catalogue(), fx.folder.catalogue()));
        const auto before = fx.snapshot();
        ProgramRun full;
        {
            SafeFileWriter::InjectedFault diskFull(ENOSPC);
            QVERIFY(!full.start(fx.folder));
        }
        QVERIFY2(full.refused() && full.onlyPrompt().contains("the disk is full") &&
                     full.onlyPrompt().contains("Nothing has been changed."),
                 qPrintable(full.onlyPrompt()));
        QCOMPARE(fx.snapshot(), before);
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

        // A second start asks it to bring its window forward (once it takes requests).
        std::optional<ProgramRun> second;
        for (int attempt = 0; attempt < 100 && !(second && second->handedOver); ++attempt) {
            second.emplace();
            QVERIFY(!second->start(fx.folder));
            QVERIFY2(second->handedOver ||
                         second->onlyPrompt().startsWith(alreadyRunning(fx.folder)),
                     qPrintable(second->onlyPrompt()));
            QThread::msleep(second->handedOver ? 0 : 100);
        }
        QVERIFY(second->handedOver);

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

QUILLON_TEST_CLASS(SingleInstanceTest)
#include "test_single_instance.moc"
