#include "events/event_conditions.h"

#include <algorithm>
#include <array>

#include "events/operand_methods.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/quiet_log.h"

namespace tr {
namespace {

enum class eCompare { kEquals, kNotEquals, kGreater, kLess, kGreaterOrEqual, kLessOrEqual, kUnknown };

struct sOperatorName {
  std::u16string_view text;
  eCompare compare;
};

constexpr std::array<sOperatorName, 6> kOperators{{
    {u"equals", eCompare::kEquals},
    {u"notEquals", eCompare::kNotEquals},
    {u"greater", eCompare::kGreater},
    {u"less", eCompare::kLess},
    {u"greaterOrEqual", eCompare::kGreaterOrEqual},
    {u"lessOrEqual", eCompare::kLessOrEqual},
}};

eCompare FindOperator(std::u16string_view text) {
  for (const sOperatorName& op : kOperators) {
    if (op.text == text) return op.compare;
  }
  return eCompare::kUnknown;
}

bool Compare(eCompare compare, double left, double right) {
  switch (compare) {
    case eCompare::kEquals: return left == right;
    case eCompare::kNotEquals: return left != right;
    case eCompare::kGreater: return left > right;
    case eCompare::kLess: return left < right;
    case eCompare::kGreaterOrEqual: return left >= right;
    case eCompare::kLessOrEqual: return left <= right;
    case eCompare::kUnknown: break;
  }
  return false;
}

}  // namespace

bool ParseCompareOperator(std::int32_t operatorLine, std::u16string_view text) {
  if (FindOperator(text) != eCompare::kUnknown) return true;
  LogFormat(u"ERROR: attribute 'value' of <operator> at line %i has incorrect value (%s)", operatorLine, text);
  return false;
}

bool ValidateExpression(sExpression& expression) {
  // All three run, so that every problem of the expression is in the log.
  const bool left = ValidateOperand(expression.left);
  const bool right = ValidateOperand(expression.right);
  const bool op = ParseCompareOperator(expression.operatorLine, expression.operatorText);
  if (!left || !right || !op) {
    LogLine(u"CRITICAL: Expression was incorrect. Terminating program. See errors above.");
    FatalExit(1);
  }
  return true;
}

bool EvaluateExpression(sExpression& expression) {
  ValidateExpression(expression);
  if (!IsLogQuiet()) LogLine(u"Expression OK, starting resolving it...");
  const double left = EvaluateOperand(expression.left);
  const double right = EvaluateOperand(expression.right);
  return Compare(FindOperator(expression.operatorText), left, right);
}

bool sConditionGroup::Evaluate() {
  if (expressions.empty() && groups.empty()) return true;
  // AND stops at the first false part, OR (every other kind) at the first true one.
  const bool decisive = kind != kGroupAnd;
  for (sExpression& expression : expressions) {
    if (EvaluateExpression(expression) == decisive) return decisive;
  }
  for (sConditionGroup& group : groups) {
    if (group.Evaluate() == decisive) return decisive;
  }
  return !decisive;
}

}  // namespace tr
