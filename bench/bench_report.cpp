#include "bench_report.h"

using namespace Qt::StringLiterals;

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
    out << u"%1 %2 %3 %4 %5 %6 %7 %8\n"_s.arg(u"case"_s, -44)
               .arg(u"hits"_s, 7)
               .arg(u"median"_s, 9)
               .arg(u"spread"_s, 15)
               .arg(u"baseline"_s, 9)
               .arg(u"ratio"_s, 7)
               .arg(u"target"_s, 10)
               .arg(u"result"_s);
    for (const Case& c : cases_) {
        const bool hasBaseline = !c.baseline.isEmpty();
        QString target = u"-"_s;
        QString result = u"-"_s;
        if (withTargets && c.target != Target::None) {
            target = c.target == Target::RatioToBaseline ? u"<=%1x"_s.arg(c.limit)
                                                         : u"<=%1 %2"_s.arg(c.limit).arg(c.unit);
            result = c.met() ? u"PASS"_s : u"FAIL"_s;
        }
        out << u"%1 %2 %3 %4 %5 %6 %7 %8\n"_s.arg(c.label.left(44), -44)
                   .arg(c.hits >= 0 ? QString::number(c.hits) : u"-"_s, 7)
                   .arg(number(c.measured.median(), c.unit) + u' ' + c.unit, 9)
                   .arg(c.measured.spread(c.unit == u"MB" ? 0 : 2) + u' ' + c.unit, 15)
                   .arg(hasBaseline ? number(c.baseline.median(), c.unit) : u"-"_s, 9)
                   .arg(hasBaseline
                            ? QString::number(c.measured.median() / c.baseline.median(), 'f', 2)
                            : u"-"_s,
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
                                     ? QString(QString::number(c.value(), 'f', 2) + u'x')
                                     : number(c.value(), c.unit) + c.unit;
        const QString limit =
            QString::number(c.limit) + (c.target == Target::RatioToBaseline ? u"x"_s : c.unit);
        out << (c.met() ? "PASS " : "FAIL ") << c.name << ' ' << measured << ' ' << limit << '\n';
    }
    out << met() << " of " << targets() << " targets met\n";
}

} // namespace quillon::bench
