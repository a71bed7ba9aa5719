// quillon-bench: times the real program on scale catalogues (run by scripts/bench; see the
// README's Performance section). In-process cases drive the main window offscreen; start-up and
// peak memory run in fresh processes.
#include "baseline_query.h"
#include "bench_folder.h"
#include "bench_report.h"
#include "bench_session.h"
#include "catalogue_cases.h"
#include "sample_stats.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <sqlite3.h>
#include <utility>

using namespace quillon;
using namespace Qt::StringLiterals;
using namespace quillon::bench;

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

const QString anyVehicle = u"- any -"_s;

// A search of the table: part number (vehicle empty) or description.
struct SearchCase {
    QString name;
    QString label;
    QString text;
    QString vehicle; // empty: a part-number search
    BenchReport::Target target = BenchReport::Target::None;
    double limit = 0;
};

QString baselineWhere(const SearchCase& c) {
    return c.vehicle.isEmpty() ? BaselineQuery::partNumberWhere(c.text)
                               : BaselineQuery::descriptionWhere(c.text, c.vehicle);
}

BenchSession::Search runSearch(BenchSession& session, const SearchCase& c) {
    return c.vehicle.isEmpty() ? session.searchPart(c.text) : session.searchDesc(c.text, c.vehicle);
}

// A field of /proc/self/status, in kB.
qint64 statusKb(const char* field) {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

struct Options {
    QString appTemplate;
    QString program;
    QString tool; // quillon-db
    QString work;
    int runs = 7;
    // The groups of cases to run (--cases); empty: all of them.
    QStringList cases;
    [[nodiscard]] bool wanted(const char* group) const {
        return cases.isEmpty() || cases.contains(QString::fromLatin1(group));
    }
};

// The orders: a completed one of 500 lines (for the Order form) and an open one of 499 lines
// (the 500th is the line added), of distinct parts other than the one the add-a-line search
// shows first.
void pickOrderLines(const QString& catalogue, qint64 shownId, std::vector<SeedLine>& completed,
                    std::vector<SeedLine>& open) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(catalogue).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT ID, DorvaneNum, RoverNum, Description FROM Parts WHERE "
                       "length(RoverNum) > 0 ORDER BY ID LIMIT 20000",
                       -1, &stmt, nullptr);
    if (stmt == nullptr)
        throw std::runtime_error(std::string("picking the order lines: ") + sqlite3_errmsg(db));
    const auto text = [stmt](int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
    };
    std::vector<std::pair<qint64, SeedLine>> parts;
    QString shownRover;
    QString shownDorvane;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        parts.push_back({sqlite3_column_int64(stmt, 0), {text(1), text(2), text(3)}});
        if (parts.back().first == shownId) {
            shownDorvane = parts.back().second.dorvaneNum.toCaseFolded();
            shownRover = parts.back().second.roverNum.toCaseFolded();
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    std::set<QString> keys;
    for (const auto& [id, line] : parts) {
        const bool dorvaneOnly = line.roverNum == u"Dorvane Only";
        const QString key =
            QString(dorvaneOnly ? u"D:"_s + line.dorvaneNum : u"R:"_s + line.roverNum)
                .toCaseFolded();
        if (id == shownId || line.roverNum.toCaseFolded() == shownRover ||
            line.dorvaneNum.toCaseFolded() == shownDorvane || !keys.insert(key).second)
            continue;
        if (completed.size() < 500)
            completed.push_back(line);
        else if (open.size() < 499)
            open.push_back(line);
        else
            break;
    }
}

// Start-up as a fresh process, to the window shown: milliseconds.
double startUp(const Options& options, const QString& folder) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"QUILLON_EXIT_WHEN_READY"_s, u"1"_s);
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(options.program, {u"--app-folder"_s, folder});
    double readyMs = -1;
    while ((process.state() != QProcess::NotRunning || process.bytesAvailable() > 0) &&
           timer.elapsed() < 60000) {
        if (process.canReadLine() || process.waitForReadyRead(5000)) {
            while (process.canReadLine()) {
                if (process.readLine().trimmed() == "ready" && readyMs < 0)
                    readyMs = double(timer.nsecsElapsed()) / 1e6;
            }
        } else if (process.state() == QProcess::NotRunning) {
            break;
        }
        if (readyMs >= 0)
            break;
    }
    if (!process.waitForFinished(10000))
        process.kill();
    if (readyMs < 0)
        throw std::runtime_error("the program did not get ready: " +
                                 process.readAllStandardError().toStdString());
    return readyMs;
}

// Peak resident memory of a fresh process that starts the window and runs one search.
double peakMemoryMb(const Options& options, const QString& scaleDir, const SearchCase& c) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(env);
    process.start(QCoreApplication::applicationFilePath(),
                  {u"--app-template"_s, options.appTemplate, u"--work"_s, options.work,
                   u"--memory-of"_s, scaleDir, u"--text"_s, c.text, u"--vehicle"_s,
                   c.vehicle.isEmpty() ? u"-"_s : c.vehicle});
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw std::runtime_error("the memory run failed: " +
                                 process.readAllStandardError().toStdString());
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("VmHWM "))
            return double(line.mid(6).toLongLong()) / 1024.0;
    }
    throw std::runtime_error("the memory run printed no VmHWM");
}

// One search in a fresh process, repeated to profile it under perf; prints the hits and the peak
// resident memory.
int memoryChild(const QString& appTemplate, const QString& work, const QString& scaleDir,
                const QString& text, const QString& vehicle, int repeats) {
    BenchFolder folder(work, appTemplate, scaleDir);
    BenchSession session(folder.path());
    session.start();
    BenchSession::Search result;
    for (int r = 0; r < repeats; ++r)
        result = vehicle == u"-" ? session.searchPart(text) : session.searchDesc(text, vehicle);
    std::printf("hits %d\nVmHWM %lld\n", result.hits, static_cast<long long>(statusKb("VmHWM")));
    // What is resident at the end, by kind: the heap, and the pages of mapped files.
    std::printf("RssAnon %lld\nRssFile %lld\n", static_cast<long long>(statusKb("RssAnon")),
                static_cast<long long>(statusKb("RssFile")));
    return 0;
}

// The targets at 1,000,000 parts: broad searches and fills within 1.5 times their baseline,
// narrow searches within 0.05 times theirs (the index reads a few entries where the baseline
// scans ten times the rows of 100,000 parts), and the broad cases' peak memory at most 250 MB.
std::map<QString, BenchReport::Goal> millionTargets() {
    using Target = BenchReport::Target;
    std::map<QString, BenchReport::Goal> goals;
    for (const char* name : {"search-part-broad", "search-desc-any-broad",
                             "search-desc-vehicle-broad", "fill-1x", "fill-2x", "sort-fill-2x"})
        goals[QString::fromLatin1(name)] = {Target::RatioToBaseline, 1.5};
    for (const char* name :
         {"search-part-narrow", "search-desc-narrow", "search-desc-vehicle-narrow"})
        goals[QString::fromLatin1(name)] = {Target::RatioToBaseline, 0.05};
    for (const char* name : {"peak-memory-broad", "peak-memory-part-broad", "peak-memory-fill"})
        goals[QString::fromLatin1(name)] = {Target::Absolute, 250};
    // A part number typed without its marks, and the catalogue against the shell's.
    goals[u"search-part-loose"_s] = {Target::RatioToBaseline, 0.25};
    // Walking the list: the next part shown.
    goals[u"next-row"_s] = {Target::Absolute, 3};
    goals[u"catalogue-size"_s] = {Target::RatioToBaseline, 1.1};
    goals[u"import-time"_s] = {Target::RatioToBaseline, 1.5};
    return goals;
}

// withTargets: the 100,000-part targets; million: those of millionTargets() instead.
void runScale(const Options& options, const QString& scaleDir, bool withTargets, bool million,
              int runs, int& targets, int& met) {
    const QString catalogue = QDir(scaleDir).filePath(u"parts.mdb"_s);
    BaselineQuery baseline(catalogue);
    int parts = 0;
    baseline.run(u"1"_s, &parts);
    BenchReport report(
        u"%1 parts (%2), %3 runs a case"_s.arg(parts).arg(QDir(scaleDir).absolutePath()).arg(runs));
    using Target = BenchReport::Target;
    const std::vector<SearchCase> searches = {
        {u"search-part-narrow"_s, u"part number, narrow \"BJ10\""_s, u"BJ10"_s, QString(),
         Target::RatioToBaseline, 0.25},
        {u"search-part-broad"_s, u"part number, broad \"LR0?\""_s, u"LR0?"_s, QString(),
         Target::RatioToBaseline, 3},
        {u"search-desc-narrow"_s, u"description, narrow \"PANEL - SERIES 3 88\""_s,
         u"PANEL - SERIES 3 88"_s, anyVehicle, Target::RatioToBaseline, 0.25},
        {u"search-desc-any-broad"_s, u"description, - any -, broad \"T - \""_s, u"T - "_s,
         anyVehicle, Target::RatioToBaseline, 3},
        {u"search-desc-vehicle-broad"_s, u"description, Defender, broad \"ER*-\""_s, u"ER*-"_s,
         u"Defender"_s, Target::RatioToBaseline, 3},
        {u"search-desc-vehicle-narrow"_s, u"description, Defender, \"BONNET PANEL - DEF\""_s,
         u"BONNET PANEL - DEF"_s, u"Defender"_s, Target::None, 0},
    };
    const SearchCase fillOnce = {u"fill-1x"_s, u"fill, description \"ER*-\""_s, u"ER*-"_s,
                                 anyVehicle};
    const SearchCase fillTwice = {u"fill-2x"_s, u"fill, description \"*E*-\""_s, u"*E*-"_s,
                                  anyVehicle};

    // The part the add-a-line search shows first.
    qint64 shownId = 0;
    baseline.run(baselineWhere(searches[0]), nullptr, &shownId);
    std::vector<SeedLine> completed;
    std::vector<SeedLine> open;
    pickOrderLines(catalogue, shownId, completed, open);
    if (completed.size() < 500 || open.size() < 499)
        throw std::runtime_error("the catalogue has too few parts for a 500-line order");

    BenchFolder folder(options.work, options.appTemplate, scaleDir);
    BenchSession session(folder.path());
    const qint32 completedOrder = session.seedOrders(completed, open);
    session.start();

    const auto measureSearch = [&](const SearchCase& c, SampleStats& measured, SampleStats& base) {
        int rows = 0;
        qint64 firstId = 0;
        runSearch(session, c); // warm
        baseline.run(baselineWhere(c), &rows, &firstId);
        int hits = 0;
        for (int r = 0; r < runs; ++r) {
            const auto result = runSearch(session, c);
            measured.add(result.ms);
            hits = result.hits;
            if (hits != rows || (rows > 0 && session.state().resultPartIds.front() != firstId))
                throw std::runtime_error(u"%1: the program listed %2 parts, the "
                                         u"baseline %3"_s.arg(c.label)
                                             .arg(hits)
                                             .arg(rows)
                                             .toStdString());
            base.add(baseline.run(baselineWhere(c)));
        }
        return hits;
    };

    for (const SearchCase& c : searches) {
        if (!options.wanted("searches"))
            break;
        BenchReport::Case row = BenchReport::makeCase(c.name, c.label, u"ms"_s);
        row.hits = measureSearch(c, row.measured, row.baseline);
        row.target = withTargets ? c.target : Target::None;
        row.limit = c.limit;
        report.add(std::move(row));
    }
    if (options.wanted("searches"))
        report.add(CatalogueCases::looseNumber(session, baseline, catalogue, withTargets, runs));

    // Linear fill: twice the hits in at most 2.2 times the time.
    if (options.wanted("fills")) {
        BenchReport::Case once = BenchReport::makeCase(fillOnce.name, fillOnce.label, u"ms"_s);
        once.hits = measureSearch(fillOnce, once.measured, once.baseline);
        BenchReport::Case twice = BenchReport::makeCase(fillTwice.name, fillTwice.label, u"ms"_s);
        twice.hits = measureSearch(fillTwice, twice.measured, twice.baseline);
        BenchReport::Case linear = BenchReport::makeCase(
            u"fill-linear"_s, u"fill growth: time ratio / hits ratio"_s, u"x"_s);
        linear.measured.add((twice.measured.median() / once.measured.median()) /
                            (double(twice.hits) / double(once.hits)));
        linear.target = withTargets ? Target::Absolute : Target::None;
        linear.limit = 1.1;
        // Sorting the filled rows by a heading click (by the description, then by the number, each
        // click the other way round from the one before on that column), against the fill.
        BenchReport::Case sort = BenchReport::makeCase(
            u"sort-fill-2x"_s, u"sort the rows of \"*E*-\" (heading click)"_s, u"ms"_s);
        for (int r = 0; r < runs; ++r) {
            sort.measured.add(session.sortBy(2));
            sort.measured.add(session.sortBy(0));
        }
        sort.hits = twice.hits;
        sort.baseline = twice.measured;
        sort.target = withTargets ? Target::RatioToBaseline : Target::None;
        sort.limit = 1.5;
        report.add(std::move(once));
        report.add(std::move(twice));
        report.add(std::move(linear));
        report.add(std::move(sort));
    }

    // The next row, after the broad description search: every row, and rows with pictures.
    if (options.wanted("next-row")) {
        runSearch(session, searches[3]);
        BenchReport::Case next =
            BenchReport::makeCase(u"next-row"_s, u"next row shown (thumbnails loaded)"_s, u"ms"_s);
        BenchReport::Case withPictures = BenchReport::makeCase(
            u"next-row-pictures"_s, u"next row shown, rows with pictures"_s, u"ms"_s);
        int shownPictures = 0;
        for (int r = 0; r < 60; ++r) {
            int pictures = 0;
            const double ms = session.nextRow(&pictures);
            next.measured.add(ms);
            if (pictures > 0) {
                withPictures.measured.add(ms);
                shownPictures += pictures;
            }
        }
        withPictures.hits = shownPictures;
        next.target = withTargets ? Target::Absolute : Target::None;
        next.limit = 3;
        withPictures.target = next.target;
        withPictures.limit = 10;
        report.add(std::move(next));
        report.add(std::move(withPictures));
    }

    // The 500-line order.
    if (options.wanted("order")) {
        session.searchPart(searches[0].text);
        BenchReport::Case add =
            BenchReport::makeCase(u"order-add-line"_s, u"500-line order: add a line"_s, u"ms"_s);
        for (int r = 0; r < runs; ++r)
            add.measured.add(session.addLine());
        add.hits = int(open.size()) + 1;
        add.target = withTargets ? Target::Absolute : Target::None;
        add.limit = 20;
        report.add(std::move(add));

        BenchReport::Case view = BenchReport::makeCase(
            u"order-view"_s, u"500-line order: open View Parts Order"_s, u"ms"_s);
        int rows = 0;
        session.viewOrder(&rows); // warm
        for (int r = 0; r < runs; ++r)
            view.measured.add(session.viewOrder(&rows));
        view.hits = rows;
        view.target = withTargets ? Target::Absolute : Target::None;
        view.limit = 50;
        report.add(std::move(view));

        BenchReport::Case form = BenchReport::makeCase(
            u"order-form"_s, u"500-line order: generate the Order form"_s, u"ms"_s);
        session.orderForm(completedOrder); // warm
        for (int r = 0; r < runs; ++r)
            form.measured.add(session.orderForm(completedOrder));
        form.hits = int(completed.size());
        form.target = withTargets ? Target::Absolute : Target::None;
        form.limit = 200;
        report.add(std::move(form));

        BenchReport::Case pdf = BenchReport::makeCase(
            u"order-pdf"_s, u"500-line order: Save PDF (pages as hits)"_s, u"ms"_s);
        const QString pdfPath = QDir(options.work).filePath(u"order.pdf"_s);
        session.orderPdf(completedOrder, pdfPath); // warm
        for (int r = 0; r < runs; ++r)
            pdf.measured.add(session.orderPdf(completedOrder, pdfPath, &pdf.hits));
        pdf.target = withTargets ? Target::Absolute : Target::None;
        pdf.limit = 2000;
        report.add(std::move(pdf));
    }

    // Start-up of a fresh process on a folder of its own (the session holds its folder).
    if (options.wanted("start-up")) {
        BenchFolder startFolder(options.work, options.appTemplate, scaleDir);
        // No open order: taking one up at the start asks the user first.
        BenchSession(startFolder.path()).seedOrders(completed, {});
        BenchReport::Case start =
            BenchReport::makeCase(u"start-up"_s, u"start-up to ready (fresh process)"_s, u"ms"_s);
        startUp(options, startFolder.path()); // warm the file cache
        for (int r = 0; r < runs; ++r)
            start.measured.add(startUp(options, startFolder.path()));
        start.target = withTargets ? Target::Absolute : Target::None;
        start.limit = 500;
        report.add(std::move(start));
    }

    // Peak memory of a fresh process through the broad searches.
    for (const auto& [c, name] : {std::pair{&searches[3], "peak-memory-broad"},
                                  std::pair{&searches[1], "peak-memory-part-broad"},
                                  std::pair{&fillTwice, "peak-memory-fill"}}) {
        if (!options.wanted("memory"))
            break;
        BenchReport::Case memory = BenchReport::makeCase(QString::fromLatin1(name),
                                                         u"peak memory, "_s + c->label, u"MB"_s);
        for (int r = 0; r < 3; ++r)
            memory.measured.add(peakMemoryMb(options, scaleDir, *c));
        if (c == &searches[3]) {
            memory.target = withTargets ? Target::Absolute : Target::None;
            memory.limit = 200;
        }
        report.add(std::move(memory));
    }

    if (options.wanted("catalogue"))
        CatalogueCases::againstShell(report, options.tool, options.work, scaleDir, withTargets,
                                     runs);
    if (million)
        report.setTargets(millionTargets());
    report.print(out(), withTargets || million);
    out().flush();
    targets += report.targets();
    met += report.met();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Times Dorvane Quillon on scale catalogues."_s);
    parser.addHelpOption();
    const QCommandLineOption appTemplate(u"app-template"_s, u"A laid-out Application folder."_s,
                                         u"dir"_s);
    const QCommandLineOption program(u"program"_s, u"The dorvane-quillon executable."_s, u"path"_s);
    const QCommandLineOption tool(u"tool"_s, u"The quillon-db executable."_s, u"path"_s);
    const QCommandLineOption work(u"work"_s, u"Where the runs' Application folders go."_s,
                                  u"dir"_s);
    const QCommandLineOption catalogue(
        u"catalogue"_s, u"A scale catalogue folder (parts.mdb, images/), with targets."_s,
        u"dir"_s);
    const QCommandLineOption stretch(
        u"stretch"_s, u"The 1,000,000-part catalogue folder, with its own targets."_s, u"dir"_s);
    const QCommandLineOption runs(u"runs"_s, u"Runs a case."_s, u"n"_s, u"7"_s);
    const QCommandLineOption cases(
        u"cases"_s,
        u"Only these groups of cases, joined by commas: searches, fills (with the sort), "
        u"next-row, order, start-up, memory, catalogue."_s,
        u"groups"_s);
    const QCommandLineOption memoryOf(u"memory-of"_s, u"(internal) one search, print VmHWM"_s,
                                      u"dir"_s);
    const QCommandLineOption text(u"text"_s, u"(internal)"_s, u"text"_s);
    const QCommandLineOption vehicle(u"vehicle"_s, u"(internal)"_s, u"text"_s);
    const QCommandLineOption repeat(u"repeat"_s, u"(internal) times the --memory-of search runs"_s,
                                    u"n"_s, u"1"_s);
    parser.addOptions({appTemplate, program, tool, work, catalogue, stretch, runs, cases, memoryOf,
                       text, vehicle, repeat});
    parser.process(app);

    try {
        if (parser.isSet(memoryOf))
            return memoryChild(parser.value(appTemplate), parser.value(work),
                               parser.value(memoryOf), parser.value(text), parser.value(vehicle),
                               std::max(1, parser.value(repeat).toInt()));
        Options options;
        options.appTemplate = parser.value(appTemplate);
        options.program = parser.value(program);
        options.tool = parser.value(tool);
        options.work = parser.value(work);
        options.runs = std::max(1, parser.value(runs).toInt());
        if (parser.isSet(cases))
            options.cases = parser.value(cases).split(u',', Qt::SkipEmptyParts);
        QDir().mkpath(options.work);
        // The folder a PDF was last saved to is remembered in the settings of the run's own.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(options.work).filePath(u"config"_s)));

        int targets = 0;
        int met = 0;
        if (parser.isSet(stretch))
            runScale(options, parser.value(stretch), false, true, std::max(1, options.runs / 2),
                     targets, met);
        if (parser.isSet(catalogue))
            runScale(options, parser.value(catalogue), true, false, options.runs, targets, met);
        out() << "\nOverall: " << met << " of " << targets << " targets met\n";
        out().flush();
        return met == targets ? 0 : 1;
    } catch (const std::exception& error) {
        out().flush();
        std::fprintf(stderr, "quillon-bench: %s\n", error.what());
        return 2;
    }
}
