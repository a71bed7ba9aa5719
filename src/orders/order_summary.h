#pragma once

#include <QString>

namespace quillon {

struct ProgramState;

// The open order at a glance, for the Status bar: "Order 12 · 3 lines · £45.20", the total in
// the Currency format, read afresh from the User database.
class OrderSummary final {
public:
    // The current order's summary; empty while no order is open.
    [[nodiscard]] static QString text(const ProgramState& state);
};

} // namespace quillon
