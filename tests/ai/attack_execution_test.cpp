// Carrying out an attack plan: the bombers' strikes and where they end, and
// the ships' bombardment of a coastal target with its result popup.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/ai_pacing.h"
#include "ai/country_ai.h"
#include "ai_fixture.h"
#include "foundation/format.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

struct sStrikes {
  const char* name;
  bool airTarget;
  int defenderStrength;
  float bombFactor;   // the defender's loss per strike, x 10 strength points
  int bomberPoints;
  int strikes;
  bool destroyed;
  int column = 1;  // the plan's odds column before the strikes
};

// An enemy with an own attacker two hexes away whose approach hex is beside
// the target, and a tactical bomber within range.
class AirStrikeTest : public testing::TestWithParam<sStrikes> {
 protected:
  AirStrikeTest() {
    cGame& game = world.game();
    game.relations.SetWar(1, 2, true);
    game.relations.SetWar(2, 1, true);
    world.country(1).alliance = kAxisLeader;
    world.country(2).alliance = kAlliesLeader;
    world.country(1).techLevels.fill(1);
    world.SetPlainCombatConstants();
    sScenarioConstants& k = game.constants;
    k.SetSlot(sScenarioConstants::SlotOf(47, 1), 10);  // air range
    for (int level = 1; level <= 5; ++level) k.SetSlot(sScenarioConstants::SlotOf(151, level), 1.0);
    k.SetSlot(sScenarioConstants::SlotOf(14, 1), 4);
    k.SetSlot(sScenarioConstants::SlotOf(148, 1), 1.0);
    previousPauses = SetAiPausesSleep(false);
  }
  ~AirStrikeTest() override { SetAiPausesSleep(previousPauses); }

  test::AiWorld world;
  bool previousPauses = true;
};

TEST_P(AirStrikeTest, StrikesEndWithTheDefenderTheBestColumnOrTheBombersPoints) {
  const sStrikes c = GetParam();
  for (int die = 1; die <= 6; ++die) {
    world.game().constants.SetSlot(consts_layout::kBombardLandFactor + die - 1, c.bombFactor);
  }
  cJednostka* target = nullptr;
  if (c.airTarget) {
    cJednostkaLotnicza& plane = world.AddAir(2, 20, 5, kFighter);
    plane.strength = 5;
    target = &plane;
  } else {
    target = &world.AddLand(2, 20, 5, c.defenderStrength);
  }
  target->name = u"Enemy";
  const sPoint approach = NeighbourPoint(20, 5, 0);
  const sPoint start = NeighbourPoint(approach.x, approach.y, 0);
  cJednostkaLadowa& attacker = world.AddLand(1, start.x, start.y, 100);
  attacker.actionPoints = attacker.startingActionPoints = 6;
  cJednostkaLotnicza& bomber = world.AddAir(1, 24, 5, kTacticalBomber);
  bomber.strength = 5;
  bomber.level = 1;
  bomber.actionPoints = c.bomberPoints;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  sAttackPlan plan;
  plan.Reset();
  plan.target = target;
  plan.attackingCountry = 1;
  plan.oddsColumn = c.column;
  plan.approaches[0] = {&attacker, approach.x, approach.y, 0, 1};
  plan.supportingAirUnits = {&bomber};
  plan.goodAirStrikes = c.bomberPoints;

  EXPECT_TRUE(ai.ExecuteAttack(plan));

  EXPECT_EQ(test::LinesStartingWith(world.log, u"Enemy is bombed by").size(), static_cast<std::size_t>(c.strikes));
  EXPECT_EQ(bomber.actionPoints, c.bomberPoints - c.strikes);
  EXPECT_EQ(world.log.Contains(u"Obronca nie przezyl bombardowania... koniec ataku"), c.destroyed);
  if (c.destroyed) {
    // Nobody moves and no assault is made.
    EXPECT_EQ(world.hex(start.x, start.y).unit, &attacker);
    EXPECT_EQ(world.hex(20, 5).unit, nullptr);
    EXPECT_TRUE(test::LinesStartingWith(world.log, u"S: attack_execution").empty());
  } else {
    EXPECT_EQ(world.hex(approach.x, approach.y).unit, &attacker);
    EXPECT_TRUE(world.log.ContainsText(u"Enemy is attacked. Directions=1"));
  }
  EXPECT_EQ(world.hex(20, 5).flags & 2u, 0u);
}

// A tenth of the strength is the defender's effective strength: 5 dies of
// one strike; 100 falls to 10 at factor 900 (10:1 against the attacker, the
// best column) or loses 10 a strike until the bomber's points are spent.
INSTANTIATE_TEST_SUITE_P(
    Ends, AirStrikeTest,
    testing::Values(sStrikes{"DefenderDestroyed", false, 5, 100.0f, 3, 1, true},
                    sStrikes{"BestColumnReached", false, 100, 900.0f, 3, 1, false},
                    sStrikes{"BomberSpent", false, 100, 100.0f, 2, 2, false},
                    sStrikes{"AirTargetNeverBombed", true, 0, 900.0f, 3, 0, false},
                    sStrikes{"JustBelowTheBestColumn", false, 100, 100.0f, 2, 2, false, 6},
                    sStrikes{"AlreadyAtTheBestColumn", false, 100, 100.0f, 2, 0, false, 7}),
    [](const auto& info) { return std::string(info.param.name); });

struct sShore {
  const char* name;
  int column;
  float resultDelay;
  float baseValue;  // of every land type; a unit worth nothing dies of any bombardment
  bool bombarded;
  bool popup;
  bool assault;
};

// Country 1's fleet lies in the zone that washes (3, 4), where an enemy of
// country 3 stands; an own unit beside it attacks. Nothing of the attack is
// shown on the map.
class ShoreBombardmentTest : public testing::TestWithParam<sShore> {
 protected:
  ShoreBombardmentTest() : scoped_(screen) {
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    previousPauses = SetAiPausesSleep(false);
  }
  ~ShoreBombardmentTest() override {
    SetAiPausesSleep(previousPauses);
    gDelays = savedDelays_;
  }

  test::NavalWorld sea;
  test::LogCapture log;
  cHeadlessPresentation screen;
  ScopedPresentation scoped_;
  std::array<float, kDelayCount> savedDelays_{};
  bool previousPauses = true;
};

TEST_P(ShoreBombardmentTest, ShipsBombardBelowTheBestColumnAndShowTheirResult) {
  const sShore c = GetParam();
  gDelays[kDelayAICombatResult] = c.resultDelay;
  for (int type = 0; type < kLandTypeCount; ++type) sea.SetConstant(9, type + 2, c.baseValue);
  // Every die gives 4 a ship; two ships share it (exponent 1), so the guns
  // take 4 of the defender's strength value of 10: 40 of its combat value 100.
  sScenarioConstants& k = sea.game().constants;
  for (int i = 0; i < 12; ++i) k.SetSlot(consts_layout::kShipTable + i, 4.0);
  k.SetSlot(consts_layout::kShoreBombardmentExponent, 1.0);
  for (int level = 0; level < 5; ++level) k.SetSlot(consts_layout::kShoreBombardmentNavyFactor + level, 1.0);
  for (int level = 0; level < consts_layout::kSupplyLevels; ++level) {
    k.SetSlot(consts_layout::kSupplyCombatPercent + level, 100);
  }
  const int zone = sea.AddSea();
  sea.world().hex(3, 4).seaZone = static_cast<std::uint16_t>(zone);
  cFleet& fleet = sea.AddFleet(1, zone, {kBattleship, kCruiser});
  cJednostkaLadowa& target = sea.world().PlaceLandUnit(3, 3, 4);
  target.strength = 100;
  target.spotted = 0;
  target.name = u"Coast";
  target.turnsWithoutSupply = 0;
  target.ComputeCombatValue();
  ASSERT_EQ(target.combatValue, 100);
  const sPoint side = NeighbourPoint(3, 4, 3);
  cJednostkaLadowa& attacker = sea.world().PlaceLandUnit(1, side.x, side.y);
  attacker.strength = 100;
  attacker.actionPoints = attacker.startingActionPoints = 6;
  sea.game().playerControl.currentCountry = &sea.world().country(1);
  cCountryAI& ai = CountryAiOf(sea.game(), sea.world().country(1));
  ai.country = &sea.world().country(1);
  ai.BuildUnitLists();
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  plan.oddsColumn = c.column;
  plan.approaches[3] = {&attacker, side.x, side.y, 3, 0};

  EXPECT_TRUE(ai.ExecuteAttack(plan));

  const bool fired = std::all_of(fleet.ships.begin(), fleet.ships.end(),
                                 [](const cJednostkaMorska* ship) { return ship->shoreBombardmentDone != 0; });
  EXPECT_EQ(fired, c.bombarded);
  const int shown = static_cast<int>(c.resultDelay);
  EXPECT_EQ(screen.CountEvents(Format(u"combat-result 7 %i", shown)), c.popup ? 1 : 0);
  // The battle itself is not shown; a defender the guns destroyed is not attacked.
  EXPECT_EQ(screen.CountEvents(Format(u"combat-result 0 %i", shown)), 0);
  EXPECT_EQ(log.ContainsText(u"Coast is attacked"), c.assault);
  EXPECT_EQ(log.Contains(u"[AI] Country1: the defender did not survive the shore bombardment; the attack ends"),
            !c.assault);
  EXPECT_EQ(sea.world().hex(side.x, side.y).unit, &attacker);
  if (c.assault) {
    EXPECT_FLOAT_EQ(target.shoreBombardmentEffect, c.bombarded ? 40.0f : 0.0f);
    EXPECT_EQ(target.combatValue, c.bombarded ? 60 : 100);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ShoreBombardmentTest,
                         testing::Values(sShore{"ShownEvenWhenTheAttackIsNot", 1, 500.0f, 10.0f, true, true, true},
                                         sShore{"NoPopupWithoutResultDelay", 1, 0.0f, 10.0f, true, false, true},
                                         sShore{"NoneAtTheBestColumn", 7, 500.0f, 10.0f, false, false, true},
                                         sShore{"DefenderDestroyedEndsTheAttack", 1, 500.0f, 0.0f, true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
