// What a planned land attack is worth before it is fought: effective
// strengths, the attack and defence factors, the two modifiers built from
// them and the odds column; and the commanders' experience the battle gives.
// Products are formed in double and rounded to float where each operation
// returns, which fixes the last bits of the odds and the percentages shown.
#include <algorithm>
#include <cmath>

#include "foundation/random.h"
#include "units/attack.h"
#include "units/jednostka_ladowa.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kWeatherWinter = 1;
constexpr int kWeatherMud = 2;

bool IsArmoured(const cJednostka* unit) {
  return unit && (unit->type == kArmouredDivision || unit->type == kArmouredCorps);
}

const sHex& TargetHex(const sAttack& attack) { return *gGame->map->GetHex(attack.targetX, attack.targetY); }

// What winter or mud leaves of a country's fighting power on a hex of that weather.
double WeatherContribution(int weather, const cCountry* country) {
  if (!country) return 1.0;
  const sScenarioConstants& k = gGame->constants;
  if (weather == kWeatherWinter) {
    return 1.0 - (static_cast<double>(country->winterBattle) / 100.0) * (static_cast<double>(k.WinterBattlePercent()) / 100.0);
  }
  if (weather == kWeatherMud) {
    return 1.0 - (static_cast<double>(country->mudBattle) / 100.0) * (static_cast<double>(k.MudBattlePercent()) / 100.0);
  }
  return 1.0;
}

sCommander* CommanderOf(const cUnit& unit) {
  return unit.attachedCommander ? unit.attachedCommander : unit.GetCommander();
}

void RollExperience(const cUnit& unit, int chance) {
  sCommander* commander = CommanderOf(unit);
  if (!commander || commander->experience >= gGame->constants.CommanderMaxExperience()) return;
  if (RandomRange(1, 100) <= chance) ++commander->experience;
}

}  // namespace

float sAttack::GetAttackersStrength() const {
  double sum = 0.0;
  for (const cJednostka* unit : attackers) {
    if (unit) sum += unit->GetStrengthValue();
  }
  return static_cast<float>(sum);
}

float sAttack::GetAttackersEffectiveStrength() const {
  const sHex& hex = TargetHex(*this);
  const double river = gGame->constants.RiverAttackFactor();
  double sum = 0.0;
  for (int side = 0; side < kDirectionCount; ++side) {
    const cJednostka* unit = attackers[side];
    if (!unit) continue;
    const double value = unit->GetEffectiveStrength();
    sum += hex.HasRiver(side) ? value * river : value;
  }
  return static_cast<float>(sum);
}

float sAttack::GetDefenderEffectiveStrength() const {
  if (defender->category == kCategoryLand) return defender->GetEffectiveStrength();
  return gGame->constants.AirUnitDefenceStrength();
}

float sAttack::GetArmourFactor() const {
  bool armourAttacks = false;
  for (const cJednostka* unit : attackers) armourAttacks = armourAttacks || IsArmoured(unit);
  if (IsArmoured(defender) && !armourAttacks) return gGame->constants.ArmourAttackFactor();
  if (defender->category != kCategoryLand) return gGame->constants.NonLandDefenderAttackFactor();
  return 1.0f;
}

float sAttack::GetDirectionsFactor() const {
  const int count = CountAttackers();
  return count == 0 ? 1.0f : gGame->constants.DirectionsFactor(count);
}

float sAttack::GetAttackersWeatherFactor() const {
  double sum = 0.0;
  int count = 0;
  for (const cJednostka* unit : attackers) {
    if (!unit) continue;
    ++count;
    // A unit off the map (aboard a ship) fights in no weather.
    if (unit->x == -1 || unit->y == -1) {
      sum += 1.0;
    } else {
      sum += WeatherContribution(gGame->map->GetHex(unit->x, unit->y)->weather, unit->GetOwnerCountry());
    }
  }
  return count == 0 ? 1.0f : static_cast<float>(sum / count);
}

float sAttack::GetFortificationFactor() const {
  if (defender->category != kCategoryLand) return 1.0f;
  const double fort = TargetHex(*this).fortLevel;
  // A fort past the scale takes the whole attack and no more: a negative
  // factor would give the attackers a negative strength and the panel a
  // negative percent.
  return static_cast<float>(std::max(0.0, 1.0 - fort * gGame->constants.FortAttackPercent() / 100.0));
}

float sAttack::GetAttackModifier() const {
  const double armour = GetArmourFactor();
  const double directions = GetDirectionsFactor();
  const double weather = GetAttackersWeatherFactor();
  const double fort = GetFortificationFactor();
  return static_cast<float>(fort * (weather * (armour * directions)));
}

float sAttack::GetTerrainFactor() const {
  const int terrain = TargetHex(*this).terrain;
  return terrain >= 1 && terrain <= 7 ? gGame->constants.TerrainDefenceFactor(terrain) : 1.0f;
}

float sAttack::GetCityFactor() const {
  return TargetHex(*this).city ? gGame->constants.CityDefenceFactor() : 1.0f;
}

float sAttack::GetDefenderWeatherFactor() const {
  return static_cast<float>(WeatherContribution(TargetHex(*this).weather, defender->GetOwnerCountry()));
}

float sAttack::GetEntrenchmentFactor() const {
  if (defender->category != kCategoryLand) return 1.0f;
  const auto* land = dynamic_cast<const cJednostkaLadowa*>(defender);
  const double trench = land ? land->trenchBonusMultiplier : 0;
  return static_cast<float>(1.0 + trench * gGame->constants.EntrenchmentPercent() / 100.0);
}

float sAttack::GetDefenceModifier() const {
  const double weather = GetDefenderWeatherFactor();
  const double terrain = GetTerrainFactor();
  const double city = GetCityFactor();
  const double trench = GetEntrenchmentFactor();
  return static_cast<float>(weather * (terrain * city) * trench);
}

int sAttack::GetOddsColumn() const {
  const double attack = static_cast<double>(GetAttackModifier()) * GetAttackersEffectiveStrength();
  const double defence = static_cast<double>(GetDefenceModifier()) * GetDefenderEffectiveStrength();
  if (defence == 0.0) return 1;
  const double ratio = std::trunc(attack / defence);
  // Compared as a double: a huge ratio must not reach an integer conversion.
  if (!(ratio >= 1.0)) return 1;
  if (ratio > 7.0) return 7;
  return static_cast<int>(ratio);
}

void sAttack::GainCommanderExperience() {
  const sScenarioConstants& k = gGame->constants;
  for (const cJednostka* unit : attackers) {
    if (unit) RollExperience(*unit, k.AttackerCommanderExperienceChance());
  }
  if (defender) RollExperience(*defender, k.DefenderCommanderExperienceChance());
}

}  // namespace tr
