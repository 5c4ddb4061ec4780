// A small running game for the air war: the unit world with the air
// constants set, countries 1 and 2 at war, 3 an ally of 1, and helpers that
// build air units, carriers and scripted dice.
#pragma once

#include <cmath>
#include <deque>
#include <memory>

#include "foundation/fatal.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "units/combat_result.h"
#include "units/sea_node_air_ops.h"
#include "units/unit_fixture.h"
#include "world/city.h"
#include "world/headless_presentation.h"

namespace tr::test {

// The generator value that makes RandomRange(low, high) give value.
inline int DrawFor(int low, int high, int value) {
  for (int r = 0; r <= 32767; ++r) {
    if (low + static_cast<int>(static_cast<float>(r) / 32767.0f * static_cast<float>(high - low)) == value) return r;
  }
  return 0;
}
inline int Die(int value) { return DrawFor(1, 6, value); }

class AirWorld : public UnitWorld {
 protected:
  AirWorld() : presentation_(true), scoped_(presentation_) {
    using namespace consts_layout;
    for (int t = 0; t < 3; ++t) {
      Set(kAirActionPoints + t, 4);
      Set(kAirMaxStrength + t, 10);
      Set(kAirLevelUpFactor + t, 2.0);
    }
    Set(kAirRangeBase + 0, 4);  // combat radius, fighters and tactical bombers
    Set(kAirRangeBase + 1, 6);  // move radius
    Set(kAirRangeBase + 2, 5);  // combat radius, strategic bombers
    Set(kAirRangeBase + 3, 8);  // move radius
    for (int level = 0; level <= 5; ++level) Set(kAirRangeFactor + level, 0.5 + 0.25 * level);
    Set(kAirLevelUpPercent, 50);
    Set(kAirSearchRadius, 2);
    for (int i = 0; i < kSupplyLevels; ++i) {
      Set(kSupplyAirModifier + i, 0);
      Set(kSupplyBombardedPercent + i, 100);
    }
    for (int t = 0; t < 3; ++t) Set(kAirTypeSupplyPercent + t, 50);
    country(1).alliance = kAllies;
    country(3).alliance = kAllies;
    country(2).alliance = kAxis;
    game().relations.SetWar(1, 2, true);
    game().relations.SetWar(2, 1, true);
    game().relations.SetWar(3, 2, true);
    game().relations.SetWar(2, 3, true);
    for (int c = 1; c <= 3; ++c) country(c).techLevels[3] = 2;
  }

  void Set(int slot, double value) { game().constants.SetSlot(slot, value); }
  // Every cell of an air combat table gets the same loss.
  void FillAirTables(int lossA, int lossB) {
    for (int i = 0; i < 54; ++i) {
      Set(consts_layout::kAirCombatTableA + i, lossA);
      Set(consts_layout::kAirCombatTableB + i, lossB);
    }
  }

  cJednostkaLotnicza& AddPlane(int owner, int x, int y, int type, int strength = 10) {
    cJednostkaLotnicza& unit = AddAir(owner, x, y);
    unit.SetType(type);
    unit.strength = strength;
    unit.supply = 10;
    unit.actionPoints = unit.startingActionPoints = 4;
    return unit;
  }

  cJednostkaMorska& AddCarrier(int owner, int hitPoints, int maxHitPoints) {
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->SetType(kAircraftCarrier);
    ship->owner = owner;
    ship->hitPoints = hitPoints;
    ship->maxHitPoints = maxHitPoints;
    game().navalUnits.push_back(std::move(ship));
    return *game().navalUnits.back();
  }

  // A city named "Town" with its production on a hex.
  cCity& AddCity(int x, int y, float production) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->name = u"Town";
    city->productionPoints = production;
    map().GetHex(x, y)->city = city.get();
    game().cities.push_back(std::move(city));
    return *game().cities.back();
  }

  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  sCombatResult result_;
};

}  // namespace tr::test
