// A small world for land battles: the unit world with the combat constants
// set to plain, recognisable values, and the raw draws that make the random
// operations give a chosen result.
#pragma once

#include <deque>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "unit_fixture.h"

namespace tr::test {

// The raw draw for which RandomRange(low, high) gives value.
inline int DrawFor(int low, int high, int value) {
  if (value >= high) return 32767;
  return static_cast<int>((value - low + 0.5) * 32767.0 / (high - low));
}
inline int Die(int value) { return DrawFor(1, 6, value); }
inline int Percent(int value) { return DrawFor(1, 100, value); }
// RandomUnit draws for the computer's bonus: above 0.1 and not.
inline constexpr int kBonusDraw = 16384;
inline constexpr int kNoBonusDraw = 0;
// Scripted after the draws a case expects, so that the test sees none was left unused or drawn extra.
inline constexpr int kSentinel = 12345;

class BattleWorld : public UnitWorld {
 protected:
  BattleWorld() {
    cGame& g = game();
    auto set = [&](int slot, double value) { g.constants.SetSlot(slot, value); };
    namespace L = consts_layout;
    for (int doctrine = 0; doctrine <= 5; ++doctrine) set(L::kAttackActionPointCost + doctrine, 2);
    for (int die = 1; die <= 6; ++die) {
      for (int column = 1; column <= 7; ++column) {
        set(L::kDefenderLossPercent + (die - 1) * 7 + column - 1, die * 10 + column);
        set(L::kAttackerLossFactor + (die - 1) * 7 + column - 1, 0.5);
      }
    }
    set(L::kArmourAttackFactor, 0.5);
    set(L::kNonLandDefenderAttackFactor, 0.8);
    for (int n = 1; n <= 6; ++n) set(L::kDirectionsFactor + n - 1, 1.0 + 0.1 * (n - 1));
    set(L::kRiverAttackFactor, 0.5);
    set(L::kFortAttackPercent, 10);
    for (int t = 0; t <= 7; ++t) set(L::kTerrainDefenceFactor + t, 1.0);
    set(L::kCityDefenceFactor, 1.5);
    set(L::kAirUnitDefenceStrength, 2.0);
    set(L::kWinterBattlePercent, 50);
    set(L::kMudBattlePercent, 100);
    set(L::kEntrenchmentPercent, 10);
    set(L::kCommanderMaxExperience, 5);
    set(L::kDefenderCommanderExperienceChance, 30);
    set(L::kAttackerCommanderExperienceChance, 50);
    set(L::kRetreatBase, 60);
    for (int c = 1; c <= 7; ++c) set(L::kRetreatColumnFactor + c, 1.0);
    for (int t = 0; t <= 7; ++t) set(L::kRetreatTerrainFactor + t, 1.0);
    for (int id = 1; id <= 3; ++id) country(id).humanControlled = 1;
    game().relations.SetWar(1, 2, true);
    game().relations.SetWar(2, 1, true);
  }

  // A land unit with its action points and combat value ready for battle.
  cJednostkaLadowa& Fighter(int owner, int x, int y, int strength, int type = kInfantryDivision) {
    cJednostkaLadowa& unit = AddLand(owner, x, y, type);
    unit.strength = strength;
    unit.actionPoints = unit.startingActionPoints = 6;
    unit.name = Format(u"U%i_%i", x, y);
    return unit;
  }

  // An attack on the defender by the units on the given sides of its hex.
  sAttack AttackOn(cJednostka& defender) {
    sAttack attack;
    attack.defender = &defender;
    attack.targetX = defender.x;
    attack.targetY = defender.y;
    return attack;
  }
  cJednostkaLadowa& AttackerOn(sAttack& attack, int side, int owner, int strength, int type = kInfantryDivision) {
    const sPoint p = NeighbourPoint(attack.targetX, attack.targetY, side);
    cJednostkaLadowa& unit = Fighter(owner, p.x, p.y, strength, type);
    attack.SetAttacker(side, &unit);
    return unit;
  }
};

}  // namespace tr::test
