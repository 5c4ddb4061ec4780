#include "turn/supply.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "turn/supply_fixture.h"

namespace tr::test {
namespace {

class SupplyTest : public ::testing::Test, public SupplyWorld {
 protected:
  cSupply supply_;
};

TEST_F(SupplyTest, GroupFloodsInNeighbourOrderAndSkipsResourceSites) {
  Control(0, 0, 9, 7, 2);
  cCity* a = AddCity(2, 2);
  cCity* west = AddCity(1, 2);
  cCity* east = AddCity(3, 2);
  cCity* south = AddCity(2, 3);
  AddCity(2, 1, kCityResources);
  SupplyCityGroups groups;
  supply_.DetermineCityGroup(game(), 1, -1, groups);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(Flatten(groups.front()), (std::vector<cCity*>{a, south, east, west}));
}

// The flood reaches the first and last rows and columns: cities on the map's
// edges join the group of the city they are linked to.
TEST_F(SupplyTest, GroupReachesCitiesOnEveryEdgeOfTheMap) {
  Control(0, 0, 9, 7, 2);
  AddCity(4, 4);
  for (const auto& [x, y] : {std::pair{0, 4}, {9, 4}, {4, 0}, {4, 7}, {0, 0}, {9, 7}}) AddCity(x, y);
  SupplyCityGroups groups;
  supply_.DetermineCityGroup(game(), 1, -1, groups);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups.front().size(), 7u);
}

TEST_F(SupplyTest, OddColumnNeighbourOrder) {
  Control(0, 0, 9, 7, 1);
  cCity* a = AddCity(3, 3);
  cCity* upperLeft = AddCity(2, 2);  // (x - 1, y - 1) comes last in an odd column
  cCity* upperRight = AddCity(4, 2);  // (x + 1, y - 1)
  cCity* right = AddCity(4, 3);
  SupplyCityGroups groups;
  supply_.DetermineCityGroup(game(), -1, 1, groups);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(Flatten(groups.front()), (std::vector<cCity*>{a, upperRight, right, upperLeft}));
}

TEST_F(SupplyTest, SeparateGroupsAndAllianceLeaderCodes) {
  Control(0, 0, 1, 7, 1);
  Control(5, 0, 6, 7, 3);  // the axis leader's code 5 counts for alliance 2
  AddCity(0, 0);
  AddCity(5, 5);
  AddCity(6, 7);
  AddCity(1, 7, kCityResources);
  SupplyCityGroups allies;
  SupplyCityGroups axis;
  SupplyCityGroups ownOnly;
  supply_.DetermineCityGroup(game(), 1, -1, allies);
  supply_.DetermineCityGroup(game(), 2, -1, axis);
  supply_.DetermineCityGroup(game(), -1, 2, ownOnly);
  ASSERT_EQ(allies.size(), 1u);
  EXPECT_EQ(allies.front().size(), 1u);
  ASSERT_EQ(axis.size(), 1u);
  EXPECT_EQ(axis.front().size(), 2u);
  EXPECT_TRUE(ownOnly.empty());
}

TEST_F(SupplyTest, ResourceSiteAloneNeverStartsAGroup) {
  Control(0, 0, 9, 7, 1);
  AddCity(4, 4, kCityResources);
  SupplyCityGroups groups;
  supply_.DetermineCityGroup(game(), 1, -1, groups);
  EXPECT_TRUE(groups.empty());
}

TEST_F(SupplyTest, UnitOnACityDrawsFromItAtNoCost) {
  Control(0, 0, 9, 7, 1);
  cCity* city = AddCity(4, 4);
  AddCity(4, 5);
  AddLandUnit(7, 2, 4, 4);
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results.front().unitId, 7);
  EXPECT_EQ(results.front().cityNumber, CityNumber(city));
  EXPECT_EQ(results.front().cost, 0);
}

TEST_F(SupplyTest, LaterReachedCityWinsAtEqualCost) {
  Control(0, 0, 9, 7, 1);
  AddCity(4, 3);
  cCity* south = AddCity(4, 5);  // tried after (4, 3) from an even column
  AddLandUnit(1, 1, 4, 4);
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results.front().cityNumber, CityNumber(south));
  EXPECT_EQ(results.front().cost, 1);
}

TEST_F(SupplyTest, CheaperTerrainPathWinsOverFewerHexes) {
  Control(0, 0, 9, 7, 1);
  SetConstant(game(), 16, 3, 5);  // terrain 2 is dear
  hex(0, 1).terrain = 2;
  cCity* city = AddCity(0, 2);
  AddLandUnit(1, 1, 0, 0);
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results.front().cityNumber, CityNumber(city));
  EXPECT_EQ(results.front().cost, 3);  // around the dear hex: three hexes of cost 1
}

TEST_F(SupplyTest, ZeroCostTerrainEnds) {
  SetCosts(0);
  Control(0, 0, 9, 7, 1);
  cCity* city = AddCity(9, 7);
  AddLandUnit(1, 1, 0, 0);
  AddLandUnit(2, 1, 5, 0);
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 2u);
  for (const sSupplyResult& result : results) {
    EXPECT_EQ(result.cityNumber, CityNumber(city));
    EXPECT_EQ(result.cost, 0);
  }
}

TEST_F(SupplyTest, NoCityBeyondControlledGroundOrTheMaximum) {
  Control(0, 0, 3, 7, 1);
  AddCity(6, 0);  // across ground nobody controls
  AddCity(0, 7);  // 7 hexes away, more than the maximum allows at cost 2 each
  SetCosts(2);
  AddLandUnit(1, 1, 0, 0);
  AddLandUnit(2, 4, 0, 0);  // neutral: not a member of the alliance
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results.front().cityNumber, 0);
}

// A straight controlled column from the unit at (0, 0), maximum 4, one per
// hex; the city's own hex may be free (terrain 2 at cost 0). A hex reached at
// exactly the maximum still leads on, and a city there is still found.
struct MaximumCase {
  const char* name;
  int cityY;
  bool freeCityHex;
  bool found;
};
class SupplyMaximum : public SupplyTest, public testing::WithParamInterface<MaximumCase> {};

TEST_P(SupplyMaximum, ReachesCitiesAtExactlyTheMaximum) {
  const MaximumCase& c = GetParam();
  SetConstant(game(), 48, 1, 4);
  SetConstant(game(), 16, 3, 0);
  Control(0, 0, 0, 7, 1);
  cCity* city = AddCity(0, c.cityY);
  if (c.freeCityHex) hex(0, c.cityY).terrain = 2;
  AddLandUnit(1, 1, 0, 0);
  SupplyResults results;
  supply_.FindNearestSupplyCity(game(), 1, -1, results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results.front().cityNumber, c.found ? CityNumber(city) : 0);
  if (c.found) {
    EXPECT_EQ(results.front().cost, 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Distances, SupplyMaximum,
                         testing::Values(MaximumCase{"AtTheMaximum", 4, false, true},
                                         MaximumCase{"FreeHexBeyondTheMaximum", 5, true, true},
                                         MaximumCase{"PastTheMaximum", 5, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(SupplyTest, ResetGivesEveryCityOneValuePerCountry) {
  cCity* city = AddCity(1, 1);
  city->supplyInfo = {5};
  ResetSupplyState(game());
  EXPECT_EQ(city->supplyInfo, (std::vector<std::int32_t>{0, 0, 0, 0, 0}));
  EXPECT_EQ(city->convoyInfo, (std::vector<bool>{false, false, false, false, false}));
}

}  // namespace
}  // namespace tr::test
