// The parameter checks that the operand and effect validators run once per
// known method name, and the conversion of a double parameter to a whole number.
#pragma once

#include <cstdint>
#include <string_view>

#include "events/event_model.h"

namespace tr {

// A record whose method differs from name passes unchanged. Otherwise params
// 0..count-1 must be set: the first missing one is logged and gives false;
// when all are there the recognised flag becomes 1. A count outside 0..9
// gives false.
bool CheckOperandParams(sEventOperand& operand, std::u16string_view name, int count);
// The same for an effect, with params 0..count-1 set and paramString0..
// paramString(stringCount-1) not empty (stringCount 0..3).
bool CheckEffectParams(sEffect& effect, std::u16string_view name, int count, int stringCount);

// Whether any of param0..param9 is set.
bool OperandHasParams(const sEventOperand& operand);

// Truncation toward zero, kept inside the 32-bit range so that a huge or
// broken number can never make an out-of-range conversion.
std::int32_t TruncateParam(double value);

}  // namespace tr
