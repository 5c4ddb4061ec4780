// Executing the operational orders: strong forts held, holders at their city
// left alone, attackers beside their city kept there, blocked gatherers, the
// strategic move toward a city, and the ring search for the nearest enemy city
// that gives late attack orders.
#include <gtest/gtest.h>

#include <tuple>

#include "ai/ai_order.h"
#include "plan_world.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

// Own land west of column 13, country 2's east of it, with a city each.
class OperationalMovesTest : public testing::Test {
 protected:
  OperationalMovesTest() {
    for (int y = 0; y < 12; ++y) {
      for (int x = 13; x < 40; ++x) w.world.hex(x, y).controller = 2;
    }
    home = &w.City(u"Home", 4, 5, 1);
    forward = &w.City(u"Forward", 10, 5, 1);
    enemy = &w.City(u"Enemy", 18, 5, 2, kCityNormal, 2);
    w.BuildDiagram();
    w.Link(*home, *forward);
    w.Link(*forward, *enemy);
    w.Finish();
  }

  cCountryAI& Execute() {
    cCountryAI& ai = w.Ai();
    ai.BuildUnitLists();
    ai.ExecuteOperationalMoves();
    return ai;
  }

  test::PlanWorld w;
  cCity* home = nullptr;
  cCity* forward = nullptr;
  cCity* enemy = nullptr;
};

// Attackers, units going to a front and gatherers: a fort above the hold
// level keeps them with order 9, one at the level lets them go.
class FortHoldTest : public OperationalMovesTest, public testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(FortHoldTest, UnitLeavesOnlyAFortNoStrongerThanTheLimit) {
  const auto [order, fort] = GetParam();
  w.world.AddLand(2, 17, 5);
  w.world.country(1).aiSettings.CurrentTargets = {{enemy->x, enemy->y, -1}};
  cJednostkaLadowa& unit = w.Unit(11, 5, *forward);
  w.world.hex(11, 5).fortLevel = static_cast<std::uint8_t>(fort);
  unit.SetAiOrder(order, enemy->x, enemy->y, 0);
  if (order == kAiOrderGather) unit.SetAiOrder(order, 11, 5, 0);

  Execute();

  if (fort > 5) {
    EXPECT_EQ(unit.aiOrder, kAiOrderStay);
    EXPECT_EQ(unit.x, 11);
    EXPECT_EQ(w.world.hex(11, 5).unit, &unit);
  } else {
    EXPECT_EQ(unit.aiOrder, order);
    // It closed in on the enemy city.
    EXPECT_LT(HexDistance(unit.x, unit.y, enemy->x, enemy->y), HexDistance(11, 5, enemy->x, enemy->y));
    EXPECT_EQ(w.world.hex(unit.x, unit.y).unit, &unit);
  }
}

INSTANTIATE_TEST_SUITE_P(OrdersAndLevels, FortHoldTest,
                         testing::Combine(testing::Values(kAiOrderAttackCity, kAiOrderGoToFront, kAiOrderGather),
                                          testing::Values(5, 6)));

TEST_F(OperationalMovesTest, HolderOnItsCityDoesNothing) {
  cJednostkaLadowa& unit = w.Unit(forward->x, forward->y, *forward);
  unit.SetAiOrder(kAiOrderHoldCity, forward->x, forward->y, 0);
  Execute();
  EXPECT_EQ(unit.x, forward->x);
  EXPECT_EQ(unit.actionPoints, 4);
  EXPECT_EQ(unit.aiOrder, kAiOrderHoldCity);
}

// The holder reaches its city this turn: the cover standing there steps
// aside and every cover of the city is free again; another city's cover keeps its order.
TEST_F(OperationalMovesTest, HolderInReachTakesOverFromTheCover) {
  cJednostkaLadowa& holder = w.Unit(forward->x - 2, forward->y, *forward, kInfantryDivision);
  holder.SetAiOrder(kAiOrderHoldCity, forward->x, forward->y, 0);
  cJednostkaLadowa& cover = w.Unit(forward->x, forward->y, *forward, kInfantryCorps);
  cover.SetAiOrder(kAiOrderCoverCity, forward->x, forward->y, 0);
  cJednostkaLadowa& elsewhere = w.Unit(home->x, home->y, *home, kInfantryCorps);
  elsewhere.SetAiOrder(kAiOrderCoverCity, home->x, home->y, 0);

  Execute();

  EXPECT_EQ(holder.x, forward->x);
  EXPECT_EQ(holder.y, forward->y);
  EXPECT_EQ(w.world.hex(forward->x, forward->y).unit, &holder);
  EXPECT_EQ(cover.aiOrder, kAiOrderNone);
  EXPECT_EQ(cover.aiTargetX, -1);
  EXPECT_NE(w.world.hex(cover.x, cover.y).unit, nullptr);
  EXPECT_EQ(w.world.hex(cover.x, cover.y).unit, &cover);
  EXPECT_EQ(elsewhere.aiOrder, kAiOrderCoverCity);
}

// An attacker beside its city stays: the enemy's hexes beside the city that it
// could step to bring it no nearer.
TEST_F(OperationalMovesTest, AttackerBesideItsCityStaysThere) {
  w.world.AddLand(2, enemy->x, enemy->y);
  w.world.hex(17, 5).controller = 1;
  cJednostkaLadowa& unit = w.Unit(17, 5, *forward);
  unit.SetAiOrder(kAiOrderAttackCity, enemy->x, enemy->y, 0);

  Execute();

  EXPECT_EQ(unit.x, 17);
  EXPECT_EQ(unit.y, 5);
  EXPECT_EQ(unit.actionPoints, 4);
  EXPECT_EQ(unit.aiOrder, kAiOrderAttackCity);
}

// A gatherer at its staging city goes on toward the nearest target; one that
// cannot move is blocked.
class GatherTest : public OperationalMovesTest, public testing::WithParamInterface<bool> {};

TEST_P(GatherTest, NoMoveTowardTheTargetBlocksTheUnit) {
  const bool walledIn = GetParam();
  w.world.country(1).aiSettings.CurrentTargets = {{30, 5, -1}, {11, 9, -1}};
  cJednostkaLadowa& unit = w.Unit(forward->x, forward->y, *forward);
  unit.SetAiOrder(kAiOrderGather, forward->x, forward->y, 0);
  if (walledIn) {
    // Line 15 holds the land move costs; field 9 is the cost of any other terrain, water among them.
    w.world.game().constants.SetSlot(sScenarioConstants::SlotOf(15, 9), 99);
    for (int d = 0; d < kDirectionCount; ++d) {
      const sPoint p = NeighbourPoint(forward->x, forward->y, d);
      w.world.hex(p.x, p.y).terrain = 0;
      w.world.hex(p.x, p.y).controller = 0;
    }
  }

  Execute();

  if (walledIn) {
    EXPECT_EQ(unit.aiOrder, kAiOrderBlocked);
    EXPECT_EQ(unit.x, forward->x);
  } else {
    EXPECT_EQ(unit.aiOrder, kAiOrderGather);
    EXPECT_LT(HexDistance(unit.x, unit.y, 11, 9), HexDistance(forward->x, forward->y, 11, 9));
  }
}

INSTANTIATE_TEST_SUITE_P(FreeOrWalledIn, GatherTest, testing::Bool());

// A gatherer bound beyond its staging city, whose way on is closed (the hexes
// round its final target are held by nobody), still marches to the staging
// city this turn.
TEST_F(OperationalMovesTest, GathererThatCannotGoOnMarchesToItsStagingCity) {
  cJednostkaLadowa& unit = w.Unit(home->x, home->y, *home);
  unit.SetAiOrder(kAiOrderGather, forward->x, forward->y, 0);
  unit.aiUltimateTargetX = 4;
  unit.aiUltimateTargetY = 10;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sPoint p = NeighbourPoint(4, 10, d);
    w.world.hex(p.x, p.y).controller = 0;
  }

  Execute();

  EXPECT_EQ(unit.aiOrder, kAiOrderGather);
  EXPECT_LT(HexDistance(unit.x, unit.y, forward->x, forward->y), HexDistance(home->x, home->y, forward->x, forward->y));
  EXPECT_EQ(w.world.hex(unit.x, unit.y).unit, &unit);
}

enum eStrategicCase { kNoCity, kFrozen, kTooFewHops, kTooFewPoints, kMoves };

class StrategicMoveToCityTest : public OperationalMovesTest, public testing::WithParamInterface<eStrategicCase> {};

TEST_P(StrategicMoveToCityTest, RefusedOrCarriedOut) {
  const eStrategicCase c = GetParam();
  for (int type = 0; type < kLandTypeCount; ++type) {
    w.world.game().constants.SetSlot(sScenarioConstants::SlotOf(68, type + 2), 3);
  }
  w.world.country(1).strategicMovementPoints = c == kTooFewPoints ? 2 : 10;
  cJednostkaLadowa& unit = w.Unit(4, 8, *home);
  if (c == kFrozen) unit.freezeTime = 1;
  // The forward city is taken: the unit lands beside it.
  w.Unit(forward->x, forward->y, *forward);
  const int x = c == kNoCity ? -1 : forward->x;
  const int minimum = c == kTooFewHops ? 2 : 1;
  cCountryAI& ai = w.Ai();

  const bool moved = ai.TryStrategicMoveToCity(unit, x, forward->y, minimum);

  EXPECT_EQ(moved, c == kMoves);
  if (moved) {
    EXPECT_EQ(HexDistance(unit.x, unit.y, forward->x, forward->y), 1);
    EXPECT_EQ(w.world.hex(unit.x, unit.y).unit, &unit);
    EXPECT_EQ(unit.actionPoints, 0);
    EXPECT_EQ(w.world.country(1).strategicMovementPoints, 7);
  } else {
    EXPECT_EQ(unit.x, 4);
    EXPECT_EQ(unit.y, 8);
    EXPECT_EQ(unit.actionPoints, 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, StrategicMoveToCityTest,
                         testing::Values(kNoCity, kFrozen, kTooFewHops, kTooFewPoints, kMoves));

// From (14,5): an enemy resource city next to it, a normal one three hexes away.
struct sRingCase {
  int radius;
  bool resourcesAdjacent;
  const char16_t* found;  // null for none
};

class NearestEnemyCityTest : public testing::TestWithParam<sRingCase> {};

TEST_P(NearestEnemyCityTest, RingsOutwardResourcesLast) {
  const sRingCase c = GetParam();
  test::PlanWorld w;
  for (int y = 0; y < 12; ++y) {
    for (int x = 13; x < 40; ++x) w.world.hex(x, y).controller = 2;
  }
  w.City(u"Home", 4, 5, 1);
  w.City(u"Ore", 15, 5, 2, c.resourcesAdjacent ? kCityResources : kCityNormal, 2);
  w.City(u"Town", 17, 5, 2, kCityNormal, 2);
  w.City(u"Own", 14, 5, 1);
  cCountryAI& ai = w.Ai();
  const cCity* city = ai.FindNearestEnemyCity(14, 5, w.world.country(1), c.radius);
  if (!c.found) {
    EXPECT_EQ(city, nullptr);
  } else {
    ASSERT_NE(city, nullptr);
    EXPECT_EQ(city->name, c.found);
  }
}

INSTANTIATE_TEST_SUITE_P(Radii, NearestEnemyCityTest,
                         testing::Values(sRingCase{0, true, nullptr}, sRingCase{1, true, u"Ore"},
                                         sRingCase{2, true, u"Ore"}, sRingCase{3, true, u"Town"},
                                         sRingCase{3, false, u"Ore"}));

// The rings hold every hex within the radius and no other, whichever the
// start's column and at the map's edge: one enemy city is found exactly
// when it lies within the radius.
TEST(NearestEnemyCityRingTest, ReachesEveryHexWithinTheRadiusFromEitherColumnAndAtTheEdge) {
  for (const sPoint start : {sPoint{14, 5}, sPoint{15, 5}, sPoint{0, 0}, sPoint{39, 11}}) {
    for (int radius = 1; radius <= 2; ++radius) {
      for (int y = start.y - 3; y <= start.y + 3; ++y) {
        for (int x = start.x - 3; x <= start.x + 3; ++x) {
          if (x < 0 || x >= 40 || y < 0 || y >= 12 || (x == start.x && y == start.y)) continue;
          test::PlanWorld w;
          w.City(u"Target", x, y, 2);
          const cCity* city = w.Ai().FindNearestEnemyCity(start.x, start.y, w.world.country(1), radius);
          EXPECT_EQ(city != nullptr, HexDistance(start.x, start.y, x, y) <= radius)
              << "from " << start.x << "," << start.y << " radius " << radius << " to " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(OperationalMovesTest, FreeUnitNearAnEnemyCityGetsTheAttack) {
  w.world.game().constants.SetSlot(sScenarioConstants::SlotOf(182, 1), 2);
  cCity& ore = w.City(u"Ore", 13, 6, 2, kCityResources, 2);
  cJednostkaLadowa& free = w.Unit(12, 5, *forward);
  free.aiUltimateTargetX = 7;
  cJednostkaLadowa& holding = w.Unit(11, 6, *forward);
  holding.aiOrder = kAiOrderHoldCity;
  cJednostkaLadowa& tired = w.Unit(12, 7, *forward);
  tired.actionPoints = 0;
  cJednostkaLadowa& lastPoint = w.Unit(14, 5, *forward);
  lastPoint.actionPoints = 1;  // one point still moves
  cCountryAI& ai = w.Ai();
  ai.BuildUnitLists();

  EXPECT_TRUE(ai.HasPendingOperationalMoves());

  EXPECT_EQ(free.aiOrder, kAiOrderAttackCity);
  EXPECT_EQ(free.aiTargetX, ore.x);
  EXPECT_EQ(free.aiTargetY, ore.y);
  EXPECT_EQ(free.aiUltimateTargetX, 7);
  EXPECT_EQ(holding.aiOrder, kAiOrderHoldCity);
  EXPECT_EQ(tired.aiOrder, kAiOrderNone);
  EXPECT_EQ(lastPoint.aiOrder, kAiOrderAttackCity);
  EXPECT_FALSE(ai.HasPendingOperationalMoves());
}

}  // namespace
}  // namespace tr
