// What a land unit is worth: combat value, new-turn action points, strength
// and base values. The arithmetic keeps single precision where the values
// have always been single precision, so results match to the last unit.
#include <algorithm>
#include <cstdint>

#include "units/jednostka_ladowa.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/tech_levels.h"
#include "world/value_limits.h"

namespace tr {
namespace {

bool IsLandTableType(int type) { return type >= 0 && type < kLandTypeCount; }

// A value cut to an int, held to the int's range: the scenario's percentages
// and a unit's turns without supply may multiply to more than an int holds.
int SaturatedInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int>(value);
}

// What is left after t turns without supply; a limit of 0 or less leaves nothing.
float SupplyLossFactor(int turns, int limit) {
  if (limit <= 0) return 0.0f;
  return 1.0f - static_cast<float>(turns) / static_cast<float>(limit);
}

}  // namespace

int cJednostkaLadowa::ComputeCombatValue() {
  if (!gGame) return 1;
  const sScenarioConstants& c = gGame->constants;
  float f = 1.0f + static_cast<float>(std::int64_t{c.DoctrineCombatPercent()} * GetDoctrineLevel()) / 100.0f;
  if (attachedCommander) {
    f *= attachedCommander->GetBonus(0);
  } else if (GetCommander()) {
    f *= 1.0f + static_cast<float>(GetCommanderBonus()) / 100.0f;
  }
  const float a = static_cast<float>(c.SupplyCombatPercent(supply)) / 100.0f * f;
  const float b = a * static_cast<float>(eventsEffect + 100) / 100.0f;
  const int whole = SaturatedInt(100.0f * b);
  int value = SaturatedInt(static_cast<float>(whole) - shoreBombardmentEffect);
  if (turnsWithoutSupply > 0) {
    value = SaturatedInt(SupplyLossFactor(turnsWithoutSupply, c.SupplyLossLimit()) * static_cast<float>(value));
  }
  combatValue = std::clamp(value, 1, kMaxCombatValue);
  return 1;
}

void cJednostkaLadowa::ResetActionPoints() {
  if (freezeTime >= 1) {
    actionPoints = 0;
    return;
  }
  int ap = 0;
  if (gGame && IsLandTableType(type)) {
    const sScenarioConstants& c = gGame->constants;
    ap = c.LandActionPoints(TechTableLevel(GetDoctrineLevel(), 0), type);
    ap = (100 - c.SupplyApReductionPercent(supply)) * ap / 100;
    if (turnsWithoutSupply > 0) {
      const int limit = c.SupplyLossLimit();
      const double left = limit > 0 ? 1.0 - static_cast<double>(turnsWithoutSupply) / limit : 0.0;
      ap = SaturatedInt(left * ap);
    }
  }
  if (ap < 0) ap = 0;
  // Foot soldiers can always take one step; vehicles out of supply cannot.
  if (ap == 0 && (type == kInfantryDivision || type == kInfantryCorps || type == kAirborneDivision)) ap = 1;
  actionPoints = ap;
  startingActionPoints = ap;
  movedThisTurn = 0;
}

int cJednostkaLadowa::GetDoctrineLevel() const {
  const cCountry* country = GetOwnerCountry();
  return country ? country->GetTechLevel(kDoctrineTech) : 0;
}

float cJednostkaLadowa::GetBaseValue() const {
  // The harbour (type 60) and unknown codes have no column in the table.
  if (!gGame || !IsLandTableType(type)) return 0.0f;
  return gGame->constants.LandBaseValue(level, type);
}

float cJednostkaLadowa::GetStrengthValue() const {
  return GetBaseValue() * static_cast<float>(strength) / 100.0f;
}

float cJednostkaLadowa::GetEffectiveStrength() const {
  return GetStrengthValue() * static_cast<float>(combatValue) / 100.0f;
}

void cJednostkaLadowa::Unfreeze() {
  freezeTime = 0;
  ResetActionPoints();
}

}  // namespace tr
