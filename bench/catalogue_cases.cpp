#include "catalogue_cases.h"

#include "baseline_query.h"
#include "bench_session.h"
#include "catalogue_anchor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace quillon::bench {

BenchReport::Case CatalogueCases::looseNumber(BenchSession& session, BaselineQuery& baseline,
                                              const QString& catalogue, bool withTargets,
                                              int runs) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(catalogue).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT RoverNum FROM Parts WHERE RoverNum GLOB "
                       "'[A-Z][A-Z][A-Z] [0-9][0-9][0-9][0-9]' ORDER BY ID LIMIT 1",
                       -1, &stmt, nullptr);
    QString stored;
    if (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW)
        stored = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    if (stored.isEmpty())
        throw std::runtime_error("the catalogue has no number written with a blank");
    const QString typed = QString(stored).remove(u' ');
    BenchReport::Case row =
        BenchReport::makeCase(u"search-part-loose"_s,
                              u"part number, loose \"%1\" (\"%2\")"_s.arg(typed, stored), u"ms"_s);
    int expected = 0;
    qint64 firstId = 0;
    baseline.run(BaselineQuery::looseNumberWhere(typed), &expected, &firstId);
    session.searchPart(typed); // warm
    for (int r = 0; r < runs; ++r) {
        const auto result = session.searchPart(typed);
        row.measured.add(result.ms);
        row.hits = result.hits;
        if (result.hits != expected || session.state().resultPartIds.front() != firstId)
            throw std::runtime_error(u"%1: the program listed %2 parts, the "
                                     u"scan with the bare numbers %3"_s.arg(row.label)
                                         .arg(result.hits)
                                         .arg(expected)
                                         .toStdString());
        row.baseline.add(baseline.run(BaselineQuery::partNumberWhere(typed)));
    }
    row.target = withTargets ? BenchReport::Target::RatioToBaseline : BenchReport::Target::None;
    row.limit = 0.25;
    return row;
}

void CatalogueCases::againstShell(BenchReport& report, const QString& tool, const QString& work,
                                  const QString& scaleDir, bool withTargets, int runs) {
    const QDir scale(scaleDir);
    const QString csv = scale.filePath(u"parts.csv"_s);
    const QDir workDir(work);
    const QString ours = workDir.filePath(u"import.mdb"_s);
    const QString anchor = workDir.filePath(u"anchor.db"_s);
    BenchReport::Case size = BenchReport::makeCase(
        u"catalogue-size"_s, u"parts.mdb size (baseline: the shell's)"_s, u"MB"_s);
    BenchReport::Case time = BenchReport::makeCase(
        u"import-time"_s, u"import-catalogue (baseline: the shell's)"_s, u"ms"_s);
    for (int r = 0; r < std::min(runs, 3); ++r) {
        time.measured.add(CatalogueAnchor::import(tool, csv, ours));
        time.baseline.add(CatalogueAnchor::build(csv, ours, anchor));
    }
    size.measured.add(double(QFileInfo(ours).size()) / 1e6);
    size.baseline.add(double(QFileInfo(anchor).size()) / 1e6);
    QFile::remove(ours);
    QFile::remove(anchor);
    size.target = withTargets ? BenchReport::Target::RatioToBaseline : BenchReport::Target::None;
    size.limit = 1.1;
    time.target = size.target;
    time.limit = 1.5;
    report.add(std::move(size));
    report.add(std::move(time));
}

} // namespace quillon::bench
