#pragma once

namespace quillon {

struct ProgramState;

// checkCustomPart: looks the customer's own price record of the part shown up by its part key
// and keeps it in customPartRecordset, replacing the one kept before.
class CustomPartLookup {
public:
    static void checkCustomPart(ProgramState& state);
};

} // namespace quillon
