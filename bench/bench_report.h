#pragma once

#include "sample_stats.h"

#include <QString>
#include <QTextStream>
#include <map>
#include <optional>
#include <vector>

namespace quillon::bench {

// The table of one scale: each case with its median and spread, its baseline beside it, the
// ratio, the target and PASS or FAIL; then one line per target and the count of targets met.
class BenchReport final {
public:
    enum class Target { None, RatioToBaseline, Absolute };

    struct Case {
        QString name;  // the target's name in the PASS/FAIL lines
        QString label; // what was measured
        QString unit;  // "ms", "MB", "x"
        int hits = -1;
        SampleStats measured;
        SampleStats baseline; // empty: no baseline
        Target target = Target::None;
        double limit = 0;
        [[nodiscard]] double value() const; // what the target is compared with
        [[nodiscard]] bool met() const;
    };

    static Case makeCase(QString name, QString label, QString unit) {
        Case c;
        c.name = std::move(name);
        c.label = std::move(label);
        c.unit = std::move(unit);
        return c;
    }

    explicit BenchReport(QString title) : title_(std::move(title)) {}
    void add(Case c) { cases_.push_back(std::move(c)); }

    // The targets of another scale: each case named in the table gets its target and limit,
    // every other case none.
    struct Goal {
        Target target = Target::None;
        double limit = 0;
    };
    void setTargets(const std::map<QString, Goal>& goals);

    void print(QTextStream& out, bool withTargets) const;
    [[nodiscard]] int targets() const;
    [[nodiscard]] int met() const;

private:
    QString title_;
    std::vector<Case> cases_;
};

} // namespace quillon::bench
