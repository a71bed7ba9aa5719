#include "prices/custom_part_lookup.h"

#include "session/part_key.h"
#include "session/program_state.h"
#include "store/statement_builder.h"

namespace quillon {

void CustomPartLookup::checkCustomPart(ProgramState& state) {
    const SqlCondition key = SqlCondition::equals(
        PartKey::column(state.selectedRoverNum),
        SqlLiteral::text(PartKey::value(state.selectedRoverNum, state.selectedDorvaneNum)));
    state.customPartRecordset = state.userDb->openRecordset(
        StatementBuilder::selectWhere(u"CustomParts", key.parenthesised()));
}

} // namespace quillon
