#include "events/operand_methods.h"

#include "events/event_params.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "world/gra.h"

namespace tr {

bool ValidateOperand(sEventOperand& operand) {
  const bool hasConst = IsParamSet(operand.constValue);
  if (operand.method.empty() && !hasConst) {
    LogFormat(u"ERROR: operand element at line %i has neither 'method' nor 'constValue' attribute. It must have "
              u"one of them defined",
              operand.line);
    return false;
  }
  if (!operand.method.empty() && hasConst) {
    LogFormat(u"nERROR: operand element at line %i has both 'method' and 'constValue' attributes defined. Only "
              u"one of them can be defined",
              operand.line);
    return false;
  }
  for (const sOperandMethod& method : OperandMethods()) {
    if (!CheckOperandParams(operand, method.name, method.paramCount)) return false;
  }
  if (operand.recognised == 0 && !hasConst) {
    LogFormat(u"ERROR: operand element at line %i has unknown method (%s)", operand.line, operand.method);
    return false;
  }
  if (hasConst && OperandHasParams(operand)) {
    LogFormat(u"WARNING: operand element at line %i has defined 'constValue' attribute and at least one from "
              u"param0..param9 attributes.",
              operand.line);
  }
  return true;
}

double EvaluateOperand(const sEventOperand& operand) {
  if (IsParamSet(operand.constValue)) return operand.constValue;
  for (const sOperandMethod& method : OperandMethods()) {
    if (operand.method != method.name) continue;
    if (gGame == nullptr) {
      LogFormat(u"ERROR: operand %s at line %i read without a running game; its value is 0", operand.method,
                operand.line);
      return 0.0;
    }
    return method.value(operand);
  }
  LogFormat(u"CRICITAL: Could not resolve operand at line %i! Method=%s unknown?", operand.line, operand.method);
  FatalExit(1);
}

}  // namespace tr
