#include "sudden_death_check.h"

#include <QSet>

namespace quillon::tests {

namespace {

QString orderStatus(const QString& value) {
    // OrderDate, OrderStatus: a status stored as the integer 0 is an open order.
    const QStringList columns = value.split(QChar(0x1f));
    return columns.size() == 2 ? columns[1] : QString();
}

QStringList linesOf(const StoreDump::Rows& rows, const QString& orderNum) {
    QStringList lines;
    const QString prefix = QStringLiteral("line:%1:").arg(orderNum);
    for (auto it = rows.lowerBound(prefix); it != rows.end() && it.key().startsWith(prefix); ++it)
        lines << it.key();
    return lines;
}

} // namespace

SuddenDeathCheck::Outcome SuddenDeathCheck::check(const StoreDump::Rows& before,
                                                  const QList<ActionLog::Record>& records,
                                                  const StoreDump::Rows& after) {
    Outcome outcome;
    StoreDump::Rows expected = before;
    int lastDone = 0;
    const ActionLog::Record* lastBegin = nullptr;
    for (const ActionLog::Record& record : records) {
        if (record.done) {
            StoreDump::apply(expected, record.changes);
            lastDone = record.step;
            ++outcome.actionsVerified;
            outcome.rowsVerified += static_cast<int>(record.changes.size());
        } else {
            lastBegin = &record;
        }
    }
    const ActionLog::Record* inFlight =
        lastBegin != nullptr && lastBegin->step > lastDone ? lastBegin : nullptr;

    // Every row that differs from what the log says must be one the step in progress may change.
    const QList<StoreDump::Change> differences = StoreDump::diff(expected, after);
    for (const StoreDump::Change& difference : differences) {
        const bool known = expected.contains(difference.entity);
        bool allowed = false;
        for (const QString& pattern : inFlight ? inFlight->patterns : QStringList())
            allowed = allowed || ActionLog::matches(pattern, difference.entity, known);
        if (!allowed)
            outcome.problems << QStringLiteral("%1 of %2, not by the step in progress (%3)")
                                    .arg(!difference.value ? QStringLiteral("lost")
                                         : known           ? QStringLiteral("changed")
                                                           : QStringLiteral("unexpected"),
                                         difference.entity,
                                         inFlight ? inFlight->kind : QStringLiteral("none"));
    }
    outcome.inFlightApplied = inFlight != nullptr && !differences.isEmpty();

    // An order that the step in progress deletes goes with all its lines or stays with all.
    if (inFlight) {
        for (const QString& pattern : inFlight->patterns) {
            if (!pattern.startsWith(u"order:") || pattern.endsWith(u'+') || pattern.endsWith(u'*'))
                continue;
            const QString orderNum = StoreDump::orderOf(pattern);
            if (!inFlight->patterns.contains(QStringLiteral("line:%1:*").arg(orderNum)))
                continue;
            const QStringList expectedLines = linesOf(expected, orderNum);
            const QStringList storedLines = linesOf(after, orderNum);
            if (after.contains(pattern)) {
                for (const QString& line : expectedLines) {
                    if (after.value(line) != expected.value(line))
                        outcome.problems
                            << QStringLiteral("order %1 kept, its %2 not").arg(orderNum, line);
                }
            } else if (!storedLines.isEmpty()) {
                outcome.problems << QStringLiteral("order %1 deleted, its lines %2 not")
                                        .arg(orderNum, storedLines.join(u' '));
            }
        }
    }

    // The store's own rules.
    QSet<QString> orders;
    int open = 0;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (it.key().startsWith(u"order:")) {
            orders.insert(StoreDump::orderOf(it.key()));
            if (orderStatus(it.value()) == u"i0")
                ++open;
        }
    }
    if (open > 1)
        outcome.problems << QStringLiteral("%1 open orders").arg(open);
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (it.key().startsWith(u"line:") && !orders.contains(StoreDump::orderOf(it.key())))
            outcome.problems << QStringLiteral("%1 without its order").arg(it.key());
    }
    return outcome;
}

} // namespace quillon::tests
