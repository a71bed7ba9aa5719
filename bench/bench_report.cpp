#include "bench_report.h"

namespace quillon::bench {

namespace {

QString number(double value, const QString& unit) {
    const int decimals = unit == u"MB" ? 0 : (value < 10 ? 2 : 1);
    return QString::number(value, 'f', decimals);
}

} // namespace

double BenchReport::Case::value() const {
    if (target == Target::RatioToBaseline && !baseline.isEmpty() && baseline.median() > 0)
        return measured.median() / baseline.median();
    return measured.median();
}

bool BenchReport::Case::met() const {
    return target != Target::None && value() <= limit;
}

void BenchReport::setTargets(const std::map<QString, Goal>& goals) {
    for (Case& c : cases_) {
        const auto goal = goals.find(c.name);
        c.target = goal != goals.end() ? goal->second.target : Target::None;
        c.limit = goal != goals.end() ? goal->second.limit : 0;
    }
}

int BenchReport::targets() const {
    int n = 0;
    for (const Case& c : cases_)
        n += c.target != Target::None ? 1 : 0;
    return n;
}

int BenchReport::met() const {
    int n = 0;
    for (const Case& c : cases_)
        n += c.met() ? 1 : 0;
    return n;
}

void BenchReport::print(QTextStream& out, bool withTargets) const {
    out << "\n== " << title_ << " ==\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("case"), -44)
               .arg(QStringLiteral("hits"), 7)
               .arg(QStringLiteral("median"), 9)
               .arg(QStringLiteral("spread"), 15)
               .arg(QStringLiteral("baseline"), 9)
               .arg(QStringLiteral("ratio"), 7)
               .arg(QStringLiteral("target"), 10)
               .arg(QStringLiteral("result"));
    for (const Case& c : cases_) {
        const bool hasBaseline = !c.baseline.isEmpty();
        QString target = QStringLiteral("-");
        QString result = QStringLiteral("-");
        if (withTargets && c.target != Target::None) {
            target = c.target == Target::RatioToBaseline
                         ? QStringLiteral("<=%1x").arg(c.limit)
                         : QStringLiteral("<=%1 %2").arg(c.limit).arg(c.unit);
            result = c.met() ? QStringLiteral("PASS") : QStringLiteral("FAIL");
        }
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                   .arg(c.label.left(44), -44)
                   .arg(c.hits >= 0 ? QString::number(c.hits) : QStringLiteral("-"), 7)
                   .arg(number(c.measured.median(), c.unit) + u' ' + c.unit, 9)
                   .arg(c.measured.spread(c.unit == u"MB" ? 0 : 2) + u' ' + c.unit, 15)
                   .arg(hasBaseline ? number(c.baseline.median(), c.unit) : QStringLiteral("-"), 9)
                   .arg(hasBaseline
                            ? QString::number(c.measured.median() / c.baseline.median(), 'f', 2)
                            : QStringLiteral("-"),
                        7)
                   .arg(target, 10)
                   .arg(result);
    }
    if (!withTargets)
        return;
    out << '\n';
    for (const Case& c : cases_) {
        if (c.target == Target::None)
            continue;
        const QString measured = c.target == Target::RatioToBaseline
                                     ? QString::number(c.value(), 'f', 2) + u'x'
                                     : number(c.value(), c.unit) + c.unit;
        const QString limit = c.target == Target::RatioToBaseline
                                  ? QString::number(c.limit) + u'x'
                                  : QString::number(c.limit) + c.unit;
        out << (c.met() ? "PASS " : "FAIL ") << c.name << ' ' << measured << ' ' << limit << '\n';
    }
    out << met() << " of " << targets() << " targets met\n";
}

} // namespace quillon::bench
