// Air power around a hex as a country sees it: the fighters of its side, the
// enemy's fighters or carriers, and the ratio of the two.
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

// The radius in hexes within which fighters count, by the country's aircraft level.
int AirRadius(const cCountry& country) {
  const sScenarioConstants& k = gGame->constants;
  const float factor = k.AirRangeFactor(TechTableLevel(country.GetTechLevel(3), 0));
  return static_cast<int>(factor * static_cast<float>(k.AirRangeBase(1)));
}

// Fighters within the country's radius of (x, y) whose owner passes the test;
// the sum drops its fraction after every unit, as it always has.
template <typename OwnerTest>
std::int32_t FighterPower(const cCountry& country, int x, int y, OwnerTest test) {
  const int radius = AirRadius(country);
  std::int32_t sum = 0;
  for (const auto& unit : gGame->airUnits) {
    if (unit->type != kFighter || unit->owner < 1 || !test(unit->owner)) continue;
    if (HexDistance(unit->x, unit->y, x, y) > radius) continue;
    sum = static_cast<std::int32_t>(static_cast<float>(sum) + unit->GetStrengthValue());
  }
  return sum;
}

}  // namespace

std::int32_t cCountry::GetFriendlyAirPowerAt(int x, int y) const {
  if (!gGame) return 0;
  return FighterPower(*this, x, y, [this](int owner) { return owner == id || IsAlly(owner); });
}

std::int32_t cCountry::GetEnemyAirPowerAt(int x, int y) const {
  if (!gGame || !gGame->map) return 0;
  const auto atWar = [this](int owner) { return gGame->relations.IsAtWar(owner, id); };
  const sHex& hex = *gGame->map->GetHex(x, y);
  if (hex.IsLand()) return FighterPower(*this, x, y, atWar);
  if (hex.seaZone == 0) return 0;
  std::int32_t sum = 0;
  for (const auto& ship : gGame->navalUnits) {
    if (ship->type != kAircraftCarrier || ship->owner < 1) continue;
    if (ship->hitPoints >= gGame->constants.CarrierHitPointLimit() && atWar(ship->owner)) sum += ship->hitPoints;
  }
  return sum;
}

float cCountry::GetAirSuperiorityRatio(int x, int y) const {
  const std::int32_t enemy = GetEnemyAirPowerAt(x, y);
  if (enemy == 0) return -1.0f;
  return static_cast<float>(GetFriendlyAirPowerAt(x, y)) / static_cast<float>(enemy);
}

}  // namespace tr
