#include "prices/custom_part_lookup.h"

#include "session/program_state.h"
#include "session/part_key.h"
#include "store/sql_text.h"

namespace quillon {

void CustomPartLookup::checkCustomPart(ProgramState& state) {
    const QString statement =
        PartKey::isDorvaneOnly(state.selectedRoverNum)
            ? QStringLiteral("SELECT * FROM CustomParts WHERE (DorvaneNum = '") +
                  sqlEscape(state.selectedDorvaneNum) + QStringLiteral("')")
            : QStringLiteral("SELECT * FROM CustomParts WHERE (RoverNum = '") +
                  sqlEscape(state.selectedRoverNum) + QStringLiteral("')");
    state.customPartRecordset = state.userDb->openRecordset(statement);
}

} // namespace quillon
