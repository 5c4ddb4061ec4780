#include "events/effect_dispatch.h"

#include <array>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "world/gra.h"

namespace tr {
namespace {

// The lock is taken and left at fixed source positions, so the log shows
// every effect's critical section whichever thread runs it.
class EffectLock {
 public:
  EffectLock() { EnterGameLock("zdarzenia", 707); }
  ~EffectLock() { LeaveGameLock("zdarzenia", 2140); }
  EffectLock(const EffectLock&) = delete;
  EffectLock& operator=(const EffectLock&) = delete;
};

const sEffectBehaviour* FindBehaviour(std::u16string_view method) {
  const std::array families{FlagEffects(),    MapEffects(),     UnitEffects(),         LandUnitEffects(),
                            SeaUnitEffects(), CountryEffects(), CountryForceEffects(), AiEffects()};
  for (const auto& family : families) {
    for (const sEffectBehaviour& behaviour : family) {
      if (behaviour.name == method) return &behaviour;
    }
  }
  return nullptr;
}

// Methods the language accepts that change nothing by design: they pass
// without a message.
constexpr std::array<std::u16string_view, 3> kMethodsWithoutBehaviour = {
    u"Commander.ChangeLevel", u"Commander.SetLevel", u"Hex.AddLandUnitAndPassControlOverHexIfEmpty"};

bool HasNoBehaviourByDesign(std::u16string_view method) {
  for (std::u16string_view name : kMethodsWithoutBehaviour) {
    if (name == method) return true;
  }
  return false;
}

}  // namespace

void ExecuteEffect(const sEffect& effect) {
  EffectLock lock;
  if (gGame == nullptr) {
    LogFormat(u"ERROR: effect %s at line %i run without a running game; nothing changes", effect.method, effect.line);
    return;
  }
  if (const sEffectBehaviour* behaviour = FindBehaviour(effect.method)) {
    behaviour->run(effect);
  } else if (!HasNoBehaviourByDesign(effect.method)) {
    LogFormat(u"ERROR: Effect at line %i has unknown method (%s); nothing changes", effect.line, effect.method);
  }
}

}  // namespace tr
