// The land move range: costs, direction codes, zones of control, the special
// one-step cases, highlights and placement hexes.
#include <map>
#include <utility>

#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/movement_fixture.h"

namespace tr {
namespace {

using test::MovementWorld;

class MoveRange : public MovementWorld {};

TEST_F(MoveRange, DepthFirstOrderDecidesBetweenEqualRoutes) {
  cJednostkaLadowa& unit = Mover(1, 2, 2, 2);
  ASSERT_EQ(unit.ComputeMoveRange(1), 18);
  // Worked by hand from the visiting order N, S, NE, SE, SW, NW: of two routes
  // of equal cost the one found first keeps its direction code.
  const std::map<std::pair<int, int>, std::pair<int, int>> expected = {
      {{2, 1}, {3, 1}}, {{2, 0}, {3, 2}}, {{3, 1}, {4, 2}}, {{3, 2}, {4, 1}}, {{1, 2}, {2, 1}}, {{1, 1}, {2, 2}},
      {{2, 3}, {0, 1}}, {{2, 4}, {0, 2}}, {{3, 3}, {5, 1}}, {{3, 4}, {5, 2}}, {{1, 4}, {1, 2}}, {{1, 3}, {1, 1}},
      {{4, 1}, {4, 2}}, {{4, 2}, {5, 2}}, {{4, 3}, {5, 2}}, {{0, 3}, {1, 2}}, {{0, 2}, {2, 2}}, {{0, 1}, {2, 2}},
  };
  std::map<std::pair<int, int>, std::pair<int, int>> actual;
  for (const sMoveRangeCell& cell : unit.moveRange) actual[{cell.x, cell.y}] = {cell.direction, cell.cost};
  EXPECT_EQ(actual, expected);
  // Storage order: row by row.
  EXPECT_EQ(unit.moveRange.front().x, 2);
  EXPECT_EQ(unit.moveRange.front().y, 0);
}

TEST_F(MoveRange, FullPointsAlwaysBuyOneStepOntoADearHex) {
  SetLandCost(6, 5);
  map().GetHex(2, 1)->terrain = 6;
  cJednostkaLadowa& unit = Mover(1, 2, 2, 2);
  unit.ComputeMoveRange(0);
  const sMoveRangeCell* dear = Entry(unit, 2, 1);
  ASSERT_NE(dear, nullptr);
  EXPECT_EQ(dear->cost, 2);
  EXPECT_EQ(dear->direction, 0);  // the step's own direction
  EXPECT_EQ(map().GetHex(2, 1)->flags, 16u);
  EXPECT_EQ(map().GetHex(2, 1)->flagValue, 0);
  EXPECT_EQ(Entry(unit, 2, 0), nullptr);

  unit.actionPoints = 1;  // once a point is spent the dear hex is out of reach
  unit.ComputeMoveRange(0);
  EXPECT_EQ(Entry(unit, 2, 1), nullptr);
}

TEST_F(MoveRange, MechanisedUnitWithoutPointsStepsOnceBeforeItMoved) {
  cJednostkaLadowa& unit = Mover(1, 5, 5, 0, kMechanizedDivision);
  AddLand(1, 5, 4);
  EXPECT_EQ(unit.ComputeMoveRange(0), 5);
  EXPECT_EQ(Entry(unit, 5, 6)->cost, 0);
  EXPECT_EQ(map().GetHex(5, 6)->flags, 16u);
  unit.movedThisTurn = 1;
  EXPECT_EQ(unit.ComputeMoveRange(0), 0);
}

TEST_F(MoveRange, ComputingTheRangeLogsNothingAndOnlyTheOrderCheckLogs) {
  cJednostkaLadowa& unit = Mover(1, 2, 2, 2);
  test::LogCapture log;
  ASSERT_GT(unit.ComputeMoveRange(0), 0);
  ASSERT_GT(unit.ComputeMoveRange(1), 0);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_TRUE(unit.IsHexInMoveRange(2, 1));
  EXPECT_FALSE(unit.IsHexInMoveRange(9, 9));
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{u"Pole jest w zasiďż˝gu ruchu jednostki",
                                                      u"Pole jest poza zasiďż˝giem ruchu jednostki"}));
}

class StuckUnit : public MovementWorld, public testing::WithParamInterface<bool> {};

TEST_P(StuckUnit, HasAnEmptyRange) {
  cJednostkaLadowa* unit = nullptr;
  if (GetParam()) {
    auto harbour = std::make_unique<cMulberry>();
    harbour->owner = 1;
    harbour->x = harbour->y = 4;
    unit = harbour.get();
    game().landUnits.push_back(std::move(harbour));
  } else {
    unit = &Mover(1, 4, 4, 0, kMechanizedDivision);
    unit->freezeTime = 2;
  }
  EXPECT_EQ(unit->ComputeMoveRange(0), 0);
  EXPECT_TRUE(unit->moveRange.empty());
}

INSTANTIATE_TEST_SUITE_P(FrozenOrHarbour, StuckUnit, testing::Bool());

// A two-column strip: column 0 is land, column 1 sea that costs too much,
// with one enemy on the land hex (1, 2) of column 1.
class ZoneOfControl : public MovementWorld {
 protected:
  ZoneOfControl() {
    SetLandCost(8, 50);
    for (int y = 0; y < 12; ++y) {
      for (int x = 1; x < 12; ++x) map().GetHex(x, y)->terrain = 0;
    }
    map().GetHex(1, 2)->terrain = 1;
    enemy_ = &AddLand(2, 1, 2);
  }
  cJednostkaLadowa* enemy_;
};

TEST_F(ZoneOfControl, SurchargeOnlyFromOneMarkedHexIntoAnother) {
  enemy_->spotted = 1;
  cJednostkaLadowa& unit = Mover(1, 0, 0, 6);
  unit.ComputeMoveRange(0);
  // (0, 1) and (0, 2) both touch the enemy; (0, 3) does not.
  EXPECT_EQ(Entry(unit, 0, 1)->cost, 1);
  EXPECT_EQ(Entry(unit, 0, 2)->cost, 4);
  EXPECT_EQ(Entry(unit, 0, 3)->cost, 5);
  EXPECT_EQ(Entry(unit, 1, 2), nullptr);
}

// However many points a land unit has and whatever the sea's step costs, its
// range covers the land it can reach and never a sea hex; its working window
// is no larger than the map.
struct sSeaCase {
  int points;
  int seaStep;
};

class SeaStaysClosed : public ZoneOfControl, public testing::WithParamInterface<sSeaCase> {};

TEST_P(SeaStaysClosed, ForAnyPointsAndStepCost) {
  SetLandCost(8, GetParam().seaStep);
  cJednostkaLadowa& unit = Mover(1, 0, 5, GetParam().points);
  unit.ComputeMoveRange(1);
  for (const sMoveRangeCell& cell : unit.moveRange) {
    EXPECT_TRUE(map().GetHex(cell.x, cell.y)->IsLand()) << cell.x << "," << cell.y;
  }
  // The whole land column, and the land hex beside the enemy is his.
  EXPECT_EQ(unit.moveRange.size(), 11u);
  EXPECT_NE(Entry(unit, 0, 11), nullptr);
  EXPECT_NE(Entry(unit, 0, 0), nullptr);
}

INSTANTIATE_TEST_SUITE_P(PointsAndCosts, SeaStaysClosed,
                         testing::Values(sSeaCase{100000, 99}, sSeaCase{2000000000, 1}, sSeaCase{200, 99},
                                         sSeaCase{30, 0}, sSeaCase{30, -5}));

class UnseenEnemy : public ZoneOfControl, public testing::WithParamInterface<std::tuple<int, int, bool>> {};

TEST_P(UnseenEnemy, BlocksItsHexOnlyWhenSeenOrProbing) {
  const auto [probe, spotted, reachable] = GetParam();
  enemy_->spotted = static_cast<std::uint8_t>(spotted);
  cJednostkaLadowa& unit = Mover(1, 0, 0, 6);
  unit.ComputeMoveRange(probe);
  EXPECT_EQ(Entry(unit, 1, 2) != nullptr, reachable);
  // Its zone of control is felt either way: stepping within it costs the surcharge.
  EXPECT_EQ(Entry(unit, 0, 1)->cost, 1);
  if (!reachable) {
    EXPECT_EQ(Entry(unit, 0, 2)->cost, 4);
  }
}

INSTANTIATE_TEST_SUITE_P(ViewAndProbe, UnseenEnemy,
                         testing::Values(std::tuple{0, 0, true}, std::tuple{0, 1, false}, std::tuple{1, 0, false}));

TEST_F(MoveRange, WeatherScalesTheStepAndTruncates) {
  SetLandCost(1, 3);
  game().constants.SetSlot(consts_layout::kMudMovePercent, 100);
  game().constants.SetSlot(consts_layout::kWinterMovePercent, 50);
  country(1).mudMove = 50;
  country(1).winterMove = 100;
  map().GetHex(5, 4)->weather = 2;  // 3 x 1.5
  map().GetHex(5, 6)->weather = 1;  // 3 x 1.5
  map().GetHex(6, 5)->weather = 0;
  cJednostkaLadowa& unit = Mover(1, 5, 5, 9);
  unit.ComputeMoveRange(1);
  EXPECT_EQ(Entry(unit, 5, 4)->cost, 4);
  EXPECT_EQ(Entry(unit, 5, 6)->cost, 4);
  EXPECT_EQ(Entry(unit, 6, 5)->cost, 3);
}

// Each land terrain from 1 to 7 costs its own step (terrain t costs t + 1
// here); any other code costs the default step (9 here).
class TerrainStep : public MovementWorld, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TerrainStep, IsTheTerrainsOwnOrTheDefault) {
  const auto [terrain, cost] = GetParam();
  for (int t = 1; t <= 8; ++t) SetLandCost(t, t + 1);
  map().GetHex(5, 4)->terrain = static_cast<std::uint8_t>(terrain);
  cJednostkaLadowa& unit = Mover(1, 5, 5, 12);
  unit.ComputeMoveRange(1);
  ASSERT_NE(Entry(unit, 5, 4), nullptr);
  EXPECT_EQ(Entry(unit, 5, 4)->cost, cost);
}

INSTANTIATE_TEST_SUITE_P(Terrains, TerrainStep,
                         testing::Values(std::pair{2, 3}, std::pair{6, 7}, std::pair{7, 8}, std::pair{9, 9}));

TEST_F(MoveRange, HighlightsByPointsLeftButNotUnderSeenUnits) {
  game().constants.SetSlot(consts_layout::kAttackActionPointCost, 1);
  game().constants.SetSlot(consts_layout::kAttackActionPointCost + 1, 3);  // doctrine 1's, not this unit's
  cJednostkaLadowa& unit = Mover(1, 5, 5, 3);
  cJednostkaLadowa& friendUnit = AddLand(1, 5, 4);
  friendUnit.spotted = 1;
  unit.ComputeMoveRange(0);
  EXPECT_NE(Entry(unit, 5, 4), nullptr);
  EXPECT_EQ(map().GetHex(5, 4)->flags, 0u);
  EXPECT_EQ(map().GetHex(5, 6)->flags, 4u);  // 2 left, above the threshold
  EXPECT_EQ(map().GetHex(5, 7)->flags, 8u);  // 1 left
  EXPECT_EQ(map().GetHex(5, 8)->flags, 16u);
  EXPECT_EQ(map().GetHex(5, 8)->flagValue, 0);
  unit.ComputeMoveRange(1);  // the probe leaves the highlight alone
  EXPECT_EQ(map().GetHex(5, 6)->flags, 4u);
}

TEST_F(MoveRange, PlacementHexesAroundSuppliedCitiesOfTheCurrentCountry) {
  for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
  auto addCity = [&](int x, int y, int type, int supply) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    city->supplyInfo = {supply, 0, 0};
    city->convoyInfo = {false, false, false};
    map().GetHex(x, y)->city = city.get();
    game().cities.push_back(std::move(city));
  };
  addCity(2, 2, kCityNormal, 10);
  addCity(8, 8, kCityNormal, 4);     // under half supply while at war
  addCity(5, 8, kCityResources, 10);
  AddLand(1, 2, 3);
  game().playerControl.currentCountry = &country(1);
  cJednostkaLadowa& unit = Mover(1, 11, 11, 0);
  EXPECT_EQ(unit.MarkPlacementHexes(1), 6);
  EXPECT_EQ(map().GetHex(2, 2)->flags, 64u);
  EXPECT_EQ(map().GetHex(2, 3)->flags, 0u);
  game().relations.SetWar(1, 2, false);
  game().relations.SetWar(2, 1, false);
  EXPECT_EQ(unit.MarkPlacementHexes(0), 13);
}

// At war a city offers reserve placement from half the full supply level (10 here) upwards.
class PlacementSupply : public MoveRange, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(PlacementSupply, StartsAtExactlyHalfTheFullLevel) {
  const auto [supply, hexes] = GetParam();
  for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
  auto city = std::make_unique<cCity>();
  city->x = city->y = 4;
  city->type = kCityNormal;
  city->supplyInfo = {supply, 0, 0};
  city->convoyInfo = {false, false, false};
  map().GetHex(4, 4)->city = city.get();
  game().cities.push_back(std::move(city));
  game().playerControl.currentCountry = &country(1);
  cJednostkaLadowa& unit = Mover(1, 11, 11, 0);
  EXPECT_EQ(unit.MarkPlacementHexes(0), hexes);
}

INSTANTIATE_TEST_SUITE_P(Levels, PlacementSupply,
                         testing::Values(std::pair{4, 0}, std::pair{5, 7}, std::pair{6, 7}));

}  // namespace
}  // namespace tr
