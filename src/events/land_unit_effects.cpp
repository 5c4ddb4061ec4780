// The effects that create units on the map or in the reserve pool: land
// units, partisans, air units and artificial harbours.
#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "events/event_params.h"
#include "events/new_units.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/unit_room.h"
#include "world/value_limits.h"

namespace tr {

namespace {

constexpr int kPartisanTries = 30;
constexpr int kPartisanReach = 5;

bool IsReserve(const sEffect& effect, int xi, int yi) {
  return effect.params[static_cast<std::size_t>(xi)] == -1.0 && effect.params[static_cast<std::size_t>(yi)] == -1.0;
}

bool EitherIsMinusOne(const sEffect& effect, int xi, int yi) {
  return effect.params[static_cast<std::size_t>(xi)] == -1.0 || effect.params[static_cast<std::size_t>(yi)] == -1.0;
}

}  // namespace

int CheckedNewUnitLevel(const sEffect& effect, int level) {
  if (level >= kMinUnitLevel && level <= kMaxUnitLevel) return level;
  LogFormat(u"WARNING: effect %s at line %i: unit level %i is outside 1 to 5; 1 is used", effect.method, effect.line,
            level);
  return 1;
}

bool RoomForNewUnit(const sEffect& effect, int category) {
  return RoomForUnit(*gGame, category, Format(u"Effect %s at line %i", effect.method, effect.line));
}

bool ReadNewLandUnit(const sEffect& effect, int ownerI, int typeI, int levelI, int strengthI, sNewLandUnit& out) {
  if (!EffectCountry(effect, ownerI) || !RoomForNewUnit(effect, kCategoryLand)) return false;
  out.owner = IntParam(effect, ownerI);
  out.type = IntParam(effect, typeI);
  // The land tables have a column for each of types 0 to 6; the harbour has
  // an effect of its own.
  if (out.type < 0 || out.type >= kLandTypeCount) {
    LogFormat(u"WARNING: effect %s at line %i: %i is not a land unit type; nothing is created", effect.method,
              effect.line, out.type);
    return false;
  }
  out.level = CheckedNewUnitLevel(effect, IntParam(effect, levelI));
  out.strength = IntParam(effect, strengthI);
  if (out.strength < 0 || out.strength > kMaxLandStrength) {
    const int held = out.strength < 0 ? 0 : kMaxLandStrength;
    LogFormat(u"WARNING: effect %s at line %i: strength %i is outside 0 to 100; %i is used", effect.method, effect.line,
              out.strength, held);
    out.strength = held;
  }
  return true;
}

std::unique_ptr<cJednostkaLadowa> MakeLandUnit(const sEffect& effect, const sNewLandUnit& values, int x, int y) {
  auto unit = std::make_unique<cJednostkaLadowa>();
  unit->owner = values.owner;
  unit->SetName(effect.paramStrings[0]);
  unit->x = x;
  unit->y = y;
  unit->SetType(values.type);
  unit->level = values.level;
  unit->strength = values.strength;
  unit->attachedCommander = nullptr;
  unit->commanderId = -1;
  unit->actionPoints = 0;
  unit->startingActionPoints = 0;
  unit->attacked = 0;
  unit->wasAttacked = 0;
  unit->supplySourceX = -1;
  unit->supplySourceY = -1;
  unit->inReserve = 0;
  unit->spotted = 1;
  unit->availableInTurns = 0;
  unit->shoreBombardmentEffect = 0.0f;
  unit->transporter = nullptr;
  unit->freezeTime = 0;
  unit->aiOrder = 0;
  unit->aiTargetX = unit->aiTargetY = -1;
  unit->aiUltimateTargetX = unit->aiUltimateTargetY = -1;
  unit->SetSupply(gGame->constants.FullSupplyLevel());
  unit->ComputeCombatValue();
  return unit;
}

cJednostkaLadowa& PutOnMap(std::unique_ptr<cJednostkaLadowa> unit) {
  cJednostkaLadowa& placed = *unit;
  placed.inReserve = 0;
  placed.SetSupplySourceX(-1);
  placed.SetSupplySourceY(-1);
  placed.SetActionPoints(0);
  gGame->landUnits.push_back(std::move(unit));
  gGame->map->GetHex(placed.x, placed.y)->unit = &placed;
  return placed;
}

namespace {

void AddLandUnit(const sEffect& effect) {
  const bool toReserve = IsReserve(effect, 0, 1);
  int x = -1;
  int y = -1;
  if (!toReserve) {
    sHex* hex = EffectHex(effect, 0, 1);
    if (!hex || hex->unit || !hex->IsLand()) return;
    x = IntParam(effect, 0);
    y = IntParam(effect, 1);
  }
  sNewLandUnit values;
  if (!ReadNewLandUnit(effect, 2, 3, 4, 5, values)) return;
  std::unique_ptr<cJednostkaLadowa> unit = MakeLandUnit(effect, values, x, y);
  if (!toReserve) {
    PutOnMap(std::move(unit));
    return;
  }
  unit->inReserve = 1;
  gGame->reservePool.push_back(std::move(unit));
}

void AddUnitAndPassControl(const sEffect& effect) {
  if (EitherIsMinusOne(effect, 0, 1)) return;
  sHex* hex = EffectHex(effect, 0, 1);
  if (!hex || hex->unit) return;
  // No rule can move, supply or fight a land unit standing at sea.
  if (!hex->IsLand()) {
    LogFormat(u"WARNING: effect %s at line %i: (%i, %i) is a sea hex; no land unit is placed there", effect.method,
              effect.line, IntParam(effect, 0), IntParam(effect, 1));
    return;
  }
  sNewLandUnit values;
  if (!ReadNewLandUnit(effect, 2, 3, 4, 5, values)) return;
  PutOnMap(MakeLandUnit(effect, values, IntParam(effect, 0), IntParam(effect, 1)));
  hex->SetController(values.owner);
}

bool IsPartisanHex(int cx, int cy, int x, int y, int controller) {
  const cMap& map = *gGame->map;
  if (!map.IsInside(cx, cy)) return false;
  const sHex& hex = *map.GetHex(cx, cy);
  return !hex.unit && hex.controller == controller && cx != x && cy != y &&
         HexDistance(cx, cy, x, y) <= kPartisanReach && hex.IsLand();
}

void FirePartisans(const sEffect& effect) {
  if (EitherIsMinusOne(effect, 0, 1)) return;
  sHex* cityHex = EffectHex(effect, 0, 1);
  if (!cityHex || cityHex->controller == IntParam(effect, 2)) return;
  sNewLandUnit values;
  if (!ReadNewLandUnit(effect, 2, 3, 4, 5, values)) return;
  const int x = IntParam(effect, 0);
  const int y = IntParam(effect, 1);
  const int controller = cityHex->controller;
  for (int tries = 0; tries < kPartisanTries; ++tries) {
    const int cx = RandomRange(TruncateParam(x - 5.0), TruncateParam(x + 6.0));
    const int cy = RandomRange(TruncateParam(y - 5.0), TruncateParam(y + 6.0));
    if (!IsPartisanHex(cx, cy, x, y, controller)) continue;
    PutOnMap(MakeLandUnit(effect, values, cx, cy));
    gGame->map->GetHex(cx, cy)->SetController(values.owner);
    return;
  }
}

void AddAirUnit(const sEffect& effect) {
  const bool toReserve = IsReserve(effect, 1, 2);
  sHex* hex = nullptr;
  if (!toReserve && !(hex = EffectHex(effect, 1, 2))) return;
  if (!EffectCountry(effect, 0)) return;
  const int type = IntParam(effect, 3);
  if (CategoryOfType(type) != kCategoryAir) {
    LogFormat(u"WARNING: effect %s at line %i: %i is not an air unit type; nothing is created", effect.method,
              effect.line, type);
    return;
  }
  if (!RoomForNewUnit(effect, kCategoryAir)) return;
  const int level = CheckedNewUnitLevel(effect, IntParam(effect, 4));
  auto unit = std::make_unique<cJednostkaLotnicza>();
  unit->owner = IntParam(effect, 0);
  unit->SetName(effect.paramStrings[0]);
  unit->x = IntParam(effect, 1);
  unit->y = IntParam(effect, 2);
  unit->SetType(type);
  unit->level = level;
  unit->strength = HeldWithin(effect, u"strength", IntParam(effect, 5), 0, kMaxAirStrength);
  unit->attacked = 0;
  unit->wasAttacked = 0;
  unit->supplySourceX = -1;
  unit->supplySourceY = -1;
  unit->actionPoints = 0;
  unit->startingActionPoints = 0;
  unit->inReserve = 0;
  unit->spotted = 1;
  unit->availableInTurns = 0;
  unit->attachedCommander = nullptr;
  unit->commanderId = -1;
  unit->SetSupply(gGame->constants.FullSupplyLevel());
  unit->ComputeCombatValue();
  if (toReserve || hex->unit) {
    // A unit of the reserve pool stands nowhere until it is deployed.
    unit->inReserve = 1;
    unit->x = -1;
    unit->y = -1;
    gGame->reservePool.push_back(std::move(unit));
    return;
  }
  unit->SetSupplySourceX(-1);
  unit->SetSupplySourceY(-1);
  unit->SetActionPoints(0);
  hex->unit = unit.get();
  gGame->airUnits.push_back(std::move(unit));
}

void AddMulberry(const sEffect& effect) {
  sHex* hex = EffectHex(effect, 1, 2);
  if (!hex) return;
  cCountry* owner = EffectCountry(effect, 0);
  if (!owner) return;
  cGame& game = *gGame;
  if (hex->unit) {
    if (hex->IsLand() && !hex->port) owner->AddProductionPoints(game.constants.MulberryValue() * 0.5);
    return;
  }
  // A harbour is a land unit; none stands at sea.
  if (!hex->IsLand()) {
    LogFormat(u"WARNING: effect %s at line %i: (%i, %i) is a sea hex; no harbour is placed there", effect.method,
              effect.line, IntParam(effect, 1), IntParam(effect, 2));
    return;
  }
  if (!RoomForNewUnit(effect, kCategoryLand)) return;
  auto harbour = std::make_unique<cMulberry>();
  harbour->owner = IntParam(effect, 0);
  harbour->SetName(effect.paramStrings[0]);
  harbour->x = IntParam(effect, 1);
  harbour->y = IntParam(effect, 2);
  harbour->category = kCategoryLand;
  harbour->SetType(kMulberryType);
  harbour->level = 1;
  harbour->SetStrength(TruncateParam(game.constants.MulberryStrength()));
  harbour->remainingTime = TruncateParam(game.constants.MulberryDuration());
  harbour->commanderId = -1;
  harbour->SetStartingActionPoints(0);
  harbour->attacked = 0;
  harbour->wasAttacked = 0;
  harbour->spotted = 1;
  harbour->availableInTurns = 0;
  harbour->SetSupply(game.constants.FullSupplyLevel());
  harbour->ComputeCombatValue();
  harbour->SetSupplySourceX(-1);
  harbour->SetSupplySourceY(-1);
  harbour->SetActionPoints(0);
  harbour->ResetActionPoints();
  cJednostkaLadowa& placed = PutOnMap(std::move(harbour));
  LogFormat(u"Mulberry  \"%s\" created at (%d, %d) for country %s", placed.name, placed.x, placed.y, owner->name);
}

const sEffectBehaviour kLandUnitEffects[] = {
    {u"Hex.AddLandUnit", AddLandUnit},      {u"Hex.AddUnitAndPassControlOverHexIfEmpty", AddUnitAndPassControl},
    {u"City.FirePartisans", FirePartisans}, {u"Hex.AddAirUnit", AddAirUnit},
    {u"Hex.AddMulberry", AddMulberry},
};

}  // namespace

std::span<const sEffectBehaviour> LandUnitEffects() { return kLandUnitEffects; }

}  // namespace tr
