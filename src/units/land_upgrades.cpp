// A land division upgraded to the corps of its arm, and a land unit raised to
// the next technology level. Both cost production points and keep what the
// unit is worth in the field: the strength value grows by exactly the
// difference of the full-strength values.
#include <algorithm>
#include <cmath>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"

namespace tr {
namespace {

bool HasCorps(int type) {
  return type == kInfantryDivision || type == kMechanizedDivision || type == kArmouredDivision;
}

bool IsLandTableType(int type) { return type >= 0 && type < kLandTypeCount; }

// What a unit of type t at level k costs, with the surcharge of its level.
float PricedValue(int level, int type) {
  const sScenarioConstants& k = gGame->constants;
  const float value = k.LandBaseValue(level, type) * k.LandPriceFactor(type);
  const float surcharge = static_cast<float>(k.LevelPriceSurcharge());
  return value * (1.0f + surcharge * static_cast<float>(level - 1) / 100.0f);
}

// The strength after the full-strength value changes from oldBase to
// newBase. A result within a hair of a whole number is that number, so that
// a full unit stays at 100 whatever the floating point does; the result never
// exceeds 100.
double NewStrength(float oldBase, float newBase, int strength) {
  const double b0 = oldBase;
  const double b1 = newBase;
  double s = ((b1 - b0) * 100.0 + strength * b0) / b1;
  const double whole = std::round(s);
  if (std::abs(s - whole) < 1e-6) s = whole;
  return std::clamp(s, 0.0, 100.0);
}

void PayProduction(cJednostkaLadowa& unit, float cost) {
  if (cCountry* country = unit.GetOwnerCountry()) country->AddProductionPoints(-static_cast<double>(cost));
}

// What both player changes do after the new values are set.
void FinishPlayerChange(cJednostkaLadowa& unit) {
  unit.SetActionPoints(0);
  unit.moveRange.clear();
  if (gGame->map) gGame->map->ClearHexFlags(~std::uint32_t{1}, false);
}

// The level-up without its display; false (logged) when it cannot be made.
bool RaiseLevel(cJednostkaLadowa& unit) {
  if (!gGame || !IsLandTableType(unit.type)) {
    LogFormat(u"%s cannot level up: type %i has no level values", unit.name, unit.type);
    return false;
  }
  const sScenarioConstants& k = gGame->constants;
  const float oldBase = k.LandBaseValue(unit.level, unit.type);
  const float newBase = k.LandBaseValue(unit.level + 1, unit.type);
  if (!(newBase > 0.0f)) {
    LogFormat(u"%s cannot level up: level %i has no base value", unit.name, unit.level + 1);
    return false;
  }
  const int strength = static_cast<int>(std::ceil(NewStrength(oldBase, newBase, unit.strength)));
  PayProduction(unit, unit.GetLevelUpCost());
  unit.level += 1;
  unit.SetStrength(strength);
  return true;
}

}  // namespace

float cJednostkaLadowa::GetUpgradeCost() {
  if (!gGame) return 0.0f;
  if (!HasCorps(type)) {
    LogLine(Format(GetText("error:_wrong_land_unit_type_(%i)_while_calculating_upgrade_to_corps_cost"), type));
    return 0.0f;
  }
  const sScenarioConstants& k = gGame->constants;
  const float division = k.LandPriceFactor(type);
  const float corps = k.LandPriceFactor(type + 1);
  const float c = corps * (k.LandBaseValue(level, type + 1) - k.LandBaseValue(level, type)) +
                  GetStrengthValue() * (corps - division);
  const float surcharge = static_cast<float>(k.LevelPriceSurcharge());
  return c + surcharge * c * static_cast<float>(level - 1) / 100.0f;
}

float cJednostkaLadowa::GetLevelUpCost() {
  if (!gGame || !IsLandTableType(type)) return 0.0f;
  return PricedValue(level + 1, type) - PricedValue(level, type);
}

void cJednostkaLadowa::UpgradeToCorps() {
  if (!gGame) return;
  const sScenarioConstants& k = gGame->constants;
  if (!HasCorps(type) || !(k.LandBaseValue(level, type + 1) > 0.0f)) {
    LogFormat(u"Upgrade of %s refused: type %i has no corps to become", name, type);
    return;
  }
  const int newStrength =
      static_cast<int>(NewStrength(k.LandBaseValue(level, type), k.LandBaseValue(level, type + 1), strength));
  PayProduction(*this, GetUpgradeCost());
  SetType(type + 1);
  SetStrength(newStrength);
  FinishPlayerChange(*this);
}

void cJednostkaLadowa::LevelUp() {
  if (RaiseLevel(*this)) FinishPlayerChange(*this);
}

void cJednostkaLadowa::AiLevelUp() {
  if (!gGame) return;
  const cCountry* country = GetOwnerCountry();
  LogFormat(u"[AI]: %s - upgrading %s (level up)", country ? country->name : std::u16string(), name);
  if (spotted && gGame->playerControl.follow && gGame->map) CenterAtHex(*gGame->map, x, y);
  SleepLogged(static_cast<int>(gDelays[kDelayAIReplacementBefore]), __FILE__, __LINE__);
  RaiseLevel(*this);
  SleepLogged(static_cast<int>(gDelays[kDelayAIReplacementAfter]), __FILE__, __LINE__);
}

}  // namespace tr
