// Operational planning: which cities want a garrison and of which kind, who
// holds and who covers them, the orders of the remaining units by the front
// of their area, and the gathering for the scenario's targets.
#include <gtest/gtest.h>

#include <tuple>

#include "ai/ai_order.h"
#include "plan_world.h"

namespace tr {
namespace {

using test::LinesStartingWith;

void ExpectOrder(const cJednostkaLadowa& unit, int order, const cCity& city) {
  EXPECT_EQ(unit.aiOrder, order) << "unit " << unit.id;
  EXPECT_EQ(unit.aiTargetX, city.x) << "unit " << unit.id;
  EXPECT_EQ(unit.aiTargetY, city.y) << "unit " << unit.id;
}

// One city for each garrison rule, a resource city and a taken city of no
// victory points, each with an own unit of the parameter's type standing on
// it. A taken city counts from 1 victory point.
class GarrisonCaseTest : public testing::TestWithParam<int> {};

TEST_P(GarrisonCaseTest, EachRuleWantsItsKind) {
  test::PlanWorld w;
  cCity& supply = w.City(u"Supply", 2, 5, 1, kCitySupply);
  cCity& threatened = w.City(u"Threatened", 6, 5, 1);
  cCity& port = w.City(u"Port", 10, 5, 1, kCityPort);
  cCity& taken = w.City(u"Taken", 14, 5, 1, kCityNormal, 2);
  taken.victoryPoints = 1;
  cCity& quiet = w.City(u"Quiet", 18, 5, 1);
  cCity& extra = w.City(u"Extra", 22, 5, 1);
  cCity& ore = w.City(u"Ore", 26, 5, 1, kCityResources);
  cCity& spoil = w.City(u"Spoil", 30, 5, 1, kCityNormal, 2);
  w.world.country(1).aiSettings.ExtraCitiesToGarrison = {{extra.x, extra.y}};
  w.BuildDiagram();
  w.Finish();
  cCountryAI& ai = w.Ai();
  w.AddFront(ai, {&threatened}, kFrontThreatened);
  w.AddFront(ai, {&quiet}, kFrontHolding);
  const int type = GetParam();
  std::vector<std::pair<cCity*, cJednostkaLadowa*>> placed;
  for (cCity* city : {&supply, &threatened, &port, &taken, &quiet, &extra, &ore, &spoil}) {
    placed.emplace_back(city, &w.world.AddLand(1, city->x, city->y, 100, type));
  }
  const bool corps = placed.front().second->IsCorps();

  ai.PlanOperations();

  for (int i = 0; i < 6; ++i) {
    const bool wantsCorps = i < 2;
    ExpectOrder(*placed[i].second, wantsCorps == corps ? kAiOrderHoldCity : kAiOrderCoverCity, *placed[i].first);
  }
  // No case for the resource city nor the worthless one: their units are placed like any other.
  EXPECT_EQ(placed[6].second->aiOrder, kAiOrderReserve);
  EXPECT_EQ(placed[7].second->aiOrder, kAiOrderReserve);
  EXPECT_EQ(LinesStartingWith(w.world.log, u"bu bu "),
            (std::vector<std::u16string>{u"bu bu 1", u"bu bu 2", u"bu bu 3", u"bu bu 4", u"bu bu 5", u"bu bu 6",
                                         u"bu bu 7"}));
}

INSTANTIATE_TEST_SUITE_P(DivisionCorpsAirborne, GarrisonCaseTest,
                         testing::Values(kInfantryDivision, kArmouredCorps, kAirborneDivision));

// A port wants a division. A division two hops away is sent; a free corps one
// hop away would cover the port until then, unless a corps already stands on it.
class CoverOrderTest : public testing::TestWithParam<bool> {};

TEST_P(CoverOrderTest, NoCoverWhereAHolderStands) {
  const bool holderOnCity = GetParam();
  test::PlanWorld w;
  cCity& port = w.City(u"Port", 4, 5, 1, kCityPort);
  cCity& middle = w.City(u"Middle", 12, 5, 1);
  cCity& far = w.City(u"Far", 20, 5, 1);
  w.BuildDiagram();
  w.Link(port, middle);
  w.Link(middle, far);
  w.Finish();
  cJednostkaLadowa& division = w.Unit(20, 6, far, kInfantryDivision);
  cJednostkaLadowa& corps = w.Unit(12, 6, middle, kInfantryCorps);
  cJednostkaLadowa* holder = holderOnCity ? &w.Unit(port.x, port.y, port, kMechanizedCorps) : nullptr;
  cCountryAI& ai = w.Ai();

  ai.PlanOperations();

  EXPECT_EQ(division.aiOrder, kAiOrderHoldCity);
  // Two hops: the route's first city is the target, the port the ultimate one.
  EXPECT_EQ(division.aiUltimateTargetX, port.x);
  EXPECT_EQ(division.aiUltimateTargetY, port.y);
  if (holder) {
    ExpectOrder(*holder, kAiOrderCoverCity, port);
    EXPECT_NE(corps.aiOrder, kAiOrderCoverCity);
  } else {
    ExpectOrder(corps, kAiOrderCoverCity, port);
  }
}

INSTANTIATE_TEST_SUITE_P(HolderOrNot, CoverOrderTest, testing::Bool());

// A division and a corps at the same hops and distance from a city that wants
// the parameter's kind: the wanted one holds it and nobody covers.
class EqualCandidatesTest : public testing::TestWithParam<int> {};

TEST_P(EqualCandidatesTest, TheWantedKindHoldsAndNobodyCovers) {
  const bool wantsCorps = GetParam() == 1;
  test::PlanWorld w;
  cCity& city = w.City(u"Goal", 10, 5, 1, wantsCorps ? kCitySupply : kCityPort);
  w.BuildDiagram();
  w.Finish();
  cJednostkaLadowa& division = w.Unit(10, 3, city, kInfantryDivision);
  cJednostkaLadowa& corps = w.Unit(10, 7, city, kInfantryCorps);
  cCountryAI& ai = w.Ai();

  ai.PlanOperations();

  cJednostkaLadowa& wanted = wantsCorps ? corps : division;
  cJednostkaLadowa& other = wantsCorps ? division : corps;
  ExpectOrder(wanted, kAiOrderHoldCity, city);
  EXPECT_NE(other.aiOrder, kAiOrderCoverCity);
  EXPECT_NE(other.aiOrder, kAiOrderHoldCity);
}

INSTANTIATE_TEST_SUITE_P(DivisionOrCorps, EqualCandidatesTest, testing::Values(0, 1));

// A city held by a unit of the kind it does not want, with only units of that
// same kind free: the holder stays, and none of its kind is sent in its place
// (the two would swap every turn).
class OnlyTheOtherKindTest : public testing::TestWithParam<int> {};

TEST_P(OnlyTheOtherKindTest, TheHolderStaysAndNoneOfItsKindReplacesIt) {
  const bool wantsCorps = GetParam() == 1;
  test::PlanWorld w;
  cCity& city = w.City(u"Goal", 10, 5, 1, wantsCorps ? kCitySupply : kCityPort);
  w.BuildDiagram();
  w.Finish();
  const int otherType = wantsCorps ? kInfantryDivision : kInfantryCorps;
  cJednostkaLadowa& holder = w.Unit(city.x, city.y, city, otherType);
  cJednostkaLadowa& free = w.Unit(10, 7, city, otherType);
  cCountryAI& ai = w.Ai();

  ai.PlanOperations();

  ExpectOrder(holder, kAiOrderCoverCity, city);
  EXPECT_NE(free.aiOrder, kAiOrderHoldCity);
  EXPECT_NE(free.aiOrder, kAiOrderCoverCity);
}

INSTANTIATE_TEST_SUITE_P(DivisionOrCorps, OnlyTheOtherKindTest, testing::Values(0, 1));

// A unit on a quiet front: it attacks the least attacked enemy neighbour that
// may be attacked and whose node counts no more own units than allowed.
struct sQuietCase {
  int ownUnitsAtB;
  bool bForbidden;
  int order;
  bool targetB;
};

class QuietFrontTest : public testing::TestWithParam<sQuietCase> {};

TEST_P(QuietFrontTest, AttackOnlyWhereAllowedAndUncrowded) {
  const sQuietCase c = GetParam();
  test::PlanWorld w;
  for (int y = 0; y < 12; ++y) {
    for (int x = 20; x < 40; ++x) w.world.hex(x, y).controller = 2;
  }
  cCity& home = w.City(u"Home", 16, 5, 1);
  cCity& b = w.City(u"B", 24, 5, 2, kCityNormal, 2);
  cCity& c2 = w.City(u"C", 24, 9, 2, kCityNormal, 2);
  w.BuildDiagram();
  w.Link(home, b);
  w.Link(home, c2);
  w.Finish();
  // Home itself is garrisoned, so the unit is free.
  w.Unit(home.x, home.y, home);
  cJednostkaLadowa& unit = w.Unit(16, 4, home);
  w.world.country(1).aiSettings.MaxUnitCountOnFront = 0;
  if (c.bForbidden) w.world.country(1).aiSettings.DoNotAttackCities = {{b.x, b.y}};
  cCountryAI& ai = w.Ai();
  ai.ResetCityAttackFlags();
  w.AddFront(ai, {&home, &b, &c2}, kFrontHolding);
  w.Node(b).ownUnitCount = c.ownUnitsAtB;
  w.Node(c2).ownUnitCount = 1;  // crowded
  // B was attacked least so far only when it is allowed at all.
  b.assignedStrength = 0.0f;

  ai.PlanOperations();

  EXPECT_EQ(unit.aiOrder, c.order);
  if (c.targetB) {
    ExpectOrder(unit, kAiOrderAttackCity, b);
    EXPECT_FLOAT_EQ(b.assignedStrength, unit.GetEffectiveStrength());
  } else {
    EXPECT_FLOAT_EQ(b.assignedStrength, 0.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, QuietFrontTest,
                         testing::Values(sQuietCase{0, false, kAiOrderAttackCity, true},
                                         sQuietCase{1, false, kAiOrderQuietFront, false},
                                         sQuietCase{0, true, kAiOrderQuietFront, false}));

// The other placements of a free unit by the front of its area city.
TEST(OperationalPlanningTest, ThreatenedFrontReinforcesNoFrontGoesToOneAndLostUnitsAreNamed) {
  test::PlanWorld w;
  for (int y = 0; y < 12; ++y) {
    for (int x = 30; x < 40; ++x) w.world.hex(x, y).controller = 2;
    // Water on both sides of an island without a city.
    for (int x : {26, 30}) {
      w.world.hex(x, y).terrain = 0;
      w.world.hex(x, y).controller = 0;
    }
  }
  cCity& rear = w.City(u"Rear", 4, 5, 1);
  cCity& line = w.City(u"Line", 14, 5, 1);
  cCity& edge = w.City(u"Edge", 20, 5, 1);
  cCity& enemy = w.City(u"Enemy", 34, 5, 2, kCityNormal, 2);
  w.BuildDiagram();
  w.Link(rear, line);
  w.Link(line, edge);
  w.Link(edge, enemy);
  w.Finish();
  cCountryAI& ai = w.Ai();
  w.AddFront(ai, {&edge, &line, &enemy}, kFrontThreatened);
  // The front cities are garrisoned, so the units below are free.
  w.Unit(line.x, line.y, line, kInfantryCorps);
  w.Unit(edge.x, edge.y, edge, kInfantryCorps);
  // In Line's area, as near to Edge as to Line: the nearer front city is the target.
  cJednostkaLadowa& nearEdge = w.Unit(17, 5, rear);
  cJednostkaLadowa& onLine = w.Unit(15, 5, rear);
  cJednostkaLadowa& rearUnit = w.Unit(4, 8, rear);
  cJednostkaLadowa& lost = w.Unit(28, 2, rear);
  w.world.hex(28, 2).controller = 1;
  lost.name = u"Lost";

  ai.PlanOperations();

  ExpectOrder(nearEdge, kAiOrderReinforce, edge);
  ExpectOrder(onLine, kAiOrderReinforce, line);
  EXPECT_EQ(rearUnit.aiOrder, kAiOrderGoToFront);
  EXPECT_EQ(lost.aiOrder, kAiOrderNone);
  EXPECT_TRUE(w.world.log.Contains(u"ERROR: Jednostka Lost nieprzyporządkowana do żadnego przypadku!"));
}

// A unit standing in a neutral city's area, two hops from the front, draws
// its supply from that front city: its route starts at the goal, so it heads
// straight there instead of losing its order to a failed route search.
TEST(OperationalPlanningTest, AUnitWhoseRouteStartsAtItsFrontCityHeadsThere) {
  test::PlanWorld w;
  for (int y = 0; y < 12; ++y) {
    for (int x = 8; x < 12; ++x) w.world.hex(x, y).controller = 3;
  }
  cCity& neutral = w.City(u"Neutral", 10, 5, 3, kCityNormal, 3);
  cCity& rear = w.City(u"Rear", 4, 5, 1);
  cCity& front = w.City(u"Front", 20, 5, 1);
  cCity& enemy = w.City(u"Enemy", 34, 5, 2, kCityNormal, 2);
  w.BuildDiagram();
  w.Link(neutral, rear);
  w.Link(rear, front);
  w.Link(front, enemy);
  w.Finish();
  cCountryAI& ai = w.Ai();
  w.AddFront(ai, {&front, &enemy}, kFrontHolding);
  w.Unit(front.x, front.y, front);  // the division a holding front wants
  cJednostkaLadowa& unit = w.Unit(9, 5, front);
  ASSERT_EQ(unit.GetHexGridEntry(), &neutral);
  ASSERT_EQ(GetHopsTo(front, neutral), 2);

  ai.PlanOperations();

  ExpectOrder(unit, kAiOrderGoToFront, front);
  EXPECT_EQ(unit.aiUltimateTargetX, front.x);
  EXPECT_FALSE(w.world.log.Contains(u"ERROR: Nie znaleziono sciezki dla rozkazu nr 6"));
}

// The gathering for a target of the scenario: three free units of strength 6
// each, a staging city one hop away for a target in foreign land, and an own
// city two hops away.
class BuildUpTest : public testing::Test {
 protected:
  BuildUpTest() {
    for (int y = 0; y < 12; ++y) {
      for (int x = 24; x < 40; ++x) {
        w.world.hex(x, y).controller = 3;
        w.world.hex(x, y).owner = 3;
      }
    }
    home = &w.City(u"Home", 4, 5, 1);
    staging = &w.City(u"Staging", 16, 5, 1);
    foreign = &w.City(u"Foreign", 30, 5, 3, kCityNormal, 3);
    // An own city one hop further from the units than the staging city.
    further = &w.City(u"Further", 16, 10, 1);
    w.BuildDiagram();
    w.Link(*home, *staging);
    w.Link(*staging, *foreign);
    w.Link(*staging, *further);
    w.Finish();
    for (int i = 0; i < 3; ++i) units.push_back(&w.Unit(4, 2 + 3 * i, *home, kInfantryDivision, 60));
  }

  cCountryAI& Run(std::vector<sAiTarget> targets) {
    w.world.country(1).aiSettings.CurrentTargets = std::move(targets);
    cCountryAI& ai = w.Ai();
    ai.BuildUnitLists();
    ai.BuildUpInvasionForces();
    return ai;
  }

  test::PlanWorld w;
  cCity* home = nullptr;
  cCity* staging = nullptr;
  cCity* foreign = nullptr;
  cCity* further = nullptr;
  std::vector<cJednostkaLadowa*> units;
};

// A target's strength draws units to its stage while the strength assigned
// there is below it: two units make 12, so a target of 12 takes no third.
// The third then goes to the next stage, at the further city, whose target
// (in the land of a country at peace) has no limit; a target of 13 takes it.
class BuildUpStrengthTest : public BuildUpTest, public testing::WithParamInterface<int> {};

TEST_P(BuildUpStrengthTest, AStageTakesUnitsUntilItsStrengthIsReached) {
  const int strength = GetParam();
  ASSERT_FLOAT_EQ(units[0]->GetEffectiveStrength(), 6.0f);
  w.world.hex(17, 10).owner = 3;
  Run({{31, 5, strength}, {17, 10, -1}});
  ExpectOrder(*units[0], kAiOrderGather, *staging);
  ExpectOrder(*units[1], kAiOrderGather, *staging);
  // Two hops away the staging city is the way there and the further city the goal.
  ExpectOrder(*units[2], kAiOrderGather, *staging);
  const bool toFurther = units[2]->aiUltimateTargetX == further->x && units[2]->aiUltimateTargetY == further->y;
  EXPECT_EQ(toFurther, strength <= 12);
  EXPECT_EQ(w.world.country(1).aiSettings.CurrentTargets.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Strengths, BuildUpStrengthTest, testing::Values(11, 12, 13));

TEST_F(BuildUpTest, NoLimitDrawsEveryFreeUnit) {
  units[2]->aiOrder = kAiOrderQuietFront;
  Run({{31, 5, -1}});
  for (cJednostkaLadowa* unit : units) ExpectOrder(*unit, kAiOrderGather, *staging);
}

TEST_F(BuildUpTest, TargetOfACountryAtWarIsDroppedForGood) {
  w.world.game().relations.SetWar(1, 3, true);
  w.world.game().relations.SetWar(3, 1, true);
  Run({{31, 5, -1}, {32, 5, 4}, {31, 5, -1}});
  EXPECT_TRUE(w.world.country(1).aiSettings.CurrentTargets.empty());
  for (cJednostkaLadowa* unit : units) EXPECT_EQ(unit->aiOrder, kAiOrderNone);
}

TEST_F(BuildUpTest, TargetOutsideEveryAreaIsSkipped) {
  w.world.hex(31, 5).terrain = 0;
  w.world.hex(31, 5).owner = 0;
  w.world.hex(31, 5).controller = 0;
  w.world.game().playerControl.worldTopography.BuildNearestCityMap(*w.world.game().map, w.world.game().cities);
  Run({{31, 5, -1}});
  EXPECT_TRUE(w.world.log.Contains(u"WARNING: Target hex (31,5) does not belong to any city!"));
  EXPECT_TRUE(
      w.world.log.Contains(u"WARNING: cannot build up forces for invasion! No own/allied cities near invasion target!"));
  for (cJednostkaLadowa* unit : units) EXPECT_EQ(unit->aiOrder, kAiOrderNone);
}

}  // namespace
}  // namespace tr
