// Sudden death: the driver runs a seeded workload through the real main window against the real
// stores and is killed with SIGKILL at a random moment, again and again on the same Application
// folder, as a counter whose power fails many times a day. After each kill the User database must
// pass the engine's integrity check and hold everything the driver had logged as done, with
// nothing half-done.
#include "platform/app_folder.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/transaction.h"
#include "sudden_death_check.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <random>

using namespace quillon;
using namespace quillon::tests;

namespace {

int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// A small catalogue: ten parts, two of them "Dorvane Only", some texts with apostrophes.
void makeCatalogue(const QString& path) {
    auto catalogue = Database::create(path);
    Schema::createCatalogue(*catalogue);
    Transaction transaction(*catalogue);
    for (int n = 1; n <= 10; ++n) {
        const QString roverNum =
            n % 5 == 0 ? QStringLiteral("Dorvane Only") : QStringLiteral("RTC%1").arg(4000 + n);
        const QString description = n % 3 == 0 ? QStringLiteral("Driver's door seal %1").arg(n)
                                               : QStringLiteral("Brake pad set %1").arg(n);
        catalogue->execute(
            QStringLiteral("INSERT INTO Parts(DorvaneNum,RoverNum,Description,CustomerPrice,"
                           "LRPrice,UnitIssue) SELECT 'SDA%1' AS a, '%2' AS b, '%3' AS c, "
                           "'%4' AS d, '%5' AS e, '1' AS f")
                .arg(1000 + n)
                .arg(sqlEscape(roverNum), sqlEscape(description))
                .arg(n % 4 == 0 ? 0 : n * 3)
                .arg(n * 4));
    }
    transaction.commit();
}

void copyShippedFile(const QString& name, const AppFolder& folder) {
    const QString source = qEnvironmentVariable("QUILLON_TEST_DATA") + u'/' + name;
    if (!QFile::copy(source, folder.file(name)))
        qFatal("could not copy %s from QUILLON_TEST_DATA", qPrintable(name));
}

// The folder's lock files and what they hold, for a start that was refused.
QString lockFiles(const AppFolder& folder) {
    QString listing;
    const QDir dir(folder.path());
    for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.lock*")}, QDir::Files)) {
        QFile lock(file.filePath());
        const QByteArray content = lock.open(QIODevice::ReadOnly) ? lock.readAll() : QByteArray();
        listing += QStringLiteral("%1 (%2 bytes, %3): %4; ")
                       .arg(file.fileName())
                       .arg(file.size())
                       .arg(file.lastModified().toString(Qt::ISODateWithMs),
                            QString::fromUtf8(content).replace(u'\n', u'|'));
    }
    return listing.isEmpty() ? QStringLiteral("none") : listing;
}

} // namespace

class TestSuddenDeath : public QObject {
    Q_OBJECT

private slots:
    void checkFindsWhatIsWrong_data();
    void checkFindsWhatIsWrong();
    void killedAtRandomLosesNothing();
};

// The check itself, on made-up stores: it must see every kind of damage it is there to find.
void TestSuddenDeath::checkFindsWhatIsWrong_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("problem"); // a piece of the problem reported; empty: none
    QTest::newRow("none") << "none"
                          << "";
    QTest::newRow("step in progress applied") << "inFlightApplied"
                                              << "";
    QTest::newRow("done line lost") << "lostLine"
                                    << "lost of line:2:11";
    QTest::newRow("done price lost") << "lostPrice"
                                     << "changed of custom:1";
    QTest::newRow("row changed outside the step") << "outside"
                                                  << "changed of oaddr:1";
    QTest::newRow("order deleted, a line kept") << "halfDeleted"
                                                << "order 2 deleted";
    QTest::newRow("order kept, a line deleted") << "halfKept"
                                                << "order 2 kept";
    QTest::newRow("two open orders") << "twoOpen"
                                     << "2 open orders";
    QTest::newRow("line without order") << "orphan"
                                        << "line:9:40 without its order";
}

void TestSuddenDeath::checkFindsWhatIsWrong() {
    QFETCH(QString, damage);
    QFETCH(QString, problem);
    const QString sep(QChar(0x1f));
    const StoreDump::Rows before{
        {"order:1", "t01/03/2026" + sep + "i1"}, {"line:1:10", "tA"}, {"oaddr:1", "tOffice"}};
    QList<ActionLog::Record> records;
    records.append({false, 1, "newOrder", {"order:+"}, {}});
    records.append({true, 1, "newOrder", {}, {{"order:2", "t02/03/2026" + sep + "i0"}}});
    records.append({false, 2, "addLine", {"line:2:+"}, {}});
    records.append({true, 2, "addLine", {}, {{"line:2:11", "tB"}}});
    records.append({false, 3, "storePrice", {"custom:+"}, {}});
    records.append({true, 3, "storePrice", {}, {{"custom:1", "t12.5"}}});
    // In progress when killed: deleting order 2.
    records.append({false, 4, "deleteOrder", {"order:2", "line:2:*"}, {}});

    StoreDump::Rows after = before;
    after.insert("order:2", "t02/03/2026" + sep + "i0");
    after.insert("line:2:11", "tB");
    after.insert("custom:1", "t12.5");
    if (damage == u"inFlightApplied") {
        after.remove("order:2");
        after.remove("line:2:11");
    } else if (damage == u"lostLine") {
        records.removeLast(); // no step in progress
        after.remove("line:2:11");
    } else if (damage == u"lostPrice") {
        after.insert("custom:1", "t1");
    } else if (damage == u"outside") {
        after.insert("oaddr:1", "tElsewhere");
    } else if (damage == u"halfDeleted") {
        after.remove("order:2");
    } else if (damage == u"halfKept") {
        after.insert("line:2:11", "tC");
    } else if (damage == u"twoOpen") {
        records.append({true, 4, "deleteOrder", {}, {{"order:3", "t" + sep + "i0"}}});
        after.insert("order:3", "t" + sep + "i0");
    } else if (damage == u"orphan") {
        records.append({true, 4, "deleteOrder", {}, {{"line:9:40", "tX"}}});
        after.insert("line:9:40", "tX");
    }

    const SuddenDeathCheck::Outcome outcome = SuddenDeathCheck::check(before, records, after);
    if (problem.isEmpty()) {
        QCOMPARE(outcome.problems, QStringList());
        QCOMPARE(outcome.actionsVerified, 3);
        QCOMPARE(outcome.inFlightApplied, damage == u"inFlightApplied");
    } else {
        QVERIFY2(outcome.problems.join(u'\n').contains(problem),
                 qPrintable(outcome.problems.join(u'\n')));
    }
}

void TestSuddenDeath::killedAtRandomLosesNothing() {
    const int kills = environmentNumber("QUILLON_SUDDEN_DEATH_KILLS", 200);
    const auto firstSeed =
        static_cast<quint32>(environmentNumber("QUILLON_SUDDEN_DEATH_SEED", 20261206));
    qInfo("first seed %u (set QUILLON_SUDDEN_DEATH_SEED to repeat), %d kills", firstSeed, kills);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (qEnvironmentVariableIsSet("QUILLON_SUDDEN_DEATH_KEEP")) {
        dir.setAutoRemove(false); // to look into the store and the logs afterwards
        qInfo("Application folder %s", qPrintable(dir.path()));
    }
    const AppFolder folder(dir.path());
    makeCatalogue(folder.catalogue());
    {
        auto userTemplate = Database::create(folder.userTemplate());
        Schema::createUser(*userTemplate);
    }
    for (const char* name :
         {"orderHeader.dat", "orderMidA.dat", "orderFooter.dat", "1pixel-black.gif"})
        copyShippedFile(QString::fromLatin1(name), folder);
    const QByteArray catalogueBytes = [&folder] {
        QFile file(folder.catalogue());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    std::mt19937 random(firstSeed);
    StoreDump::Rows before; // the store as the next driver finds it; user.mdb is made by the first
    int actionsVerified = 0;
    int rowsVerified = 0;
    int inFlightApplied = 0;
    int startUpKills = 0;
    int totalMs = 0;
    QElapsedTimer clock;
    clock.start();
    for (int run = 0; run < kills; ++run) {
        const quint32 seed = firstSeed + static_cast<quint32>(run);
        const QString logPath = dir.filePath(QStringLiteral("log-%1.txt").arg(run));
        // Most kills fall in the workload; every tenth falls in the start-up, which may have to
        // roll back what the last kill left half-written, or take over the folder's lock from
        // it. A start takes some 50-250 ms here, so those kills spread over that much.
        const bool duringStartUp = run % 10 == 9;
        const int delayMs =
            duringStartUp ? static_cast<int>(random() % 250) : 5 + static_cast<int>(random() % 146);

        QProcess driver;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        driver.setProcessEnvironment(environment);
        driver.start(QStringLiteral(QUILLON_SUDDEN_DEATH_DRIVER),
                     {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("--seed"),
                      QString::number(seed), QStringLiteral("--log"), logPath});
        QVERIFY2(driver.waitForStarted(10000), qPrintable(driver.errorString()));
        if (!duringStartUp) {
            while (!driver.readAllStandardOutput().contains("ready")) {
                QVERIFY2(driver.waitForReadyRead(10000),
                         qPrintable(
                             QStringLiteral("seed %1: the driver did not start: %2\nlock files: %3")
                                 .arg(seed)
                                 .arg(QString::fromLocal8Bit(driver.readAllStandardError()),
                                      lockFiles(folder))));
            }
        }
        // The driver only ends when it is killed; ending by itself means a step went wrong.
        QVERIFY2(!driver.waitForFinished(delayMs),
                 qPrintable(QStringLiteral("seed %1: the driver ended with %2: %3")
                                .arg(seed)
                                .arg(driver.exitCode())
                                .arg(QString::fromLocal8Bit(driver.readAllStandardError()))));
        driver.kill(); // SIGKILL
        QVERIFY(driver.waitForFinished(10000));
        QCOMPARE(driver.exitStatus(), QProcess::CrashExit);
        startUpKills += duringStartUp ? 1 : 0;

        if (!QFile::exists(folder.userDatabase())) {
            QCOMPARE(run, 0); // killed before the first start made it
            continue;
        }
        // Opening the store rolls back whatever the kill left half-written, as the next start
        // of the program would.
        auto userDb = Database::open(folder.userDatabase(), Database::Access::ReadWrite);
        const QStringList damage = userDb->integrityCheck();
        QVERIFY2(damage.isEmpty(),
                 qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(damage.join(u'\n'))));
        StoreDump::Rows after = StoreDump::read(userDb->handle());
        userDb.reset();

        const SuddenDeathCheck::Outcome outcome =
            SuddenDeathCheck::check(before, ActionLog::read(logPath), after);
        QVERIFY2(outcome.problems.isEmpty(),
                 qPrintable(QStringLiteral("seed %1, killed after %2 ms: %3")
                                .arg(seed)
                                .arg(delayMs)
                                .arg(outcome.problems.join(QStringLiteral("; ")))));
        actionsVerified += outcome.actionsVerified;
        rowsVerified += outcome.rowsVerified;
        inFlightApplied += outcome.inFlightApplied ? 1 : 0;
        before = std::move(after);
        QFile::remove(logPath);
    }
    totalMs = static_cast<int>(clock.elapsed());

    // The catalogue is only ever read.
    QFile catalogue(folder.catalogue());
    QVERIFY(catalogue.open(QIODevice::ReadOnly));
    QVERIFY(catalogue.readAll() == catalogueBytes);

    qInfo(
        "%d kills survived (%d during start-up), %d actions verified (%d rows), the step in "
        "progress had taken effect %d times, nothing lost; %d orders, %d lines, %d custom "
        "prices, %d addresses in the store at the end; %.1f s",
        kills, startUpKills, actionsVerified, rowsVerified, inFlightApplied,
        static_cast<int>(std::count_if(before.keyBegin(), before.keyEnd(),
                                       [](const QString& k) { return k.startsWith(u"order:"); })),
        static_cast<int>(std::count_if(before.keyBegin(), before.keyEnd(),
                                       [](const QString& k) { return k.startsWith(u"line:"); })),
        static_cast<int>(std::count_if(before.keyBegin(), before.keyEnd(),
                                       [](const QString& k) { return k.startsWith(u"custom:"); })),
        static_cast<int>(std::count_if(
            before.keyBegin(), before.keyEnd(),
            [](const QString& k) { return k.startsWith(u"oaddr:") || k.startsWith(u"daddr:"); })),
        totalMs / 1000.0);
    QVERIFY2(actionsVerified >= kills, "the kills fell too early to test the workload");
}

QTEST_GUILESS_MAIN(TestSuddenDeath)
#include "test_sudden_death.moc"
