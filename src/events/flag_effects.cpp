// The "Flag." effects: the event flags that later conditions read.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "events/effect_dispatch.h"
#include "events/event_params.h"
#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {
namespace {

void SetValue(const sEffect& effect) {
  const int index = TruncateParam(effect.params[0]);
  if (index >= kGameFlagCount) {
    LogFormat(u"ERR: Flag.SetValue arg out of range: %d, max is %d", index, kGameFlagCount);
    return;
  }
  if (index < 0) return;
  gGame->flags[static_cast<std::size_t>(index)] = TruncateParam(effect.params[1]);
}

void ChangeValue(const sEffect& effect) {
  const int index = TruncateParam(effect.params[0]);
  if (index < 0 || index >= kGameFlagCount) return;
  std::int32_t& flag = gGame->flags[static_cast<std::size_t>(index)];
  // A counter driven past the 32-bit range stays at its end instead of wrapping.
  const std::int64_t sum = static_cast<std::int64_t>(flag) + TruncateParam(effect.params[1]);
  flag = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

const sEffectBehaviour kFlagEffects[] = {
    {u"Flag.SetValue", SetValue},
    {u"Flag.ChangeValue", ChangeValue},
};

}  // namespace

std::span<const sEffectBehaviour> FlagEffects() { return kFlagEffects; }

}  // namespace tr
