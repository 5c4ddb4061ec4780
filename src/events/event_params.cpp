#include "events/event_params.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/console_log.h"

namespace tr {

bool CheckOperandParams(sEventOperand& operand, std::u16string_view name, int count) {
  if (operand.method != name) return true;
  if (count < 0 || count > kParamCount - 1) return false;
  for (int i = 0; i < count; ++i) {
    if (!IsParamSet(operand.params[i])) {
      LogFormat(u"ERROR: param %i for operand at line %i must be defined!", i, operand.line);
      return false;
    }
  }
  operand.recognised = 1;
  return true;
}

bool CheckEffectParams(sEffect& effect, std::u16string_view name, int count, int stringCount) {
  if (effect.method != name) return true;
  if (count < 0 || count > kParamCount - 1 || stringCount < 0 || stringCount > kParamStringCount - 1) {
    return false;
  }
  for (int i = 0; i < count; ++i) {
    if (!IsParamSet(effect.params[i])) {
      LogFormat(u"ERROR: param%i for effect at line %i is not defined!", i, effect.line);
      return false;
    }
  }
  for (int i = 0; i < stringCount; ++i) {
    if (effect.paramStrings[i].empty()) {
      LogFormat(u"ERROR: paramString%i for effect at line %i is not defined!", i, effect.line);
      return false;
    }
  }
  effect.recognised = 1;
  return true;
}

bool OperandHasParams(const sEventOperand& operand) {
  return std::any_of(operand.params.begin(), operand.params.end(), IsParamSet);
}

std::int32_t TruncateParam(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::trunc(std::clamp(value, kLow, kHigh)));
}

}  // namespace tr
