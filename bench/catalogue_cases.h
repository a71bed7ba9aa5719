#pragma once

#include "bench_report.h"

#include <QString>

namespace quillon::bench {

class BaselineQuery;
class BenchSession;

// The cases of the loose number match and of the lean catalogue file.
class CatalogueCases final {
public:
    // A part number typed without the blank it is stored with ("ESR 3672" typed "ESR3672"): the
    // part-number search with the loose number match, against SQLite's own scan of the search's
    // statement; its rows checked against a scan that compares the bare numbers too.
    static BenchReport::Case looseNumber(BenchSession& session, BaselineQuery& baseline,
                                         const QString& catalogue, bool withTargets, int runs);

    // The scale's price file imported again by quillon-db (tool) and made into the shell's
    // anchor (CatalogueAnchor), in the work folder: the file sizes and the times.
    static void againstShell(BenchReport& report, const QString& tool, const QString& work,
                             const QString& scaleDir, bool withTargets, int runs);
};

} // namespace quillon::bench
