// The effect methods of the event language: every name with the numbers and
// texts it requires, and the check of one effect at load.
#pragma once

#include <span>
#include <string_view>

#include "events/event_model.h"

namespace tr {

struct sEffectMethod {
  std::u16string_view name;
  int numbers;  // param0..param(numbers-1) must be set
  int texts;    // paramString0..paramString(texts-1) must not be empty
};

// Every method in the order the validator walks them.
std::span<const sEffectMethod> EffectMethods();

// True when the effect names a known method and carries its required
// parameters; the first problem is logged. Sets the recognised flag.
bool ValidateEffect(sEffect& effect);

}  // namespace tr
