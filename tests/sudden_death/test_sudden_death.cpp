// Sudden death: the driver runs a seeded workload through the real main window against the real
// stores and is killed with SIGKILL at a random moment, again and again on the same Application
// folder, as a counter whose power fails many times a day. After each kill the User database must
// pass the engine's integrity check and hold everything the driver had logged as done, with
// nothing half-done.
#include "platform/app_folder.h"
#include "program_driver.h"
#include "store/database.h"
#include "store_dump.h"
#include "test_files.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <random>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::ProgramDriver;
using quillon::tests::readFile;
using quillon::tests::StoreDump;

namespace {

// What is wrong with the store after a kill, given the store before the run and the run's log:
// a row that differs from what the log says was done, unless the step in progress may change it;
// an order that step deletes gone without all its lines, or kept without them; more than one open
// order; a line without its order.
QStringList problems(const StoreDump::Rows& before, const QString& logPath,
                     const StoreDump::Rows& after, int* stepsDone) {
    QList<QByteArray> lines = readFile(logPath).split('\n');
    lines.removeLast(); // cut short by the kill, or empty (or the file unreadable)
    StoreDump::Rows expected = before;
    QStringList inFlight; // the patterns of the step begun and not done
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split('\t');
        inFlight.clear();
        if (fields[0] == "done") {
            expected = StoreDump::decode(fields.value(2));
            ++*stepsDone;
        } else {
            for (const QByteArray& field : fields.mid(3))
                inFlight << QString::fromUtf8(field);
        }
    }
    const auto order = [](const QString& row) { return row.section(u':', 1, 1); };
    QStringList found;
    QSet<QString> rows(expected.keyBegin(), expected.keyEnd());
    for (const QString& row : rows.unite(QSet<QString>(after.keyBegin(), after.keyEnd()))) {
        const bool allowed = std::any_of(inFlight.begin(), inFlight.end(), [&](QString pattern) {
            const QChar last = pattern.back();
            if (last != u'*' && last != u'+')
                return row == pattern;
            return row.startsWith(pattern.chopped(1)) && (last == u'*' || !expected.contains(row));
        });
        if (expected.value(row, u"<none>"_s) != after.value(row, u"<none>"_s) && !allowed)
            found << row + (after.contains(row) ? u" changed"_s : u" lost"_s);
    }
    for (const QString& pattern : inFlight) {
        const QString prefix = u"line:%1:"_s.arg(order(pattern));
        if (!pattern.startsWith(u"order:") || pattern.endsWith(u'+') ||
            !inFlight.contains(prefix + u'*'))
            continue;
        for (auto it = expected.lowerBound(prefix);
             it != expected.end() && it.key().startsWith(prefix); ++it) {
            if (after.contains(pattern) ? after.value(it.key()) != it.value()
                                        : after.contains(it.key()))
                found << pattern + u" kept or deleted, its "_s + it.key() + u" not"_s;
        }
    }
    int open = 0;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (it.key().startsWith(u"order:"))
            open += it.value().section(QChar(0x1f), 1) == u"10" ? 1 : 0; // the integer 0
        else if (it.key().startsWith(u"line:") && !after.contains(u"order:" + order(it.key())))
            found << it.key() + u" without its order"_s;
    }
    if (open > 1)
        found << u"%1 open orders"_s.arg(open);
    return found;
}

} // namespace

class TestSuddenDeath : public QObject {
    Q_OBJECT

private slots:
    void killedAtRandomLosesNothing() {
        const int kills = qEnvironmentVariableIntValue("QUILLON_SUDDEN_DEATH_KILLS");
        const int runs = kills > 0 ? kills : 200;
        const quint32 firstSeed = 20261206;
        // Ten parts, two of them "Dorvane Only"; the addresses an order is finalised with. (The
        // driver runs the program on the folder, not this process.)
        const ProgramDriver fx;
        const AppFolder& folder = fx.folder;
        QStringList parts;
        for (int n = 1; n <= 10; ++n)
            parts << u"DorvaneNum=SDA%1|RoverNum=%2|Description=Driver's seal|CustomerPrice=%3"_s
                         .arg(1000 + n)
                         .arg(n % 5 ? u"RTC%1"_s.arg(n) : u"Dorvane Only"_s)
                         .arg(n % 4 ? n * 3 : 0);
        fx.addParts(parts);
        for (const char* table : {"orderCompanyDetails", "deliveryCompanyDetails"})
            Database::open(folder.userTemplate(), Database::Access::ReadWrite)
                ->execute(u"INSERT INTO %1(RecordName) SELECT 'O''Hara' AS a"_s.arg(
                    QLatin1String(table)));
        fx.copyOrderFormFiles();
        const QByteArray catalogueBytes = readFile(folder.catalogue());

        std::mt19937 random(firstSeed);
        StoreDump::Rows before; // the store as the next run finds it
        int stepsDone = 0;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        for (int run = 0; run < runs; ++run) {
            const quint32 seed = firstSeed + quint32(run);
            const QString log = fx.dir.filePath(u"log-%1.txt"_s.arg(run));
            // Every tenth kill falls in the start-up, which may have to roll back what the last
            // kill left half-written, or take over the folder's lock from it.
            const bool inStartUp = run % 10 == 9;
            const int delayMs = inStartUp ? int(random() % 250) : 5 + int(random() % 146);
            QProcess driver;
            driver.setProcessEnvironment(environment);
            driver.start(QStringLiteral(QUILLON_SUDDEN_DEATH_DRIVER),
                         {folder.path(), QString::number(seed), log});
            while (!inStartUp && !driver.readAllStandardOutput().contains("ready") &&
                   driver.waitForReadyRead(10000)) {
            }
            // The driver ends only when killed; ending by itself means a step went wrong.
            const QString at = u"seed %1, killed after %2 ms: "_s.arg(seed).arg(delayMs);
            QVERIFY2(!driver.waitForFinished(delayMs),
                     qPrintable(at + QString::fromUtf8(driver.readAllStandardError())));
            driver.kill();
            QVERIFY(driver.waitForFinished(10000));
            if (!QFile::exists(folder.userDatabase()) && run == 0)
                continue; // killed before the first start made it
            // Opening the store rolls back what the kill left half-written, as a start does.
            auto userDb = Database::open(folder.userDatabase(), Database::Access::ReadWrite);
            QCOMPARE(userDb->integrityCheck(), QStringList());
            const StoreDump::Rows after = StoreDump::read(userDb->handle());
            userDb.reset();
            const QStringList wrong = problems(before, log, after, &stepsDone);
            QVERIFY2(wrong.isEmpty(), qPrintable(at + wrong.join(u"; "_s)));
            before = after;
            QFile::remove(log);
        }
        QVERIFY(readFile(folder.catalogue()) == catalogueBytes); // only read
        qInfo("%d kills survived, %d steps verified, %d rows in the store at the end", runs,
              stepsDone, int(before.size()));
        QVERIFY2(stepsDone >= runs, "the kills fell too early to test the workload");
    }
};

QTEST_GUILESS_MAIN(TestSuddenDeath)
#include "test_sudden_death.moc"
