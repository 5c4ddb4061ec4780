// The comparisons of an event's condition: the six operators, the check of an
// expression, and its evaluation. Group evaluation is sConditionGroup::Evaluate.
#pragma once

#include <cstdint>
#include <string_view>

#include "events/event_model.h"

namespace tr {

// True when the text is one of "equals", "notEquals", "greater", "less",
// "greaterOrEqual", "lessOrEqual"; otherwise logged with the operator's line.
bool ParseCompareOperator(std::int32_t operatorLine, std::u16string_view text);

// Checks both operands and the operator, logging every problem; a bad
// expression ends the program after one CRITICAL line. Returns true.
bool ValidateExpression(sExpression& expression);

// Validates the expression, then compares the left operand's value with the
// right one's (left read first); an unknown operator gives false.
bool EvaluateExpression(sExpression& expression);

}  // namespace tr
