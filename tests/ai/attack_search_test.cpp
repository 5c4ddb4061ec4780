// The attack search's parts: the choice of attackers, air support, exposure,
// obvious moves and the plans that are dropped before anything moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <list>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai_fixture.h"
#include "scenario/scenario_constants_layout.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/hex_geometry.h"

namespace tr {
namespace {

class AttackSearchTest : public testing::Test {
 protected:
  AttackSearchTest() {
    world.game().relations.SetWar(1, 2, true);
    world.game().relations.SetWar(2, 1, true);
    world.country(1).alliance = kAxisLeader;
    world.country(2).alliance = kAlliesLeader;
    sScenarioConstants& k = world.game().constants;
    k.SetSlot(sScenarioConstants::SlotOf(31, 12), 0.5);  // river factor
    k.SetSlot(sScenarioConstants::SlotOf(47, 1), 10);    // air range
    for (int level = 1; level <= 5; ++level) k.SetSlot(sScenarioConstants::SlotOf(151, level), 1.0);
    k.SetSlot(sScenarioConstants::SlotOf(14, 1), 4);     // air base value of fighters
    k.SetSlot(sScenarioConstants::SlotOf(148, 1), 1.0);  // escort ratio
    previousPauses = SetAiPausesSleep(false);
  }
  ~AttackSearchTest() override { SetAiPausesSleep(previousPauses); }

  test::AiWorld world;
  bool previousPauses = true;
};

sMoveRangeCell Entry(cUnit& unit, int x, int y, int cost) { return {&unit, x, y, 0, cost}; }

sPoint At(const cUnit& unit) { return {unit.x, unit.y}; }

// With river factor 0.5 the stronger unit across a river loses to a weaker
// one on a dry side; equal strengths go to the cheaper approach, then the
// earlier entry.
TEST_F(AttackSearchTest, AttackerChoiceWeighsRiversAndCost) {
  cJednostkaLadowa& target = world.AddLand(2, 10, 5, 50);
  cJednostkaLadowa& strong = world.AddLand(1, 10, 0, 100);
  cJednostkaLadowa& weak = world.AddLand(1, 10, 10, 60);
  const sPoint river = NeighbourPoint(10, 5, 0);
  const sPoint dry = NeighbourPoint(10, 5, 3);
  world.hex(10, 5).rivers = 1;  // side 0
  target.approachList = {Entry(strong, river.x, river.y, 1), Entry(weak, dry.x, dry.y, 2)};
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  ai.FindOneDirectionAttacks();
  ASSERT_EQ(ai.attackPlans.size(), 1u);
  EXPECT_EQ(ai.attackPlans.front().approaches[3].unit, &weak);
  EXPECT_EQ(ai.attackPlans.front().approaches[0].unit, nullptr);
  EXPECT_EQ(ai.attackPlans.front().cost, 2);

  world.hex(10, 5).rivers = 0;
  weak.strength = 100;
  const sPoint other = NeighbourPoint(10, 5, 4);
  target.approachList = {Entry(strong, river.x, river.y, 3), Entry(weak, dry.x, dry.y, 2),
                         Entry(strong, other.x, other.y, 2)};
  ai.attackPlans.clear();
  ai.FindOneDirectionAttacks();
  ASSERT_EQ(ai.attackPlans.size(), 1u);
  EXPECT_EQ(ai.attackPlans.front().approaches[3].unit, &weak);
  EXPECT_EQ(ai.attackPlans.front().cost, 2);
}

// One interceptor of strength 4 and level 2 against bombers of 5+1 (3 points)
// and 3+1 (2 points) at escort ratio 1: only the first is worth flying.
TEST_F(AttackSearchTest, GoodAirStrikesCountOnlyBombersThatMatchTheInterceptor) {
  for (const bool withInterceptor : {true, false}) {
    test::AiWorld local;
    local.game().relations.SetWar(1, 2, true);
    local.game().relations.SetWar(2, 1, true);
    local.game().constants = world.game().constants;
    cJednostkaLadowa& target = local.AddLand(2, 10, 5);
    cJednostkaLotnicza& first = local.AddAir(1, 12, 5, kTacticalBomber);
    first.strength = 5;
    first.level = 1;
    first.actionPoints = 3;
    cJednostkaLotnicza& second = local.AddAir(1, 13, 5, kTacticalBomber);
    second.strength = 3;
    second.level = 1;
    second.actionPoints = 2;
    if (withInterceptor) {
      cJednostkaLotnicza& fighter = local.AddAir(2, 9, 5, kFighter);
      fighter.strength = 4;
      fighter.level = 2;
    }
    local.country(1).techLevels.fill(1);
    cCountryAI& ai = local.AiOf(1);
    ai.BuildUnitLists();
    sAttackPlan plan;
    plan.Reset();
    plan.target = &target;
    plan.CollectSupportingAirUnits(ai);
    plan.CollectInterceptors(ai);
    plan.CountGoodAirStrikes();
    EXPECT_EQ(plan.supportingAirUnits.size(), 2u);
    EXPECT_EQ(plan.interceptors.size(), withInterceptor ? 1u : 0u);
    EXPECT_EQ(plan.goodAirStrikes, withInterceptor ? 3 : 5);
  }
}

// A fighter counts as an interceptor only above half its type's full strength.
class InterceptorStrengthTest : public AttackSearchTest, public testing::WithParamInterface<int> {};

TEST_P(InterceptorStrengthTest, AFighterAtHalfStrengthInterceptsNothing) {
  cJednostkaLadowa& target = world.AddLand(2, 10, 5);
  cJednostkaLotnicza& fighter = world.AddAir(2, 9, 5, kFighter);
  const int half = world.game().constants.AirMaxStrength(kFighter) / 2;
  ASSERT_GT(half, 0);
  fighter.strength = half + GetParam();
  world.country(1).techLevels.fill(1);
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.CollectInterceptors(ai);
  EXPECT_EQ(plan.interceptors.size(), GetParam() > 0 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Strengths, InterceptorStrengthTest, testing::Values(0, 1));

// Bombers and fighters exactly at the air range (7 hexes here) of the target
// take part in the attack; those one hex further do not. The range follows
// the aircraft research (tech 3) alone: another research at a level that
// would double it changes nothing.
TEST_F(AttackSearchTest, AirUnitsJoinAnAttackUpToExactlyTheirRange) {
  world.game().constants.SetSlot(sScenarioConstants::SlotOf(47, 1), 7);
  cJednostkaLadowa& target = world.AddLand(2, 10, 5);
  cJednostkaLotnicza& near = world.AddAir(1, 17, 5, kTacticalBomber);
  world.AddAir(1, 18, 5, kTacticalBomber);
  cJednostkaLotnicza& nearFighter = world.AddAir(2, 3, 5, kFighter);
  world.AddAir(2, 2, 5, kFighter);
  for (cJednostkaLotnicza* unit : {&near, &nearFighter}) ASSERT_EQ(HexDistance(unit->x, unit->y, 10, 5), 7);
  for (auto& unit : world.game().airUnits) {
    unit->strength = 6;
    unit->actionPoints = 3;
  }
  world.country(1).techLevels.fill(1);
  world.country(1).techLevels[2] = 4;
  world.game().constants.SetSlot(sScenarioConstants::SlotOf(151, 4), 2.0);
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.CollectSupportingAirUnits(ai);
  plan.CollectInterceptors(ai);
  EXPECT_EQ(plan.supportingAirUnits, std::list<cUnit*>{&near});
  EXPECT_EQ(plan.interceptors, std::list<cUnit*>{&nearFighter});
}

// A hex beside the target is an approach only while the unit would still
// have a point left there to attack with.
class ApproachPointsTest : public AttackSearchTest, public testing::WithParamInterface<int> {};

TEST_P(ApproachPointsTest, AHexReachedWithNoPointLeftIsNoApproach) {
  const int cost = GetParam();
  cJednostkaLadowa& target = world.AddLand(2, 20, 5);
  cJednostkaLadowa& unit = world.AddLand(1, 10, 10);
  unit.actionPoints = unit.startingActionPoints = 3;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  const sPoint side = NeighbourPoint(20, 5, 3);
  ai.reach = {{&unit, side.x, side.y, 0, cost}};
  ai.ComputeApproaches();
  EXPECT_EQ(target.approachList.size(), cost < unit.actionPoints ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Costs, ApproachPointsTest, testing::Values(2, 3));

// Within the covering distance a unit of the attacker or of an ally covers
// the target, so the plan is not exposed; a neutral's unit covers nothing.
struct sCoverCase {
  const char* name;
  int owner;
  int distance;
  bool exposed;
};

class CoverTest : public AttackSearchTest, public testing::WithParamInterface<sCoverCase> {};

TEST_P(CoverTest, AFriendlyUnitWithinTheCoveringDistanceCovers) {
  const sCoverCase& c = GetParam();
  world.country(3).alliance = kAxis;
  cJednostkaLadowa& target = world.AddLand(2, 20, 5);
  world.AddLand(c.owner, 20 + c.distance, 5);
  ASSERT_EQ(HexDistance(20, 5, 20 + c.distance, 5), c.distance);
  ASSERT_EQ(world.country(1).aiSettings.MaxCoveringUnitDistance, 3);
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  EXPECT_EQ(plan.IsExposed(), c.exposed);
}

INSTANTIATE_TEST_SUITE_P(Units, CoverTest,
                         testing::Values(sCoverCase{"OwnAtTheDistance", 1, 3, false},
                                         sCoverCase{"OwnBeyond", 1, 4, true},
                                         sCoverCase{"AllyAtTheDistance", 3, 3, false},
                                         sCoverCase{"AllyBeyond", 3, 4, true},
                                         sCoverCase{"NeutralAtTheDistance", 4, 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Plans are tried by column, then a target on a city, then the lower cost;
// plans equal in all three latest made first.
TEST_F(AttackSearchTest, PlansAreOrderedByColumnCityAndCost) {
  world.AddCity(u"Fort", 10, 5, 2);
  cJednostkaLadowa& onCity = world.AddLand(2, 10, 5);
  cJednostkaLadowa& inField = world.AddLand(2, 20, 5);
  std::list<sAttackPlan> plans;
  auto add = [&](cJednostkaLadowa& target, int column, int cost) {
    sAttackPlan& plan = plans.emplace_back();
    plan.Reset();
    plan.target = &target;
    plan.oddsColumn = column;
    plan.cost = cost;
    return &plan;
  };
  sAttackPlan* fieldCheap = add(inField, 5, 1);
  sAttackPlan* low = add(onCity, 2, 0);
  sAttackPlan* cityDear = add(onCity, 5, 4);
  sAttackPlan* fieldCheapAgain = add(inField, 5, 1);
  sAttackPlan* best = add(inField, 6, 9);
  sAttackPlan* cityCheap = add(onCity, 5, 3);

  EXPECT_EQ(OrderAttackPlans(plans),
            (std::vector<sAttackPlan*>{best, cityCheap, cityDear, fieldCheapAgain, fieldCheap, low}));
}

// The multi-direction search lists its plans worst first after the header
// and, with thresholds no plan meets, carries none out.
TEST_F(AttackSearchTest, MultiDirectionSearchListsItsPlansWorstFirst) {
  world.SetPlainCombatConstants();
  world.country(1).aiSettings.MultipleSideAttackPreferences = {8, 8, 99};
  auto target = [&](const char16_t* name, int x, int strength, bool onCity) -> cJednostkaLadowa& {
    if (onCity) world.AddCity(name, x, 5, 2);
    cJednostkaLadowa& unit = world.AddLand(2, x, 5, strength);
    unit.name = name;
    return unit;
  };
  auto attacker = [&](int x, int y, int points) {
    cJednostkaLadowa& unit = world.AddLand(1, x, y, 100);
    unit.actionPoints = unit.startingActionPoints = points;
  };
  // Effective strengths: 10 per own unit, a tenth of the strength for targets.
  target(u"Strong", 5, 100, true);
  target(u"CityWeak", 15, 20, true);
  target(u"FieldWeak", 25, 20, false);
  target(u"FarWeak", 35, 20, false);
  // Side by side with one point, each attacks from where it stands (adjacent
  // and greedy plan, cost 0); the last must walk to its target.
  attacker(5, 4, 1);
  // The last of the six directions is looked at too.
  const sPoint lastSide = NeighbourPoint(15, 5, 5);
  attacker(lastSide.x, lastSide.y, 1);
  attacker(25, 4, 1);
  attacker(35, 2, 3);
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();

  ai.PlanMultiDirectionAttacks();

  const auto& lines = world.log.lines();
  const auto header = std::find(lines.begin(), lines.end(),
                                u"================= LISTA ATAKÓW WIELOKIER SORT !!!!=============");
  ASSERT_NE(header, lines.end());
  std::vector<std::u16string> listed;
  for (auto it = std::next(header); it != lines.end() && it->rfind(u"Cel=", 0) == 0; ++it) listed.push_back(*it);
  EXPECT_EQ(listed, (std::vector<std::u16string>{
                        u"Cel=Strong Kolumna=1:1 Miasto=TAK Koszt=0", u"Cel=Strong Kolumna=1:1 Miasto=TAK Koszt=0",
                        u"Cel=FarWeak Kolumna=5:1 Miasto=NIE Koszt=2", u"Cel=FieldWeak Kolumna=5:1 Miasto=NIE Koszt=0",
                        u"Cel=FieldWeak Kolumna=5:1 Miasto=NIE Koszt=0", u"Cel=CityWeak Kolumna=5:1 Miasto=TAK Koszt=0",
                        u"Cel=CityWeak Kolumna=5:1 Miasto=TAK Koszt=0"}));
  EXPECT_EQ(lines.back(), u"Nie było mozliwosci zrobienia ataku wielokier. na 5:1 lub lepiej, kończe wiec");
  EXPECT_FALSE(world.log.ContainsText(u"is attacked"));
}

// The one-direction search carries out a plan whose column is at least the
// country's first one-side preference: one attacker of effective 10 against
// a defender of 3 makes column 3.
struct sOneSidePreference {
  int preference;
  bool attacks;
};

class OneSidePreferenceTest : public AttackSearchTest, public testing::WithParamInterface<sOneSidePreference> {};

TEST_P(OneSidePreferenceTest, PlanAttacksFromItsColumnUp) {
  const sOneSidePreference c = GetParam();
  world.SetPlainCombatConstants();
  world.country(1).aiSettings.OneSideAttackPreferences[0] = c.preference;
  world.AddLand(2, 10, 5, 30);
  const sPoint side = NeighbourPoint(10, 5, 3);
  cJednostkaLadowa& attacker = world.AddLand(1, side.x, side.y, 100);
  attacker.actionPoints = attacker.startingActionPoints = 3;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();

  ai.PlanOneDirectionAttacks();

  EXPECT_TRUE(world.log.Contains(u"Cel=Land1 Kolumna=3:1 Miasto=NIE Koszt=0"));
  EXPECT_EQ(world.log.ContainsText(u"Land1 is attacked."), c.attacks);
}

INSTANTIATE_TEST_SUITE_P(Preferences, OneSidePreferenceTest,
                         testing::Values(sOneSidePreference{2, true}, sOneSidePreference{3, true},
                                         sOneSidePreference{4, false}));

// Attackers are added to a multi-direction plan until its column reaches 7;
// the approaches left over stay out of it.
struct sColumnStop {
  int targetStrength;
  int attackers;
  int cost;
  int column;
};

class ColumnStopTest : public AttackSearchTest, public testing::WithParamInterface<sColumnStop> {};

TEST_P(ColumnStopTest, ChoiceStopsAtTheBestColumn) {
  const sColumnStop c = GetParam();
  world.SetPlainCombatConstants();
  cJednostkaLadowa& target = world.AddLand(2, 20, 5, c.targetStrength);
  std::list<sMoveRangeCell> entries;
  for (int side : {0, 3, 1}) {
    cJednostkaLadowa& unit = world.AddLand(1, 5 + 5 * side, 10, 100);
    unit.actionPoints = unit.startingActionPoints = 6;
    const sPoint p = NeighbourPoint(20, 5, side);
    entries.push_back(Entry(unit, p.x, p.y, static_cast<int>(entries.size()) + 1));
  }
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  target.approachList = entries;

  ai.FindMultiDirectionAttacks();

  ASSERT_EQ(ai.attackPlans.size(), 1u);
  const sAttackPlan& plan = ai.attackPlans.front();
  int chosen = 0;
  for (const sReachEntry& move : plan.approaches) chosen += move.unit != nullptr;
  EXPECT_EQ(chosen, c.attackers);
  EXPECT_EQ(plan.cost, c.cost);
  EXPECT_EQ(plan.oddsColumn, c.column);
}

// Effective 10 per attacker against 2 (5:1, then 7:1) and 4 (2, 5, 7:1).
INSTANTIATE_TEST_SUITE_P(Targets, ColumnStopTest,
                         testing::Values(sColumnStop{20, 2, 3, 7}, sColumnStop{40, 3, 6, 7},
                                         sColumnStop{200, 3, 6, 1}));

// An enemy air unit is a target of the multi-direction search too, unless it
// was attacked this turn.
class AirTargetTest : public AttackSearchTest, public testing::WithParamInterface<bool> {};

TEST_P(AirTargetTest, AnAirUnitNotYetAttackedGetsAPlan) {
  const bool attacked = GetParam();
  world.SetPlainCombatConstants();
  cJednostkaLotnicza& target = world.AddAir(2, 20, 5);
  target.wasAttacked = attacked ? 1 : 0;
  cJednostkaLadowa& unit = world.AddLand(1, 10, 10, 100);
  unit.actionPoints = unit.startingActionPoints = 6;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  const sPoint side = NeighbourPoint(20, 5, 3);
  target.approachList = {Entry(unit, side.x, side.y, 2)};

  ai.FindMultiDirectionAttacks();

  ASSERT_EQ(ai.attackPlans.size(), attacked ? 0u : 1u);
  if (attacked) return;
  const sAttackPlan& plan = ai.attackPlans.front();
  EXPECT_EQ(plan.target, &target);
  EXPECT_EQ(plan.approaches[3].unit, &unit);
  EXPECT_EQ(plan.cost, 2);
}

INSTANTIATE_TEST_SUITE_P(AttackedOrNot, AirTargetTest, testing::Bool());

struct sExposure {
  int cheapest;
  bool covered;
  bool exposed;
};

class ExposureTest : public AttackSearchTest, public testing::WithParamInterface<sExposure> {};

TEST_P(ExposureTest, UncoveredCostlyPlansAreExposed) {
  const sExposure e = GetParam();
  cJednostkaLadowa& target = world.AddLand(2, 20, 5);
  if (e.covered) world.AddLand(1, 22, 5);
  world.AddLand(1, 30, 5);
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  if (e.cheapest >= 0) plan.approaches[2].cost = e.cheapest;
  if (e.cheapest >= 0) plan.approaches[4].cost = e.cheapest + 1;
  EXPECT_EQ(plan.IsExposed(), e.exposed);
}

INSTANTIATE_TEST_SUITE_P(Costs, ExposureTest,
                         testing::Values(sExposure{5, false, true}, sExposure{4, false, false},
                                         sExposure{9, true, false}, sExposure{-1, false, true}));

// The searches keep each unit's range with what it was worked out from and
// take it again while all of that is unchanged. A unit whose reach changed
// gets its range anew, also after a range kept between searches (by the
// operational moves) belongs to a world that has since changed back.
TEST_F(AttackSearchTest, KeptRangesFollowEveryChangeWithinAUnitsReach) {
  cJednostkaLadowa& near = world.AddLand(1, 5, 5);
  cJednostkaLadowa& far = world.AddLand(1, 30, 5);
  near.actionPoints = near.startingActionPoints = far.actionPoints = far.startingActionPoints = 3;
  cCountryAI& ai = world.AiOf(1);
  ai.ownLand = {&near, &far};
  using Cells = std::vector<std::array<int, 4>>;
  const auto searched = [&](const cUnit& unit) {
    Cells cells;
    for (const sReachEntry& e : ai.reach) {
      if (e.unit == &unit && e.cost > 0) cells.push_back({e.x, e.y, e.direction, e.cost});
    }
    return cells;
  };
  const auto fresh = [&](cJednostkaLadowa& unit) {
    unit.ComputeMoveRange(1);
    Cells cells;
    for (const sMoveRangeCell& c : unit.moveRange) cells.push_back({c.x, c.y, c.direction, c.cost});
    return cells;
  };
  ai.ComputeAttackRanges(0);
  const Cells open = searched(near);
  const Cells farCells = searched(far);
  ASSERT_EQ(open, fresh(near));
  // An enemy steps in beside the near unit only.
  cJednostkaLadowa& enemy = world.AddLand(2, 6, 5);
  ai.ComputeAttackRanges(0);
  const Cells blocked = searched(near);
  EXPECT_NE(blocked, open);
  EXPECT_EQ(blocked, fresh(near));
  EXPECT_EQ(searched(far), farCells);
  const auto leave = [&] {
    world.hex(6, 5).unit = nullptr;
    enemy.x = enemy.y = -1;
  };
  leave();
  ai.ComputeAttackRanges(0);
  EXPECT_EQ(searched(near), open);
  // It comes back while the operational moves keep the blocked range, and
  // leaves before the next search, which finds the world it saw last.
  world.hex(6, 5).unit = &enemy;
  enemy.x = 6;
  enemy.y = 5;
  ai.HasPendingOperationalMoves();
  leave();
  ai.ComputeAttackRanges(0);
  EXPECT_EQ(searched(near), open);
  // A zone of control reaches one hex beyond the points: with an enemy behind
  // it, the unit's one point takes it a step ahead until an enemy stands two
  // steps ahead, and the step costs the surcharge.
  world.game().constants.SetSlot(consts_layout::kMoveCost + near.category * consts_layout::kMoveCostRow + 9, 2);
  near.actionPoints = 1;
  const sPoint behind = NeighbourPoint(5, 5, 3);
  const sPoint ahead = NeighbourPoint(5, 5, 0);
  const sPoint beyond = NeighbourPoint(ahead.x, ahead.y, 0);
  world.AddLand(2, behind.x, behind.y);
  ai.ComputeAttackRanges(0);
  const Cells stepping = searched(near);
  ASSERT_EQ(stepping, fresh(near));
  world.AddLand(2, beyond.x, beyond.y);
  ai.ComputeAttackRanges(0);
  EXPECT_NE(searched(near), stepping);
  EXPECT_EQ(searched(near), fresh(near));
}

// On a map one hex wide the unit's window is that column: an enemy stepping
// into it is seen by the kept range too.
TEST(NarrowMapRangeTest, KeptRangeFollowsAnEnemyInTheOnlyColumn) {
  test::AiWorld world(1, 9);
  world.game().relations.SetWar(1, 2, true);
  world.game().relations.SetWar(2, 1, true);
  cJednostkaLadowa& unit = world.AddLand(1, 0, 3);
  unit.actionPoints = unit.startingActionPoints = 2;
  cCountryAI& ai = world.AiOf(1);
  ai.ownLand = {&unit};
  const auto searched = [&] {
    std::vector<std::array<int, 3>> cells;
    for (const sReachEntry& e : ai.reach) {
      if (e.unit == &unit && e.cost > 0) cells.push_back({e.x, e.y, e.cost});
    }
    return cells;
  };
  ai.ComputeAttackRanges(0);
  const auto open = searched();
  ASSERT_FALSE(open.empty());
  world.AddLand(2, 0, 5);
  ai.ComputeAttackRanges(0);
  EXPECT_NE(searched(), open);
}

// A neighbour turning enemy, or a unit given more points, within one turn:
// both the searches and the operational moves work the range out anew.
TEST_F(AttackSearchTest, KeptRangesFollowWarsAndPointsWithinATurn) {
  for (int x = 7; x < 12; ++x) {
    for (int y = 0; y < 12; ++y) world.hex(x, y).controller = 3;
  }
  cJednostkaLadowa& unit = world.AddLand(1, 5, 5);
  unit.actionPoints = unit.startingActionPoints = 3;
  cCountryAI& ai = world.AiOf(1);
  ai.ownLand = {&unit};
  using Cells = std::vector<std::array<int, 4>>;
  const auto cellsOf = [](const std::list<sMoveRangeCell>& range) {
    Cells cells;
    for (const sMoveRangeCell& c : range) cells.push_back({c.x, c.y, c.direction, c.cost});
    return cells;
  };
  const auto searched = [&] {
    ai.ComputeAttackRanges(0);
    Cells cells;
    for (const sReachEntry& e : ai.reach) {
      if (e.unit == &unit && e.cost > 0) cells.push_back({e.x, e.y, e.direction, e.cost});
    }
    return cells;
  };
  const auto planned = [&] {
    ai.HasPendingOperationalMoves();
    return cellsOf(unit.moveRange);
  };
  const auto fresh = [&] {
    unit.ComputeMoveRange(1);
    return cellsOf(unit.moveRange);
  };
  const Cells neutral = searched();
  ASSERT_EQ(neutral, fresh());
  world.game().relations.SetWar(1, 3, true);
  world.game().relations.SetWar(3, 1, true);
  const Cells atWar = searched();
  EXPECT_NE(atWar, neutral);
  EXPECT_EQ(atWar, fresh());
  world.game().relations.SetWar(1, 3, false);
  world.game().relations.SetWar(3, 1, false);
  EXPECT_EQ(planned(), neutral);
  unit.actionPoints = 5;
  const Cells further = searched();
  EXPECT_NE(further, neutral);
  EXPECT_EQ(further, fresh());
  unit.actionPoints = 2;
  const Cells kept = planned();
  EXPECT_EQ(kept, fresh());
  // An ally's unit lets the range pass; the ally turned enemy blocks it.
  world.AddLand(3, 7, 5);
  world.country(3).alliance = kAxis;
  const Cells allied = searched();
  ASSERT_EQ(allied, fresh());
  world.country(3).alliance = kAllies;
  world.game().relations.SetWar(1, 3, true);
  world.game().relations.SetWar(3, 1, true);
  const Cells turned = searched();
  EXPECT_NE(turned, allied);
  EXPECT_EQ(turned, fresh());
}

// Of two empty enemy cities the cheaper is taken; resource cities, held
// cities and units that garrison a city never qualify.
TEST_F(AttackSearchTest, ObviousMoveTakesTheCheapestEmptyEnemyCity) {
  for (sHex& hex : world.game().map->Hexes()) hex.controller = 2;
  world.AddCity(u"Far", 14, 5, 2);
  world.AddCity(u"Near", 12, 5, 2);
  cCity& resources = world.AddCity(u"Ore", 11, 4, 2);
  resources.type = kCityResources;
  world.AddCity(u"Held", 11, 6, 2);
  world.AddLand(2, 11, 6);
  cJednostkaLadowa& garrison = world.AddLand(1, 9, 9);
  world.AddCity(u"Home", 9, 9, 1);
  cJednostkaLadowa& unit = world.AddLand(1, 10, 5);
  unit.actionPoints = unit.startingActionPoints = 6;
  cCountryAI& ai = world.AiOf(1);
  ai.reach = {{&garrison, 12, 5, 1, 0}, {&unit, 11, 4, 1, 1}, {&unit, 11, 6, 1, 1},
              {&unit, 14, 5, 1, 3}, {&unit, 12, 5, 1, 2}};
  ASSERT_TRUE(ai.FindObviousMoves());
  EXPECT_TRUE(world.log.Contains(u"[AI-RO] SZUKANIE RUCHÓW OCZYWISTYCH"));
  EXPECT_EQ(world.hex(12, 5).unit, &unit);
  EXPECT_EQ(world.hex(10, 5).unit, nullptr);
  EXPECT_EQ(unit.aiOrder, 7);
  EXPECT_EQ(unit.aiTargetX, 12);
  EXPECT_EQ(unit.aiTargetY, 5);
  EXPECT_EQ(unit.aiUltimateTargetX, -1);
  EXPECT_EQ(unit.aiUltimateTargetY, -1);
  // With nothing shown, the one pause after the move.
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: obvious_moves").size(), 1u);
  EXPECT_EQ(garrison.x, 9);
}

// Of two empty enemy cities reached for 2 and for 1, 2 or 3 action points,
// the later entry is taken only when strictly cheaper.
class ObviousMoveTieTest : public AttackSearchTest, public testing::WithParamInterface<int> {};

TEST_P(ObviousMoveTieTest, AtEqualCostTheEarlierEntryWins) {
  const int laterCost = GetParam();
  for (sHex& hex : world.game().map->Hexes()) hex.controller = 2;
  world.AddCity(u"Earlier", 12, 5, 2);
  world.AddCity(u"Later", 8, 5, 2);
  cJednostkaLadowa& unit = world.AddLand(1, 10, 5);
  unit.actionPoints = unit.startingActionPoints = 6;
  cCountryAI& ai = world.AiOf(1);
  ai.reach = {{&unit, 12, 5, 1, 2}, {&unit, 8, 5, 1, laterCost}};
  ASSERT_TRUE(ai.FindObviousMoves());
  const sPoint taken = laterCost < 2 ? sPoint{8, 5} : sPoint{12, 5};
  EXPECT_EQ(At(unit), taken);
  EXPECT_EQ(unit.aiTargetX, unit.x);
}

INSTANTIATE_TEST_SUITE_P(LaterCosts, ObviousMoveTieTest, testing::Values(1, 2, 3));

// A unit that cannot get to the city it was offered stays where it stood and
// the search reports no move, so it is not offered the same city again.
TEST_F(AttackSearchTest, ObviousMoveThatCannotReachItsCityIsNone) {
  for (sHex& hex : world.game().map->Hexes()) hex.controller = 2;
  world.AddCity(u"Near", 12, 5, 2);
  cJednostkaLadowa& unit = world.AddLand(1, 10, 5);
  unit.actionPoints = unit.startingActionPoints = 0;
  cCountryAI& ai = world.AiOf(1);
  ai.reach = {{&unit, 12, 5, 1, 1}};
  EXPECT_FALSE(ai.FindObviousMoves());
  EXPECT_EQ(world.hex(10, 5).unit, &unit);
  EXPECT_EQ(unit.aiOrder, 0);
  EXPECT_TRUE(world.log.Contains(u"[AI-RO] " + unit.name + u" cannot reach (12,5), no obvious move"));
}

TEST_F(AttackSearchTest, NothingQualifiesWithoutAnEmptyEnemyCity) {
  cJednostkaLadowa& unit = world.AddLand(1, 10, 5);
  world.AddCity(u"Own", 12, 5, 1);
  cCountryAI& ai = world.AiOf(1);
  ai.reach = {{&unit, 12, 5, 1, 1}, {&unit, 13, 5, 1, 1}};
  EXPECT_FALSE(ai.FindObviousMoves());
  EXPECT_EQ(world.hex(10, 5).unit, &unit);
}

// A unit that must both step aside and come in, into a hex another attacker
// holds, makes the plan give up before anything moves.
TEST_F(AttackSearchTest, ConflictingPlanIsDroppedWithNothingMoved) {
  cJednostkaLadowa& target = world.AddLand(2, 10, 5);
  const sPoint p0 = NeighbourPoint(10, 5, 0);
  const sPoint p1 = NeighbourPoint(10, 5, 1);
  cJednostkaLadowa& a = world.AddLand(1, p0.x, p0.y);
  cJednostkaLadowa& b = world.AddLand(1, p1.x, p1.y);
  cCountryAI& ai = world.AiOf(1);
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  plan.oddsColumn = 5;
  plan.withdrawals[0] = {&a, 20, 5, 0, 2};
  plan.approaches[0] = {&b, p0.x, p0.y, 0, 1};
  plan.approaches[1] = {&a, p1.x, p1.y, 0, 1};
  plan.withdrawals[1] = {&a, 20, 6, 0, 2};
  EXPECT_FALSE(ai.ExecuteAttack(plan));
  EXPECT_EQ(a.x, p0.x);
  EXPECT_EQ(b.x, p1.x);
  EXPECT_EQ(world.hex(10, 5).flags & 2u, 0u);
}

// An own unit W stands on the target's south side, where attacker A must
// come in: W steps aside to the south-west first, and B, whose side is free,
// just comes in. When W is itself the attacker of the south-west side, held
// by X, it is not sent aside first (it would then have to walk round): X
// steps aside, W takes the south-west in one step and A comes in. A unit
// beside the target that is nobody's way in stays where it is.
class OccupiedSideTest : public AttackSearchTest, public testing::WithParamInterface<bool> {};

TEST_P(OccupiedSideTest, TheUnitInTheWayStepsAsideUnlessItAttacksToo) {
  const bool wAttacksToo = GetParam();
  world.SetPlainCombatConstants();
  cJednostkaLadowa& target = world.AddLand(2, 10, 5, 20);
  sPoint side[6];
  for (int d = 0; d < 6; ++d) side[d] = NeighbourPoint(10, 5, d);
  auto unit = [&](sPoint at) -> cJednostkaLadowa& {
    cJednostkaLadowa& placed = world.AddLand(1, at.x, at.y, 100);
    placed.actionPoints = placed.startingActionPoints = 6;
    return placed;
  };
  cJednostkaLadowa& w = unit(side[3]);
  cJednostkaLadowa& a = unit({10, 8});
  cJednostkaLadowa& bystander = unit(side[0]);
  cCountryAI& ai = world.AiOf(1);
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  plan.oddsColumn = 5;
  plan.withdrawals[0] = {&bystander, side[1].x, side[1].y, 1, 1};
  plan.approaches[3] = {&a, side[3].x, side[3].y, 3, 2};
  cJednostkaLadowa* other = nullptr;  // X, or B
  if (wAttacksToo) {
    other = &unit(side[4]);
    plan.withdrawals[3] = {&w, side[2].x, side[2].y, 2, 1};
    plan.approaches[4] = {&w, side[4].x, side[4].y, 4, 1};
    plan.withdrawals[4] = {other, side[5].x, side[5].y, 5, 1};
  } else {
    other = &unit({12, 6});
    plan.withdrawals[3] = {&w, side[4].x, side[4].y, 4, 1};
    plan.approaches[2] = {other, side[2].x, side[2].y, 2, 1};
  }
  ai.BuildUnitLists();

  EXPECT_TRUE(ai.ExecuteAttack(plan));

  EXPECT_EQ(At(a), side[3]);
  EXPECT_EQ(At(bystander), side[0]);
  EXPECT_EQ(At(w), side[4]);
  EXPECT_EQ(At(*other), wAttacksToo ? side[5] : side[2]);
  // Both attacked; W walked one hex, A two.
  if (wAttacksToo) {
    EXPECT_EQ(w.actionPoints, a.actionPoints + 1);
  }
  EXPECT_TRUE(world.log.Contains(u"Land1 is attacked. Directions=2, Armor present in attack=0"));
}

INSTANTIATE_TEST_SUITE_P(InTheWay, OccupiedSideTest, testing::Bool());

// An assault logs its one-second pause, which a headless run does not sleep,
// and fights through the player control.
TEST_F(AttackSearchTest, AssaultPausesOnceAndDropsThePendingAttack) {
  cJednostkaLadowa& target = world.AddLand(2, 10, 5);
  const sPoint p0 = NeighbourPoint(10, 5, 0);
  cJednostkaLadowa& a = world.AddLand(1, p0.x, p0.y);
  a.actionPoints = 5;
  cCountryAI& ai = world.AiOf(1);
  ai.BuildUnitLists();
  sAttackPlan plan;
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = 1;
  plan.oddsColumn = 5;
  plan.approaches[0] = {&a, p0.x, p0.y, 0, 0};
  EXPECT_TRUE(ai.ExecuteAttack(plan));
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: attack_execution").size(), 1u);
  EXPECT_TRUE(world.log.ContainsText(u": 1000 ms"));
  EXPECT_EQ(world.game().playerControl.GetPendingAttack(), nullptr);
}

}  // namespace
}  // namespace tr
