#pragma once

#include "action_log.h"
#include "store_dump.h"

#include <QList>
#include <QStringList>

namespace quillon::tests {

// What a User database must hold after the driver was killed: everything the log says was done,
// and nothing else but what the step in progress (begun, not logged as done) may have changed,
// wholly or not at all; at most one open order; no line without its order.
class SuddenDeathCheck final {
public:
    struct Outcome {
        QStringList problems;         // empty: the store is sound
        int actionsVerified = 0;      // steps logged as done
        int rowsVerified = 0;         // rows those steps changed
        bool inFlightApplied = false; // the step in progress had taken effect
    };

    // before: the store when the driver started; records: its log; after: the store now.
    [[nodiscard]] static Outcome check(const StoreDump::Rows& before,
                                       const QList<ActionLog::Record>& records,
                                       const StoreDump::Rows& after);
};

} // namespace quillon::tests
