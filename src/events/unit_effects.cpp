// The effects on single units: moved, frozen, unfrozen, removed.
#include <vector>

#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "foundation/console_log.h"
#include "foundation/random.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

cUnit* UnitOnHex(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 0, 1);
  return hex ? hex->unit : nullptr;
}

cJednostkaLadowa* LandUnitOnHex(const sEffect& effect) {
  cUnit* unit = UnitOnHex(effect);
  return unit && unit->category == kCategoryLand ? dynamic_cast<cJednostkaLadowa*>(unit) : nullptr;
}

void Teleport(const sEffect& effect) {
  cUnit* unit = UnitOnHex(effect);
  if (!unit) return;
  sHex* target = EffectHex(effect, 2, 3);
  if (!target) return;
  // No rule can move, supply or fight a land unit standing at sea.
  if (unit->category == kCategoryLand && !target->IsLand()) {
    LogFormat(u"WARNING: effect %s at line %i: land unit %s cannot stand on the sea hex (%i, %i); nothing changes",
              effect.method, effect.line, unit->name, IntParam(effect, 2), IntParam(effect, 3));
    return;
  }
  unit->PlaceOnHex(IntParam(effect, 2), IntParam(effect, 3));
}

void Unfreeze(const sEffect& effect) {
  if (cJednostkaLadowa* unit = LandUnitOnHex(effect)) unit->Unfreeze();
}

// Turns of a freeze, within what the unit files read back; below 0 is no freeze.
std::int32_t FreezeTurns(const sEffect& effect) {
  return HeldWithin(effect, u"freeze time", IntParam(effect, 2), 0, kMaxTurnCount);
}

void Freeze(const sEffect& effect) {
  if (cJednostkaLadowa* unit = LandUnitOnHex(effect)) unit->freezeTime = FreezeTurns(effect);
}

void FreezeIfOwnedByCountry(const sEffect& effect) {
  cJednostkaLadowa* unit = LandUnitOnHex(effect);
  if (unit && static_cast<double>(unit->owner) == effect.params[3]) unit->freezeTime = FreezeTurns(effect);
}

struct RemovalFilter {
  int country;
  int type;
  bool Matches(const cUnit& unit) const {
    return (country <= 0 || unit.owner == country) && (type == -1 || unit.type == type);
  }
};

template <typename List>
cUnit* FindNumbered(const List& list, const RemovalFilter& filter, int id) {
  for (const auto& unit : list) {
    if (unit->id == id && filter.Matches(*unit)) return unit.get();
  }
  return nullptr;
}

// Only units on the map: the reserve pool and the units aboard ships are
// out of reach, and so are ships.
void Remove(const sEffect& effect) {
  const RemovalFilter filter{IntParam(effect, 0), IntParam(effect, 1)};
  const int id = IntParam(effect, 2);
  cGame& game = *gGame;
  if (id >= 0) {
    // Land and air units are numbered apart; a land unit with the number wins.
    cUnit* unit = FindNumbered(game.landUnits, filter, id);
    if (!unit) unit = FindNumbered(game.airUnits, filter, id);
    if (unit) unit->Kill();
    return;
  }
  std::vector<cUnit*> found;
  for (const auto& unit : game.landUnits) {
    if (filter.Matches(*unit)) found.push_back(unit.get());
  }
  for (const auto& unit : game.airUnits) {
    if (filter.Matches(*unit)) found.push_back(unit.get());
  }
  if (found.empty()) return;
  found[static_cast<std::size_t>(RandomRange(0, static_cast<int>(found.size()) - 1))]->Kill();
}

const sEffectBehaviour kUnitEffects[] = {
    {u"Unit.Teleport", Teleport}, {u"Unit.Unfreeze", Unfreeze},
    {u"Unit.Freeze", Freeze},     {u"Unit.FreezeIfOwnedByCountry", FreezeIfOwnedByCountry},
    {u"Unit.Remove", Remove},
};

}  // namespace

std::span<const sEffectBehaviour> UnitEffects() { return kUnitEffects; }

}  // namespace tr
